#pragma once
// The working options of the option page: read from the preferences when
// the window loads, written back soon after each change and when it closes,
// and the page's handlers.
// The options live in the preferences (label "Keyholm"), not in the
// database, so they apply to whichever database is open.

#include "services/main/MainArea.h"

#include <QString>
#include <QStringList>

class QTimer;

namespace keyholm {

class WorkingOptions : public MainArea {
public:
    using MainArea::MainArea;

    // The preferences label of the options.
    static inline const QString Label = QStringLiteral("Keyholm");
    // Section of an option: "Options" followed by its key.
    static QString Section(const QString& key) { return QStringLiteral("Options") + key; }
    // The labels of the default category list of a first start.
    static QStringList DefaultCategories();

    // Keeps the state's option values as the option page shows them, from
    // now on, and writes them to the preferences half a second after the
    // last change; once, when the window is built.
    void BindOptionPage();
    // How long after a change the options are written.
    static constexpr int SaveDelayMs = 500;
    // Every option into its control (the control's value is the default),
    // then the window's placement.
    void PasswordOptionsLoad();
    // Every option from its control, the open database's path as the last
    // database, then the window's placement.
    void PasswordOptionsSave();
    // Every option from its control (what a change of the page writes).
    void SaveOptionValues();
    // Fills an empty default category list with DefaultCategories().
    void FillDefaultCategories();

    // Page handlers.
    void CatDefautAdd_Click();
    void CatDefautDelete_Click();
    void ListCatDefaut_Click();
    void CheckAutoClose_Click();
    void SliderAutoClose_Click();
    void SliderPurge_Change();
    // CheckDateExpir, CheckDeleteDir, CheckInitFields, CheckOpen, CheckPurge,
    // CheckTrash and DTPickerLimit only count as user actions.
    void OptionTouched();
    // The expiry check box of the entry page enables the date picker.
    void CheckDate_Click();

private:
    OptionPage& Page() const { return *ui_.Option; }
    // True when the list holds exactly that label (letter case counts).
    bool HasCategory(const QString& label) const;

    QTimer* saveSoon_ = nullptr;
};

} // namespace keyholm
