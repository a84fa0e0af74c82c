#include "support/ModalHelper.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using keyholm::test::ModalHelper;

namespace {

// A small input window like the program's own: a text, a check box, two buttons.
class InputDialog : public QDialog {
public:
    explicit InputDialog(bool validate = false)
    {
        setObjectName("Lib_SaisieDlg");
        setWindowTitle("Renseignez le champ de saisie");
        auto* layout = new QVBoxLayout(this);
        text = new QLineEdit(this);
        text->setObjectName("TextReponse");
        hide = new QCheckBox("Cacher", this);
        hide->setObjectName("CheckHide");
        ok = new QPushButton("&Oui", this);
        ok->setObjectName("Oui");
        auto* cancel = new QPushButton("Annuler", this);
        cancel->setObjectName("Annuler");
        for (QWidget* w : std::initializer_list<QWidget*>{text, hide, ok, cancel})
            layout->addWidget(w);
        connect(ok, &QPushButton::clicked, this, [this, validate] {
            // an empty answer is refused with a box, and the window stays
            if (validate && text->text().isEmpty()) {
                QMessageBox::warning(this, "Saisie", "Vous devez obligatoirement saisir ");
                return;
            }
            accept();
        });
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    }
    QLineEdit* text;
    QCheckBox* hide;
    QPushButton* ok;
};

// The failures a block of test code reports, kept from the running test.
struct CapturedFailures {
    ::testing::TestPartResultArray results;
    std::string All() const
    {
        std::string all;
        for (int i = 0; i < results.size(); ++i)
            all += std::string(results.GetTestPartResult(i).message()) + "\n";
        return all;
    }
};

} // namespace

TEST(ModalHelper, AnswersAStaticMessageBoxByButtonOrText)
{
    ModalHelper modal;
    modal.ExpectMessageBox().Click(QMessageBox::No);
    modal.ExpectMessageBox().Click("&Yes");
    EXPECT_EQ(QMessageBox::question(nullptr, "Titre", "Première ?"), QMessageBox::No);
    EXPECT_EQ(QMessageBox::question(nullptr, "Titre", "Seconde ?"), QMessageBox::Yes);
    ASSERT_TRUE(modal.Wait());
    ASSERT_EQ(modal.Seen().size(), 2u);
    EXPECT_EQ(modal.Seen()[0].text, QString::fromUtf8("Première ?"));
    EXPECT_EQ(modal.Seen()[1].title, "Titre");
    EXPECT_TRUE(modal.Seen()[1].expected);
}

TEST(ModalHelper, TypesAccentedTextTicksAndClicksInADialog)
{
    const QString typed = QString::fromUtf8("Mot de passe : é à ç ü € 😀 ok");
    InputDialog dialog;
    ModalHelper modal;
    modal.Expect("Lib_SaisieDlg").Type("TextReponse", typed).Tick("CheckHide").Click("Oui");
    dialog.text->setText("old text"); // replaced, not appended to
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    ASSERT_TRUE(modal.Wait());
    EXPECT_EQ(dialog.text->text(), typed);
    EXPECT_TRUE(dialog.hide->isChecked());
}

TEST(ModalHelper, AnswersAWindowOpenedLaterAndWindowsItOpens)
{
    InputDialog dialog(true);
    ModalHelper modal;
    modal.ExpectType("QDialog").Click("Oui");           // empty: refused
    modal.ExpectMessageBox().Click(QMessageBox::Ok);     // by this box
    modal.Expect("Lib_SaisieDlg").Type("TextReponse", "x").Click("Oui");
    int result = -1;
    QTimer::singleShot(200, &dialog, [&] { result = dialog.exec(); });
    ASSERT_TRUE(modal.Wait());
    EXPECT_EQ(result, QDialog::Accepted);
    ASSERT_EQ(modal.Seen().size(), 3u);
    EXPECT_EQ(modal.Seen()[1].text, "Vous devez obligatoirement saisir ");
}

TEST(ModalHelper, FailsClearlyWhenTheWindowNeverComes)
{
    CapturedFailures failures;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures.results);
        ModalHelper modal(300);
        modal.Expect("Lib_PasswordAsk").Click("OK");
        EXPECT_FALSE(modal.Wait());
    }
    ASSERT_EQ(failures.results.size(), 1) << failures.All();
    EXPECT_NE(failures.All().find("window \"Lib_PasswordAsk\" did not appear within 300 ms"), std::string::npos)
        << failures.All();
}

TEST(ModalHelper, FailsWhenDestroyedWithoutWaitingForAnExpectedWindow)
{
    CapturedFailures failures;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures.results);
        ModalHelper modal;
        modal.ExpectMessageBox();
    }
    ASSERT_EQ(failures.results.size(), 1) << failures.All();
    EXPECT_NE(failures.All().find("window of type QMessageBox never appeared"), std::string::npos);
}

TEST(ModalHelper, ClosesAnUnexpectedBoxInsteadOfHanging)
{
    CapturedFailures failures;
    QMessageBox::StandardButton answer = QMessageBox::NoButton;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures.results);
        ModalHelper modal;
        answer = QMessageBox::question(nullptr, "Surprise", "Pas attendue", QMessageBox::Yes | QMessageBox::No);
    }
    EXPECT_NE(answer, QMessageBox::Yes);
    ASSERT_EQ(failures.results.size(), 1) << failures.All();
    EXPECT_NE(failures.All().find("titled \"Surprise\" saying \"Pas attendue\" (no window was expected)"),
              std::string::npos)
        << failures.All();
}

TEST(ModalHelper, WatchdogClosesAWindowOpenedWithNoHelperAlive)
{
    CapturedFailures failures;
    ModalHelper::InstallWatchdog(300);
    QMessageBox::StandardButton answer = QMessageBox::NoButton;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures.results);
        answer = QMessageBox::question(nullptr, "Oubliée", "Personne ne répond", QMessageBox::Yes | QMessageBox::No);
    }
    ModalHelper::InstallWatchdog();
    EXPECT_NE(answer, QMessageBox::Yes);
    ASSERT_EQ(failures.results.size(), 1) << failures.All();
    EXPECT_NE(failures.All().find("no ModalHelper to answer it"), std::string::npos) << failures.All();
    EXPECT_NE(failures.All().find("Personne ne répond"), std::string::npos) << failures.All();
}

TEST(ModalHelper, ClosesTheWrongWindowAndAWindowLeftOpen)
{
    CapturedFailures wrong;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &wrong.results);
        ModalHelper modal(300);
        modal.Expect("Lib_PasswordAsk").Click("OK");
        QMessageBox::information(nullptr, "Info", "Mauvaise fenêtre");
        modal.Wait();
    }
    EXPECT_NE(wrong.All().find("(expected window \"Lib_PasswordAsk\")"), std::string::npos) << wrong.All();
    EXPECT_NE(wrong.All().find("window \"Lib_PasswordAsk\" did not appear"), std::string::npos) << wrong.All();

    CapturedFailures leftOpen;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &leftOpen.results);
        ModalHelper modal;
        modal.Expect("Lib_SaisieDlg").Type("TextReponse", "x"); // and no click
        InputDialog dialog;
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
        modal.Wait();
    }
    ASSERT_EQ(leftOpen.results.size(), 1) << leftOpen.All();
    EXPECT_NE(leftOpen.All().find("(still open after its actions)"), std::string::npos) << leftOpen.All();
}

TEST(ModalHelper, ReportsADisabledButtonOrMissingField)
{
    CapturedFailures failures;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures.results);
        ModalHelper modal;
        InputDialog first;
        first.ok->setEnabled(false);
        modal.Expect("Lib_SaisieDlg").Click("Oui");
        EXPECT_EQ(first.exec(), QDialog::Rejected);
        InputDialog second;
        modal.Expect("Lib_SaisieDlg").Type("TextAbsent", "x");
        EXPECT_EQ(second.exec(), QDialog::Rejected);
        modal.Wait();
    }
    const std::string all = failures.All();
    EXPECT_NE(all.find("button \"Oui\" is disabled"), std::string::npos) << all;
    EXPECT_NE(all.find("no field named \"TextAbsent\""), std::string::npos) << all;
}

TEST(ModalHelper, HelpersAliveTogetherEachAnswerTheirOwnWindows)
{
    ModalHelper first;
    first.ExpectMessageBox().Click(QMessageBox::Ok);
    QMessageBox::information(nullptr, "Un", "premier");
    ASSERT_TRUE(first.Wait());

    ModalHelper second; // the first, still alive, must leave this one alone
    second.ExpectMessageBox().Click(QMessageBox::Ok);
    QMessageBox::information(nullptr, "Deux", "second");
    ASSERT_TRUE(second.Wait());
    ASSERT_EQ(first.Seen().size(), 1u);
    ASSERT_EQ(second.Seen().size(), 1u);
    EXPECT_EQ(second.Seen()[0].title, "Deux");
}
