#pragma once
// Opening, closing and saving the database file, and the question about
// unsaved changes that comes before each of them.

#include "services/ui/MainArea.h"

#include <QString>

namespace keyholm {

class DatabaseFile : public MainArea {
public:
    using MainArea::MainArea;

    // Asks about unsaved changes: Yes saves, No drops the changes. False
    // when the user cancelled (the caller must not go on).
    bool PasswordIsChanged();
    // Empties the window: no database open afterwards.
    void ClosePasswordFile();

    // Opens the database at `path`; true when it is open. The open, save
    // and backup steps are those of the database file format.
    bool OpenPasswordFile(const QString& path);
    // Saves the open database, asking for a name when askName or when it
    // has none yet; true when saved.
    bool SavePasswordFileUnder(bool askName);
    void MenuBaseSave_Click()
    {
        state_.ResetIdleTicks();
        SavePasswordFileUnder(false);
    }
};

} // namespace keyholm
