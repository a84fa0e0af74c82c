#pragma once
// Finding an item of a list box by its text.

#include <QString>

class QListWidget;

namespace keyholm {

// The row of the item whose text equals `text` (exactly, or also letter
// case aside with `alsoIgnoreCase`); -1 when none. The row found last is
// tried first; a sorted list is walked from its end.
int FindListItem(const QListWidget& list, const QString& text, bool alsoIgnoreCase);

} // namespace keyholm
