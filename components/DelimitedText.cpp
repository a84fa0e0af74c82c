#include "components/DelimitedText.h"

#include "components/CipherEngine.h"

namespace keyholm {
namespace {

constexpr char16_t Quote = u'"';

bool IsBlank(const QStringList& cells)
{
    for (const QString& cell : cells)
        for (const QChar c : cell)
            if (!c.isSpace())
                return false;
    return true;
}

class Parser {
public:
    Parser(QStringView text, QChar separator)
        : text_(text)
        , separator_(separator.unicode())
    {
    }

    DelimitedText Run()
    {
        const qsizetype n = text_.size();
        qsizetype i = 0;
        bool cellStart = true;
        while (i < n) {
            const char16_t c = text_[i].unicode();
            if (cellStart && c == Quote) {
                cellStart = false;
                if (const qsizetype next = QuotedCell(i); next > i) {
                    i = next;
                    continue;
                }
                // Never closed: the quote is a character like any other.
            }
            cellStart = false;
            rowStarted_ = true;
            if (c == separator_) {
                EndCell();
                cellStart = true;
                ++i;
            } else if (c == u'\r' || c == u'\n') {
                EndRow();
                cellStart = true;
                ++i;
                if (c == u'\r' && i < n && text_[i] == u'\n')
                    ++i;
                ++line_;
            } else {
                const qsizetype start = i;
                while (i < n) {
                    const char16_t d = text_[i].unicode();
                    if (d == separator_ || d == u'\r' || d == u'\n')
                        break;
                    ++i;
                }
                cell_.append(text_.sliced(start, i - start));
            }
        }
        if (rowStarted_)
            EndRow();
        CipherEngine::Wipe(cell_);
        return std::move(result_);
    }

private:
    // Reads the quoted cell opening at `open` into the cell: the position
    // after its closing quote, or `open` when it is never closed.
    qsizetype QuotedCell(qsizetype open)
    {
        const qsizetype n = text_.size();
        // Where it ends first, so that the cell is built in one allocation.
        qsizetype close = open + 1;
        qsizetype length = 0;
        int breaks = 0;
        for (;;) {
            const qsizetype q = text_.indexOf(QChar(Quote), close);
            if (q < 0) {
                if (result_.unclosedQuoteLine == 0)
                    result_.unclosedQuoteLine = line_;
                return open;
            }
            length += q - close;
            if (q + 1 < n && text_[q + 1] == Quote) {
                ++length;
                close = q + 2;
                continue;
            }
            close = q + 1;
            break;
        }
        rowStarted_ = true;
        cell_.reserve(cell_.size() + length);
        qsizetype i = open + 1;
        while (i < close - 1) {
            const char16_t c = text_[i].unicode();
            if (c == Quote) {
                cell_.append(QChar(Quote));
                i += 2;
            } else if (c == u'\r') {
                cell_.append(QChar(u'\n'));
                ++breaks;
                i += i + 1 < close - 1 && text_[i + 1] == u'\n' ? 2 : 1;
            } else {
                if (c == u'\n')
                    ++breaks;
                cell_.append(text_[i]);
                ++i;
            }
        }
        line_ += breaks;
        return close;
    }

    void EndCell()
    {
        cells_.append(cell_);
        // The next cell starts in a buffer of its own: the stored one is not
        // to be reused, nor left behind by a reallocation.
        cell_ = QString();
    }

    void EndRow()
    {
        EndCell();
        if (IsBlank(cells_)) {
            for (QString& cell : cells_)
                CipherEngine::Wipe(cell);
        } else {
            result_.rows.push_back(std::move(cells_));
        }
        // Rows of a file have the same width: the next one takes its size at once.
        const qsizetype width = result_.rows.empty() ? 0 : result_.rows.back().size();
        cells_ = QStringList();
        cells_.reserve(width);
        rowStarted_ = false;
    }

    QStringView text_;
    char16_t separator_;
    QString cell_;
    QStringList cells_;
    bool rowStarted_ = false;
    int line_ = 1;
    DelimitedText result_;
};

} // namespace

DelimitedText ParseDelimited(QStringView text, QChar separator)
{
    return Parser(text, separator).Run();
}

void WipeRows(std::vector<QStringList>& rows)
{
    for (QStringList& row : rows)
        for (QString& cell : row)
            CipherEngine::Wipe(cell);
    rows.clear();
}

} // namespace keyholm
