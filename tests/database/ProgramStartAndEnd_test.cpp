// The database at the start of the program (the last one opened again) and
// at its end (the unsaved-changes question when the window closes).

#include "DatabaseFileFixture.h"

#include "database/WorkingOptions.h"
#include "services/Environment.h"
#include "services/Preferences.h"

#include <QAction>
#include <QCheckBox>

namespace keyholm::test {
namespace {

using ProgramStartTest = DatabaseFileFixture;

// What the preferences hold of the last database, and what the start does.
TEST_F(ProgramStartTest, OpensTheLastDatabaseOnlyWhenItIsThere)
{
    const QString sound = PathOf("Perso.khm");
    WriteDatabase(sound, {});
    // The file a missing preference falls back to: it must not open when
    // the stored path is empty.
    const QString fallback = DataFolder() + QStringLiteral("Keyholm.khm");
    WriteDatabase(fallback, {});
    struct Case {
        const char* name;
        QString stored;
        bool opens;
    };
    const Case cases[] = {
        { "sound file", sound, true },
        { "missing file", PathOf("Absente.khm"), false },
        { "empty stored path", QString(), false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetTextOptionAt(WorkingOptions::Section(QStringLiteral("_Password OpenValue")), c.stored, 0,
            WorkingOptions::Label);
        SetValueOptionAt(WorkingOptions::Section(QStringLiteral("_Password Open")), 1, 0, WorkingOptions::Label);
        MainWindow window;
        ModalHelper modal; // a box would fail the test
        window.Lifecycle().Form_Load();
        ASSERT_TRUE(modal.Wait());
        EXPECT_TRUE(window.Ui().Option->CheckOpen->isChecked());
        EXPECT_EQ(window.State().DatabaseOpen(), c.opens);
        EXPECT_EQ(window.State().Tag(), c.opens ? c.stored : QString());
        EXPECT_EQ(window.windowTitle(), c.opens ? QStringLiteral("Keyholm - Perso.khm") : QStringLiteral("Keyholm"));
    }
    QFile::remove(fallback);
}

// "Non" to the unsaved-changes question, whether the window is closed or
// "Quitter" is chosen: the program ends and the file stays as it was.
class ProgramEndTest : public DatabaseFileFixture, public ::testing::WithParamInterface<bool> { };

TEST_P(ProgramEndTest, NoEndsWithoutSaving)
{
    const bool byMenu = GetParam();
    const QString path = PathOf("Perso.khm");
    WriteDatabase(path, {});
    ASSERT_TRUE(Open(path).open);
    const QByteArray before = Bytes(path);
    ChangeRoot("Ma base modifiée");
    {
        ModalHelper modal;
        modal.ExpectMessageBox().Click(QMessageBox::No);
        if (byMenu)
            Ui().MenuBaseExit->trigger();
        else
            Window().close();
        ASSERT_TRUE(modal.Wait());
        EXPECT_TRUE(modal.Seen()[0].text.contains("Des informations modifiées n'ont pas été enregistrées."));
    }
    EXPECT_FALSE(Window().isVisible());
    EXPECT_FALSE(State().DatabaseOpen());
    EXPECT_EQ(Bytes(path), before);
}

INSTANTIATE_TEST_SUITE_P(Ways, ProgramEndTest, ::testing::Bool(),
    [](const auto& info) { return std::string(info.param ? "Quitter" : "WindowClosed"); });

} // namespace
} // namespace keyholm::test
