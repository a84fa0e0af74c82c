#pragma once
// OptionsForm, the application-wide options: the style of the exported HTML
// pages (tab "HTML"), the logo, the trace log and the update check at
// start-up (tab "Autre"). The controls are filled from the preferences each
// time the window is shown and written back on OK only, so that Annuler
// drops every edit; other code reads the stored values (ApplicationOptions.h).
//
// Controls: tbsOptions with the panels picOptions_0 and picOptions_1;
// CommandColor_0..6 with TextColor_0..6; LabelResult_0..1 with
// CommSetFont_0..1; SliderTabBorder; CheckBgImage, TextBackPicture and
// SelectBackPicture; CheckLogo, TextImageFond and SelectImageFond; CheckLog;
// CheckWebVersion; HtmlSample (the style as a page gets it);
// ComDefaultPrintOption ("Défaut"), cmdOK and cmdCancel.

#include "services/ApplicationOptions.h"
#include "services/ui/AnswerDialog.h"

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;
class QTabWidget;
class QTextBrowser;

namespace keyholm {

class OptionsForm : public AnswerDialog {
    Q_OBJECT
public:
    explicit OptionsForm(QWidget* parent = nullptr);

    // Fills the controls from the preferences and shows the window modal;
    // true when closed with OK (the values are stored then).
    bool ShowOptions();
    // The controls from the preferences.
    void LoadPreference();
    // Writes every control to the preferences and hands the logo on.
    void SavePreference();

    // The values the controls hold.
    ApplicationOptionValues Values() const;
    // Colour button `index` and its web text take the stored colour value.
    void Click_CommandColor(int index, int color);

    QTabWidget* tbsOptions = nullptr;
    std::array<QWidget*, 2> picOptions {};
    std::array<QPushButton*, WebStyleOptions::ColorCount> CommandColor {};
    std::array<QLineEdit*, WebStyleOptions::ColorCount> TextColor {};
    std::array<QLabel*, WebStyleOptions::FontCount> LabelResult {};
    std::array<QPushButton*, WebStyleOptions::FontCount> CommSetFont {};
    QSlider* SliderTabBorder = nullptr;
    QCheckBox* CheckBgImage = nullptr;
    QLineEdit* TextBackPicture = nullptr;
    QPushButton* SelectBackPicture = nullptr;
    QCheckBox* CheckLogo = nullptr;
    QLineEdit* TextImageFond = nullptr;
    QPushButton* SelectImageFond = nullptr;
    QCheckBox* CheckLog = nullptr;
    QCheckBox* CheckWebVersion = nullptr;
    QTextBrowser* HtmlSample = nullptr;
    QPushButton* ComDefaultPrintOption = nullptr;

Q_SIGNALS:
    // After OK: whether the logo is to be shown, and its picture (empty or
    // missing: the built-in one).
    void LogoChanged(bool shown, const QString& path);

private:
    void cmdOK_Click();
    void CommandColor_Click(int index);
    void CommSetFont_Click(int index);
    void ComDefaultPrintOption_Click();
    void SelectImageFond_Click();
    void SelectBackPicture_Click();
    void SetFontLabel(int index, const QString& name);
    void SetLogoPath(const QString& path);
    void NextTab();
    void ShowSample();
};

} // namespace keyholm
