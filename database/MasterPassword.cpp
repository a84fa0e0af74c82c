#include "database/MasterPassword.h"

#include "components/NodeTags.h"
#include "components/TextTools.h"
#include "database/DatabaseFile.h"
#include "services/ErrorReport.h"
#include "services/FileCoding.h"
#include "services/TraceLog.h"
#include "services/ui/Dialogs.h"
#include "services/ui/Messages.h"
#include "services/ui/PasswordAsk.h"

#include <QMainWindow>

#include <exception>

namespace keyholm {

namespace {

FileKey::Params& Cost()
{
    static FileKey::Params cost = FileKey::Params::Moderate();
    return cost;
}

const QString NotCorrect
    = QStringLiteral("Mot de passe non correct.<BR>Essayez à nouveau d'entrer votre mot de passe.");
const QString StillNotCorrect
    = QStringLiteral("Mot de passe toujours incorrect.<BR>Impossible d'ouvrir la base de données Password.");

void TraceCancelled(int attempt)
{
    // The second label is the one the log readers know, misspelt as it is.
    TraceLog(attempt == 1 ? QStringLiteral("Database opening is cancelled.")
                          : QStringLiteral("Seoond try database opening is cancelled."),
        QStringLiteral("..."));
}

QString CaptionFor(const QString& fileName)
{
    return fileName.trimmed().isEmpty() ? PasswordAsk::Caption
                                        : PasswordAsk::Caption + QStringLiteral(" - ") + fileName;
}

} // namespace

void MasterPassword::Access::Release()
{
    CipherEngine::Wipe(password);
    CipherEngine::Wipe(decoded.plain);
}

MasterPassword::MasterPassword(MainWindowUi& ui, MainState& state, MainProcedures& procedures, DatabaseFile& file)
    : MainArea(ui, state, procedures)
    , file_(file)
{
}

void MasterPassword::SetKeyCost(const FileKey::Params& params)
{
    Cost() = params;
}

FileKey::Params MasterPassword::KeyCost()
{
    return Cost();
}

MasterPassword::Typed MasterPassword::Ask(const QString& caption, const QString& info, bool showStrength)
{
    PasswordAsk window(ui_.Window);
    window.setWindowTitle(caption);
    window.ShowStrength(showStrength);
    if (!info.isEmpty())
        window.SetInfo(info);
    Typed typed;
    typed.confirmed = window.Ask();
    if (typed.confirmed) {
        typed.text = window.Text();
        KeepOutOfTraceLog(typed.text);
        QString trimmed = typed.text.trimmed();
        KeepOutOfTraceLog(trimmed);
        CipherEngine::Wipe(trimmed);
    }
    return typed;
}

std::optional<FileKey> MasterPassword::NewKey(const QString& password)
{
    ShowBusy();
    std::optional<FileKey> key = MakeFileKey(FixedKeyText, password, Cost());
    EndBusy();
    return key;
}

bool MasterPassword::IsSet() const
{
    const std::optional<FileKey>& key = file_.FileKeyInUse();
    return key && key->IsProtected();
}

bool MasterPassword::Verify(const QString& typed) const
{
    const std::optional<FileKey>& key = file_.FileKeyInUse();
    if (!key || !key->IsProtected() || typed.isEmpty())
        return false;
    ShowBusy(QStringLiteral("Password checking..."));
    const bool same = VerifyMasterPassword(*key, FixedKeyText, typed);
    EndBusy();
    return same;
}

// ---- Checking --------------------------------------------------------------

MasterPassword::Check MasterPassword::CheckMasterPassword(
    const QString& codedPassword, const QString& keyText, const QString& fileName)
{
    Check check;
    try {
        Typed typed = Ask(CaptionFor(fileName));
        check.confirmed = typed.confirmed;
        if (typed.confirmed) {
            const QString expected = DecodeField(codedPassword.trimmed(), keyText);
            check.matches = !expected.isEmpty() && expected == typed.text;
            if (check.matches)
                check.password = typed.text;
        }
        CipherEngine::Wipe(typed.text);
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on checking password"), error);
        CipherEngine::Wipe(check.password);
        return {};
    }
    return check;
}

MasterPassword::Access MasterPassword::DecodeDatabase(const QString& path, const QByteArray& container)
{
    Access access;
    const CipherEngine::FileHeader header = CipherEngine::Instance().InspectFile(container);
    access.fileProtected = header.status == CipherEngine::FileStatus::Ok && header.isProtected;
    if (!access.fileProtected) {
        // Also for a file that is not sound: the decoding says what is wrong.
        access.decoded = DecodeContainer(container, path, FixedKeyText, QString());
        return access;
    }
    const QString caption = CaptionFor(TextTools::Instance().FileNamePart(path));
    for (int attempt = 1; attempt <= 2; ++attempt) {
        Typed typed = Ask(caption);
        if (!typed.confirmed) {
            TraceCancelled(attempt);
            access.refused = true;
            return access;
        }
        // Taken as typed: the key came from the password trimmed.
        ShowBusy(QStringLiteral("Password checking..."));
        access.decoded = DecodeContainer(container, path, FixedKeyText, typed.text);
        EndBusy();
        if (access.decoded.status == CipherEngine::FileStatus::Ok) {
            // The password was asked for a protected file: anything else
            // opening now is not the file the prompt was for.
            if (!access.decoded.key || !access.decoded.key->IsProtected()) {
                CipherEngine::Wipe(typed.text);
                CipherEngine::Wipe(access.decoded.plain);
                access.decoded = {};
                access.decoded.status = CipherEngine::FileStatus::Damaged;
                // Traced only: the opening tells the user, once.
                ReportError(QStringLiteral("Unable to read the file:\r\n") + path, {}, false,
                    ErrorRecord::Make(ErrorRecord::FileAccess, FileStatusText(access.decoded.status)));
                return access;
            }
            access.password = std::move(typed.text);
            return access;
        }
        CipherEngine::Wipe(typed.text);
        if (access.decoded.status != CipherEngine::FileStatus::WrongKey)
            return access; // damaged or unreadable: reported by the decoding
        if (attempt == 1) {
            ShowInfo(NotCorrect);
        } else {
            access.refused = true;
            access.dropFromRecent = true;
            ShowInfo(StillNotCorrect);
        }
    }
    return access;
}

bool MasterPassword::GrantAccess(Access& access, const QString& path)
{
    TreeNode* root = Tree().Root();
    if (!root)
        return true;
    const QString coded = TagField(root->Tag(), 0).trimmed();
    if (access.fileProtected) {
        if (!access.decoded.key || !access.decoded.key->IsProtected()) {
            access.refused = true;
            return false;
        }
        if (!coded.isEmpty()) {
            // An older file: its root kept the password, readable by anyone
            // who holds the tree. The next save writes the tree without it.
            root->SetTag(QString());
            TraceLog(QStringLiteral("Master password dropped from the root"), QStringLiteral("..."));
        }
        if (!access.decoded.key->KdfParams().AtLeast(Cost()) && !access.password.isEmpty()) {
            // Made at a lower cost than today's: the next save uses a new key
            // (and salt) from the password just typed. On failure the old
            // key, still a protected one, stays.
            if (std::optional<FileKey> key = NewKey(access.password)) {
                access.decoded.key = std::move(key);
                TraceLog(QStringLiteral("Key cost of the data file raised"), QStringLiteral("..."));
            }
        }
        return true;
    }
    if (coded.isEmpty())
        return true;

    // A password in the root of a file that it does not protect.
    access.rootPassword = true;
    const QString fileName = TextTools::Instance().FileNamePart(path);
    Check check = CheckMasterPassword(coded, FixedKeyText, fileName);
    if (!check.matches) {
        if (!check.confirmed) {
            TraceCancelled(1);
            access.refused = true;
            return false;
        }
        ShowInfo(NotCorrect);
        check = CheckMasterPassword(coded, FixedKeyText, fileName);
        if (!check.matches) {
            if (!check.confirmed) {
                TraceCancelled(2);
            } else {
                access.dropFromRecent = true;
                ShowInfo(StillNotCorrect);
            }
            access.refused = true;
            return false;
        }
    }
    std::optional<FileKey> key = NewKey(check.password);
    CipherEngine::Wipe(check.password);
    if (!key) {
        // Opened without its key, the file would be saved as readable as it
        // is now, and the password with it. The failure was reported.
        TraceLog(QStringLiteral("Database opening is refused: no key for its password"), path);
        access.refused = true;
        return false;
    }
    access.decoded.key = std::move(key);
    root->SetTag(QString());
    state_.SetDatabaseChanged(true);
    return true;
}

// ---- Setting, changing and removing ------------------------------------------

void MasterPassword::MenuBasePassword_Click()
{
    state_.ResetIdleTicks();
    ChangeMasterPassword(FixedKeyText);
}

void MasterPassword::ChangeMasterPassword(const QString& keyText)
{
    try {
        if (!file_.PasswordIsChanged())
            return;
        if (!Tree().Root())
            return;
        if (IsSet()) {
            Typed current
                = Ask(PasswordAsk::Caption, QStringLiteral("Saisissez le mot de passe actuel pour modification :"));
            QString given = current.confirmed ? current.text.trimmed() : QString();
            CipherEngine::Wipe(current.text);
            if (given.isEmpty())
                return;
            const bool same = Verify(given);
            CipherEngine::Wipe(given);
            if (!same) {
                ShowInfo(QStringLiteral("Mot de passe incorrect, modification non autorisée"));
                return;
            }
        }

        Q_UNUSED(keyText); // the key text of the file key is the program's own
        UseNewPassword();
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on checking the password"), error);
    }
}

bool MasterPassword::SetNewDatabasePassword()
{
    try {
        if (UseNewPassword())
            return true;
        ShowInfo(QStringLiteral("La nouvelle base n'est protégée par aucun mot de passe maître."));
        return false;
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on checking the password"), error);
        return false;
    }
}

QString MasterPassword::AskNewPassword()
{
    // A mistyped confirmation asks both again: leaving the database as it
    // was without a word would leave it unprotected unnoticed.
    for (;;) {
        Typed first = Ask(ChangeCaption, {}, true);
        QString chosen = first.confirmed ? first.text.trimmed() : QString();
        CipherEngine::Wipe(first.text);
        if (chosen.isEmpty())
            return {};
        Typed second = Ask(ChangeCaption, QStringLiteral("Confirmez la saisie du mot de passe :"));
        QString confirmed = second.confirmed ? second.text.trimmed() : QString();
        CipherEngine::Wipe(second.text);
        const bool same = confirmed == chosen;
        const bool given = !confirmed.isEmpty();
        CipherEngine::Wipe(confirmed);
        if (given && same)
            return chosen;
        CipherEngine::Wipe(chosen);
        if (!given)
            return {};
        ShowInfo(QStringLiteral("Unable to change the password. First and second password are different."));
    }
}

bool MasterPassword::UseNewPassword()
{
    QString chosen = AskNewPassword();
    if (chosen.isEmpty())
        return false;
    std::optional<FileKey> key = NewKey(chosen);
    CipherEngine::Wipe(chosen);
    TreeNode* root = Tree().Root();
    if (!root || !key)
        return false; // a failure to make the key was reported; the database keeps its old one
    root->SetTag(QString());
    file_.UseFileKey(std::move(key));
    state_.SetDatabaseChanged(true);
    TraceLog(QStringLiteral("Master password changed"), QStringLiteral("..."));
    return true;
}

void MasterPassword::RemoveMasterPassword()
{
    try {
        state_.ResetIdleTicks();
        if (!Tree().Root() || !IsSet())
            return;
        QString typed;
        const Answer answer = AskInput(QStringLiteral("Pour confirmez la suppression du mot de passe,<BR>"
                                                      "entrez le mot de passe de la base courante :"),
            typed, InputFlag::Secret | InputFlag::RequireText);
        if (answer != Answer::Yes) {
            CipherEngine::Wipe(typed);
            return;
        }
        KeepOutOfTraceLog(typed);
        const bool same = Verify(typed);
        CipherEngine::Wipe(typed);
        TreeNode* root = Tree().Root();
        if (!root)
            return;
        if (!same) {
            ShowInfo(QStringLiteral("Mot de passe incorrect. La suppression n'est pas réalisée."),
                QStringLiteral("Suppression du mot de passe"));
            return;
        }
        std::optional<FileKey> key = NewKey(QString());
        if (!key)
            return; // reported
        state_.SetDatabaseChanged(true);
        root->SetTag(QString());
        file_.UseFileKey(std::move(key));
        TraceLog(QStringLiteral("Master password removed"), QStringLiteral("..."));
        if (state_.CurrentNode() == root)
            state_.RequestSelection(root);
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on removing the password"), error);
    }
}

} // namespace keyholm
