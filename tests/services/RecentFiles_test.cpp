#include "DataFolderFixture.h"

#include "services/Preferences.h"
#include "services/ui/RecentFiles.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

using namespace keyholm;
using keyholm::test::DataFolderFixture;

namespace {
const QString Section = "Menu fichier" + RecentFilesSuffix;

// A window with the file menu items the list works on.
class MenuWindow : public QMainWindow {
public:
    MenuWindow()
    {
        setWindowTitle("Keyholm");
        QMenu* file = menuBar()->addMenu("&Fichier");
        file->addAction("&Ouvrir...");
        file->addSeparator()->setObjectName("MenuSeparateurAncienFichier");
        for (int position = 1; position <= RecentFileCount; ++position)
            file->addAction(QString())->setObjectName(QString("MenuAncienFichier%1").arg(position));
    }
    QAction* Item(int position) const { return findChild<QAction*>(QString("MenuAncienFichier%1").arg(position)); }
    QAction* Separator() const { return findChild<QAction*>("MenuSeparateurAncienFichier"); }
    // The captions shown, in order, up to the first hidden item.
    QStringList Shown() const
    {
        QStringList shown;
        for (int position = 1; position <= RecentFileCount && Item(position)->isVisible(); ++position)
            shown << Item(position)->text();
        return shown;
    }
};

class RecentFilesTest : public DataFolderFixture {
protected:
    void SetUp() override
    {
        DataFolderFixture::SetUp();
        ClearRecentFiles();
    }
    void TearDown() override
    {
        ClearRecentFiles();
        DataFolderFixture::TearDown();
    }
    QString MakeFile(const QString& name)
    {
        const QString path = files_.filePath(name);
        WriteAll(path, "x");
        return path;
    }
    // Adds the files so that the first one ends at position 1.
    void AddAll(const QStringList& paths)
    {
        for (auto it = paths.rbegin(); it != paths.rend(); ++it)
            AjoutMenuFichierOuvert(&window_, *it, RecentFilesSuffix, {});
    }
    QStringList Paths() const
    {
        QStringList paths;
        for (int position = 1; position <= RecentFileCount; ++position)
            paths << sGetMenuFichierLong({}, position);
        return paths;
    }

    QTemporaryDir files_;
    MenuWindow window_;
};
} // namespace

TEST_F(RecentFilesTest, AddingAPathAtPositionThreeMovesItToTheTop)
{
    const QStringList paths
        = { MakeFile("a.khm"), MakeFile("b.khm"), MakeFile("c.khm"), MakeFile("d.khm"), MakeFile("e.khm") };
    AddAll(paths);
    ASSERT_EQ(Paths(), paths);

    AjoutMenuFichierOuvert(&window_, paths[2], RecentFilesSuffix, {});
    EXPECT_EQ(Paths(), (QStringList { paths[2], paths[0], paths[1], paths[3], paths[4] }));
    EXPECT_EQ(window_.Shown(), (QStringList { "&1 c.khm", "&2 a.khm", "&3 b.khm", "&4 d.khm", "&5 e.khm" }));
    EXPECT_TRUE(window_.Separator()->isVisible());

    // Stored: paths under 1 to 5, captions under 10 to 50.
    EXPECT_EQ(GetTextOptionAt(Section, {}, 1), paths[2]);
    EXPECT_EQ(GetTextOptionAt(Section, {}, 3), paths[1]);
    EXPECT_EQ(GetTextOptionAt(Section, {}, 10), "c.khm");
    EXPECT_EQ(GetTextOptionAt(Section, {}, 50), "e.khm");

    // A sixth file pushes the oldest out.
    const QString sixth = MakeFile("f.khm");
    AjoutMenuFichierOuvert(&window_, sixth, RecentFilesSuffix, {});
    EXPECT_EQ(Paths(), (QStringList { sixth, paths[2], paths[0], paths[1], paths[3] }));
}

TEST_F(RecentFilesTest, AddingAMissingFileOnlyRemovesItsOldEntry)
{
    const QString a = MakeFile("a.khm");
    const QString b = MakeFile("b.khm");
    AddAll({ a, b });
    const QByteArray stored = ReadAll(PreferenceFile());
    ASSERT_TRUE(QFile::remove(b));

    AjoutMenuFichierOuvert(&window_, b, RecentFilesSuffix, {});
    EXPECT_EQ(Paths(), (QStringList { a, "", "", "", "" }));
    EXPECT_EQ(window_.Shown(), QStringList { "&1 a.khm" });
    EXPECT_EQ(ReadAll(PreferenceFile()), stored) << "the list is not saved";

    AjoutMenuFichierOuvert(&window_, files_.filePath("never.khm"), RecentFilesSuffix, {});
    EXPECT_EQ(Paths(), (QStringList { a, "", "", "", "" }));
}

TEST_F(RecentFilesTest, StartUpDropsOtherExtensionsButKeepsMissingFiles)
{
    // As a previous run left the list.
    const QString kept = MakeFile("kept.khm");
    const QString upper = MakeFile("UPPER.KHM");
    const QString text = MakeFile("notes.txt");
    const QString none = MakeFile("noextension");
    const QString gone = files_.filePath("gone.khm");
    const QStringList stored = { kept, text, gone, none, upper };
    for (int position = 1; position <= RecentFileCount; ++position) {
        ASSERT_TRUE(SetTextOptionAt(Section, stored[position - 1], position));
        ASSERT_TRUE(SetTextOptionAt(Section, QFileInfo(stored[position - 1]).fileName(), 10 * position));
    }

    InitRecentFiles(&window_, RecentFilesSuffix, true, {}, true, "khm");
    EXPECT_EQ(Paths(), (QStringList { kept, gone, upper, "", "" }));
    EXPECT_EQ(window_.Shown(), (QStringList { "&1 kept.khm", "&2 gone.khm", "&3 UPPER.KHM" }));

    // With the existence check, the missing file goes as well.
    InitRecentFiles(&window_, RecentFilesSuffix, true, {}, false, ".khm");
    EXPECT_EQ(Paths(), (QStringList { kept, upper, "", "", "" }));
}

TEST_F(RecentFilesTest, StartUpFindsAMovedFileInTheDataFolder)
{
    const QString moved = DataFolder() + "moved.khm";
    WriteAll(moved, "x");
    ASSERT_TRUE(SetTextOptionAt(Section, "/nowhere/moved.khm", 1));
    ASSERT_TRUE(SetTextOptionAt(Section, "moved.khm", 10));
    InitRecentFiles(&window_, RecentFilesSuffix, true, {}, false, "khm");
    EXPECT_EQ(sGetMenuFichierLong({}, 1), moved);
}

TEST_F(RecentFilesTest, RemovingPositionsOutsideTheListChangesNothingButRefreshesTheMenu)
{
    const QString a = MakeFile("a.khm");
    const QString b = MakeFile("b.khm");
    AddAll({ a, b });
    for (const int position : { 0, 6, -1 }) {
        window_.Item(1)->setText("stale");
        window_.Item(2)->setVisible(false);
        EnleveMenuFichierOuvert(&window_, position, true);
        EXPECT_EQ(Paths(), (QStringList { a, b, "", "", "" })) << position;
        EXPECT_EQ(window_.Shown(), (QStringList { "&1 a.khm", "&2 b.khm" })) << position;
    }
    EnleveMenuFichierOuvert(&window_, 1, false);
    EXPECT_EQ(Paths(), (QStringList { b, "", "", "", "" }));
    EXPECT_EQ(window_.Shown(), QStringList { "b.khm" }) << "not numbered";
    EnleveMenuFichierOuvert(&window_, 1, true);
    EXPECT_TRUE(window_.Shown().isEmpty());
    EXPECT_FALSE(window_.Separator()->isVisible());
}

TEST_F(RecentFilesTest, SameFileNameInTwoFoldersIsFoundByPosition)
{
    QTemporaryDir other;
    const QString first = MakeFile("base & co.khm");
    const QString second = other.filePath("base & co.khm");
    WriteAll(second, "x");
    AddAll({ first, second });
    EXPECT_EQ(window_.Shown(), (QStringList { "&1 base && co.khm", "&2 base && co.khm" }));
    EXPECT_EQ(sGetMenuFichierLong("base & co.khm", 1), first);
    EXPECT_EQ(sGetMenuFichierLong("base & co.khm", 2), second);
    // Without a position the caption decides, from the last position up.
    EXPECT_EQ(sGetMenuFichierLong("base & co.khm", 0), second);
    EXPECT_EQ(sGetMenuFichierLong("other.khm", 0), "");
    EXPECT_EQ(bExisteMenuFichierOuvert(second), 2);
    EXPECT_EQ(bExisteMenuFichierOuvert(first.toUpper()), std::nullopt) << "paths compare exactly";
    EXPECT_EQ(bExisteMenuFichierOuvert(""), std::nullopt) << "an empty path is never listed";
}

TEST_F(RecentFilesTest, ListSurvivesARestart)
{
    const QString a = MakeFile("a.khm");
    const QString b = MakeFile("b.khm");
    AddAll({ a, b });
    ClosePreferences();
    ClearRecentFiles();
    MenuWindow next;
    InitRecentFiles(&next, RecentFilesSuffix, true, {}, true, "khm");
    EXPECT_EQ(next.Shown(), (QStringList { "&1 a.khm", "&2 b.khm" }));
}

TEST_F(RecentFilesTest, NoWindowIsTracedNotFatal)
{
    const QString a = MakeFile("a.khm");
    AjoutMenuFichierOuvert(nullptr, a, RecentFilesSuffix, {});
    EXPECT_EQ(sGetMenuFichierLong({}, 1), a);
    const auto line = Find("Unable to update old opened files");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->detail, "destination Window is null");
}
