#include "services/ui/InputDialog.h"

#include "services/MessagesDatabase.h"
#include "services/TraceLog.h"
#include "services/ui/DialogSupport.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace keyholm {

using namespace dialogs;

InputDialog::InputDialog(QWidget* parent)
    : AnswerDialog(parent, QStringLiteral("Lib_SaisieDlg"), GetMessage(175))
    , label_(new QLabel(this))
    , textReponse_(new QLineEdit(this))
{
    TraceLog(QStringLiteral("Loading choose dialog window"), QStringLiteral("..."));

    label_->setObjectName(QStringLiteral("Label"));
    label_->setTextFormat(Qt::PlainText);
    label_->setWordWrap(true);
    label_->setBuddy(textReponse_);
    textReponse_->setObjectName(QStringLiteral("TextReponse"));
    MakeAnswerButtons({ QStringLiteral("Oui"), GetMessage(371) }, { QStringLiteral("Annuler"), GetMessage(220) },
        OutcomeHolder::HiddenLabel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(textReponse_);
    layout->addLayout(AnswerRow());
    setMinimumWidth(380);

    connect(textReponse_, &QLineEdit::textChanged, this, &InputDialog::UpdateOui);
    textReponse_->installEventFilter(this);
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

void InputDialog::showEvent(QShowEvent* event)
{
    AnswerDialog::showEvent(event);
    textReponse_->setFocus();
}

bool InputDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == textReponse_ && event->type() == QEvent::FocusIn)
        UpdateOui();
    return QDialog::eventFilter(watched, event);
}

void InputDialog::UpdateOui()
{
    confirm_->setEnabled(!requireText_ || !textReponse_->text().trimmed().isEmpty());
}

} // namespace keyholm
