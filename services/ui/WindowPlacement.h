#pragma once
// A window's state, position and size kept in the preferences, section
// "Display " + name, keys "StateForm" (0 normal, 1 minimized, 2 maximized),
// "LeftForm", "TopForm", "WidthForm" and "HeightForm", in twips.

#include <QString>

class QWidget;

namespace keyholm {

inline constexpr int TwipsPerPixel = 15;

// The stored form of a window state.
enum class StoredWindowState : int { Normal = 0, Minimized = 1, Maximized = 2 };

// Restores the stored state; for a window left normal, also the position (a
// stored left or top of 0 or less gives 50 twips, and a window that would be
// on no screen is brought back onto the first) and the size, as asked. False
// when the preferences cannot be opened.
bool LoadWindowPlacement(QWidget* window, const QString& name, const QString& label = {}, bool restorePosition = true,
    bool restoreSize = true);

// Stores the state and, as asked, the position and, for a normal window, the
// size. True when the state was stored.
bool SaveWindowPlacement(
    QWidget* window, const QString& name, const QString& label = {}, bool savePosition = true, bool saveSize = true);

} // namespace keyholm
