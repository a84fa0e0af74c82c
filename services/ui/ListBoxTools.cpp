#include "services/ui/ListBoxTools.h"

#include <QListWidget>

namespace keyholm {
namespace {

// Where the last search found its item: lists are often searched again for
// the same text.
int& LastFound()
{
    static int row = 0;
    return row;
}

} // namespace

int FindListItem(const QListWidget& list, const QString& text, bool alsoIgnoreCase)
{
    const int count = list.count();
    if (count == 0)
        return -1;
    int& last = LastFound();
    if (!text.isEmpty() && last >= 0 && last < count && list.item(last)->text() == text)
        return last;
    const bool backwards = list.isSortingEnabled();
    for (int i = 0; i < count; ++i) {
        const int row = backwards ? count - 1 - i : i;
        const QString item = list.item(row)->text();
        if (item == text || (alsoIgnoreCase && item.toUpper() == text.toUpper())) {
            last = row;
            return row;
        }
    }
    last = 0;
    return -1;
}

} // namespace keyholm
