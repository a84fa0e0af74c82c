#include "services/ui/ToolIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPixmapCache>

#include <functional>
#include <map>

namespace keyholm {

namespace {

// Drawing colours: the line colour and the accents.
const QColor Ink(0x34, 0x40, 0x4e);
const QColor Blue(0x2f, 0x6f, 0xde);
const QColor Green(0x2e, 0x9d, 0x5b);
const QColor Red(0xd6, 0x45, 0x45);
const QColor Amber(0xe0, 0x9a, 0x1c);
const QColor Paper(0xff, 0xff, 0xff);

// Every glyph draws on a 24 x 24 grid; `accent` is its colour of emphasis,
// `ink` the line colour (both greyed for a disabled button).
struct Pens {
    QColor ink;
    QColor accent;
    QColor paper;
};
using Glyph = std::function<void(QPainter&, const Pens&)>;

QPen Line(const QColor& color, qreal width = 1.8)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Sheet(QPainter& p, const Pens& c, bool fold = true)
{
    QPainterPath sheet;
    sheet.moveTo(6, 3);
    sheet.lineTo(14, 3);
    sheet.lineTo(19, 8);
    sheet.lineTo(19, 21);
    sheet.lineTo(6, 21);
    sheet.closeSubpath();
    p.setPen(Line(c.ink));
    p.setBrush(c.paper);
    p.drawPath(sheet);
    if (fold) {
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({ QPointF(14, 3), QPointF(14, 8), QPointF(19, 8) }));
    }
}

void Plus(QPainter& p, const QColor& color, QPointF centre, qreal half)
{
    p.setPen(Line(color, 2.2));
    p.drawLine(QPointF(centre.x() - half, centre.y()), QPointF(centre.x() + half, centre.y()));
    p.drawLine(QPointF(centre.x(), centre.y() - half), QPointF(centre.x(), centre.y() + half));
}

void Badge(QPainter& p, const QColor& color, QPointF centre)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(centre, 5.2, 5.2);
}

void Eye(QPainter& p, const Pens& c)
{
    QPainterPath eye;
    eye.moveTo(2.5, 12);
    eye.quadTo(12, 2.5, 21.5, 12);
    eye.quadTo(12, 21.5, 2.5, 12);
    eye.closeSubpath();
    p.setPen(Line(c.ink));
    p.setBrush(c.paper);
    p.drawPath(eye);
    p.setPen(Qt::NoPen);
    p.setBrush(c.accent);
    p.drawEllipse(QPointF(12, 12), 3.4, 3.4);
}

void Folder(QPainter& p, const Pens& c)
{
    QPainterPath folder;
    folder.moveTo(2.5, 6);
    folder.lineTo(9, 6);
    folder.lineTo(11, 8);
    folder.lineTo(21.5, 8);
    folder.lineTo(21.5, 19.5);
    folder.lineTo(2.5, 19.5);
    folder.closeSubpath();
    p.setPen(Line(c.ink));
    p.setBrush(c.paper);
    p.drawPath(folder);
}

void Bin(QPainter& p, const Pens& c)
{
    p.setPen(Line(c.ink));
    p.setBrush(c.paper);
    QPainterPath body;
    body.moveTo(6, 7);
    body.lineTo(7.2, 21);
    body.lineTo(16.8, 21);
    body.lineTo(18, 7);
    p.drawPath(body);
    p.drawLine(QPointF(4, 7), QPointF(20, 7));
    p.drawPolyline(QPolygonF({ QPointF(9.5, 7), QPointF(9.5, 4), QPointF(14.5, 4), QPointF(14.5, 7) }));
    p.drawLine(QPointF(10, 10.5), QPointF(10.4, 17.5));
    p.drawLine(QPointF(14, 10.5), QPointF(13.6, 17.5));
}

void KeyShape(QPainter& p, const QColor& color, qreal scale = 1.0, QPointF offset = {})
{
    p.save();
    p.translate(offset);
    p.scale(scale, scale);
    p.setPen(Line(color, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(7.5, 12), 4, 4);
    p.drawLine(QPointF(11.5, 12), QPointF(21, 12));
    p.drawLine(QPointF(18, 12), QPointF(18, 15.5));
    p.drawLine(QPointF(21, 12), QPointF(21, 16));
    p.restore();
}

void Pencil(QPainter& p, const Pens& c, QPointF offset = {})
{
    p.save();
    p.translate(offset);
    QPainterPath pencil;
    pencil.moveTo(15.5, 4.5);
    pencil.lineTo(19.5, 8.5);
    pencil.lineTo(9, 19);
    pencil.lineTo(4, 20);
    pencil.lineTo(5, 15);
    pencil.closeSubpath();
    p.setPen(Line(c.ink));
    p.setBrush(c.accent);
    p.drawPath(pencil);
    p.restore();
}

void Arrow(QPainter& p, const QColor& color, QPointF from, QPointF to)
{
    p.setPen(Line(color, 2.0));
    p.drawLine(from, to);
    QLineF shaft(to, from);
    QLineF wingA = shaft;
    wingA.setLength(5);
    wingA.setAngle(shaft.angle() + 40);
    QLineF wingB = shaft;
    wingB.setLength(5);
    wingB.setAngle(shaft.angle() - 40);
    p.drawLine(wingA);
    p.drawLine(wingB);
}

void Clock(QPainter& p, const Pens& c, QPointF centre, qreal radius)
{
    p.setPen(Line(c.ink));
    p.setBrush(c.paper);
    p.drawEllipse(centre, radius, radius);
    p.setPen(Line(c.accent, 2.0));
    p.drawLine(centre, centre + QPointF(0, -radius * 0.62));
    p.drawLine(centre, centre + QPointF(radius * 0.5, radius * 0.2));
}

void Calendar(QPainter& p, const Pens& c)
{
    p.setPen(Line(c.ink));
    p.setBrush(c.paper);
    p.drawRoundedRect(QRectF(3.5, 5, 17, 15.5), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(c.accent);
    p.drawRect(QRectF(4.4, 5.9, 15.2, 3.6));
    p.setPen(Line(c.ink));
    p.drawLine(QPointF(8, 3), QPointF(8, 7));
    p.drawLine(QPointF(16, 3), QPointF(16, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(c.ink);
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(6.5 + col * 4, 12 + row * 4, 2.2, 2.2));
}

void Globe(QPainter& p, const Pens& c, QPointF centre = { 12, 12 }, qreal r = 8.5)
{
    p.setPen(Line(c.ink));
    p.setBrush(c.paper);
    p.drawEllipse(centre, r, r);
    p.setBrush(Qt::NoBrush);
    p.setPen(Line(c.accent, 1.5));
    p.drawEllipse(centre, r * 0.42, r);
    p.drawLine(centre - QPointF(r, 0), centre + QPointF(r, 0));
    p.drawLine(centre - QPointF(r * 0.85, r * 0.48), centre + QPointF(r * 0.85, -r * 0.48));
    p.drawLine(centre - QPointF(r * 0.85, -r * 0.48), centre + QPointF(r * 0.85, r * 0.48));
}

void Magnifier(QPainter& p, const Pens& c)
{
    p.setPen(Line(c.ink, 2.0));
    p.setBrush(c.paper);
    p.drawEllipse(QPointF(10, 10), 6, 6);
    p.setPen(Line(c.accent, 3.0));
    p.drawLine(QPointF(14.5, 14.5), QPointF(20.5, 20.5));
}

void Shield(QPainter& p, const Pens& c)
{
    QPainterPath shield;
    shield.moveTo(12, 2.5);
    shield.lineTo(20, 5.5);
    shield.cubicTo(20, 13, 17, 18.5, 12, 21.5);
    shield.cubicTo(7, 18.5, 4, 13, 4, 5.5);
    shield.closeSubpath();
    p.setPen(Line(c.ink));
    p.setBrush(c.paper);
    p.drawPath(shield);
    p.setPen(Qt::NoPen);
    p.setBrush(c.accent);
    p.drawEllipse(QPointF(12, 10.5), 2.4, 2.4);
    p.drawRect(QRectF(11, 11.5, 2, 5));
}

void Floppy(QPainter& p, const Pens& c)
{
    QPainterPath disk;
    disk.moveTo(4, 3.5);
    disk.lineTo(17, 3.5);
    disk.lineTo(20.5, 7);
    disk.lineTo(20.5, 20.5);
    disk.lineTo(4, 20.5);
    disk.closeSubpath();
    p.setPen(Line(c.ink));
    p.setBrush(c.paper);
    p.drawPath(disk);
    p.setBrush(c.accent);
    p.drawRect(QRectF(7.5, 3.5, 8, 5));
    p.setBrush(c.paper);
    p.drawRect(QRectF(7, 13, 10.5, 7.5));
}

void Person(QPainter& p, const Pens& c)
{
    p.setPen(Line(c.ink));
    p.setBrush(c.paper);
    p.drawEllipse(QPointF(12, 8), 4, 4);
    QPainterPath body;
    body.moveTo(4, 21);
    body.cubicTo(4, 15, 8, 13.5, 12, 13.5);
    body.cubicTo(16, 13.5, 20, 15, 20, 21);
    body.closeSubpath();
    p.setBrush(c.accent);
    p.drawPath(body);
}

void Copies(QPainter& p, const Pens& c)
{
    p.setPen(Line(c.ink));
    p.setBrush(c.paper);
    p.drawRoundedRect(QRectF(4, 3.5, 11, 13), 1.5, 1.5);
    p.setBrush(c.paper);
    p.drawRoundedRect(QRectF(9, 7.5, 11, 13), 1.5, 1.5);
    p.setPen(Line(c.accent, 1.6));
    p.drawLine(QPointF(12, 12), QPointF(17, 12));
    p.drawLine(QPointF(12, 15), QPointF(17, 15));
    p.drawLine(QPointF(12, 18), QPointF(15, 18));
}

void Alert(QPainter& p, const Pens& c)
{
    QPainterPath triangle;
    triangle.moveTo(12, 2.5);
    triangle.lineTo(22, 20.5);
    triangle.lineTo(2, 20.5);
    triangle.closeSubpath();
    p.setPen(Line(c.accent.darker(130)));
    p.setBrush(c.accent);
    p.drawPath(triangle);
    p.setPen(Line(c.paper, 2.4));
    p.drawLine(QPointF(12, 8.5), QPointF(12, 14));
    p.drawPoint(QPointF(12, 17.4));
}

const std::map<QString, Glyph>& Glyphs()
{
    static const std::map<QString, Glyph> glyphs = {
        { QStringLiteral("new"),
            [](QPainter& p, const Pens& c) {
                Sheet(p, c);
                Badge(p, c.accent, { 17, 17 });
                Plus(p, c.paper, { 17, 17 }, 2.6);
            } },
        { QStringLiteral("open"),
            [](QPainter& p, const Pens& c) {
                Folder(p, c);
                QPainterPath flap;
                flap.moveTo(2.5, 19.5);
                flap.lineTo(6, 11.5);
                flap.lineTo(22.5, 11.5);
                flap.lineTo(19.5, 19.5);
                flap.closeSubpath();
                p.setBrush(c.accent);
                p.drawPath(flap);
            } },
        { QStringLiteral("close"),
            [](QPainter& p, const Pens& c) {
                Sheet(p, c);
                Badge(p, Red, { 17, 17 });
                p.setPen(Line(c.paper, 2.0));
                p.drawLine(QPointF(15, 15), QPointF(19, 19));
                p.drawLine(QPointF(19, 15), QPointF(15, 19));
            } },
        { QStringLiteral("save"), [](QPainter& p, const Pens& c) { Floppy(p, c); } },
        { QStringLiteral("saveas"),
            [](QPainter& p, const Pens& c) {
                p.save();
                p.translate(-1.5, -1.5);
                p.scale(0.85, 0.85);
                Floppy(p, c);
                p.restore();
                Pencil(p, { c.ink, Amber, c.paper }, { 3.5, 2.5 });
            } },
        { QStringLiteral("security"), [](QPainter& p, const Pens& c) { Shield(p, c); } },
        { QStringLiteral("exit"),
            [](QPainter& p, const Pens& c) {
                p.setPen(Line(c.ink));
                p.setBrush(c.paper);
                p.drawPolyline(QPolygonF({ QPointF(14, 7), QPointF(14, 3.5), QPointF(4, 3.5), QPointF(4, 20.5),
                    QPointF(14, 20.5), QPointF(14, 17) }));
                Arrow(p, c.accent, { 9, 12 }, { 21, 12 });
            } },
        { QStringLiteral("add"),
            [](QPainter& p, const Pens& c) {
                Folder(p, c);
                Badge(p, c.accent, { 17, 16 });
                Plus(p, c.paper, { 17, 16 }, 2.6);
            } },
        { QStringLiteral("rename"),
            [](QPainter& p, const Pens& c) {
                Folder(p, c);
                Pencil(p, { c.ink, Amber, c.paper }, { 3, -1 });
            } },
        { QStringLiteral("delete"),
            [](QPainter& p, const Pens& c) {
                Folder(p, c);
                Badge(p, Red, { 17, 16 });
                p.setPen(Line(c.paper, 2.2));
                p.drawLine(QPointF(14.4, 16), QPointF(19.6, 16));
            } },
        { QStringLiteral("purge"),
            [](QPainter& p, const Pens& c) {
                Bin(p, c);
                Clock(p, c, { 17.5, 17.5 }, 4.6);
            } },
        { QStringLiteral("search"), [](QPainter& p, const Pens& c) { Magnifier(p, c); } },
        { QStringLiteral("date"),
            [](QPainter& p, const Pens& c) {
                Calendar(p, { c.ink, Red, c.paper });
            } },
        { QStringLiteral("export"),
            [](QPainter& p, const Pens& c) {
                Sheet(p, c);
                Arrow(p, c.accent, { 9, 14 }, { 21.5, 14 });
            } },
        { QStringLiteral("import"),
            [](QPainter& p, const Pens& c) {
                Sheet(p, c);
                Arrow(p, c.accent, { 2, 14 }, { 14, 14 });
            } },
        { QStringLiteral("clipboard"),
            [](QPainter& p, const Pens& c) {
                p.setPen(Line(c.ink));
                p.setBrush(c.paper);
                p.drawRoundedRect(QRectF(5, 4.5, 14, 17), 2, 2);
                p.setBrush(c.accent);
                p.drawRoundedRect(QRectF(8.5, 2.5, 7, 4), 1.2, 1.2);
                p.setPen(Line(c.ink, 1.5));
                p.drawLine(QPointF(8.5, 11), QPointF(15.5, 11));
                p.drawLine(QPointF(8.5, 14.5), QPointF(15.5, 14.5));
                p.drawLine(QPointF(8.5, 18), QPointF(13, 18));
            } },
        { QStringLiteral("entryadd"),
            [](QPainter& p, const Pens& c) {
                KeyShape(p, c.ink, 0.85, { 0, -1 });
                Badge(p, Green, { 17, 17 });
                Plus(p, c.paper, { 17, 17 }, 2.6);
            } },
        { QStringLiteral("entrychange"),
            [](QPainter& p, const Pens& c) {
                KeyShape(p, c.ink, 0.85, { 0, -1 });
                Pencil(p, { c.ink, Amber, c.paper }, { 3, 1 });
            } },
        { QStringLiteral("entrydelete"),
            [](QPainter& p, const Pens& c) {
                KeyShape(p, c.ink, 0.85, { 0, -1 });
                Badge(p, Red, { 17, 17 });
                p.setPen(Line(c.paper, 2.2));
                p.drawLine(QPointF(14.4, 17), QPointF(19.6, 17));
            } },
        { QStringLiteral("clear"),
            [](QPainter& p, const Pens& c) {
                QPainterPath eraser;
                eraser.moveTo(13, 4);
                eraser.lineTo(21, 12);
                eraser.lineTo(13, 20);
                eraser.lineTo(7, 20);
                eraser.lineTo(3, 16);
                eraser.closeSubpath();
                p.setPen(Line(c.ink));
                p.setBrush(c.paper);
                p.drawPath(eraser);
                QPainterPath tip;
                tip.moveTo(13, 4);
                tip.lineTo(21, 12);
                tip.lineTo(16, 17);
                tip.lineTo(8, 9);
                tip.closeSubpath();
                p.setBrush(c.accent);
                p.drawPath(tip);
                p.drawLine(QPointF(12, 21), QPointF(21, 21));
            } },
        { QStringLiteral("fileload"),
            [](QPainter& p, const Pens& c) {
                Sheet(p, c);
                Arrow(p, c.accent, { 12.5, 9 }, { 12.5, 18.5 });
            } },
        { QStringLiteral("filesave"),
            [](QPainter& p, const Pens& c) {
                Sheet(p, c);
                Arrow(p, c.accent, { 12.5, 18.5 }, { 12.5, 9 });
            } },
        { QStringLiteral("calendar"), [](QPainter& p, const Pens& c) { Calendar(p, c); } },
        { QStringLiteral("time"),
            [](QPainter& p, const Pens& c) {
                Clock(p, c, { 12, 12 }, 8.5);
            } },
        { QStringLiteral("copy"), [](QPainter& p, const Pens& c) { Copies(p, c); } },
        { QStringLiteral("web"), [](QPainter& p, const Pens& c) { Globe(p, c); } },
        { QStringLiteral("help"),
            [](QPainter& p, const Pens& c) {
                p.setPen(Line(c.ink));
                p.setBrush(c.accent);
                p.drawEllipse(QPointF(12, 12), 9, 9);
                QFont font = p.font();
                font.setPixelSize(13);
                font.setBold(true);
                p.setFont(font);
                p.setPen(c.paper);
                p.drawText(QRectF(3, 3, 18, 18), Qt::AlignCenter, QStringLiteral("?"));
            } },
        { QStringLiteral("info"),
            [](QPainter& p, const Pens& c) {
                p.setPen(Line(c.ink));
                p.setBrush(c.accent);
                p.drawEllipse(QPointF(12, 12), 9, 9);
                p.setPen(Line(c.paper, 2.4));
                p.drawLine(QPointF(12, 11), QPointF(12, 17));
                p.drawPoint(QPointF(12, 7.3));
            } },
        { QStringLiteral("file"),
            [](QPainter& p, const Pens& c) {
                Sheet(p, c);
                p.setPen(Line(c.accent, 1.5));
                p.drawLine(QPointF(9, 12), QPointF(16, 12));
                p.drawLine(QPointF(9, 15), QPointF(16, 15));
                p.drawLine(QPointF(9, 18), QPointF(13.5, 18));
            } },
        { QStringLiteral("folder"), [](QPainter& p, const Pens& c) { Folder(p, c); } },
        { QStringLiteral("generate"),
            [](QPainter& p, const Pens& c) {
                p.setPen(Line(c.ink));
                p.setBrush(c.paper);
                p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 4, 4);
                p.setPen(Qt::NoPen);
                p.setBrush(c.accent);
                for (const QPointF& dot :
                    { QPointF(8, 8), QPointF(16, 8), QPointF(12, 12), QPointF(8, 16), QPointF(16, 16) })
                    p.drawEllipse(dot, 1.7, 1.7);
            } },
        { QStringLiteral("nickname"), [](QPainter& p, const Pens& c) { Person(p, c); } },
        { QStringLiteral("apply"),
            [](QPainter& p, const Pens& c) {
                p.setPen(Line(c.accent, 2.6));
                p.drawPolyline(QPolygonF({ QPointF(4.5, 12.5), QPointF(10, 18), QPointF(19.5, 6.5) }));
                Q_UNUSED(c);
            } },
        { QStringLiteral("alert"), Alert },
        { QStringLiteral("alertred"), Alert },
        { QStringLiteral("print"),
            [](QPainter& p, const Pens& c) {
                p.setPen(Line(c.ink));
                p.setBrush(c.paper);
                p.drawRect(QRectF(7, 3.5, 10, 6));
                p.setBrush(c.accent);
                p.drawRoundedRect(QRectF(3, 9.5, 18, 8), 2, 2);
                p.setBrush(c.paper);
                p.drawRect(QRectF(7, 14.5, 10, 6));
            } },
        { QStringLiteral("show"), [](QPainter& p, const Pens& c) { Eye(p, c); } },
        { QStringLiteral("hide"),
            [](QPainter& p, const Pens& c) {
                Eye(p, c);
                p.setPen(Line(c.ink, 2.2));
                p.drawLine(QPointF(4, 20), QPointF(20, 4));
            } },
        { QStringLiteral("options"),
            [](QPainter& p, const Pens& c) {
                p.setPen(Line(c.ink));
                for (int i = 0; i < 3; ++i) {
                    const qreal y = 6 + i * 6;
                    p.drawLine(QPointF(3.5, y), QPointF(20.5, y));
                    p.setBrush(i == 1 ? c.accent : c.paper);
                    p.drawEllipse(QPointF(i == 1 ? 15 : 8.5, y), 2.3, 2.3);
                }
            } },
    };
    return glyphs;
}

QColor Greyed(const QColor& color)
{
    const int grey = qGray(color.rgb());
    QColor result(grey, grey, grey);
    result.setAlphaF(0.45);
    return result;
}

class GlyphEngine : public QIconEngine {
public:
    GlyphEngine(QString name, QColor accent)
        : name_(std::move(name))
        , accent_(accent)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        Pens pens { Ink, accent_, Paper };
        if (mode == QIcon::Disabled) {
            pens.ink = Greyed(Ink);
            pens.accent = Greyed(accent_);
            pens.paper = QColor(0xf4, 0xf4, 0xf4, 110);
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        const qreal side = qMin(rect.width(), rect.height());
        painter->translate((rect.width() - side) / 2.0, (rect.height() - side) / 2.0);
        painter->scale(side / 24.0, side / 24.0);
        const auto& glyphs = Glyphs();
        auto found = glyphs.find(name_);
        if (found != glyphs.end()) {
            found->second(*painter, pens);
        } else {
            painter->setPen(Qt::NoPen);
            painter->setBrush(pens.accent);
            painter->drawEllipse(QPointF(12, 12), 5, 5);
        }
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        const QString cacheKey = QStringLiteral("keyholm-tool-%1-%2-%3x%4@%5")
                                     .arg(name_)
                                     .arg(int(mode))
                                     .arg(size.width())
                                     .arg(size.height())
                                     .arg(scale);
        QPixmap pixmap;
        if (QPixmapCache::find(cacheKey, &pixmap))
            return pixmap;
        pixmap = QPixmap(size * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        painter.end();
        QPixmapCache::insert(cacheKey, pixmap);
        return pixmap;
    }

    QIconEngine* clone() const override { return new GlyphEngine(name_, accent_); }
    QString key() const override { return QStringLiteral("keyholm-tool"); }

private:
    QString name_;
    QColor accent_;
};

QColor AccentOf(const QString& name)
{
    static const std::map<QString, QColor> accents = {
        { QStringLiteral("purge"), Red },
        { QStringLiteral("security"), Green },
        { QStringLiteral("alert"), Amber },
        { QStringLiteral("alertred"), Red },
        { QStringLiteral("generate"), Amber },
        { QStringLiteral("apply"), Green },
        { QStringLiteral("exit"), Red },
        { QStringLiteral("clear"), Red },
        { QStringLiteral("nickname"), Green },
    };
    auto found = accents.find(name);
    return found == accents.end() ? Blue : found->second;
}

} // namespace

QIcon ToolIcon(const QString& name)
{
    return QIcon(new GlyphEngine(name, AccentOf(name)));
}

QStringList ToolIconNames()
{
    QStringList names;
    for (const auto& [name, glyph] : Glyphs())
        names << name;
    return names;
}

} // namespace keyholm
