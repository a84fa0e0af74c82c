#include "services/ui/AnswerDialog.h"

#include "services/ui/ControlTag.h"
#include "services/ui/DialogSupport.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace keyholm {

using namespace dialogs;

AnswerDialog::AnswerDialog(QWidget* parent, const QString& objectName, const QString& title)
    : QDialog(parent)
{
    SetWaitPointer();
    setObjectName(objectName);
    setWindowTitle(title);
    setModal(true);
}

void AnswerDialog::MakeAnswerButtons(const ButtonText& confirm, const ButtonText& cancel, OutcomeHolder holder)
{
    confirm_ = new QPushButton(confirm.caption, this);
    confirm_->setObjectName(confirm.objectName);
    confirm_->setDefault(true);
    cancel_ = new QPushButton(cancel.caption, this);
    cancel_->setObjectName(cancel.objectName);
    if (holder == OutcomeHolder::ConfirmButton) {
        outcome_ = confirm_;
    } else {
        auto* reponse = new QLabel(this);
        reponse->setObjectName(QStringLiteral("reponse"));
        reponse->hide();
        outcome_ = reponse;
    }
    SetOutcome(false);
    connect(confirm_, &QPushButton::clicked, this, &AnswerDialog::Confirm);
    connect(cancel_, &QPushButton::clicked, this, &AnswerDialog::reject);
}

QHBoxLayout* AnswerDialog::AnswerRow()
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(confirm_);
    row->addWidget(cancel_);
    return row;
}

QString AnswerDialog::AnswerTag() const
{
    return ControlTag(outcome_);
}

void AnswerDialog::Confirm()
{
    SetOutcome(true);
    accept();
}

void AnswerDialog::reject()
{
    SetOutcome(false);
    QDialog::reject();
}

void AnswerDialog::SetOutcome(bool confirmed)
{
    SetControlTag(outcome_, confirmed ? QStringLiteral("1") : QStringLiteral("0"));
}

void AnswerDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CenterOnScreen(this);
    SetDefaultPointer();
}

} // namespace keyholm
