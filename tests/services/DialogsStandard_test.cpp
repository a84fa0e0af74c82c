// The colour value converter and the colour, font and printer choosers.

#include "DialogsTestSupport.h"

#include "components/ui/ColorValue.h"
#include "services/ui/Dialogs.h"

#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace keyholm::test {
namespace {

struct ColorCase {
    qint64 value;
    QColor color;
};

class ColorValueTest : public ::testing::TestWithParam<ColorCase> { };

TEST_P(ColorValueTest, ConvertsBothWays)
{
    const ColorCase& c = GetParam();
    EXPECT_EQ(ColorFromValue(c.value), c.color);
    EXPECT_EQ(ValueFromColor(c.color), c.value);
}

INSTANTIATE_TEST_SUITE_P(Cases, ColorValueTest,
    ::testing::Values(ColorCase { 0x0000FF, QColor(255, 0, 0) }, // red in the low byte
        ColorCase { 0x00FF00, QColor(0, 255, 0) }, ColorCase { 0xFF0000, QColor(0, 0, 255) },
        ColorCase { 0x123456, QColor(0x56, 0x34, 0x12) }, ColorCase { 0, QColor(0, 0, 0) },
        ColorCase { 0xFFFFFF, QColor(255, 255, 255) }));

TEST(ColorValue, NoColourAndOddValues)
{
    EXPECT_FALSE(ColorFromValue(-1).isValid());
    EXPECT_FALSE(ColorFromValue(-2).isValid());
    EXPECT_EQ(ValueFromColor(QColor()), -1);
    // only the low three bytes are a colour
    EXPECT_EQ(ColorFromValue(0x01123456), QColor(0x56, 0x34, 0x12));
    // alpha and other colour models do not matter
    EXPECT_EQ(ValueFromColor(QColor(255, 0, 0, 10)), 0x0000FF);
    EXPECT_EQ(ValueFromColor(QColor::fromHsv(240, 255, 255)), 0xFF0000);
}

using ColorDialogTest = DialogTest;

TEST_F(ColorDialogTest, CancelGivesBackTheInitialColourOrMinusOne)
{
    for (const qint32 initial : { -1, -7, 0, 0x123456 }) {
        SCOPED_TRACE(initial);
        ModalHelper modal;
        modal.Expect("CMDialogColor").Reject();
        EXPECT_EQ(ChooseColor(initial), initial < 0 ? -1 : initial);
        EXPECT_TRUE(modal.Wait());
    }
}

TEST_F(ColorDialogTest, AnswersTheChosenColourAsAStoredValue)
{
    ModalHelper modal;
    modal.Expect("CMDialogColor")
        .Do([](QWidget* window) {
            auto* dialog = qobject_cast<QColorDialog*>(window);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->currentColor(), QColor(0, 0, 255)); // the initial 0xFF0000
            EXPECT_EQ(dialog->windowTitle(), "Couleur du titre");
            dialog->setCurrentColor(QColor(0x11, 0x22, 0x33));
        })
        .Accept();
    EXPECT_EQ(ChooseColor(0xFF0000, "Couleur du titre"), 0x332211);
    EXPECT_TRUE(modal.Wait());
    EXPECT_EQ(TraceDetail("Couleur du titre"), QString::number(0x332211));

    ModalHelper untouched;
    untouched.Expect("CMDialogColor").Accept();
    EXPECT_EQ(ChooseColor(0x00FF00), 0x00FF00);
    EXPECT_TRUE(untouched.Wait());
}

using FontDialogTest = DialogTest;

TEST_F(FontDialogTest, AnswersTheFamilyOrEmptyWhenCancelled)
{
    const QStringList families = QFontDatabase::families();
    ASSERT_FALSE(families.isEmpty());
    const QString family = families.first();

    ModalHelper modal;
    modal.Expect("CMDialogOpen")
        .Do([&](QWidget* window) {
            auto* dialog = qobject_cast<QFontDialog*>(window);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Choix de la Police");
            EXPECT_EQ(dialog->currentFont().family(), family);
            EXPECT_EQ(dialog->currentFont().pointSize(), 8);
        })
        .Accept();
    EXPECT_EQ(ChooseFont({}, family), family);
    EXPECT_TRUE(modal.Wait());
    EXPECT_EQ(TraceDetail("Choix de la Police"), family);

    ModalHelper cancelled;
    cancelled.Expect("CMDialogOpen").Reject();
    EXPECT_EQ(ChooseFont("Police du titre", family, "12", true), "");
    EXPECT_TRUE(cancelled.Wait());
}

using PrinterDialogTest = DialogTest;

TEST_F(PrinterDialogTest, CancelChoosesNothing)
{
    ModalHelper modal;
    modal.Expect("CMDialogPrint")
        .Do([](QWidget* window) {
            EXPECT_EQ(window->windowTitle(), "Imprimer");
            auto* dialog = qobject_cast<QPrintDialog*>(window);
            ASSERT_NE(dialog, nullptr);
            EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintPageRange));
        })
        .Reject();
    const PrinterChoice choice = ChoosePrinter();
    EXPECT_TRUE(modal.Wait());
    EXPECT_FALSE(choice.chosen);
    EXPECT_EQ(choice.copies, 0);
    EXPECT_TRUE(TraceDetail("Previous selected printer").has_value());
    EXPECT_EQ(TraceDetail("Select printer Window is canceling"), "...");
}

TEST_F(PrinterDialogTest, AcceptedGivesCopiesAndTellsTheHandler)
{
    QPrinter printer;
    printer.setOutputFileName(folder_.path() + "/sortie.pdf");
    printer.setCopyCount(2);
    QStringList handed;
    SetChosenPrinterHandler([&](const QString& name) {
        handed.append(name);
        return false;
    });
    ModalHelper modal;
    modal.Expect("CMDialogPrint").Accept();
    const PrinterChoice choice = ChoosePrinter("Impression du texte", &printer);
    EXPECT_TRUE(modal.Wait());
    SetChosenPrinterHandler({});
    EXPECT_TRUE(choice.chosen);
    EXPECT_EQ(choice.copies, 2);
    EXPECT_EQ(choice.printerName, printer.printerName());
    EXPECT_EQ(handed, QStringList { choice.printerName });
    EXPECT_EQ(TraceDetail("Unable to set printer choice"), choice.printerName);
    EXPECT_EQ(TraceDetail("Selected printer"), choice.printerName);
}

} // namespace
} // namespace keyholm::test
