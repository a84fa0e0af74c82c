// The file choosers: filter conversion, flags, presets, answers and cancels.

#include "DialogsTestSupport.h"

#include "services/ui/ApplicationEnvironment.h"
#include "services/ui/Dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTranslator>

namespace keyholm::test {
namespace {

struct FilterCase {
    const char* windowsFilter;
    QStringList qtFilters;
};

class NameFilterTest : public ::testing::TestWithParam<FilterCase> { };

TEST_P(NameFilterTest, ConvertsWindowsFilterText)
{
    EXPECT_EQ(QtNameFilters(GetParam().windowsFilter), GetParam().qtFilters);
}

INSTANTIATE_TEST_SUITE_P(Cases, NameFilterTest,
    ::testing::Values(FilterCase { "Keyholm (*.khm)|*.khm", { "Keyholm (*.khm)" } },
        FilterCase { "Tous les fichiers (*.*)|*.*|Fichiers TXT (*.txt)|*.txt",
            { "Tous les fichiers (*)", "Fichiers TXT (*.txt)" } },
        // the patterns after "|" are the ones that count, ";" separates them
        FilterCase { "Images (*.jpg)|*.jpg;*.jpeg; *.gif", { "Images (*.jpg *.jpeg *.gif)" } },
        FilterCase { "Rich Text File|*.rtf", { "Rich Text File (*.rtf)" } },
        // a trailing "|" before the next part, as in the logo filter
        FilterCase { "JPEG format (*.jpg)|*.jpg|Windows Bitmap (*.bmp)|*.bmp|",
            { "JPEG format (*.jpg)", "Windows Bitmap (*.bmp)" } },
        FilterCase { "Textes (*.txt)", { "Textes (*.txt)" } }, FilterCase { "Tout", { "Tout (*)" } },
        FilterCase { "|*.csv", { "*.csv" } }, FilterCase { "", {} }));

struct FlagCase {
    QFileDialog::AcceptMode mode;
    FileDialogFlags flags;
    QFileDialog::FileMode fileMode;
    bool confirmOverwrite;
};

class FileFlagTest : public ::testing::TestWithParam<FlagCase> { };

TEST_P(FileFlagTest, MapsFlagsToQtOptions)
{
    const FlagCase& c = GetParam();
    QFileDialog dialog;
    dialog.setAcceptMode(c.mode);
    PrepareFileDialog(dialog, "Titre", "Keyholm (*.khm)|*.khm", ".khm", c.flags);
    EXPECT_EQ(dialog.windowTitle(), "Titre");
    EXPECT_EQ(dialog.nameFilters(), QStringList { "Keyholm (*.khm)" });
    EXPECT_EQ(dialog.defaultSuffix(), "khm");
    EXPECT_EQ(dialog.fileMode(), c.fileMode);
    EXPECT_EQ(!dialog.testOption(QFileDialog::DontConfirmOverwrite), c.confirmOverwrite);
}

using F = FileDialogFlag;
INSTANTIATE_TEST_SUITE_P(Cases, FileFlagTest,
    ::testing::Values(
        FlagCase { QFileDialog::AcceptOpen, F::FileMustExist | F::HideReadOnly, QFileDialog::ExistingFile, false },
        FlagCase { QFileDialog::AcceptOpen, F::HideReadOnly, QFileDialog::AnyFile, false },
        FlagCase { QFileDialog::AcceptSave, F::HideReadOnly | F::ConfirmOverwrite, QFileDialog::AnyFile, true },
        FlagCase { QFileDialog::AcceptSave, {}, QFileDialog::AnyFile, false }));

TEST(FileDialogSuffix, WildcardOrEmptyExtensionAddsNone)
{
    for (const char* extension : { ".*", "", "*" }) {
        QFileDialog dialog;
        PrepareFileDialog(dialog, {}, {}, extension, {});
        EXPECT_EQ(dialog.defaultSuffix(), "") << extension;
    }
}

class FileDialogTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        dataFolder_ = folder_.path() + "/Donnees";
        ASSERT_TRUE(QDir().mkpath(dataFolder_));
        QFile existing(dataFolder_ + "/Base.khm");
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("x");
    }

    // Checks where the dialog opened and what name it proposes.
    static std::function<void(QWidget*)> Opened(const QString& folder, const QString& fileName)
    {
        return [folder, fileName](QWidget* window) {
            auto* dialog = qobject_cast<QFileDialog*>(window);
            ASSERT_NE(dialog, nullptr);
            if (!folder.isEmpty()) {
                EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(folder).canonicalPath());
            }
            if (auto* edit = Child<QLineEdit>(window, "fileNameEdit")) {
                EXPECT_EQ(edit->text(), fileName);
            }
        };
    }

    QString dataFolder_;
};

TEST_F(FileDialogTest, OpenPresetsFollowThePath)
{
    struct Case {
        const char* name;
        QString path;
        QString folder; // where it must open; empty: not checked
        QString fileName; // proposed name
    };
    const std::vector<Case> cases {
        { "existing folder", dataFolder_, dataFolder_, "" },
        { "existing file", dataFolder_ + "/Base.khm", dataFolder_, "Base.khm" },
        { "new file in an existing folder", dataFolder_ + "/Nouveau.khm", dataFolder_, "Nouveau.khm" },
        { "missing folder", folder_.path() + "/Absent/Base.khm", "", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModalHelper modal;
        modal.Expect("CMDialogOpen")
            .Do(Opened(c.folder, c.fileName))
            .Do([this](QWidget* window) {
                EXPECT_NE(QDir(qobject_cast<QFileDialog*>(window)->directory()).canonicalPath(),
                    QDir(folder_.path() + "/Absent").absolutePath());
            })
            .Reject();
        EXPECT_EQ(ChooseFileToOpen(c.path, "Ouvrir un fichier Keyholm", "Keyholm (*.khm)|*.khm", ".khm"), "");
        EXPECT_TRUE(modal.Wait());
    }
}

TEST_F(FileDialogTest, QtsOwnTextsReadFrench)
{
    ASSERT_TRUE(InstallQtTranslations());
    ModalHelper modal;
    modal.Expect("CMDialogOpen")
        .Do([](QWidget* window) {
            QStringList buttons;
            for (const QPushButton* button : window->findChildren<QPushButton*>())
                buttons << button->text();
            EXPECT_TRUE(buttons.contains("&Ouvrir")) << buttons.join(", ").toStdString();
            EXPECT_TRUE(buttons.contains("Annuler")) << buttons.join(", ").toStdString();
            const auto* lookIn = Child<QLabel>(window, "lookInLabel");
            ASSERT_NE(lookIn, nullptr);
            EXPECT_EQ(lookIn->text(), "Voir dans :");
        })
        .Reject();
    EXPECT_EQ(ChooseFileToOpen(dataFolder_), "");
    EXPECT_TRUE(modal.Wait());
    // The other tests of this program read Qt's English.
    for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

TEST_F(FileDialogTest, OpenDefaultsTitleFilterAndExtension)
{
    ModalHelper modal;
    modal.Expect("CMDialogOpen")
        .Do([](QWidget* window) {
            auto* dialog = qobject_cast<QFileDialog*>(window);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Sélectionnez un fichier");
            EXPECT_EQ(dialog->nameFilters(), (QStringList { "Tous les fichiers (*)", "Fichiers TXT (*.txt)" }));
            EXPECT_EQ(dialog->defaultSuffix(), "txt");
            EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
            EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        })
        .Reject();
    EXPECT_EQ(ChooseFileToOpen({}), "");
    EXPECT_TRUE(modal.Wait());
}

TEST_F(FileDialogTest, OpenAnswersTheChosenFile)
{
    ModalHelper modal;
    modal.Expect("CMDialogOpen").Type("fileNameEdit", "Base.khm").Accept();
    const QString chosen = ChooseFileToOpen(dataFolder_, "Ouvrir un fichier Keyholm", "Keyholm (*.khm)|*.khm", ".khm");
    EXPECT_TRUE(modal.Wait());
    EXPECT_EQ(QFileInfo(chosen).canonicalFilePath(), QFileInfo(dataFolder_ + "/Base.khm").canonicalFilePath());
    EXPECT_EQ(TraceDetail("Ouvrir un fichier Keyholm"), "Keyholm (*.khm)|*.khm");
    EXPECT_EQ(TraceDetail("File opening dialog"), chosen);
    EXPECT_EQ(TraceDetail("Exit on open file Window"), std::nullopt);
}

TEST_F(FileDialogTest, SaveAndNewAddTheDefaultExtension)
{
    {
        ModalHelper modal;
        modal.Expect("CMDialogOpen")
            .Do(Opened(dataFolder_, "Keyholm.khm"))
            .Do([](QWidget* window) {
                EXPECT_EQ(qobject_cast<QFileDialog*>(window)->acceptMode(), QFileDialog::AcceptSave);
            })
            .Type("fileNameEdit", "Perso")
            .Accept();
        const QString chosen
            = ChooseNewFile(dataFolder_ + "/Keyholm.khm", "Nouveau fichier Keyholm", "Keyholm (*.khm)|*.khm", ".khm");
        EXPECT_TRUE(modal.Wait());
        EXPECT_EQ(QFileInfo(chosen).fileName(), "Perso.khm");
        EXPECT_EQ(TraceDetail("File newing dialog"), chosen);
    }
    {
        ModalHelper modal;
        modal.Expect("CMDialogOpen").Do(Opened(dataFolder_, "Notes.txt")).Type("fileNameEdit", "Export").Accept();
        const QString chosen = ChooseFileToSave(dataFolder_ + "/Notes.txt", "Enregistrer dans un fichier",
            "Fichiers TXT (*.txt)|*.txt|Tous les fichiers (*.*)|*.*", ".txt");
        EXPECT_TRUE(modal.Wait());
        EXPECT_EQ(QFileInfo(chosen).fileName(), "Export.txt");
        EXPECT_EQ(TraceDetail("File saving dialog"), chosen);
    }
}

TEST_F(FileDialogTest, SavingOverAnExistingFileAsksFirst)
{
    for (const bool replace : { true, false }) {
        SCOPED_TRACE(replace ? "replace" : "keep");
        ModalHelper modal;
        auto& dialog = modal.Expect("CMDialogOpen").Type("fileNameEdit", "Base.khm").Accept();
        modal.ExpectMessageBox().Click(replace ? QMessageBox::Yes : QMessageBox::No);
        if (!replace)
            dialog.Reject();
        const QString chosen = ChooseFileToSave(
            dataFolder_ + "/Base.khm", "Enregistrer dans un fichier", "Keyholm (*.khm)|*.khm", ".khm");
        EXPECT_TRUE(modal.Wait());
        EXPECT_EQ(QFileInfo(chosen).fileName(), replace ? "Base.khm" : "");
    }
}

TEST_F(FileDialogTest, SaveProposesThePathOnlyInAnExistingFolder)
{
    ModalHelper modal;
    modal.Expect("CMDialogOpen").Do(Opened({}, "")).Reject();
    EXPECT_EQ(
        ChooseFileToSave(folder_.path() + "/Absent/Notes.txt", "Enregistrer", "Fichiers TXT (*.txt)|*.txt", ".txt"),
        "");
    EXPECT_TRUE(modal.Wait());
}

TEST_F(FileDialogTest, EveryCancelAnswersEmptyAndTracesIt)
{
    struct Case {
        const char* exitLabel;
        std::function<QString()> choose;
    };
    const QString path = dataFolder_ + "/Base.khm";
    const std::vector<Case> cases {
        { "Exit on new file Window", [&] { return ChooseNewFile(path, "Nouveau", "Keyholm (*.khm)|*.khm", ".khm"); } },
        { "Exit on open file Window",
            [&] { return ChooseFileToOpen(path, "Ouvrir", "Keyholm (*.khm)|*.khm", ".khm"); } },
        { "Exit on save dialog file window",
            [&] { return ChooseFileToSave(path, "Enregistrer", "Keyholm (*.khm)|*.khm", ".khm"); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exitLabel);
        ModalHelper modal;
        modal.Expect("CMDialogOpen").Type("fileNameEdit", "Autre.khm").Reject();
        EXPECT_EQ(c.choose(), "");
        EXPECT_TRUE(modal.Wait());
        EXPECT_EQ(TraceDetail(c.exitLabel), "error or cancel");
    }
}

} // namespace
} // namespace keyholm::test
