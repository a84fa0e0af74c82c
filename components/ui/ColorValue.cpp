#include "components/ui/ColorValue.h"

namespace keyholm {

QColor ColorFromValue(qint64 value)
{
    if (value < 0)
        return {};
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

qint32 ValueFromColor(const QColor& color)
{
    if (!color.isValid())
        return -1;
    const QColor rgb = color.toRgb();
    return qint32(rgb.red()) | (qint32(rgb.green()) << 8) | (qint32(rgb.blue()) << 16);
}

} // namespace keyholm
