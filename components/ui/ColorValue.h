#pragma once
// Colours are stored and passed around as 32-bit numbers laid out as
// 0x00BBGGRR (red in the low byte), -1 meaning "no colour". These two
// functions are the only place that knows this layout.

#include <QColor>

namespace keyholm {

// The colour of a stored value; an invalid QColor for a negative value. The
// high byte is not part of the colour and is ignored.
QColor ColorFromValue(qint64 value);

// The stored value of a colour; -1 for an invalid colour. Alpha is dropped.
qint32 ValueFromColor(const QColor& color);

} // namespace keyholm
