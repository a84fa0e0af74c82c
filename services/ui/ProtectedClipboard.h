#pragma once
// The clipboard as Keyholm uses it for secrets: what it puts there is marked
// for clipboard managers to leave out of their history, it is cleared again
// after a delay, and only what it put there is cleared, never a text another
// program copied since. The middle-click selection is never written.

#include <QString>

class QLabel;

namespace keyholm {

class ProtectedClipboard {
public:
    static constexpr int DefaultClearDelay = 20;

    // Puts `text` on the clipboard, once, and remembers a keyed hash of it
    // (never the text itself); the countdown to its clear starts again.
    static void Copy(const QString& text);
    // True when the clipboard still holds the text of the last Copy.
    static bool HoldsOwnText();
    // Clears the clipboard when it still holds what Copy put there; the
    // countdown stops.
    static void ClearOwnText();

    // Seconds from a copy to its clear; 0 or less keeps it until the
    // database closes or the program ends.
    static void SetClearDelay(int seconds);
    static int ClearDelay();
    // Seconds left before the clear; 0 when none is coming.
    static int SecondsLeft();
    // One second of the countdown has gone by: the timer's tick. Stops when
    // the clipboard no longer holds our text, clears it at zero.
    static void CountDown();
    // Where the countdown shows (a status bar label); hidden while none runs.
    static void SetCountdownLabel(QLabel* label);
};

} // namespace keyholm
