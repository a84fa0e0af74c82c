#include "services/ui/InputDialog.h"

#include "services/MessagesDatabase.h"
#include "services/TraceLog.h"
#include "services/ui/ControlTag.h"
#include "services/ui/DialogSupport.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace keyholm {

using namespace dialogs;

InputDialog::InputDialog(QWidget* parent)
    : QDialog(parent)
    , label_(new QLabel(this))
    , textReponse_(new QLineEdit(this))
    , oui_(new QPushButton(this))
    , annuler_(new QPushButton(this))
    , reponse_(new QLabel(this))
{
    SetWaitPointer();
    TraceLog(QStringLiteral("Loading choose dialog window"), QStringLiteral("..."));
    setObjectName(QStringLiteral("Lib_SaisieDlg"));
    setWindowTitle(GetMessage(175));
    setModal(true);

    label_->setObjectName(QStringLiteral("Label"));
    label_->setTextFormat(Qt::PlainText);
    label_->setWordWrap(true);
    label_->setBuddy(textReponse_);
    textReponse_->setObjectName(QStringLiteral("TextReponse"));
    oui_->setObjectName(QStringLiteral("Oui"));
    oui_->setText(GetMessage(371));
    oui_->setDefault(true);
    annuler_->setObjectName(QStringLiteral("Annuler"));
    annuler_->setText(GetMessage(220));
    reponse_->setObjectName(QStringLiteral("reponse"));
    reponse_->hide();
    SetControlTag(reponse_, QStringLiteral("0"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(oui_);
    buttons->addWidget(annuler_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(textReponse_);
    layout->addLayout(buttons);
    setMinimumWidth(380);

    connect(textReponse_, &QLineEdit::textChanged, this, &InputDialog::UpdateOui);
    textReponse_->installEventFilter(this);
    connect(oui_, &QPushButton::clicked, this, [this] {
        SetControlTag(reponse_, QStringLiteral("1"));
        accept();
    });
    connect(annuler_, &QPushButton::clicked, this, [this] {
        SetControlTag(reponse_, QStringLiteral("0"));
        reject();
    });
    QApplication::beep();
}

void InputDialog::SetPrompt(const QString& prompt)
{
    label_->setText(PromptText(prompt));
}

void InputDialog::SetText(const QString& text)
{
    textReponse_->setText(text);
    textReponse_->selectAll();
}

QString InputDialog::Text() const
{
    return textReponse_->text();
}

void InputDialog::SetRequireText(bool requireText)
{
    requireText_ = requireText;
    UpdateOui();
}

void InputDialog::SetSecret(bool secret)
{
    textReponse_->setEchoMode(secret ? QLineEdit::Password : QLineEdit::Normal);
    // The platform's mask character varies; the mask is "*" everywhere.
    textReponse_->setStyleSheet(secret ? QStringLiteral("lineedit-password-character: 42;") : QString());
}

void InputDialog::SetMaxLength(int maxLength)
{
    if (maxLength > 0)
        textReponse_->setMaxLength(maxLength);
}

QString InputDialog::AnswerTag() const
{
    return ControlTag(reponse_);
}

void InputDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CenterOnScreen(this);
    textReponse_->setFocus();
    SetDefaultPointer();
}

bool InputDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == textReponse_ && event->type() == QEvent::FocusIn)
        UpdateOui();
    return QDialog::eventFilter(watched, event);
}

void InputDialog::UpdateOui()
{
    oui_->setEnabled(!requireText_ || !textReponse_->text().trimmed().isEmpty());
}

} // namespace keyholm
