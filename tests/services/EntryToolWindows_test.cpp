// The windows and helpers behind the entry tools: the generator window and
// its kept choices, the strength indicator as the user types, and the file
// names made safe for a saved text.

#include "DataFolderFixture.h"
#include "support/ModalHelper.h"

#include "services/ui/ApplicationEnvironment.h"
#include "services/ui/GeneratorDialog.h"
#include "services/ui/PasswordAsk.h"
#include "services/ui/ProtectedClipboard.h"
#include "services/ui/StrengthMeter.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QtTest/QTest>

#include <cmath>

namespace keyholm::test {
namespace {

class EntryToolWindowsTest : public DataFolderFixture { };

TEST_F(EntryToolWindowsTest, TheChoicesMadeInTheWindowAreKeptOnlyWhenConfirmed)
{
    ASSERT_EQ(GeneratorDialog::LoadOptions(), GeneratorOptions {});
    for (bool confirm : { false, true }) {
        SCOPED_TRACE(confirm);
        GeneratorDialog window;
        ModalHelper modal;
        modal.Expect("Lib_Generator")
            .Type("SpinLength", "32")
            .Tick("CheckSigns", false)
            .Tick("CheckLookAlike", false)
            .Do([](QWidget* window) {
                const QString drawn = window->findChild<QLineEdit*>("TextResult")->text();
                EXPECT_EQ(drawn.size(), 32);
                EXPECT_FALSE(drawn.contains(QRegularExpression("[^A-Za-z0-9]"))) << drawn.toStdString();
                // 32 characters among 62, every class present.
                EXPECT_EQ(window->findChild<QLabel*>("LabelEntropy")->text(), "Entropie : 190 bits");
            })
            .Click(confirm ? "CommandOK" : "CommandCancel");
        EXPECT_EQ(window.Ask(), confirm);
        ASSERT_TRUE(modal.Wait());
        EXPECT_EQ(window.Result().size(), 32);
        const GeneratorOptions kept = GeneratorDialog::LoadOptions();
        EXPECT_EQ(kept.length, confirm ? 32 : GeneratorOptions {}.length);
        EXPECT_EQ(kept.signs, !confirm);
        EXPECT_EQ(kept.excludeLookAlikes, !confirm);
    }
    // The next window starts from what was kept.
    GeneratorDialog again;
    EXPECT_EQ(again.SpinLength->value(), 32);
    EXPECT_FALSE(again.CheckSigns->isChecked());
}

TEST_F(EntryToolWindowsTest, NoClassLeavesNothingToConfirmAndWordsShowTheirSum)
{
    GeneratorDialog window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (QCheckBox* box : { window.CheckCapitals, window.CheckSmalls, window.CheckDigits, window.CheckSigns })
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    EXPECT_TRUE(window.Result().isEmpty());
    EXPECT_FALSE(window.findChild<QPushButton*>("CommandOK")->isEnabled());
    EXPECT_EQ(window.LabelEntropy->text(), "Choisissez au moins un type de caractères.");

    QTest::mouseClick(window.OptionPassphrase, Qt::LeftButton, {}, QPoint(4, window.OptionPassphrase->height() / 2));
    EXPECT_FALSE(window.SpinLength->isEnabled());
    EXPECT_TRUE(window.findChild<QPushButton*>("CommandOK")->isEnabled());
    const qsizetype words = GeneratorDialog::WordList().size();
    ASSERT_GE(words, 2000);
    EXPECT_EQ(window.Result().split('-').size(), GeneratorOptions {}.words);
    const QString perWord = QString::number(std::log2(double(words)), 'f', 2);
    EXPECT_TRUE(window.TextResult->toolTip().contains(perWord + " bits par mot"))
        << window.TextResult->toolTip().toStdString();
    window.close();
}

TEST(StrengthMeter, FollowsTheFieldAsTheUserTypes)
{
    QLineEdit field;
    StrengthMeter meter;
    meter.Follow(&field);
    EXPECT_EQ(meter.Level(), -1);
    EXPECT_TRUE(meter.LabelStrength->text().isEmpty());
    QTest::keyClicks(&field, "password");
    EXPECT_EQ(meter.LabelStrength->text(), "très faible");
    QTest::keyClicks(&field, "-ortie-galet-piano-zinc-cerise");
    EXPECT_EQ(meter.LabelStrength->text(), "très fort");
    EXPECT_EQ(meter.StrengthBar->value(), 5);

    // The master password prompt shows it only while a new one is chosen.
    PasswordAsk ask;
    EXPECT_TRUE(ask.Strength->isHidden());
    ask.ShowStrength(true);
    EXPECT_FALSE(ask.Strength->isHidden());
}

TEST_F(EntryToolWindowsTest, TheEndOfTheProgramClearsTheClipboardOnlyOfItsOwnCopy)
{
    for (bool ours : { true, false }) {
        SCOPED_TRACE(ours);
        ProtectedClipboard::Copy("mot de passe copié");
        if (!ours)
            QGuiApplication::clipboard()->setText("copié ailleurs");
        QWidget main;
        EndApplication(&main, false, false);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), ours ? QString() : QStringLiteral("copié ailleurs"));
        // The released components come back empty: settle the folders again.
        PrepareFolders();
    }
}

TEST(SavedTextFile, NamesAreMadeSafe)
{
    const std::pair<QString, QString> cases[] = {
        { "Password Note", "Password Note" },
        { "v1.2 notes", "v12 notes" },
        { "a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j" },
        { " ..\tnom ", "_nom" },
    };
    for (const auto& [name, safe] : cases)
        EXPECT_EQ(FileSafeName(name), safe) << name.toStdString();
}

} // namespace
} // namespace keyholm::test
