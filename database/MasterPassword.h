#pragma once
// The master password of the open database. It is kept twice: coded (with
// the fixed key text) as the root node's tag, which the change and the
// removal check, and as the key of the file container, which only the
// password opens. The password is trimmed when it is set; at opening it is
// taken as typed, so that a typed blank at either end is refused.

#include "components/CipherEngine.h"
#include "components/FileKey.h"
#include "services/ui/MainArea.h"

#include <QString>

namespace keyholm {

class DatabaseFile;

class MasterPassword : public MainArea {
public:
    MasterPassword(MainWindowUi& ui, MainState& state, MainProcedures& procedures, DatabaseFile& file);

    // Argon2id cost of the keys made when the password is set or removed.
    // Files keep their own cost in their header; tests and benchmarks lower
    // this one to spare time.
    static void SetKeyCost(const FileKey::Params& params);
    static FileKey::Params KeyCost();

    // Asks in Lib_PasswordAsk (caption "Mot de passe - " and the file name
    // when given) and compares the decoded password with the text as typed.
    struct Check {
        bool matches = false;
        bool confirmed = false;
        QString password; // the text typed, when it matched; the caller wipes it
    };
    Check CheckMasterPassword(const QString& codedPassword, const QString& keyText, const QString& fileName);

    // The opening of `path`: the decoded file, after asking for the master
    // password when one protects it (two tries at most). A refusal (a
    // cancel, or two wrong passwords) is not a decoding failure.
    struct Access {
        CipherEngine::DecodedFile decoded;
        bool refused = false;
        bool dropFromRecent = false; // two wrong passwords
        bool fileProtected = false;
        QString password; // as typed; wiped by Release
        void Release();
    };
    Access DecodeDatabase(const QString& path);
    // After the tree is loaded: the root's password and the file's agree.
    // A file without protection whose root holds a password is only let in
    // with that password (two tries), and is protected from its next save.
    // False when access is refused.
    bool GrantAccess(Access& access, const QString& path);

    // Sets or changes the password: the current one first, then the new one
    // twice. Takes effect at the next save.
    void ChangeMasterPassword(const QString& keyText);
    void MenuBasePassword_Click();
    // The "Security" drop-down entry "Password": removes the password once
    // it is given.
    void RemoveMasterPassword();

    static inline const QString ChangeCaption = QStringLiteral("Mot de Passe d'accès à la Base");

private:
    struct Typed {
        bool confirmed = false;
        QString text;
    };
    // One use of a fresh Lib_PasswordAsk.
    Typed Ask(const QString& caption, const QString& info = {});
    // A key for the password (empty: without one), deriving behind the busy pointer.
    static std::optional<FileKey> NewKey(const QString& password);

    DatabaseFile& file_;
};

} // namespace keyholm
