#include "services/ui/WindowPlacement.h"

#include "services/Preferences.h"
#include "services/TraceLog.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace keyholm {
namespace {
// What the window is put at when the stored left or top is 0 or less.
constexpr int FallbackTwips = 50;

QString BoolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

int ToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}

int ToPixels(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel));
}

StoredWindowState StateOf(const QWidget* window)
{
    const Qt::WindowStates state = window->windowState();
    if (state & Qt::WindowMinimized)
        return StoredWindowState::Minimized;
    if (state & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return StoredWindowState::Maximized;
    return StoredWindowState::Normal;
}

void ApplyState(QWidget* window, int stored)
{
    Qt::WindowStates state
        = window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    if (stored == static_cast<int>(StoredWindowState::Minimized))
        state |= Qt::WindowMinimized;
    else if (stored == static_cast<int>(StoredWindowState::Maximized))
        state |= Qt::WindowMaximized;
    window->setWindowState(state);
}

QString PositionText(int left, int top)
{
    return QStringLiteral("Left (%1) and Top (%2)").arg(left).arg(top);
}

int ReadTwips(const QString& section, const char* key, int current)
{
    bool ok = false;
    const int value = GetPlainOption(section, QString::fromLatin1(key), QString::number(current)).trimmed().toInt(&ok);
    return ok ? value : current;
}

QString SectionOf(const QString& name)
{
    return QString(QStringLiteral("Display ") + name).trimmed();
}

QString TraceDetail(const QString& name, const QString& label, bool blankCounts)
{
    const bool withLabel = blankCounts ? !label.isEmpty() : !label.trimmed().isEmpty();
    return withLabel ? name + QStringLiteral(" - ") + label : name;
}

// A window placed where no screen is (a screen unplugged since) is brought
// back to the top left corner of the first screen.
void KeepOnScreen(QWidget* window)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return;
    const QRect frame(window->pos(), window->frameGeometry().size().expandedTo(window->size()));
    for (const QScreen* screen : screens) {
        if (screen->availableGeometry().intersects(frame))
            return;
    }
    const QPoint corner = screens.first()->availableGeometry().topLeft();
    window->move(corner.x() + ToPixels(FallbackTwips), corner.y() + ToPixels(FallbackTwips));
}
} // namespace

bool LoadWindowPlacement(
    QWidget* window, const QString& name, const QString& label, bool restorePosition, bool restoreSize)
{
    TraceLog(QStringLiteral("[option] Try to open the last Window sizing"), TraceDetail(name, label, false));
    if (!window || !EnsurePreferencesOpen(label))
        return false;
    TraceLog(QStringLiteral("Load the Window sizing: ") + BoolText(restorePosition) + QStringLiteral(" - ")
            + BoolText(restoreSize),
        window->windowTitle());
    TraceLog(QStringLiteral("Current state"), QString::number(static_cast<int>(StateOf(window))));

    const QString section = SectionOf(name);
    bool ok = false;
    const int state = GetPlainOption(section, QStringLiteral("StateForm"), QStringLiteral("0")).trimmed().toInt(&ok);
    ApplyState(window, ok ? state : 0);
    if (StateOf(window) != StoredWindowState::Normal) {
        TraceLog(QStringLiteral("Windows state is maximized"), QString::number(static_cast<int>(StateOf(window))));
        return true;
    }
    TraceLog(QStringLiteral("Windows state is normal"), name);

    if (restorePosition) {
        const int currentLeft = ToTwips(window->x());
        const int currentTop = ToTwips(window->y());
        TraceLog(QStringLiteral("Current position"), PositionText(currentLeft, currentTop));
        int left = ReadTwips(section, "LeftForm", currentLeft);
        if (left <= 0)
            left = FallbackTwips;
        int top = ReadTwips(section, "TopForm", currentTop);
        if (top <= 0)
            top = FallbackTwips;
        window->move(ToPixels(left), ToPixels(top));
        TraceLog(QStringLiteral("Apply position: ") + name, PositionText(left, top));
    }
    if (restoreSize) {
        const int currentWidth = ToTwips(window->width());
        const int currentHeight = ToTwips(window->height());
        TraceLog(QStringLiteral("Current sizing"),
            QStringLiteral("Width (%1) Height (%2)").arg(currentWidth).arg(currentHeight));
        int width = ReadTwips(section, "WidthForm", currentWidth);
        int height = ReadTwips(section, "HeightForm", currentHeight);
        // A size of nothing would leave a window nobody can see or grab.
        if (width <= 0)
            width = currentWidth;
        if (height <= 0)
            height = currentHeight;
        window->resize(ToPixels(width), ToPixels(height));
        TraceLog(
            QStringLiteral("Apply sizing: ") + name, QStringLiteral("Width (%1) Height (%2)").arg(width).arg(height));
    }
    if (restorePosition)
        KeepOnScreen(window);
    return true;
}

bool SaveWindowPlacement(QWidget* window, const QString& name, const QString& label, bool savePosition, bool saveSize)
{
    TraceLog(QStringLiteral("[option] Try to save the current Window sizing"), TraceDetail(name, label, true));
    if (!window || !EnsurePreferencesOpen(label))
        return false;
    const QString section = SectionOf(name);
    const StoredWindowState state = StateOf(window);
    TraceLog(QStringLiteral("Save state: ") + QString::number(static_cast<int>(state)), window->windowTitle());
    const bool stored
        = SetPlainOption(section, QStringLiteral("StateForm"), QString::number(static_cast<int>(state)), label);

    if (savePosition) {
        const int left = ToTwips(window->x());
        const int top = ToTwips(window->y());
        TraceLog(QStringLiteral("Save position: ") + name, PositionText(left, top));
        SetPlainOption(section, QStringLiteral("LeftForm"), QString::number(left), label);
        SetPlainOption(section, QStringLiteral("TopForm"), QString::number(top), label);
    }
    if (state != StoredWindowState::Normal)
        return stored;
    if (saveSize) {
        const int width = ToTwips(window->width());
        const int height = ToTwips(window->height());
        TraceLog(QStringLiteral("Save sizing: ") + name,
            QStringLiteral("Width (%1) and Height (%2)").arg(width).arg(height));
        SetPlainOption(section, QStringLiteral("WidthForm"), QString::number(width), label);
        SetPlainOption(section, QStringLiteral("HeightForm"), QString::number(height), label);
    }
    return stored;
}

} // namespace keyholm
