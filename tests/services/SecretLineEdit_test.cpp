#include "services/ui/SecretLineEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

using namespace keyholm;

namespace {

class SecretLineEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window_);
        layout->addWidget(other_);
        layout->addWidget(secret_);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        window_.activateWindow();
        secret_->setText(QStringLiteral("hunter2"));
    }

    void Focus(QWidget* widget)
    {
        widget->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(widget->hasFocus());
    }

    QToolButton* EyeButton() const
    {
        for (QToolButton* button : secret_->findChildren<QToolButton*>()) {
            if (button->defaultAction() == secret_->RevealAction())
                return button;
        }
        return nullptr;
    }

    QWidget window_;
    QLineEdit* other_ = new QLineEdit(&window_);
    SecretLineEdit* secret_ = new SecretLineEdit(&window_);
};

} // namespace

TEST_F(SecretLineEditTest, ShowsBulletsUnlessFocusedOrRevealed)
{
    EXPECT_EQ(secret_->echoMode(), QLineEdit::Password);
    Focus(secret_);
    EXPECT_EQ(secret_->echoMode(), QLineEdit::Normal) << "shown while being edited";
    Focus(other_);
    EXPECT_EQ(secret_->echoMode(), QLineEdit::Password);

    QToolButton* eye = EyeButton();
    ASSERT_TRUE(eye);
    EXPECT_EQ(eye->toolTip(), "Afficher le mot de passe");
    QTest::mouseClick(eye, Qt::LeftButton);
    Focus(other_);
    EXPECT_EQ(secret_->echoMode(), QLineEdit::Normal) << "revealed stays shown without the focus";
    EXPECT_EQ(eye->toolTip(), "Masquer le mot de passe");
    QTest::mouseClick(eye, Qt::LeftButton);
    Focus(other_);
    EXPECT_EQ(secret_->echoMode(), QLineEdit::Password);

    // The next selection hides it again; not concealed, it always shows.
    QTest::mouseClick(eye, Qt::LeftButton);
    Focus(other_);
    secret_->SetConcealed(true);
    EXPECT_EQ(secret_->echoMode(), QLineEdit::Password);
    secret_->SetConcealed(false);
    EXPECT_EQ(secret_->echoMode(), QLineEdit::Normal);
    EXPECT_FALSE(eye->isVisible());
}

// Needs an X display (the primary selection exists there only): run under
// xvfb-run with QT_QPA_PLATFORM=xcb by its own test entry.
TEST_F(SecretLineEditTest, TheShownPasswordNeverReachesThePrimarySelection)
{
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard->supportsSelection())
        GTEST_SKIP() << "no primary selection on " << QApplication::platformName().toStdString();

    // A plain field does publish its selection: the check below can fail.
    other_->setText(QStringLiteral("visible"));
    Focus(other_);
    QTest::keyClick(other_, Qt::Key_End);
    QTest::keyClick(other_, Qt::Key_Home, Qt::ShiftModifier);
    QTRY_COMPARE(clipboard->text(QClipboard::Selection), QStringLiteral("visible"));

    secret_->SetConcealed(false);
    Focus(secret_);
    QTest::keyClick(secret_, Qt::Key_End);
    QTest::keyClick(secret_, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(secret_->selectedText(), "hunter2") << "the user still sees the selection";
    QTest::keyClick(secret_, Qt::Key_Right, Qt::ShiftModifier);
    QTest::mouseDClick(secret_, Qt::LeftButton, {}, QPoint(10, secret_->height() / 2));
    QTest::mousePress(secret_, Qt::LeftButton, {}, QPoint(4, secret_->height() / 2));
    QTest::mouseMove(secret_, QPoint(secret_->width() - 30, secret_->height() / 2));
    QTest::mouseRelease(secret_, Qt::LeftButton, {}, QPoint(secret_->width() - 30, secret_->height() / 2));
    QTest::qWait(50);
    EXPECT_FALSE(clipboard->text(QClipboard::Selection).contains("hunter")) << "the password went to the selection";
}
