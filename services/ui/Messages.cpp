#include "services/ui/Messages.h"

#include "services/MessagesDatabase.h"
#include "services/TraceLog.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>

namespace keyholm {
namespace {

const QString CrLf = QStringLiteral("\r\n");

QPointer<QStatusBar>& StatusTarget()
{
    static QPointer<QStatusBar> target;
    return target;
}

void DefaultPointer()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void Hourglass()
{
    // One level of override only, so that a single EndBusy ends any number of ShowBusy.
    if (QApplication::overrideCursor())
        QApplication::changeOverrideCursor(Qt::WaitCursor);
    else
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

const QString& WaitText()
{
    static const QString text = GetMessage(295);
    return text;
}

// Message boxes show plain text, so that a file name with "<" stays as it is.
QString ForDisplay(const QString& text)
{
    return QString(text).replace(CrLf, QStringLiteral("\n"));
}

// A box over the active window, brought to the foreground.
int RunBox(QMessageBox& box, const QString& objectName, const QString& title, const QString& text)
{
    box.setObjectName(objectName);
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(ForDisplay(text));
    QApplication::beep();
    box.raise();
    box.activateWindow();
    return box.exec();
}

void ShowErrorBox(const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QString(), QString(), QMessageBox::Ok, QApplication::activeWindow());
    RunBox(box, QStringLiteral("ErrorMessageBox"), title, text);
}

} // namespace

void InstallMessageBoxes()
{
    SetErrorDisplay({ [] { DefaultPointer(); },
        [](const QString& title, const QString& text) {
            try {
                ShowErrorBox(title, text);
            } catch (...) {
            }
        } });
}

void ShowInfo(const QString& message, const QString& title)
{
    ShowInfo(message, title, message);
}

void ShowInfo(const QString& message, const QString& title, const QString& tracedText)
{
    try {
        DefaultPointer();
        const QString text = WithLineBreaks(message);
        const QString caption = title.isEmpty() ? GetMessage(199) : title;
        TraceLog(WithLineBreaks(tracedText).replace(CrLf, QStringLiteral(" ")), caption);
        QMessageBox box(QMessageBox::Information, QString(), QString(), QMessageBox::Ok, QApplication::activeWindow());
        RunBox(box, QStringLiteral("InfoMessageBox"), caption, text);
    } catch (...) {
    }
}

Answer AskQuestion(const QString& message, const QString& title)
{
    Answer answer = Answer::Cancel;
    try {
        DefaultPointer();
        const QString text = WithLineBreaks(message);
        const QString caption = title.isEmpty() ? GetMessage(197) : title;
        QMessageBox box(QMessageBox::Question, QString(), QString(),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QApplication::activeWindow());
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Oui"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&Non"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("Annuler"));
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        RunBox(box, QStringLiteral("QuestionMessageBox"), caption, text);
        const QAbstractButton* clicked = box.clickedButton();
        if (clicked == box.button(QMessageBox::Yes))
            answer = Answer::Yes;
        else if (clicked == box.button(QMessageBox::No))
            answer = Answer::No;
        const QString label
            = title.isEmpty() ? caption + QStringLiteral(" - ") + QString::number(static_cast<int>(answer)) : title;
        TraceLog(label, QString(text).replace(CrLf, QStringLiteral(". ")));
    } catch (...) {
    }
    return answer;
}

void ShowStatus(const QString& text, const QString& detail, bool refresh, bool log)
{
    try {
        if (log && !text.trimmed().isEmpty())
            TraceLog(text, detail);
        QStatusBar* target = StatusTarget();
        if (!target)
            return;
        if (text.isEmpty())
            target->clearMessage();
        else
            target->showMessage(ForDisplay(WithLineBreaks(text)));
        if (refresh)
            target->repaint();
    } catch (...) {
    }
}

void ShowBusy(const QString& text, bool withWaitText, bool refresh, bool log)
{
    try {
        Hourglass();
        if (!text.isEmpty())
            ShowStatus(withWaitText ? WaitText() + QStringLiteral(" ") + text : text, QString(), refresh, log);
        else
            ShowStatus(WaitText(), QString(), refresh, false);
    } catch (...) {
    }
}

void EndBusy(bool refresh)
{
    try {
        DefaultPointer();
        ShowStatus(QString(), QString(), refresh, true);
    } catch (...) {
    }
}

void SetStatusTarget(QStatusBar* statusBar)
{
    StatusTarget() = statusBar;
}

} // namespace keyholm
