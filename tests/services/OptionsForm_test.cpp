// The application options window: filled from the preferences at each
// showing, written back on OK only, its choosers, "Défaut", the keys it
// stores under, the trace log switched off, and its keys.

#include "DataFolderFixture.h"

#include "components/OptionStore.h"
#include "services/ApplicationOptions.h"
#include "services/Preferences.h"
#include "services/TraceLog.h"
#include "services/ui/OptionsForm.h"
#include "support/ModalHelper.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

namespace keyholm::test {
namespace {

class OptionsFormTest : public DataFolderFixture {
protected:
    void SetUp() override
    {
        DataFolderFixture::SetUp();
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        // A file to compare with: the options as a user left them.
        ApplicationOptionValues values;
        values.webStyle.colors[4] = 0x0000FF;
        values.webStyle.fonts[1] = "Courier";
        ASSERT_TRUE(SaveApplicationOptions(values));
    }

    // Shows the window and runs `work` in it, which must close it; true
    // when it was closed with OK.
    bool Run(OptionsForm& form, const std::function<void()>& work)
    {
        ModalHelper modal;
        modal.Expect("OptionsForm").Do([&](QWidget*) { work(); });
        const bool confirmed = form.ShowOptions();
        EXPECT_TRUE(modal.Wait());
        return confirmed;
    }

    // A click on a colour button, the chooser answered with `colour` and
    // accepted or cancelled.
    static void PickColour(OptionsForm& form, int index, const QColor& colour, bool accept)
    {
        ModalHelper chooser;
        auto& expectation = chooser.Expect("CMDialogColor").Do([&](QWidget* window) {
            qobject_cast<QColorDialog*>(window)->setCurrentColor(colour);
        });
        accept ? expectation.Accept() : expectation.Reject();
        QTest::mouseClick(form.CommandColor[index], Qt::LeftButton);
        EXPECT_TRUE(chooser.Wait());
    }

    static void PickFont(OptionsForm& form, int index, const QString& family, bool accept)
    {
        ModalHelper chooser;
        auto& expectation = chooser.Expect("CMDialogOpen").Do([&](QWidget* window) {
            qobject_cast<QFontDialog*>(window)->setCurrentFont(QFont(family));
        });
        accept ? expectation.Accept() : expectation.Reject();
        QTest::mouseClick(form.CommSetFont[index], Qt::LeftButton);
        EXPECT_TRUE(chooser.Wait());
    }

    static QStringList ColourTexts(const OptionsForm& form)
    {
        QStringList texts;
        for (const QLineEdit* text : form.TextColor)
            texts << text->text();
        return texts;
    }
};

TEST_F(OptionsFormTest, OnlyOkKeepsTheEditsAndEachShowingStartsFromThePreferences)
{
    struct Case {
        const char* name;
        std::function<void(OptionsForm&)> close;
        bool saved;
    };
    const Case cases[] = {
        { "OK", [](OptionsForm& form) { QTest::mouseClick(form.findChild<QPushButton*>("cmdOK"), Qt::LeftButton); },
            true },
        { "Enter", [](OptionsForm& form) { QTest::keyClick(form.TextBackPicture, Qt::Key_Return); }, true },
        { "Annuler",
            [](OptionsForm& form) { QTest::mouseClick(form.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton); },
            false },
        { "Escape", [](OptionsForm& form) { QTest::keyClick(form.TextBackPicture, Qt::Key_Escape); }, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ApplicationOptionValues before;
        before.webStyle.colors[4] = 0x0000FF;
        ASSERT_TRUE(SaveApplicationOptions(before));
        const QByteArray file = ReadAll(PreferenceFile());
        OptionsForm form;
        const bool confirmed = Run(form, [&] {
            EXPECT_EQ(form.TextColor[4]->text(), "#FF0000") << "red is 0x0000FF";
            PickColour(form, 4, QColor(0x12, 0x34, 0x56), true);
            QTest::mouseClick(form.CheckWebVersion, Qt::LeftButton);
            EXPECT_EQ(form.TextColor[4]->text(), "#123456");
            c.close(form);
        });
        EXPECT_EQ(confirmed, c.saved);
        const int expected = c.saved ? 0x563412 : 0x0000FF;
        EXPECT_EQ(WebStyleOption().colors[4], expected);
        EXPECT_EQ(WebVersionOption(), c.saved);
        if (!c.saved) {
            EXPECT_EQ(ReadAll(PreferenceFile()), file) << "the preferences file is left as it was";
        }
        // The same window shown again holds the stored values, not the edits.
        Run(form, [&] {
            EXPECT_EQ(form.CommandColor[4]->property("color").toInt(), expected);
            EXPECT_EQ(form.CheckWebVersion->isChecked(), c.saved);
            form.reject();
        });
    }
}

TEST_F(OptionsFormTest, CancelledChoosersKeepTheValue)
{
    const QStringList families = QFontDatabase::families();
    ASSERT_FALSE(families.isEmpty());
    OptionsForm form;
    Run(form, [&] {
        const QStringList colours = ColourTexts(form);
        for (int i = 0; i < WebStyleOptions::ColorCount; ++i)
            PickColour(form, i, QColor(0x11, 0x22, 0x33), false);
        EXPECT_EQ(ColourTexts(form), colours);

        PickFont(form, 1, families.first(), false);
        EXPECT_EQ(form.LabelResult[1]->text(), "Courier") << "a cancel gives no name, and the font stays";
        PickFont(form, 1, families.first(), true);
        EXPECT_EQ(form.LabelResult[1]->text(), families.first());
        EXPECT_EQ(form.LabelResult[1]->font().family(), families.first());
        form.reject();
    });
}

TEST_F(OptionsFormTest, DefautGivesTheDefaultColoursAndFontsBack)
{
    OptionsForm form;
    Run(form, [&] {
        PickColour(form, 0, QColor(0x11, 0x22, 0x33), true);
        PickFont(form, 0, QFontDatabase::families().first(), true);
        QTest::mouseClick(form.ComDefaultPrintOption, Qt::LeftButton);
        EXPECT_EQ(ColourTexts(form),
            QStringList({ "#FFFFFF", "#000000", "#FFFFFF", "#C0C0C0", "#E0E0E0", "#FFFFFF", "#C0C0C0" }));
        EXPECT_EQ(form.LabelResult[0]->text(), "Arial");
        EXPECT_EQ(form.LabelResult[1]->text(), "Arial");
        EXPECT_EQ(form.LabelResult[1]->font().family(), QFont("Arial").family());
        EXPECT_EQ(form.CommandColor[3]->property("keyholmTag").toString(), "&H00C0C0C0&");
        form.reject();
    });
}

TEST_F(OptionsFormTest, OkStoresEveryControlUnderItsKeyAndHandsTheLogoOn)
{
    const QString picture = home_.filePath("logo.png");
    WriteAll(picture, "not really a picture");
    OptionsForm form;
    std::vector<std::pair<bool, QString>> logos;
    QObject::connect(&form, &OptionsForm::LogoChanged,
        [&logos](bool shown, const QString& path) { logos.emplace_back(shown, path); });
    const bool confirmed = Run(form, [&] {
        EXPECT_EQ(form.CheckLog->toolTip(), TraceLogFolder());
        PickColour(form, 6, QColor(0xAB, 0xCD, 0xEF), true);
        form.SliderTabBorder->setFocus();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(form.SliderTabBorder, Qt::Key_Right);
        QTest::mouseClick(form.CheckBgImage, Qt::LeftButton);
        QTest::keyClicks(form.TextBackPicture, "/images/fond.gif");
        QTest::mouseClick(form.CheckLogo, Qt::LeftButton);
        ModalHelper chooser;
        chooser.Expect("CMDialogOpen")
            .Do([](QWidget* window) { EXPECT_EQ(window->windowTitle(), "Sélectionnez l'image du logo"); })
            .Type("fileNameEdit", picture)
            .Accept();
        QTest::mouseClick(form.SelectImageFond, Qt::LeftButton);
        EXPECT_TRUE(chooser.Wait());
        EXPECT_EQ(form.TextImageFond->text(), picture);
        EXPECT_EQ(form.TextImageFond->toolTip(), "logo.png");
        QTest::mouseClick(form.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    });
    ASSERT_TRUE(confirmed);
    OptionStore& store = OptionStore::Instance();
    const struct {
        const char* section;
        const char* key;
        QString value;
    } keys[] = {
        { "Options_Web", "Color_0", QString::number(0xFFFFFF) },
        { "Options_Web", "Color_4", QString::number(0x0000FF) },
        { "Options_Web", "Color_6", QString::number(0xEFCDAB) },
        { "Options_Web", "VALUE_0", "3" },
        { "Options_Web", "Check_0", "1" },
        { "Options_Web", "Text_0", "/images/fond.gif" },
        { "Options_Web", "Text_fontweb0", "Arial" },
        { "Options_Web", "Text_fontweb1", "Courier" },
        { "Internet", "Check_Version", "0" },
        { "Options", "Check_LOG", "1" },
        { "Options_Password Logo", "VALUE_0", "0" },
        { "Options_Password LogoValue", "Text_0", picture },
    };
    for (const auto& k : keys)
        EXPECT_EQ(store.GetValue(k.section, k.key, "missing"), k.value) << k.section << " / " << k.key;
    EXPECT_EQ(logos, (std::vector<std::pair<bool, QString>> { { false, picture } }));
    const QStringList labels = NewLabels();
    EXPECT_LT(labels.indexOf("Start Preferences saving"), labels.indexOf("End Preferences saving"));
    EXPECT_GE(labels.indexOf("Start Preferences saving"), 0);
}

TEST_F(OptionsFormTest, OkWithTheLogOffEndsTheLog)
{
    ASSERT_TRUE(TraceLogEnabled());
    const QString log = TraceLogPath();
    OptionsForm form;
    Run(form, [&] {
        QTest::mouseClick(form.CheckLog, Qt::LeftButton);
        QTest::mouseClick(form.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    });
    EXPECT_FALSE(TraceLogEnabled());
    EXPECT_FALSE(LogOption());
    const QList<TraceRecord> records = ParseTraceRecords(ReadAll(log), true);
    ASSERT_FALSE(records.isEmpty());
    EXPECT_TRUE(records.last().label.startsWith("Close Log recording")) << records.last().label.toStdString();
}

TEST_F(OptionsFormTest, CtrlTabGoesRoundTheTabs)
{
    OptionsForm form;
    Run(form, [&] {
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        EXPECT_EQ(form.tbsOptions->tabText(0), "HTML");
        EXPECT_EQ(form.tbsOptions->tabText(1), "Autre");
        QList<int> shown;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
            shown << form.tbsOptions->currentIndex();
        }
        EXPECT_EQ(shown, QList<int>({ 1, 0, 1 }));
        form.reject();
    });
}

} // namespace
} // namespace keyholm::test
