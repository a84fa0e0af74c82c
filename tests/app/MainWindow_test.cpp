#include "app/MainWindow.h"

#include <QtTest/QTest>

#include <gtest/gtest.h>

TEST(MainWindow, ShowsCaptionedKeyholm)
{
    keyholm::MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), "Keyholm");
    EXPECT_EQ(window.objectName(), "Lib_PasswordMgr");
}
