#include "database/MasterPassword.h"

#include "components/TextTools.h"
#include "database/DatabaseFile.h"
#include "database/FileCoding.h"
#include "services/ErrorReport.h"
#include "services/NodeTags.h"
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

MasterPassword::Typed MasterPassword::Ask(const QString& caption, const QString& info)
{
    PasswordAsk window(ui_.Window);
    window.setWindowTitle(caption);
    if (!info.isEmpty())
        window.SetInfo(info);
    Typed typed;
    typed.confirmed = window.Ask();
    if (typed.confirmed) {
        typed.text = window.Text();
        KeepOutOfTraceLog(typed.text);
        KeepOutOfTraceLog(typed.text.trimmed());
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
        ReportError(QStringLiteral("Error on checking password"), {}, true, ErrorRecord::FromException(error));
        CipherEngine::Wipe(check.password);
        return {};
    }
    return check;
}

MasterPassword::Access MasterPassword::DecodeDatabase(const QString& path)
{
    Access access;
    const CipherEngine::FileHeader header = ReadFileHeader(path);
    access.fileProtected = header.status == CipherEngine::FileStatus::Ok && header.isProtected;
    if (!access.fileProtected) {
        // Also for a file that is not sound: the decoding says what is wrong.
        access.decoded = DecodeFile(path, FixedKeyText, QString());
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
        access.decoded = DecodeFile(path, FixedKeyText, typed.text);
        EndBusy();
        if (access.decoded.status == CipherEngine::FileStatus::Ok) {
            access.password = typed.text;
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
        // The container opened with this password: it is the database's,
        // whatever the root says.
        if (coded.isEmpty() || DecodeField(coded, FixedKeyText) != access.password) {
            TraceLog(QStringLiteral("Master password of the root restored"), QStringLiteral("..."));
            root->SetTag(CodeField(access.password, FixedKeyText));
        }
        return true;
    }
    if (coded.isEmpty())
        return true;

    // A password in the root of a file that it does not protect.
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
    if (std::optional<FileKey> key = NewKey(check.password)) {
        access.decoded.key = std::move(key);
        procedures_.EnabledDisableBackup(true);
    }
    CipherEngine::Wipe(check.password);
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
        TreeNode* root = Tree().Root();
        if (!root)
            return;
        if (!root->Tag().trimmed().isEmpty()) {
            Typed current
                = Ask(PasswordAsk::Caption, QStringLiteral("Saisissez le mot de passe actuel pour modification :"));
            const bool given = current.confirmed && !current.text.trimmed().isEmpty();
            const bool same = given && CodeField(current.text.trimmed(), keyText) == root->Tag();
            CipherEngine::Wipe(current.text);
            if (!given)
                return;
            if (!same) {
                ShowInfo(QStringLiteral("Mot de passe incorrect, modification non autorisée"));
                return;
            }
        }

        Typed first = Ask(ChangeCaption);
        QString chosen = first.confirmed ? first.text.trimmed() : QString();
        CipherEngine::Wipe(first.text);
        if (chosen.isEmpty())
            return;
        Typed second = Ask(ChangeCaption, QStringLiteral("Confirmez la saisie du mot de passe :"));
        const QString confirmed = second.confirmed ? second.text.trimmed() : QString();
        CipherEngine::Wipe(second.text);
        if (confirmed.isEmpty()) {
            CipherEngine::Wipe(chosen);
            return;
        }
        if (confirmed != chosen) {
            CipherEngine::Wipe(chosen);
            ShowInfo(QStringLiteral("Unable to change the password. First and second password are different."));
            return;
        }

        const QString coded = CodeField(chosen, keyText);
        std::optional<FileKey> key = NewKey(chosen);
        CipherEngine::Wipe(chosen);
        root = Tree().Root();
        if (!root)
            return;
        if (coded.isEmpty() || !key) {
            ReportError(QStringLiteral("Error on checking the password"), {}, true,
                ErrorRecord::Make(ErrorRecord::OutOfMemory, QStringLiteral("The password could not be coded.")));
            return;
        }
        root->SetTag(coded);
        file_.UseFileKey(std::move(key));
        procedures_.EnabledDisableBackup(true);
        TraceLog(QStringLiteral("Master password changed"), QStringLiteral("..."));
    } catch (const std::exception& error) {
        ReportError(QStringLiteral("Error on checking the password"), {}, true, ErrorRecord::FromException(error));
    }
}

void MasterPassword::RemoveMasterPassword()
{
    try {
        state_.ResetIdleTicks();
        TreeNode* root = Tree().Root();
        if (!root || root->Tag().trimmed().isEmpty())
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
        root = Tree().Root();
        const bool same = root && DecodeField(root->Tag(), FixedKeyText) == typed;
        CipherEngine::Wipe(typed);
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
        procedures_.EnabledDisableBackup(true);
        root->SetTag(QString());
        file_.UseFileKey(std::move(key));
        TraceLog(QStringLiteral("Master password removed"), QStringLiteral("..."));
        if (state_.CurrentNode() == root)
            procedures_.tvTreeView_NodeClick(root);
    } catch (const std::exception& error) {
        ReportError(QStringLiteral("Error on removing the password"), {}, true, ErrorRecord::FromException(error));
    }
}

} // namespace keyholm
