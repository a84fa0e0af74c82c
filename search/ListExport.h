#pragma once
// Writing a result list to a file: CSV, HTML, PRN, TXT or XML, chosen by
// the key of the list window's export band, after asking for the file. The
// file is owner-only (a list may hold passwords in clear) and replaces an
// older one only once it is whole; it is then opened with its program.
// "print" hands the list to the print preview.

#include "components/ListTable.h"

#include <QString>

#include <functional>

namespace keyholm {

class ListView;
struct HtmlListStyle;

// The written file's path; empty when nothing was written.
QString ListExport(const QString& key, ListView& list, bool rowFilter = false, bool openAfterwards = true);

// The print preview of a list (landscape or not, only the selected rows or
// all, font size and name). Nothing until printing is installed.
using ListPrinter = std::function<void(const ListTable& list, const QString& title, bool landscape, bool rowFilter,
    double fontSize, const QString& fontName)>;
void SetListPrinter(ListPrinter printer);

// The HTML colours and fonts of the application options.
HtmlListStyle OptionHtmlStyle();

} // namespace keyholm
