#pragma once
// Creating, opening, saving and closing the database file, the question
// about unsaved changes that comes before them, the recent files, the
// automatic close of an idle database, and the file commands of the menu and
// the toolbar.
//
// The file is the TreeStore buffer of the whole tree in the encrypted
// container of FileCoding: the plain tree never reaches the disk. The key
// of the open database is kept for its saves; the master password makes a
// new one when it changes.

#include "components/FileKey.h"
#include "database/MasterPassword.h"
#include "services/main/MainArea.h"

#include <QString>

#include <optional>

namespace keyholm {

class DatabaseTree;

class DatabaseFile : public MainArea {
public:
    DatabaseFile(MainWindowUi& ui, MainState& state, MainProcedures& procedures, DatabaseTree& tree)
        : MainArea(ui, state, procedures)
        , tree_(tree)
    {
    }

    MasterPassword& Master() { return master_; }

    // What an opening gives: whether the database is open, and whether the
    // path should leave the recent list (two wrong master passwords).
    struct Opening {
        bool open = false;
        bool dropFromRecent = false;
        explicit operator bool() const { return open; }
    };
    // Opens the database at `path` after asking about unsaved changes and
    // closing the current one; a backup of the bytes read is made once they
    // opened, and the state tells that a database opened. On failure the tree
    // is left empty and the caller closes.
    Opening OpenPasswordFile(const QString& path);
    // Empties the window: no database open afterwards.
    void ClosePasswordFile();
    // Asks about unsaved changes: Yes saves, No drops the changes. False
    // when the user cancelled or the save failed (the caller must not go on).
    bool PasswordIsChanged();
    // The same question before a command that works on the database as it
    // stands (export, import): No goes on without saving, the changes kept
    // and still to be saved.
    bool OfferToSaveChanges();
    // Opens entry `number` (1 to 5) of the recent list, whose caption is `fileText`.
    void Click_MenuAncienFichierPassword(const QString& fileText, int number);
    // One tick of TimerDatabaseClose: past SliderAutoClose idle ticks, saves a
    // changed database and closes it.
    void TimerDatabaseClose_Timer();
    // The user walked away (the session locked, the machine going to sleep):
    // when the option says so, a changed database is saved and the database
    // closed, as the automatic close does. Under a dialog it waits for the
    // dialog to end; a list window, which may show passwords, goes at once.
    void CloseOnWalkAway();

    // Asks for a new file and a master password for it, then saves the
    // default tree there; true when saved.
    bool NewPasswordFile();
    // Saves the open database, asking for a name when askName or when it
    // has none; true only when the file was written.
    bool SavePasswordFileUnder(bool askName);
    // The file commands and the entry page follow whether a database is open.
    void EnableDisableMainBar(bool open);
    // The menu and toolbar file commands alone (the window's first state).
    void EnableFileCommands(bool open);

    // Menu and toolbar commands.
    void MenuBaseNew_Click();
    void MenuBaseOpen_Click();
    void MenuBaseClose_Click();
    void MenuBaseSave_Click();
    void MenuBaseSaveUnder_Click();
    // MenuAncienFichier1_Click to MenuAncienFichier5_Click.
    void MenuAncienFichier_Click(int number);

    // The key the open database is saved with; none before the first save
    // of a new database.
    const std::optional<FileKey>& FileKeyInUse() const { return fileKey_; }
    // Also shows whether the open database goes without a master password.
    void UseFileKey(std::optional<FileKey> key);

    static inline const QString FileFilter = QStringLiteral("Keyholm (*.khm)|*.khm");
    static inline const QString FileExtension = QStringLiteral(".khm");

private:
    enum class Changes { None, Saved, Dropped, Cancelled, SaveFailed };
    Changes AskAboutChanges(bool keepOnNo = false);
    void SetCaption(const QString& path);
    void ShowProtection();
    // Whether the file at `path` had a master password when this program
    // last opened or saved it, and the question asked when it has none now.
    static bool WasProtected(const QString& path);
    void RememberProtection(const QString& path);
    bool AcceptUnprotected(const QString& path);
    // The backup copies of the bytes just opened.
    // The one message of an opening that could not read or decode its file.
    static void ReportUnreadable(const QString& path, const QString& why);
    static bool BackUp(const QString& path, const QByteArray& bytes);
    // The folder's default file for the file dialogs.
    static QString DefaultFile();

    DatabaseTree& tree_;
    MasterPassword master_ { ui_, state_, procedures_, *this };
    std::optional<FileKey> fileKey_;
    bool autoClosing_ = false;
};

} // namespace keyholm
