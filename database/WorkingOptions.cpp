#include "database/WorkingOptions.h"

#include "services/main/MainState.h"
#include "services/Preferences.h"
#include "services/TraceLog.h"
#include "services/ui/Dialogs.h"
#include "services/ui/WindowPlacement.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

namespace keyholm {

namespace {

const QString LastDatabaseKey = QStringLiteral("_Password OpenValue");

struct CheckOption {
    QCheckBox* MainWindowUi::*box;
    const char* key;
};

// The check boxes in their stored order.
const CheckOption CheckOptions[] = {
    { &MainWindowUi::CheckHide, "_Password Hide" },
    { &MainWindowUi::CheckOpen, "_Password Open" },
    { &MainWindowUi::CheckDateExpir, "_Password Expir" },
    { &MainWindowUi::CheckInitFields, "_Password Init" },
    { &MainWindowUi::CheckTrash, "_Password Trash" },
    { &MainWindowUi::CheckAutoSave, "_Password Save" },
    { &MainWindowUi::CheckDeleteDir, "_Password Delete" },
    { &MainWindowUi::CheckSepCopy, "_Password SepCopy" },
    { &MainWindowUi::CheckAutoClose, "_Password Close" },
    { &MainWindowUi::CheckPurge, "_Password Purge" },
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
    for (int row = 0; row < ui_.ListCatDefaut->count(); ++row)
        if (ui_.ListCatDefaut->item(row)->text() == label)
            return true;
    return false;
}

void WorkingOptions::BindOptionPage()
{
    WorkingOptionValues& values = state_.Options();
    struct Binding {
        QCheckBox* box;
        bool WorkingOptionValues::*value;
    };
    const Binding checks[] = {
        { ui_.CheckHide, &WorkingOptionValues::hidePassword },
        { ui_.CheckOpen, &WorkingOptionValues::openLastDatabase },
        { ui_.CheckDateExpir, &WorkingOptionValues::expiryListAtOpening },
        { ui_.CheckInitFields, &WorkingOptionValues::clearFieldsAfterAdd },
        { ui_.CheckTrash, &WorkingOptionValues::useTrash },
        { ui_.CheckAutoSave, &WorkingOptionValues::autoSave },
        { ui_.CheckDeleteDir, &WorkingOptionValues::deleteFullCategory },
        { ui_.CheckSepCopy, &WorkingOptionValues::separatedCopy },
        { ui_.CheckAutoClose, &WorkingOptionValues::autoClose },
        { ui_.CheckPurge, &WorkingOptionValues::purgeTrash },
    };
    for (const Binding& binding : checks) {
        values.*binding.value = binding.box->isChecked();
        QObject::connect(binding.box, &QCheckBox::toggled, ui_.Window,
            [&values, member = binding.value](bool checked) { values.*member = checked; });
    }
    values.copySeparator = ui_.TextSepCopy->text();
    QObject::connect(ui_.TextSepCopy, &QLineEdit::textChanged, ui_.Window,
        [&values](const QString& text) { values.copySeparator = text; });
    values.autoCloseMinutes = ui_.SliderAutoClose->value();
    QObject::connect(ui_.SliderAutoClose, &QSlider::valueChanged, ui_.Window,
        [&values](int minutes) { values.autoCloseMinutes = minutes; });
    values.purgeDays = ui_.SliderPurge->value();
    QObject::connect(
        ui_.SliderPurge, &QSlider::valueChanged, ui_.Window, [&values](int days) { values.purgeDays = days; });
    QListWidget* list = ui_.ListCatDefaut;
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
}

void WorkingOptions::PasswordOptionsLoad()
{
    // Each read stands alone: a failing one leaves its control as it was.
    const int count = GetValueOptionAt(Section(QStringLiteral("_Password CatDefault nb")), 0, 0, Label);
    for (int i = 1; i <= count; ++i) {
        const QString label = GetTextOptionAt(
            Section(QStringLiteral("_Password CatDefault ") + QString::number(i)), QString(), 0, Label);
        if (!label.trimmed().isEmpty() && !HasCategory(label))
            ui_.ListCatDefaut->addItem(label);
    }
    for (const CheckOption& option : CheckOptions) {
        QCheckBox* box = ui_.*option.box;
        const int value = GetValueOptionAt(Section(QLatin1String(option.key)), CheckValue(box), 0, Label);
        box->setChecked(value != 0);
        if (box == ui_.CheckSepCopy) {
            ui_.TextSepCopy->setText(
                GetTextOptionAt(Section(QStringLiteral("_Password SepCopyValue")), ui_.TextSepCopy->text(), 0, Label));
        } else if (box == ui_.CheckAutoClose) {
            ui_.SliderAutoClose->setValue(GetValueOptionAt(
                Section(QStringLiteral("_Password CloseValue")), ui_.SliderAutoClose->value(), 0, Label));
            SliderAutoClose_Click();
        } else if (box == ui_.CheckPurge) {
            ui_.SliderPurge->setValue(
                GetValueOptionAt(Section(QStringLiteral("_Password PurgeValue")), ui_.SliderPurge->value(), 0, Label));
            SliderPurge_Change();
        }
    }
    LoadWindowPlacement(ui_.Window, Label, QString(), true, true);
}

void WorkingOptions::PasswordOptionsSave()
{
    const int count = ui_.ListCatDefaut->count();
    SetValueOptionAt(Section(QStringLiteral("_Password CatDefault nb")), count, 0, Label);
    for (int i = 1; i <= count; ++i)
        SetTextOptionAt(Section(QStringLiteral("_Password CatDefault ") + QString::number(i)),
            ui_.ListCatDefaut->item(i - 1)->text(), 0, Label);
    for (const CheckOption& option : CheckOptions) {
        QCheckBox* box = ui_.*option.box;
        SetValueOptionAt(Section(QLatin1String(option.key)), CheckValue(box), 0, Label);
        if (box == ui_.CheckOpen) {
            SetTextOptionAt(Section(LastDatabaseKey), state_.Tag(), 0, Label);
        } else if (box == ui_.CheckSepCopy) {
            SetTextOptionAt(Section(QStringLiteral("_Password SepCopyValue")), ui_.TextSepCopy->text(), 0, Label);
        } else if (box == ui_.CheckAutoClose) {
            SetValueOptionAt(Section(QStringLiteral("_Password CloseValue")), ui_.SliderAutoClose->value(), 0, Label);
        } else if (box == ui_.CheckPurge) {
            SetValueOptionAt(Section(QStringLiteral("_Password PurgeValue")), ui_.SliderPurge->value(), 0, Label);
        }
    }
    SaveWindowPlacement(ui_.Window, Label, QString(), true, true);
}

void WorkingOptions::FillDefaultCategories()
{
    if (ui_.ListCatDefaut->count() == 0)
        ui_.ListCatDefaut->addItems(DefaultCategories());
}

void WorkingOptions::CatDefautAdd_Click()
{
    QString label;
    if (AskInput(QStringLiteral("Entrez le Label Catégorie à ajouter à la liste :"), label) != Answer::Yes)
        return;
    if (label.trimmed().isEmpty() || HasCategory(label))
        return;
    ui_.ListCatDefaut->addItem(label);
    ui_.ListCatDefaut->setFocus();
    ui_.ListCatDefaut->setCurrentRow(ui_.ListCatDefaut->count() - 1);
}

void WorkingOptions::CatDefautDelete_Click()
{
    if (AskQuestion(QStringLiteral("Confirmez-vous la suppression du ou des Labels sélectionnés ?")) != Answer::Yes)
        return;
    for (int row = ui_.ListCatDefaut->count() - 1; row >= 0; --row)
        if (ui_.ListCatDefaut->item(row)->isSelected())
            delete ui_.ListCatDefaut->takeItem(row);
    ui_.CatDefautDelete->setEnabled(false);
}

void WorkingOptions::ListCatDefaut_Click()
{
    ui_.CatDefautDelete->setEnabled(true);
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
    ui_.TextAutoClose->setText(QString::number(ui_.SliderAutoClose->value()));
}

void WorkingOptions::SliderPurge_Change()
{
    state_.ResetIdleTicks();
    ui_.TextPurge->setText(QString::number(ui_.SliderPurge->value()));
}

void WorkingOptions::OptionTouched()
{
    state_.ResetIdleTicks();
}

void WorkingOptions::CheckDate_Click()
{
    state_.ResetIdleTicks();
    ui_.DTPickerLimit->setEnabled(ui_.CheckDate->isChecked());
}

} // namespace keyholm
