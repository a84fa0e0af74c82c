// The window's look comes from the style sheet in the resources, which every
// program that builds the window must carry, tests included.

#include "support/MainWindowFixture.h"

#include <QFrame>
#include <QLabel>
#include <QTextBrowser>

namespace keyholm::test {
namespace {

using WindowStyleTest = MainWindowFixture;

TEST_F(WindowStyleTest, TheStyleSheetReachesTheControlsItNames)
{
    struct Styled {
        QWidget* control;
        QPalette::ColorRole role;
        const char* color;
    };
    for (const Styled& styled : { Styled { Ui().About->lblTitle, QPalette::WindowText, "#1f2a37" },
             { Ui().About->lblDescription, QPalette::WindowText, "#4a5566" },
             { Ui().About->TextInfoAppli, QPalette::Base, "#f7f9fc" },
             { Ui().Entry->LabelPassword[0], QPalette::WindowText, "#4a5566" },
             { Ui().Entry->findChild<QFrame*>(QStringLiteral("EntryRule")), QPalette::WindowText, "#e3e7ed" },
             { Ui().Stat->LabelStat[9], QPalette::WindowText, "#1f2a37" },
             { Ui().LabelUnprotected, QPalette::WindowText, "#a33a1f" },
             { Ui().PictureLogo, QPalette::Window, "#ffffff" } }) {
        ASSERT_NE(styled.control, nullptr);
        styled.control->ensurePolished();
        EXPECT_EQ(styled.control->palette().color(styled.role).name(), styled.color)
            << qPrintable(styled.control->objectName());
    }
    EXPECT_TRUE(Ui().LabelUnprotected->font().bold());
}

} // namespace
} // namespace keyholm::test
