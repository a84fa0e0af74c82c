#include "services/ui/AppLogo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace keyholm {

QPixmap AppLogo(int side, qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(side, side) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 100.0, side / 100.0);

    // A rounded tile with a shield, and a keyhole cut into the shield.
    QLinearGradient tile(0, 0, 100, 100);
    tile.setColorAt(0, QColor(0x3b, 0x82, 0xf6));
    tile.setColorAt(1, QColor(0x1e, 0x40, 0xaf));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(4, 4, 92, 92), 22, 22);

    QPainterPath shield;
    shield.moveTo(50, 16);
    shield.lineTo(77, 26);
    shield.cubicTo(77, 54, 67, 73, 50, 84);
    shield.cubicTo(33, 73, 23, 54, 23, 26);
    shield.closeSubpath();
    QPainterPath keyhole;
    keyhole.addEllipse(QPointF(50, 43), 8.5, 8.5);
    QPainterPath stem;
    stem.moveTo(45.5, 47);
    stem.lineTo(54.5, 47);
    stem.lineTo(57, 66);
    stem.lineTo(43, 66);
    stem.closeSubpath();
    keyhole = keyhole.united(stem);
    p.setBrush(QColor(0xff, 0xff, 0xff));
    p.drawPath(shield.subtracted(keyhole));
    p.end();
    return pixmap;
}

QIcon AppIcon()
{
    QIcon icon;
    for (int side : { 16, 24, 32, 48, 64, 128, 256 })
        icon.addPixmap(AppLogo(side));
    return icon;
}

} // namespace keyholm
