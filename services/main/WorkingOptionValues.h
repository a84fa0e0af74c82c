#pragma once
// The working options as values: what the option page shows and the
// procedures follow. The page is bound to them in one place (the working
// options area of the database), so no procedure reads an option control.

#include <QString>
#include <QStringList>

namespace keyholm {

struct WorkingOptionValues {
    bool hidePassword = true; // the password field shows bullets
    bool openLastDatabase = true; // the last database opens at start
    bool expiryListAtOpening = true; // the expired entries are listed at opening
    bool clearFieldsAfterAdd = true;
    bool useTrash = true; // deleted entries go to the trash
    bool autoSave = true;
    bool deleteFullCategory = false;
    bool separatedCopy = true; // login and password copied with a separator
    QString copySeparator = QStringLiteral("/");
    int clipboardClearSeconds = 20; // a copy leaves the clipboard after it; 0 never
    bool autoClose = false;
    int autoCloseMinutes = 5;
    bool closeOnWalkAway = true; // the database closes when the session locks or the machine sleeps
    bool purgeTrash = true;
    int purgeDays = 3;
    QStringList defaultCategories;
};

} // namespace keyholm
