#pragma once
// The master password of the open database. It is kept nowhere, in no form
// that gives it back: only the key of the file container is kept, derived
// from it, and the change and the removal check a typed password by deriving
// the key again with the file's salt and cost. The password is trimmed when
// it is set; at opening it is taken as typed, so that a typed blank at either
// end is refused.
//
// Older files hold the password coded in the root node's tag. A protected
// one loses that tag at opening (the next save writes the tree without it);
// an unprotected one is let in only with that password and protected by it
// from its next save.

#include "components/CipherEngine.h"
#include "components/FileKey.h"
#include "services/main/MainArea.h"

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
    // when given) and compares the decoded password with the text as typed
    // (the root tag of an older file).
    struct Check {
        bool matches = false;
        bool confirmed = false;
        QString password; // the text typed, when it matched; the caller wipes it
    };
    Check CheckMasterPassword(const QString& codedPassword, const QString& keyText, const QString& fileName);

    // The opening of `container`, read from `path`: the decoded file, after
    // asking for the master password when its header says one protects it
    // (two tries at most). A refusal (a cancel, or two wrong passwords) is not
    // a decoding failure.
    struct Access {
        CipherEngine::DecodedFile decoded;
        bool refused = false;
        bool dropFromRecent = false; // two wrong passwords
        bool fileProtected = false;
        bool rootPassword = false; // an older unprotected file's root held the password
        QString password; // as typed; wiped by Release
        void Release();
    };
    Access DecodeDatabase(const QString& path, const QByteArray& container);
    // After the tree is loaded. A protected file keeps no password in its
    // root, and a key made at a lower cost than today's is made anew from
    // the password typed. A file without protection whose root holds a
    // password is only let in with that password (two tries), and is
    // protected from its next save. False when access is refused.
    bool GrantAccess(Access& access, const QString& path);

    // True when the open database has a master password.
    bool IsSet() const;

    // Sets or changes the password: the current one first, then the new one
    // twice, asked again until both match or the user cancels. Takes effect
    // at the next save.
    void ChangeMasterPassword(const QString& keyText);
    // The password of a database just created, before its first save: the
    // new one twice, as above. A cancel leaves it without one, and says so.
    // True when a password was set.
    bool SetNewDatabasePassword();
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
    Typed Ask(const QString& caption, const QString& info = {}, bool showStrength = false);
    // A key for the password (empty: without one), deriving behind the busy pointer.
    static std::optional<FileKey> NewKey(const QString& password);
    // The new password, typed twice alike; empty after a cancel.
    QString AskNewPassword();
    // Asks for a new password and makes the database's key from it. True
    // when the database has its new key.
    bool UseNewPassword();
    // The typed text is the open database's master password.
    bool Verify(const QString& typed) const;

    DatabaseFile& file_;
};

} // namespace keyholm
