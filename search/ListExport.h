#pragma once
// Writing a result list to a file: CSV, HTML, PRN, TXT or XML, chosen by
// the key of the list window's export band, after asking for the file. The
// file is owner-only (a list may hold passwords in clear) and replaces an
// older one only once it is whole; it is then opened with its program.
// "print" shows the list's print preview.

#include "components/ListTable.h"

#include <QString>

namespace keyholm {

class ListView;
struct HtmlListStyle;

// The written file's path; empty when nothing was written.
QString ListExport(const QString& key, ListView& list, bool rowFilter = false, bool openAfterwards = true);

// The HTML colours and fonts of the application options.
HtmlListStyle OptionHtmlStyle();

} // namespace keyholm
