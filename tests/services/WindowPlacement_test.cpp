#include "DataFolderFixture.h"

#include "services/Preferences.h"
#include "services/ui/WindowPlacement.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

using namespace keyholm;
using keyholm::test::DataFolderFixture;

namespace {
class WindowPlacementTest : public DataFolderFixture {
protected:
    const QString section_ = "Display Test";
    void Store(const char* key, int twips) { ASSERT_TRUE(SetPlainOption(section_, key, QString::number(twips))); }
    QString Stored(const char* key) { return GetPlainOption(section_, key, "absent"); }
};
} // namespace

TEST_F(WindowPlacementTest, NormalWindowComesBackWhereAndAsLargeAsItWas)
{
    QWidget saved;
    saved.setWindowTitle("Test window");
    saved.move(120, 90);
    saved.resize(400, 300);
    ASSERT_TRUE(SaveWindowPlacement(&saved, "Test"));
    EXPECT_EQ(Stored("StateForm"), "0");
    EXPECT_EQ(Stored("LeftForm"), QString::number(120 * TwipsPerPixel));
    EXPECT_EQ(Stored("TopForm"), QString::number(90 * TwipsPerPixel));
    EXPECT_EQ(Stored("WidthForm"), QString::number(400 * TwipsPerPixel));
    EXPECT_EQ(Stored("HeightForm"), QString::number(300 * TwipsPerPixel));

    ClosePreferences();
    QWidget restored;
    restored.resize(200, 100);
    ASSERT_TRUE(LoadWindowPlacement(&restored, "Test"));
    EXPECT_FALSE(restored.isMaximized());
    EXPECT_EQ(restored.pos(), QPoint(120, 90));
    EXPECT_EQ(restored.size(), QSize(400, 300));
    EXPECT_TRUE(Find("Apply position: Test"));
    EXPECT_EQ(Find("Apply sizing: Test")->detail, "Width (6000) Height (4500)");
}

TEST_F(WindowPlacementTest, LeftOrTopOfZeroOrLessGivesFiftyTwips)
{
    const int fiftyTwips = 3; // 50 / 15, rounded
    for (const int stored : { 0, -60, -15000 }) {
        Store("StateForm", 0);
        Store("LeftForm", stored);
        Store("TopForm", 1500);
        QWidget window;
        ASSERT_TRUE(LoadWindowPlacement(&window, "Test", {}, true, false));
        EXPECT_EQ(window.pos(), QPoint(fiftyTwips, 100)) << stored;

        Store("LeftForm", 1500);
        Store("TopForm", stored);
        ASSERT_TRUE(LoadWindowPlacement(&window, "Test", {}, true, false));
        EXPECT_EQ(window.pos(), QPoint(100, fiftyTwips)) << stored;
    }
}

TEST_F(WindowPlacementTest, MaximizedWindowKeepsStateAndPositionButNotSize)
{
    QWidget saved;
    saved.move(30, 40);
    saved.resize(333, 222);
    saved.setWindowState(Qt::WindowMaximized);
    ASSERT_TRUE(SaveWindowPlacement(&saved, "Test"));
    EXPECT_EQ(Stored("StateForm"), "2");
    EXPECT_NE(Stored("LeftForm"), "absent");
    EXPECT_NE(Stored("TopForm"), "absent");
    EXPECT_EQ(Stored("WidthForm"), "absent");
    EXPECT_EQ(Stored("HeightForm"), "absent");

    // Position and size stored earlier are ignored for a maximized window.
    Store("LeftForm", 9000);
    Store("WidthForm", 9000);
    QWidget restored;
    restored.move(10, 20);
    restored.resize(250, 150);
    ASSERT_TRUE(LoadWindowPlacement(&restored, "Test"));
    EXPECT_TRUE(restored.isMaximized());
    EXPECT_EQ(restored.pos(), QPoint(10, 20));
    EXPECT_EQ(restored.size(), QSize(250, 150));
    EXPECT_TRUE(Find("Windows state is maximized"));
}

TEST_F(WindowPlacementTest, PositionOnNoScreenIsBroughtBack)
{
    Store("StateForm", 0);
    Store("LeftForm", 2000000); // far right of any screen
    Store("TopForm", 1500);
    QWidget window;
    window.resize(200, 100);
    ASSERT_TRUE(LoadWindowPlacement(&window, "Test"));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.intersects(QRect(window.pos(), window.size()))) << window.x() << "," << window.y();
}

TEST_F(WindowPlacementTest, NothingHappensWhenThePreferencesCannotBeOpened)
{
    ASSERT_TRUE(QDir().mkpath(PreferenceFile())); // a folder where the file should be
    QWidget window;
    window.move(10, 20);
    EXPECT_FALSE(SaveWindowPlacement(&window, "Test"));
    EXPECT_FALSE(LoadWindowPlacement(&window, "Test"));
    EXPECT_EQ(window.pos(), QPoint(10, 20));
    EXPECT_FALSE(LoadWindowPlacement(nullptr, "Test"));
}
