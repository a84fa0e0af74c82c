#include "database/WorkingOptions.h"

#include "services/Preferences.h"
#include "services/TraceLog.h"
#include "services/main/MainState.h"
#include "services/ui/Dialogs.h"
#include "services/ui/ListBoxTools.h"
#include "services/ui/WindowPlacement.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>

namespace keyholm {

namespace {

const QString LastDatabaseKey = QStringLiteral("_Password OpenValue");
const QString ClipboardKey = QStringLiteral("_Password ClipboardValue");

struct CheckOption {
    QCheckBox* OptionPage::*box;
    const char* key;
};

// The check boxes in their stored order.
const CheckOption CheckOptions[] = {
    { &OptionPage::CheckHide, "_Password Hide" },
    { &OptionPage::CheckOpen, "_Password Open" },
    { &OptionPage::CheckDateExpir, "_Password Expir" },
    { &OptionPage::CheckInitFields, "_Password Init" },
    { &OptionPage::CheckTrash, "_Password Trash" },
    { &OptionPage::CheckAutoSave, "_Password Save" },
    { &OptionPage::CheckDeleteDir, "_Password Delete" },
    { &OptionPage::CheckSepCopy, "_Password SepCopy" },
    { &OptionPage::CheckAutoClose, "_Password Close" },
    { &OptionPage::CheckPurge, "_Password Purge" },
    { &OptionPage::CheckWalkAway, "_Password WalkAway" },
};

int CheckValue(const QCheckBox* box)
{
    return box->isChecked() ? 1 : 0;
}

} // namespace

QStringList WorkingOptions::DefaultCategories()
{
    return { QStringLiteral("Finance"), QStringLiteral("Forum"), QStringLiteral("Internet"),
        QStringLiteral("Messagerie"), QStringLiteral("Réseau"), QStringLiteral("Service"), QStringLiteral("Windows") };
}

bool WorkingOptions::HasCategory(const QString& label) const
{
    return FindListItem(*Page().ListCatDefaut, label, false) >= 0;
}

void WorkingOptions::BindOptionPage()
{
    WorkingOptionValues& values = state_.Options();
    struct Binding {
        QCheckBox* box;
        bool WorkingOptionValues::*value;
    };
    const Binding checks[] = {
        { Page().CheckHide, &WorkingOptionValues::hidePassword },
        { Page().CheckOpen, &WorkingOptionValues::openLastDatabase },
        { Page().CheckDateExpir, &WorkingOptionValues::expiryListAtOpening },
        { Page().CheckInitFields, &WorkingOptionValues::clearFieldsAfterAdd },
        { Page().CheckTrash, &WorkingOptionValues::useTrash },
        { Page().CheckAutoSave, &WorkingOptionValues::autoSave },
        { Page().CheckDeleteDir, &WorkingOptionValues::deleteFullCategory },
        { Page().CheckSepCopy, &WorkingOptionValues::separatedCopy },
        { Page().CheckAutoClose, &WorkingOptionValues::autoClose },
        { Page().CheckPurge, &WorkingOptionValues::purgeTrash },
        { Page().CheckWalkAway, &WorkingOptionValues::closeOnWalkAway },
    };
    for (const Binding& binding : checks) {
        values.*binding.value = binding.box->isChecked();
        QObject::connect(binding.box, &QCheckBox::toggled, ui_.Window,
            [&values, member = binding.value](bool checked) { values.*member = checked; });
    }
    values.copySeparator = Page().TextSepCopy->text();
    QObject::connect(Page().TextSepCopy, &QLineEdit::textChanged, ui_.Window,
        [&values](const QString& text) { values.copySeparator = text; });
    values.clipboardClearSeconds = Page().SpinClipboard->value();
    QObject::connect(Page().SpinClipboard, &QSpinBox::valueChanged, ui_.Window,
        [&values](int seconds) { values.clipboardClearSeconds = seconds; });
    values.autoCloseMinutes = Page().SliderAutoClose->value();
    QObject::connect(Page().SliderAutoClose, &QSlider::valueChanged, ui_.Window,
        [&values](int minutes) { values.autoCloseMinutes = minutes; });
    values.purgeDays = Page().SliderPurge->value();
    QObject::connect(
        Page().SliderPurge, &QSlider::valueChanged, ui_.Window, [&values](int days) { values.purgeDays = days; });
    QListWidget* list = Page().ListCatDefaut;
    auto readCategories = [&values, list] {
        values.defaultCategories.clear();
        for (int row = 0; row < list->count(); ++row)
            values.defaultCategories << list->item(row)->text();
    };
    readCategories();
    QAbstractItemModel* model = list->model();
    QObject::connect(model, &QAbstractItemModel::rowsInserted, ui_.Window, readCategories);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, ui_.Window, readCategories);
    QObject::connect(model, &QAbstractItemModel::dataChanged, ui_.Window, readCategories);

    // A change reaches the preferences at once, but a slider dragged makes
    // one write, not one a step.
    saveSoon_ = new QTimer(ui_.Window);
    saveSoon_->setSingleShot(true);
    saveSoon_->setInterval(SaveDelayMs);
    QObject::connect(saveSoon_, &QTimer::timeout, ui_.Window, [this] { SaveOptionValues(); });
    const auto changed = [this] { saveSoon_->start(); };
    for (const Binding& binding : checks)
        QObject::connect(binding.box, &QCheckBox::toggled, saveSoon_, changed);
    QObject::connect(Page().TextSepCopy, &QLineEdit::textChanged, saveSoon_, changed);
    QObject::connect(Page().SpinClipboard, &QSpinBox::valueChanged, saveSoon_, changed);
    QObject::connect(Page().SliderAutoClose, &QSlider::valueChanged, saveSoon_, changed);
    QObject::connect(Page().SliderPurge, &QSlider::valueChanged, saveSoon_, changed);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, saveSoon_, changed);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, saveSoon_, changed);
    QObject::connect(model, &QAbstractItemModel::dataChanged, saveSoon_, changed);
}

void WorkingOptions::PasswordOptionsLoad()
{
    // Each read stands alone: a failing one leaves its control as it was.
    const int count = GetValueOptionAt(Section(QStringLiteral("_Password CatDefault nb")), 0, 0, Label);
    for (int i = 1; i <= count; ++i) {
        const QString label = GetTextOptionAt(
            Section(QStringLiteral("_Password CatDefault ") + QString::number(i)), QString(), 0, Label);
        if (!label.trimmed().isEmpty() && !HasCategory(label))
            Page().ListCatDefaut->addItem(label);
    }
    for (const CheckOption& option : CheckOptions) {
        QCheckBox* box = Page().*option.box;
        const int value = GetValueOptionAt(Section(QLatin1String(option.key)), CheckValue(box), 0, Label);
        box->setChecked(value != 0);
        if (box == Page().CheckSepCopy) {
            Page().TextSepCopy->setText(GetTextOptionAt(
                Section(QStringLiteral("_Password SepCopyValue")), Page().TextSepCopy->text(), 0, Label));
        } else if (box == Page().CheckAutoClose) {
            Page().SliderAutoClose->setValue(GetValueOptionAt(
                Section(QStringLiteral("_Password CloseValue")), Page().SliderAutoClose->value(), 0, Label));
            SliderAutoClose_Click();
        } else if (box == Page().CheckPurge) {
            Page().SliderPurge->setValue(GetValueOptionAt(
                Section(QStringLiteral("_Password PurgeValue")), Page().SliderPurge->value(), 0, Label));
            SliderPurge_Change();
        }
    }
    Page().SpinClipboard->setValue(GetValueOptionAt(Section(ClipboardKey), Page().SpinClipboard->value(), 0, Label));
    LoadWindowPlacement(ui_.Window, Label, QString(), true, true);
    // What was just read needs no writing back.
    if (saveSoon_)
        saveSoon_->stop();
}

void WorkingOptions::PasswordOptionsSave()
{
    SaveOptionValues();
    SetTextOptionAt(Section(LastDatabaseKey), state_.Tag(), 0, Label);
    SaveWindowPlacement(ui_.Window, Label, QString(), true, true);
}

void WorkingOptions::SaveOptionValues()
{
    if (saveSoon_)
        saveSoon_->stop();
    const int count = Page().ListCatDefaut->count();
    SetValueOptionAt(Section(QStringLiteral("_Password CatDefault nb")), count, 0, Label);
    for (int i = 1; i <= count; ++i)
        SetTextOptionAt(Section(QStringLiteral("_Password CatDefault ") + QString::number(i)),
            Page().ListCatDefaut->item(i - 1)->text(), 0, Label);
    SetValueOptionAt(Section(ClipboardKey), Page().SpinClipboard->value(), 0, Label);
    for (const CheckOption& option : CheckOptions) {
        QCheckBox* box = Page().*option.box;
        SetValueOptionAt(Section(QLatin1String(option.key)), CheckValue(box), 0, Label);
        if (box == Page().CheckSepCopy) {
            SetTextOptionAt(Section(QStringLiteral("_Password SepCopyValue")), Page().TextSepCopy->text(), 0, Label);
        } else if (box == Page().CheckAutoClose) {
            SetValueOptionAt(
                Section(QStringLiteral("_Password CloseValue")), Page().SliderAutoClose->value(), 0, Label);
        } else if (box == Page().CheckPurge) {
            SetValueOptionAt(Section(QStringLiteral("_Password PurgeValue")), Page().SliderPurge->value(), 0, Label);
        }
    }
}

void WorkingOptions::FillDefaultCategories()
{
    if (Page().ListCatDefaut->count() == 0)
        Page().ListCatDefaut->addItems(DefaultCategories());
}

void WorkingOptions::CatDefautAdd_Click()
{
    QString label;
    if (AskInput(QStringLiteral("Entrez le Label Catégorie à ajouter à la liste :"), label) != Answer::Yes)
        return;
    if (label.trimmed().isEmpty() || HasCategory(label))
        return;
    Page().ListCatDefaut->addItem(label);
    Page().ListCatDefaut->setFocus();
    Page().ListCatDefaut->setCurrentRow(Page().ListCatDefaut->count() - 1);
}

void WorkingOptions::CatDefautDelete_Click()
{
    if (AskQuestion(QStringLiteral("Confirmez-vous la suppression du ou des Labels sélectionnés ?")) != Answer::Yes)
        return;
    for (int row = Page().ListCatDefaut->count() - 1; row >= 0; --row)
        if (Page().ListCatDefaut->item(row)->isSelected())
            delete Page().ListCatDefaut->takeItem(row);
    Page().CatDefautDelete->setEnabled(false);
}

void WorkingOptions::ListCatDefaut_Click()
{
    Page().CatDefautDelete->setEnabled(true);
}

void WorkingOptions::CheckAutoClose_Click()
{
    state_.ResetIdleTicks();
    if (state_.Options().autoClose)
        ui_.TimerDatabaseClose->start();
    else
        ui_.TimerDatabaseClose->stop();
}

void WorkingOptions::SliderAutoClose_Click()
{
    state_.ResetIdleTicks();
    Page().TextAutoClose->setText(QString::number(Page().SliderAutoClose->value()));
}

void WorkingOptions::SliderPurge_Change()
{
    state_.ResetIdleTicks();
    Page().TextPurge->setText(QString::number(Page().SliderPurge->value()));
}

void WorkingOptions::OptionTouched()
{
    state_.ResetIdleTicks();
}

void WorkingOptions::CheckDate_Click()
{
    state_.ResetIdleTicks();
    ui_.Entry->DTPickerLimit->setEnabled(ui_.Entry->CheckDate->isChecked());
}

} // namespace keyholm
