#pragma once
// The clipboard as Keyholm uses it for secrets: what it puts there is marked
// for clipboard managers to leave out of their history, and only what it put
// there is cleared again, never a text another program copied since.

#include <QString>

namespace keyholm {

class ProtectedClipboard {
public:
    // Puts `text` on the clipboard and remembers a keyed hash of it (never the
    // text itself).
    static void Copy(const QString& text);
    // True when the clipboard still holds the text of the last Copy.
    static bool HoldsOwnText();
    // Clears the clipboard when it still holds what Copy put there.
    static void ClearOwnText();
};

} // namespace keyholm
