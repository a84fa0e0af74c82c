#pragma once
// The lock-key states that the platform lets a program read. On Linux the
// keyboard LEDs are files (/sys/class/leds/<device>::capslock/brightness)
// that any user may read, whatever the display server; where there are no
// such files the state is unknown. Insert has no system-wide state: our line
// edits always insert.

#include <QString>

#include <optional>

namespace keyholm {

struct KeyboardState {
    std::optional<bool> capsLock; // nothing: unknown
    std::optional<bool> numLock;
};

// Reads the LED files now.
KeyboardState ReadKeyboardState();

// The LED folder (/sys/class/leds by default); tests point it at a folder of
// their own. An empty text restores the default.
void SetKeyboardLedFolder(const QString& folder);

} // namespace keyholm
