#include "TraceLogCapture.h"
#include "support/ModalHelper.h"

#include "services/ui/Messages.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace keyholm;
using keyholm::test::ModalHelper;
using keyholm::test::TraceLogCapture;

class UserMessages : public TraceLogCapture {
protected:
    void SetUp() override
    {
        TraceLogCapture::SetUp();
        InstallMessageBoxes();
    }
    void TearDown() override
    {
        SetStatusTarget(nullptr);
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        SetErrorDisplay({});
        TraceLogCapture::TearDown();
    }
};

TEST_F(UserMessages, InfoShowsLineBreaksAndTracesThemAsBlanks)
{
    ModalHelper modal;
    modal.Expect("InfoMessageBox").Click(QMessageBox::Ok);
    ShowInfo("Base enregistrée<br>dans le dossier<BR>Keyholm");
    ASSERT_TRUE(modal.Wait());
    ASSERT_EQ(modal.Seen().size(), 1u);
    EXPECT_EQ(modal.Seen()[0].text, QString::fromUtf8("Base enregistrée\ndans le dossier\nKeyholm"));
    EXPECT_EQ(modal.Seen()[0].title, QString::fromUtf8("Un message d'information"));
    const auto line = Find(QString::fromUtf8("Base enregistrée dans le dossier Keyholm"));
    ASSERT_TRUE(line);
    EXPECT_EQ(line->detail, QString::fromUtf8("Un message d'information"));
}

TEST_F(UserMessages, InfoKeepsTheGivenTitle)
{
    ModalHelper modal;
    modal.ExpectMessageBox().Click("OK");
    ShowInfo("Fini", "Export");
    ASSERT_TRUE(modal.Wait());
    EXPECT_EQ(modal.Seen()[0].title, "Export");
}

struct QuestionCase {
    const char* name;
    std::function<void(ModalHelper::Expectation&)> answer;
    Answer expected;
};

class Questions : public UserMessages, public ::testing::WithParamInterface<QuestionCase> {};

TEST_P(Questions, GiveTheStoredAnswerNumbers)
{
    ModalHelper modal;
    GetParam().answer(modal.Expect("QuestionMessageBox"));
    const Answer answer = AskQuestion("Enregistrer la base ?<br>Elle a changé.");
    ASSERT_TRUE(modal.Wait());
    EXPECT_EQ(answer, GetParam().expected);
    EXPECT_EQ(modal.Seen()[0].title, QString::fromUtf8("Répondez à la question"));
    const QString label =
        QString::fromUtf8("Répondez à la question - ") + QString::number(static_cast<int>(GetParam().expected));
    const auto line = Find(label);
    ASSERT_TRUE(line) << label.toStdString();
    EXPECT_EQ(line->detail, QString::fromUtf8("Enregistrer la base ?. Elle a changé."));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Questions,
    ::testing::Values(
        QuestionCase{"Yes", [](auto& e) { e.Click(QMessageBox::Yes); }, Answer::Yes},
        QuestionCase{"No", [](auto& e) { e.Click("Non"); }, Answer::No},
        QuestionCase{"Cancel", [](auto& e) { e.Click(QMessageBox::Cancel); }, Answer::Cancel},
        QuestionCase{"Closed", [](auto& e) { e.Reject(); }, Answer::Cancel}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnswerNumbers, AreThePlatformsOnes)
{
    EXPECT_EQ(static_cast<int>(Answer::Yes), 6);
    EXPECT_EQ(static_cast<int>(Answer::No), 7);
    EXPECT_EQ(static_cast<int>(Answer::Cancel), 2);
}

TEST_F(UserMessages, QuestionWithATitleTracesTheTitle)
{
    ModalHelper modal;
    modal.ExpectMessageBox().Click(QMessageBox::No);
    EXPECT_EQ(AskQuestion("Supprimer ?", "Corbeille"), Answer::No);
    ASSERT_TRUE(modal.Wait());
    EXPECT_EQ(modal.Seen()[0].title, "Corbeille");
    ASSERT_TRUE(Find("Corbeille"));
    EXPECT_EQ(Find("Corbeille")->detail, "Supprimer ?");
}

TEST_F(UserMessages, ErrorBoxShowsMessageAndDetailsAndRestoresThePointer)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ModalHelper modal;
    modal.Expect("ErrorMessageBox").Click(QMessageBox::Ok);
    ReportError("Error on saving<br>the database", "Save", true,
                ErrorRecord::Make(ErrorRecord::FileAccess, "disk full"));
    ASSERT_TRUE(modal.Wait());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    const QString text = modal.Seen()[0].text;
    EXPECT_TRUE(text.startsWith("Error on saving\nthe database\n\nError #75 - Line n° ")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("\ndisk full"));
    EXPECT_EQ(modal.Seen()[0].title, "Error message : Save");
}

TEST_F(UserMessages, ErrorNotShownOpensNoBox)
{
    ModalHelper modal; // fails the test if any box appears
    ReportError("Only logged", {}, false);
    QTest::qWait(100);
    EXPECT_TRUE(modal.Seen().empty());
    EXPECT_TRUE(Find("## Error - Only logged"));
}

TEST_F(UserMessages, BusyPointerAndStatusLeaveTheMsgPanelAlone)
{
    QStatusBar bar;
    auto* panel = new QLabel(QString::fromUtf8("Catégorie Banques"));
    panel->setObjectName("Msg");
    bar.addWidget(panel);
    SetStatusTarget(&bar);

    ShowBusy("Chargement de la base");
    ShowBusy("Lecture", false);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_EQ(bar.currentMessage(), "Lecture");
    EndBusy();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // one EndBusy ends every ShowBusy
    EXPECT_TRUE(bar.currentMessage().isEmpty());
    EXPECT_EQ(panel->text(), QString::fromUtf8("Catégorie Banques"));

    EXPECT_TRUE(Find("Traitement en cours, patientez s.v.p... Chargement de la base"));
    EXPECT_TRUE(Find("Lecture"));
}

TEST_F(UserMessages, BusyWithoutTextShowsTheWaitTextUnlogged)
{
    QStatusBar bar;
    SetStatusTarget(&bar);
    ShowBusy();
    EXPECT_EQ(bar.currentMessage(), "Traitement en cours, patientez s.v.p...");
    EXPECT_FALSE(Find("Traitement en cours, patientez s.v.p..."));
    EndBusy(true);
}

TEST_F(UserMessages, StatusTracesOnlyWhenAskedAndNotBlank)
{
    ShowStatus("Recherche", "banque", false, true);
    ShowStatus("Silencieux", "x", false, false);
    ShowStatus("   ", "blank", false, true);
    ASSERT_TRUE(Find("Recherche"));
    EXPECT_EQ(Find("Recherche")->detail, "banque");
    EXPECT_FALSE(Find("Silencieux"));
    {
        QStatusBar bar;
        SetStatusTarget(&bar);
    }
    ShowStatus("Après la barre", {}); // a destroyed target is not used
}
