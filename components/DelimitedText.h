#pragma once
// Reading delimited text (CSV with ";" or ",") as spreadsheets write it: a
// cell that begins with a double quote runs to the next lone one, "" standing
// for a quote, and may hold separators and line breaks; every other cell
// runs to the next separator or line end as it stands. Lines end with CR LF,
// LF or CR. The cells may be passwords: WipeRows overwrites them once used.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace keyholm {

struct DelimitedText {
    // One per line holding a cell that is not blank; a line break inside a
    // quoted cell is one LF.
    std::vector<QStringList> rows;
    // A quote still open at the end of the text is read as an ordinary
    // character instead, so that it cannot swallow the rest of the file:
    // the line (from 1) where it opened, 0 for none.
    int unclosedQuoteLine = 0;
};

DelimitedText ParseDelimited(QStringView text, QChar separator);

void WipeRows(std::vector<QStringList>& rows);

} // namespace keyholm
