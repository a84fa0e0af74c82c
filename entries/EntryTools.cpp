#include "entries/EntryTools.h"

#include "components/CipherEngine.h"
#include "components/DateTools.h"
#include "components/FileTools.h"
#include "components/ui/ColorValue.h"
#include "services/Environment.h"
#include "services/ErrorReport.h"
#include "services/MessagesDatabase.h"
#include "services/TraceLog.h"
#include "services/main/KeyToolBar.h"
#include "services/ui/ApplicationEnvironment.h"
#include "services/ui/Dialogs.h"
#include "services/ui/GeneratorDialog.h"
#include "services/ui/Messages.h"
#include "services/ui/ProtectedClipboard.h"
#include "services/ui/SecretLineEdit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QToolButton>
#include <QUrl>

#include <exception>

namespace keyholm {

namespace {

const QString LoginPlaceholder = QStringLiteral("KHM_LOGIN");
const QString PasswordPlaceholder = QStringLiteral("KHM_PASSWORD");
const QString CrLf = QStringLiteral("\r\n");

constexpr qint16 CtrlKey = 17;
constexpr qint16 ShiftKey = 16;

// The code kept for a key pressed over a copy button: only Ctrl and Shift
// mean something; any other key is kept as "something else".
qint16 CopyKeyCode(int key)
{
    if (key == Qt::Key_Control)
        return CtrlKey;
    if (key == Qt::Key_Shift)
        return ShiftKey;
    return 1;
}

} // namespace

QString EntryTools::FillWebAddress(const QString& address, const QString& login, const QString& password, bool encode)
{
    const auto value
        = [encode](const QString& text) { return encode ? QString::fromLatin1(QUrl::toPercentEncoding(text)) : text; };
    QString filled;
    filled.reserve(address.size());
    qsizetype at = 0;
    while (at < address.size()) {
        if (QStringView(address).mid(at).startsWith(LoginPlaceholder)) {
            filled += value(login);
            at += LoginPlaceholder.size();
        } else if (QStringView(address).mid(at).startsWith(PasswordPlaceholder)) {
            filled += value(password);
            at += PasswordPlaceholder.size();
        } else {
            filled += address.at(at++);
        }
    }
    return filled;
}

void EntryTools::SetPassword(const QString& password)
{
    // The field hides its text by itself while the option asks it to.
    ui_.Entry->PasswordEdit->setText(password);
}

void EntryTools::CommandGenPasswd_Click()
{
    try {
        if (AskQuestion(QStringLiteral("Confirmez-vous la génération automatique d'un mot de passe ?")) != Answer::Yes)
            return;
        ShowBusy(QString(), false, false, false);
        state_.ResetIdleTicks();
        QString password = CipherEngine::Instance().GeneratePassword(6, 6);
        SetPassword(password);
        CipherEngine::Wipe(password);
        EndBusy();
    } catch (const std::exception&) {
        EndBusy();
    }
}

void EntryTools::GeneratorOptions_Click()
{
    try {
        state_.ResetIdleTicks();
        GeneratorDialog window(ui_.Window);
        if (!window.Ask())
            return;
        QString password = window.Result();
        if (!ui_.Entry->PasswordText(2).isEmpty()
            && AskQuestion(QStringLiteral("Confirmez-vous la génération automatique d'un mot de passe ?"))
                != Answer::Yes) {
            CipherEngine::Wipe(password);
            return;
        }
        SetPassword(password);
        CipherEngine::Wipe(password);
    } catch (const std::exception&) {
    }
}

void EntryTools::CommandGenPeudo_Click()
{
    try {
        if (!ui_.Entry->PasswordText(1).trimmed().isEmpty()
            && AskQuestion(QStringLiteral("Confirmez-vous le remplacement du pseudo ?")) != Answer::Yes)
            return;
        ShowBusy(QString(), false, false, false);
        state_.ResetIdleTicks();
        const double r1 = NextPseudoRandom();
        const double r2 = NextPseudoRandom();
        const int count = int(3 * r1) + 2;
        const bool withDigits = int(2 * r2) + 1 > 1;
        ui_.Entry->SetPasswordText(1, CipherEngine::Instance().GenerateNickname(count, withDigits));
        EndBusy();
    } catch (const std::exception&) {
        EndBusy();
    }
}

void EntryTools::Copy(bool password)
{
    try {
        state_.ResetIdleTicks();
        const EntryPage& page = *ui_.Entry;
        const qint16 key = state_.LastCopyKey();
        QString text;
        if ((key == CtrlKey || key == ShiftKey) && state_.Options().separatedCopy)
            text = page.PasswordText(1) + state_.Options().copySeparator + page.PasswordText(2);
        else
            text = password ? page.PasswordText(2) : page.PasswordText(1);
        ProtectedClipboard::SetClearDelay(state_.Options().clipboardClearSeconds);
        ProtectedClipboard::Copy(text);
        CipherEngine::Wipe(text);
    } catch (const std::exception&) {
    }
    state_.SetLastCopyKey(0);
}

void EntryTools::CommandCopyLogin_Click()
{
    Copy(false);
}

void EntryTools::CommandCopyPassword_Click()
{
    Copy(true);
}

bool EntryTools::IsCopyButton(const QObject* object) const
{
    return object && (object == ui_.Entry->CommandCopyLogin || object == ui_.Entry->CommandCopyPassword);
}

void EntryTools::WatchEvent(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Enter:
        if (IsCopyButton(watched))
            hovered_ = watched;
        break;
    case QEvent::Leave:
        if (watched == hovered_)
            hovered_ = nullptr;
        break;
    case QEvent::KeyPress: {
        // The key goes on to the focused field; only its code is kept.
        auto* key = static_cast<QKeyEvent*>(event);
        const bool over = hovered_ && static_cast<const QWidget*>(hovered_)->underMouse();
        if ((over || IsCopyButton(watched)) && !key->isAutoRepeat())
            state_.SetLastCopyKey(CopyKeyCode(key->key()));
        break;
    }
    case QEvent::MouseButtonPress:
        if (IsCopyButton(watched)) {
            const Qt::KeyboardModifiers held = static_cast<QMouseEvent*>(event)->modifiers();
            if (held & Qt::ControlModifier)
                state_.SetLastCopyKey(CtrlKey);
            else if (held & Qt::ShiftModifier)
                state_.SetLastCopyKey(ShiftKey);
        }
        break;
    default:
        break;
    }
}

void EntryTools::CommandGoWeb_Click()
{
    try {
        state_.ResetIdleTicks();
        const EntryPage& page = *ui_.Entry;
        const QString address = page.PasswordText(3);
        if (address.trimmed().isEmpty())
            return;
        // The filled address holds the password: it is never traced.
        QString filled = FillWebAddress(address, page.PasswordText(1), page.PasswordText(2), true);
        FileTools::Instance().ShellOpen(filled);
        CipherEngine::Wipe(filled);
    } catch (const std::exception&) {
    }
}

void EntryTools::CommandWebHelp_Click()
{
    try {
        state_.ResetIdleTicks();
        const EntryPage& page = *ui_.Entry;
        QString text
            = QStringLiteral("Pour lancer l'ouverture d'une page Web avec les arguments Identifiant (login) et Mot de "
                             "Passe,<br>utilisez les balises suivantes :")
            + CrLf + CrLf + QStringLiteral("\tKHM_LOGIN sera remplacé par votre Identifiant") + CrLf
            + QStringLiteral("\tKHM_PASSWORD sera remplacé par votre Mot de Passe") + CrLf + CrLf
            + QStringLiteral("Cette méthode est uniquement valable avec ls sites Web qui prennent en arguments dans "
                             "l'URL ces informations.")
            + CrLf
            + QStringLiteral("Il est à noter que cette méthode est peu sécurisante, car le mot de passe apparait en "
                             "clair avec l'appel du site Web.")
            + CrLf + CrLf;
        const QString address = page.PasswordText(3);
        if (address.trimmed().isEmpty()
            || (!address.contains(LoginPlaceholder) && !address.contains(PasswordPlaceholder))) {
            text += QStringLiteral(
                "Faites le test d'une saisie et appuyez à nouveau sur le bouton d'information pour vérifier le "
                "résultat.");
            ShowInfo(text);
            return;
        }
        text += QStringLiteral("Avec l'URL saisie le résultat est :");
        // Only the fixed text reaches the trace log: the result holds the
        // login, and the password whenever the field shows it.
        const QString traced = text;
        const QString password = page.PasswordText(2);
        const QString shown = page.PasswordEdit->echoMode() == QLineEdit::Normal
            ? password
            : QString(password.size(), QLatin1Char('*'));
        QString message = text + CrLf + QLatin1Char('\t') + FillWebAddress(address, page.PasswordText(1), shown, false);
        ShowInfo(message, QString(), traced);
        CipherEngine::Wipe(message);
    } catch (const std::exception&) {
    }
}

void EntryTools::CommandOpenFile_Click()
{
    try {
        state_.ResetIdleTicks();
        const QString path = ui_.Entry->PasswordText(4);
        if (!path.trimmed().isEmpty())
            FileTools::Instance().ShellOpen(path);
    } catch (const std::exception&) {
    }
}

void EntryTools::CommandSelectFile_Click()
{
    try {
        state_.ResetIdleTicks();
        const QString path = ChooseFileToOpen(QString(), QStringLiteral("Sélectionnez un fichier"), GetMessage(200),
            QStringLiteral(".*"), FileDialogFlag::FileMustExist | FileDialogFlag::HideReadOnly);
        if (!path.isEmpty())
            ui_.Entry->SetPasswordText(4, path);
    } catch (const std::exception&) {
    }
}

void EntryTools::OpenContentNote_Click()
{
    try {
        state_.ResetIdleTicks();
        LoadTextIntoBox(ui_.Entry->TextPasswordNote, DataFolder(), QStringLiteral("Password Note.txt"), true);
    } catch (const std::exception&) {
    }
}

void EntryTools::SaveContentNote_Click()
{
    try {
        state_.ResetIdleTicks();
        if (!ui_.Entry->PasswordText(5).trimmed().isEmpty())
            SaveTextToFile(ui_.Entry->TextPasswordNote, QStringLiteral("Password Note"));
    } catch (const std::exception&) {
    }
}

void EntryTools::CommandColor_Click()
{
    try {
        EntryPage& page = *ui_.Entry;
        const qint32 chosen = ChooseColor(ValueFromColor(page.EntryColor()));
        if (chosen >= 0)
            page.SetEntryColor(ColorFromValue(chosen));
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on selecting the Password background color"), error);
    }
}

void EntryTools::ToolbarNote_ButtonClick(const QString& key)
{
    try {
        QPlainTextEdit* note = ui_.Info->TextNote;
        QString stamp;
        if (key == QLatin1String("open")) {
            LoadTextIntoBox(note, DataFolder(), QString(), false);
            return;
        }
        if (key == QLatin1String("calendar"))
            stamp = DateTools::Instance().NowFormatted(GetMessage(813));
        else if (key == QLatin1String("time"))
            stamp = sHeureMinuteDuMoment();
        else
            return;
        const int caret = state_.NoteCaret();
        if (caret < 0 || note->document()->characterCount() - 1 < caret)
            return;
        // Inserted where the caret was, so that undo and the scroll stay.
        QTextCursor cursor(note->document());
        cursor.setPosition(caret);
        cursor.insertText(QLatin1Char(' ') + stamp + QLatin1Char(' '));
    } catch (const std::exception&) {
    }
}

} // namespace keyholm
