#include "services/ui/ChoiceDialog.h"

#include "services/MessagesDatabase.h"
#include "services/TraceLog.h"
#include "services/ui/ControlTag.h"
#include "services/ui/DialogSupport.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace keyholm {

using namespace dialogs;

ChoiceDialog::ChoiceDialog(QWidget* parent)
    : AnswerDialog(parent, QStringLiteral("Lib_SelectOpt"), GetMessage(176))
    , theLabel_(new QLabel(this))
{
    TraceLog(QStringLiteral("Loading option dialog window"), QStringLiteral("..."));

    theLabel_->setObjectName(QStringLiteral("theLabel"));
    theLabel_->setTextFormat(Qt::PlainText);
    theLabel_->setWordWrap(true);
    MakeAnswerButtons({ QStringLiteral("Oui"), GetMessage(371) }, { QStringLiteral("Annuler"), GetMessage(220) },
        OutcomeHolder::HiddenLabel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(theLabel_);
    auto* group = new QButtonGroup(this);
    for (int index = 0; index < 3; ++index) {
        auto* option = new QRadioButton(this);
        option->setObjectName(QStringLiteral("SelOptions_%1").arg(index));
        group->addButton(option, index);
        layout->addWidget(option);
        selOptions_.append(option);
    }
    SetControlTag(selOptions_[0], QStringLiteral("0"));
    // Selecting an option, by program or by hand, keeps its index in the tag of option 0.
    connect(group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            SetControlTag(selOptions_[0], QString::number(id));
    });

    layout->addLayout(AnswerRow());
    setMinimumWidth(340);
}

void ChoiceDialog::SetPrompt(const QString& prompt, bool bold)
{
    theLabel_->setText(PromptText(prompt));
    QFont font = theLabel_->font();
    font.setBold(bold);
    theLabel_->setFont(font);
}

void ChoiceDialog::SetOptions(const QString& option1, const QString& option2, const QString& option3)
{
    selOptions_[0]->setText(option1);
    selOptions_[1]->setText(option2);
    selOptions_[2]->setText(option3);
    selOptions_[2]->setVisible(!option3.isEmpty());
    if (option3.isEmpty() && selOptions_[2]->isChecked())
        SelectOption(0);
}

void ChoiceDialog::SelectOption(int index)
{
    if (index < 0 || index >= OptionCount())
        index = 0;
    selOptions_[index]->setChecked(true);
}

int ChoiceDialog::SelectedOption() const
{
    return ControlTag(selOptions_[0]).toInt();
}

int ChoiceDialog::OptionCount() const
{
    return selOptions_[2]->isHidden() ? 2 : 3;
}

} // namespace keyholm
