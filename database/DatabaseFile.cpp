#include "database/DatabaseFile.h"

#include "components/NodeImages.h"

#include "components/CipherEngine.h"
#include "components/FileTools.h"
#include "components/NodeTags.h"
#include "components/SystemInfo.h"
#include "components/TextTools.h"
#include "components/TreeStore.h"
#include "database/DatabaseTree.h"
#include "database/WorkingOptions.h"
#include "services/ApplicationOptions.h"
#include "services/BackupCopies.h"
#include "services/DatabaseContent.h"
#include "services/Environment.h"
#include "services/ErrorReport.h"
#include "services/FileCoding.h"
#include "services/MessagesDatabase.h"
#include "services/Preferences.h"
#include "services/TraceLog.h"
#include "services/main/KeyToolBar.h"
#include "services/ui/Dialogs.h"
#include "services/ui/Messages.h"
#include "services/ui/ProtectedClipboard.h"
#include "services/ui/RecentFiles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDate>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

#include <exception>
#include <stdexcept>

namespace keyholm {

namespace {

QString BoolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

FileTools& Files()
{
    return FileTools::Instance();
}

} // namespace

QString DatabaseFile::DefaultFile()
{
    return DataFolder() + QStringLiteral("Keyholm.khm");
}

void DatabaseFile::SetCaption(const QString& path)
{
    // No database open, no file named in the title.
    ui_.Window->setWindowTitle(path.isEmpty()
            ? QStringLiteral("Keyholm")
            : QStringLiteral("Keyholm - ") + TextTools::Instance().FileNamePart(path));
}

void DatabaseFile::UseFileKey(std::optional<FileKey> key)
{
    fileKey_ = std::move(key);
    ShowProtection();
}

void DatabaseFile::ShowProtection()
{
    const bool open = !state_.Tag().isEmpty();
    ui_.LabelUnprotected->setVisible(open && !(fileKey_ && fileKey_->IsProtected()));
}

// ---- Whether a path was protected --------------------------------------------
// Kept per path, so that a file put in place of a protected one, without
// its protection, does not open unnoticed. The path itself is not stored.

namespace {

const QString ProtectedSection = WorkingOptions::Section(QStringLiteral("_Password Protected"));

QString ProtectionKey(const QString& path)
{
    const QByteArray absolute = QFileInfo(path).absoluteFilePath().toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(absolute, QCryptographicHash::Sha256).toHex().left(16));
}

} // namespace

bool DatabaseFile::WasProtected(const QString& path)
{
    return GetCheckOption(ProtectedSection, ProtectionKey(path), 0, WorkingOptions::Label) == 1;
}

void DatabaseFile::RememberProtection(const QString& path)
{
    const int value = fileKey_ && fileKey_->IsProtected() ? 1 : 0;
    if (value == 1 || WasProtected(path))
        SetCheckOption(ProtectedSection, ProtectionKey(path), value, WorkingOptions::Label);
}

bool DatabaseFile::AcceptUnprotected(const QString& path)
{
    if (!WasProtected(path))
        return true;
    EndBusy();
    const Answer answer = AskQuestion(QStringLiteral("Le fichier ") + TextTools::Instance().FileNamePart(path)
            + QStringLiteral(" n'est plus protégé par un mot de passe maître, alors qu'il l'était à sa dernière "
                             "ouverture.\r\nIl a pu être remplacé par un autre fichier.\r\n\r\n"
                             "Voulez-vous l'ouvrir quand même ?"),
        QStringLiteral("Fichier non protégé"));
    ShowBusy();
    return answer == Answer::Yes;
}

void DatabaseFile::ReportUnreadable(const QString& path, const QString& why)
{
    EndBusy();
    ReportError(QStringLiteral("Unable to read and decode the data file:\r\n") + path, {}, true,
        ErrorRecord::Make(ErrorRecord::FileAccess, why));
}

bool DatabaseFile::BackUp(const QString& path, const QByteArray& bytes)
{
    return BackupDatabase(path, bytes, BackupFolder(), PreferenceBackupGenerations);
}

// ---- Opening ---------------------------------------------------------------

DatabaseFile::Opening DatabaseFile::OpenPasswordFile(const QString& requestedPath)
{
    Opening result;
    QString path = requestedPath;
    TraceLog(QStringLiteral("Open the Password file"), path);
    MasterPassword::Access access;
    try {
        if (!path.isEmpty()) {
            if (!PasswordIsChanged())
                return result;
            ClosePasswordFile();
            ShowBusy({}, true, true);

            if (!Files().FileExists(path)) {
                TraceLog(QStringLiteral("Password file does not exist"), QStringLiteral("..."));
                path = Files().RelocatePath(path);
                if (!Files().FileExists(path)) {
                    EndBusy();
                    ShowInfo(QStringLiteral("Unable to load the password database.\r\n"
                                            "Check path and name of file to open it:\r\n\r\n")
                        + path);
                    return result;
                }
            }

            TraceLog(QStringLiteral("Password database opening"), QStringLiteral("..."));
            // Read once: the header, the decoding and the backup all come
            // from these bytes, so a file swapped meanwhile cannot slip in.
            DatabaseBytes read = ReadDatabaseFile(path);
            if (read.header.status != CipherEngine::FileStatus::Ok) {
                TraceLog(QStringLiteral("Error on reading Password database"), path);
                ReportUnreadable(path, read.failure);
            } else if (!read.header.isProtected && !AcceptUnprotected(path)) {
                TraceLog(QStringLiteral("Database opening is cancelled: no longer protected"), path);
                Tree().Clear();
            } else {
                access = master_.DecodeDatabase(path, read.container);
                result.dropFromRecent = access.dropFromRecent;
                if (access.refused) {
                    Tree().Clear();
                } else if (access.decoded.status != CipherEngine::FileStatus::Ok) {
                    TraceLog(QStringLiteral("Error on reading Password database"), path);
                    ReportUnreadable(path, FileStatusText(access.decoded.status));
                } else {
                    ShowBusy(QStringLiteral("Lecture du fichier : ") + path);
                    const bool loaded = TreeStore::Instance().LoadTree(Tree(), access.decoded.plain);
                    CipherEngine::Wipe(access.decoded.plain);
                    if (!loaded) {
                        Tree().Clear();
                        EndBusy();
                        ShowInfo(QStringLiteral("Impossible de lire le contenu de la base Password : \r\n") + path);
                    } else {
                        TraceLog(QStringLiteral("Password database reading"), QStringLiteral("..."));
                        ShowBusy(QStringLiteral("Password checking..."));
                        if (!master_.GrantAccess(access, path)) {
                            Tree().Clear();
                            result.dropFromRecent = access.dropFromRecent;
                        } else {
                            // Only a file that opened is worth keeping, and
                            // a damaged one never rolls the sound copies away.
                            TraceLog(QStringLiteral("Password database backup"), path);
                            if (!BackUp(path, read.container))
                                TraceLog(QStringLiteral("## ERROR on backup (#%1) Password File")
                                             .arg(PreferenceBackupGenerations),
                                    path);
                            state_.SetTag(path);
                            UseFileKey(std::move(access.decoded.key));
                            RememberProtection(path);
                            SetCaption(path);
                            AjoutMenuFichierOuvert(ui_.Window, path, RecentFilesSuffix, QString());
                            SetTextOptionAt(WorkingOptions::Section(QStringLiteral("_Password OpenValue")), path, 0,
                                WorkingOptions::Label);
                            ui_.Window->update();
                            result.open = true;
                        }
                    }
                }
            }
            CipherEngine::Wipe(read.container);
            access.Release();
        }
        // The steps after an opening (tree check, trash, selection, expiry
        // list, automatic close) are the window's to compose.
        if (result.open)
            state_.NotifyDatabaseOpened();
        EndBusy();
        return result;
    } catch (const std::exception& error) {
        access.Release();
        ReportException(QStringLiteral("Unable to open Password file:\r\n") + path, error);
        ClosePasswordFile();
        EndBusy();
        return {};
    }
}

// ---- Closing and the unsaved-changes question --------------------------------

void DatabaseFile::ClosePasswordFile()
{
    try {
        TraceLog(QStringLiteral("Close current password database"), ui_.Window->windowTitle());
        state_.SetDatabaseChanged(false);
        state_.ResetIdleTicks();
        ui_.TimerDatabaseClose->stop();
        state_.SetCurrentNode(nullptr);
        state_.SetTag(QString());
        SetCaption(QString());
        UseFileKey(std::nullopt);
        ui_.tvTreeView->setVisible(false);
        ui_.PictureLogo->setVisible(LogoOption());
        // A text another program copied since is the user's, not ours to clear.
        ProtectedClipboard::ClearOwnText();
        state_.NotifyDatabaseClosed();
        Tree().Clear();
        procedures_.SetPasswordFields();
        procedures_.EnableFromSelectedNode();
        EnableDisableMainBar(false);
        procedures_.UnvisiblePasswordTab(int(DetailPage::About));
        ForgetTraceLogSecrets();
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on closing password database"), error);
    }
}

DatabaseFile::Changes DatabaseFile::AskAboutChanges(bool keepOnNo)
{
    try {
        if (!state_.DatabaseChanged())
            return Changes::None;
        const Answer answer
            = AskQuestion(QStringLiteral("Des informations modifiées n'ont pas été enregistrées.\r\n"
                                         "Souhaitez-vous effectuer un enregistrement avant la fermeture ?"),
                QStringLiteral("Fermeture du fichier courant"));
        switch (answer) {
        case Answer::Yes:
            // A save that did not happen must not let the changes go.
            return SavePasswordFileUnder(false) ? Changes::Saved : Changes::SaveFailed;
        case Answer::No:
            if (!keepOnNo)
                state_.SetDatabaseChanged(false);
            return Changes::Dropped;
        case Answer::Cancel:
            return Changes::Cancelled;
        }
        return Changes::None;
    } catch (const std::exception&) {
        return Changes::None;
    }
}

bool DatabaseFile::PasswordIsChanged()
{
    // Edits of the shown entry come first: applied, they are changes too.
    if (state_.DatabaseOpen() && !procedures_.LeaveEditedEntry())
        return false;
    const Changes changes = AskAboutChanges();
    return changes != Changes::Cancelled && changes != Changes::SaveFailed;
}

bool DatabaseFile::OfferToSaveChanges()
{
    if (state_.DatabaseOpen() && !procedures_.LeaveEditedEntry())
        return false;
    const Changes changes = AskAboutChanges(true);
    return changes != Changes::Cancelled && changes != Changes::SaveFailed;
}

// ---- Recent files ------------------------------------------------------------

void DatabaseFile::MenuAncienFichier_Click(int number)
{
    if (number < 1 || number > int(ui_.MenuAncienFichier.size()))
        return;
    const QString caption = ui_.MenuAncienFichier[number - 1]->text();
    Click_MenuAncienFichierPassword(TextTools::Instance().AfterFirst(caption, QStringLiteral(" ")), number);
}

void DatabaseFile::Click_MenuAncienFichierPassword(const QString& fileText, int number)
{
    try {
        state_.ResetIdleTicks();
        if (!PasswordIsChanged())
            return;
        ShowBusy();
        TraceLog(QStringLiteral("Open old file: ") + QString::number(number), fileText);
        const QString listed = sGetMenuFichierLong(fileText, number);
        QString path = listed;
        if (!Files().FileExists(path)) {
            const QString candidates[] = { DataFolder() + fileText, Files().RelocatePath(path) };
            QString found;
            for (const QString& candidate : candidates) {
                if (!candidate.isEmpty() && Files().FileExists(candidate)) {
                    found = candidate;
                    break;
                }
            }
            if (found.isEmpty()) {
                EnleveMenuFichierOuvert(ui_.Window, number, true);
                SauveListeAncienFichier(RecentFilesSuffix, QString());
                EndBusy();
                ShowInfo(GetMessage(296) + QStringLiteral("\r\n") + path);
                return;
            }
            path = found;
        }

        if (TextTools::Instance().AfterLast(path, QStringLiteral(".")).toUpper() != QLatin1String("KHM")) {
            EnleveMenuFichierOuvert(ui_.Window, number, true);
        } else {
            // The entry stays until the outcome is known: a cancelled
            // password prompt keeps it, and a success moves the path to the
            // top of the list.
            const Opening opening = OpenPasswordFile(path);
            const bool stale = opening.open ? path != listed : opening.dropFromRecent;
            if (stale) {
                if (const auto position = bExisteMenuFichierOuvert(listed))
                    EnleveMenuFichierOuvert(ui_.Window, *position, true);
            }
            if (!opening.open) {
                TraceLog(QStringLiteral("Unable to open password database"), BoolText(opening.dropFromRecent));
                ClosePasswordFile();
            }
        }
        SauveListeAncienFichier(RecentFilesSuffix, QString());
        EndBusy();
    } catch (const std::exception& error) {
        EndBusy();
        ReportException(QStringLiteral("Error on selecting old password file: ") + QString::number(number), error);
    }
}

// ---- Automatic close ---------------------------------------------------------

void DatabaseFile::TimerDatabaseClose_Timer()
{
    // A modal box of this very procedure lets the timer tick again.
    if (autoClosing_)
        return;
    state_.AddIdleTick();
    if (state_.IdleTicks() <= state_.Options().autoCloseMinutes || !state_.DatabaseOpen())
        return;
    // Closing under an open dialog or a drag would pull the database from
    // beneath the command that shows it; the close waits for them to end.
    // A list window (which may show passwords) is closed first, without a
    // choice; the database closes once its caller is done with it.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* list = qobject_cast<QDialog*>(modal); list && list->objectName() == QLatin1String("Lib_ListView")) {
            list->reject();
            QTimer::singleShot(0, ui_.Window, [this] { TimerDatabaseClose_Timer(); });
        }
        return;
    }
    if (state_.DragActive())
        return;
    autoClosing_ = true;
    TraceLog(QStringLiteral("Fermeture automatique si temps dépassé"), QString::number(state_.IdleTicks()));
    if (state_.DatabaseChanged() && !SavePasswordFileUnder(false)) {
        // The failure was reported; closing now would lose the changes.
        state_.ResetIdleTicks();
    } else {
        ClosePasswordFile();
    }
    autoClosing_ = false;
}

void DatabaseFile::CloseOnWalkAway()
{
    if (autoClosing_ || !state_.Options().closeOnWalkAway || !state_.DatabaseOpen())
        return;
    const QString path = state_.Tag();
    // Comes back for the same database only, once nothing is in the way.
    auto again = [this, path](int delay) {
        QTimer::singleShot(delay, ui_.Window, [this, path] {
            if (state_.Tag() == path)
                CloseOnWalkAway();
        });
    };
    if (QWidget* modal = QApplication::activeModalWidget()) {
        auto* list = qobject_cast<QDialog*>(modal);
        const bool isList = list && list->objectName() == QLatin1String("Lib_ListView");
        if (isList)
            list->reject();
        again(isList ? 0 : 500);
        return;
    }
    if (state_.DragActive()) {
        again(500);
        return;
    }
    autoClosing_ = true;
    TraceLog(QStringLiteral("Close on walk-away"), path);
    if (state_.DatabaseChanged() && !SavePasswordFileUnder(false)) {
        // The failure was reported; closing now would lose the changes.
        state_.ResetIdleTicks();
    } else {
        ClosePasswordFile();
    }
    autoClosing_ = false;
}

// ---- Creating and saving -----------------------------------------------------

bool DatabaseFile::NewPasswordFile()
{
    QString path;
    try {
        path = ChooseNewFile(DefaultFile(), QStringLiteral("Nouveau fichier Keyholm"), FileFilter, FileExtension);
        if (path.isEmpty())
            return false;
        TraceLog(QStringLiteral("Creating Password database"), path);
        state_.SetTag(path);
        SetCaption(path);
        UseFileKey(std::nullopt);
        ui_.PictureLogo->setVisible(false);
        ui_.tvTreeView->setVisible(true);
        if (!tree_.CreateDefaultTree())
            return false;
        // Asked before the first write, so that the file never reaches the
        // disk without the protection the user gives it.
        master_.SetNewDatabasePassword();
        const bool saved = SavePasswordFileUnder(false);
        AjoutMenuFichierOuvert(ui_.Window, path, RecentFilesSuffix, QString());
        return saved;
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on creating the password data from the file:\r\n") + path, error);
        return false;
    }
}

bool DatabaseFile::SavePasswordFileUnder(bool askName)
{
    QString path = state_.Tag();
    try {
        ShowBusy();
        TraceLog(QStringLiteral("Saving Password database"), BoolText(askName));
        TreeNode* root = Tree().Root();
        if (!root) {
            state_.SetDatabaseChanged(false);
            procedures_.EnableFromSelectedNode();
            EndBusy();
            return false;
        }
        if (path.isEmpty() || askName) {
            path = ChooseFileToSave(
                DefaultFile(), QStringLiteral("Enregistrer dans un fichier"), FileFilter, FileExtension);
            if (path.isEmpty()) {
                EndBusy();
                return false;
            }
        }
        ShowBusy();
        TraceLog(QStringLiteral("Saving Password database"), path);

        bool written = false;
        if (SystemInfo::Instance().DriveType(path) == SystemInfo::CdRom) {
            ReportError(QStringLiteral("Error on file writing:\r\n") + path, {}, true,
                ErrorRecord::Make(ErrorRecord::FileAccess, QStringLiteral("The location is read-only.")));
        } else {
            ShowStatus(QStringLiteral("Enregistrement des données..."));
            // The file holds the time of its own save; a save that fails
            // puts the previous time back.
            SaveStamp stamp(Tree());
            const bool rootHoldsText = !TagField(root->Tag(), 0).trimmed().isEmpty();
            if (!fileKey_ && !rootHoldsText)
                UseFileKey(MakeFileKey(FixedKeyText, QString()));
            switch (WriteDatabase(Tree(), path, fileKey_ ? &*fileKey_ : nullptr)) {
            case DatabaseWrite::Written:
                written = true;
                state_.SetDatabaseChanged(false);
                RememberProtection(path);
                TraceLog(QStringLiteral("Password database is recorded"), path);
                if (path != state_.Tag()) {
                    state_.SetTag(path);
                    SetCaption(path);
                }
                break;
            case DatabaseWrite::RootPasswordWithoutKey:
                ReportError(QStringLiteral("Error on file writing:\r\n") + path, {}, true,
                    ErrorRecord::Make(ErrorRecord::FileAccess,
                        QStringLiteral("The master password's key is missing; the file is left as it was.")));
                break;
            case DatabaseWrite::TreeNotSaved:
                ReportError(QStringLiteral("Unable to save data tree"));
                break;
            case DatabaseWrite::FileNotWritten:
                ReportError(QStringLiteral("Error on file writing:\r\n") + path);
                break;
            }
            if (!written)
                stamp.Undo();
        }
        EnableDisableMainBar(true);
        procedures_.EnableFromSelectedNode();
        EndBusy();
        return written;
    } catch (const std::exception& error) {
        EndBusy();
        ReportException(QStringLiteral("Error on saving the password data under the file:\r\n") + path, error);
        return false;
    }
}

void DatabaseFile::EnableDisableMainBar(bool open)
{
    EnableFileCommands(open);
    ui_.PasswordTabView->setTabEnabled(int(DetailPage::Entry), open);
}

void DatabaseFile::EnableFileCommands(bool open)
{
    for (QAction* item : { ui_.MenuBaseNew, ui_.MenuBaseOpen })
        item->setEnabled(!open);
    for (QAction* item :
        { ui_.MenuBaseClose, ui_.MenuBaseSave, ui_.MenuBaseSaveUnder, ui_.MenuBasePassword, ui_.NewEntryAction })
        item->setEnabled(open);
    for (const char* key : { "New", "Open" }) {
        if (QAction* button = ui_.tbToolBar->Button(QLatin1String(key)))
            button->setEnabled(!open);
    }
    for (const char* key : { "Close", "Save", "SaveUnder", "Security" }) {
        if (QAction* button = ui_.tbToolBar->Button(QLatin1String(key)))
            button->setEnabled(open);
    }
}

// ---- Commands ----------------------------------------------------------------

void DatabaseFile::MenuBaseNew_Click()
{
    state_.ResetIdleTicks();
    try {
        if (state_.DatabaseOpen() || !NewPasswordFile())
            return;
        if (TreeNode* root = Tree().Root())
            state_.RequestSelection(root);
        procedures_.AddDefaultCategories();
        MenuBaseSave_Click();
        if (state_.Options().autoClose)
            ui_.TimerDatabaseClose->start();
        const int options = TreeStore::Instance().FindChild(Tree(), 1, NodeImage::OptionNot);
        if (TreeNode* node = Tree().NodeAt(options))
            state_.RequestSelection(node);
    } catch (const std::exception&) {
    }
}

void DatabaseFile::MenuBaseOpen_Click()
{
    state_.ResetIdleTicks();
    const Changes changes = AskAboutChanges();
    if (changes == Changes::Cancelled || changes == Changes::SaveFailed)
        return;
    const QString path = ChooseFileToOpen(DefaultFile(), QStringLiteral("Ouvrir un fichier Keyholm"), FileFilter,
        FileExtension, FileDialogFlag::FileMustExist | FileDialogFlag::HideReadOnly);
    if (path.isEmpty()) {
        // Nothing chosen: the open database stays as it was, its changes
        // still to be saved.
        if (changes == Changes::Dropped)
            state_.SetDatabaseChanged(true);
        return;
    }
    const Opening opening = OpenPasswordFile(path);
    if (!opening.open) {
        if (opening.dropFromRecent) {
            if (const auto position = bExisteMenuFichierOuvert(path)) {
                EnleveMenuFichierOuvert(ui_.Window, *position, true);
                SauveListeAncienFichier(RecentFilesSuffix, QString());
            }
        }
        TraceLog(QStringLiteral("Unable to open password database"), BoolText(opening.dropFromRecent));
        ClosePasswordFile();
    }
}

void DatabaseFile::MenuBaseClose_Click()
{
    state_.ResetIdleTicks();
    if (!PasswordIsChanged())
        return;
    ShowBusy();
    ClosePasswordFile();
    EndBusy();
}

void DatabaseFile::MenuBaseSave_Click()
{
    state_.ResetIdleTicks();
    SavePasswordFileUnder(false);
}

void DatabaseFile::MenuBaseSaveUnder_Click()
{
    state_.ResetIdleTicks();
    SavePasswordFileUnder(true);
}

} // namespace keyholm
