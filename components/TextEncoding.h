#pragma once
// Text files written by other programs come in any encoding, and none says
// which: a byte order mark decides (UTF-8, UTF-16), else UTF-8 when the bytes
// are valid UTF-8, else Windows-1252, what spreadsheets on Windows write.

#include <QByteArrayView>
#include <QString>

namespace keyholm {

// The text of `bytes`; the byte order mark never stays in it.
QString DecodeTextBytes(QByteArrayView bytes);

} // namespace keyholm
