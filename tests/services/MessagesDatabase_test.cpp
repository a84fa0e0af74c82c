#include "support/TestFiles.h"
#include "TraceLogCapture.h"

#include "components/MessageStore.h"
#include "services/MessagesDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace keyholm;
using keyholm::test::Write;
using keyholm::test::TraceLogCapture;

// The user file in the data folder, the main file in the program folder.
class MessagesDatabase : public TraceLogCapture {
protected:
    void SetUp() override
    {
        TraceLogCapture::SetUp();
        ASSERT_TRUE(dirs_.isValid());
        QDir(dirs_.path()).mkpath("data");
        QDir(dirs_.path()).mkpath("program");
        data_ = dirs_.path() + "/data/";
        program_ = dirs_.path() + "/program/";
        userFile_ = data_ + "Anglais.mge";
    }
    void TearDown() override
    {
        CloseMessages();
        TraceLogCapture::TearDown();
    }
    bool Open() { return OpenMessages(userFile_, data_, program_); }
    int CountLabel(const QString& label) const { return NewLabels().count(label); }

    QTemporaryDir dirs_;
    QString data_;
    QString program_;
    QString userFile_;
};

struct LookupCase {
    int number;
    const char* text;
};

TEST_F(MessagesDatabase, UserFileThenMainFileThenBuiltInTable)
{
    Write(userFile_, "# user\n197=Answer the question\n");
    Write(program_ + "Messages.mge", "197=Main question\n198=Choose a file\n");
    ASSERT_TRUE(Open());
    EXPECT_TRUE(UserMessagesOpen());
    EXPECT_TRUE(MainMessagesOpen());
    EXPECT_EQ(UserMessagesPath(), userFile_);

    const LookupCase cases[] = {
        {197, "Answer the question"},      // the user file wins
        {198, "Choose a file"},            // the user file lacks it: main file
        {199, "Un message d'information"}, // neither has it: built-in table
        {99999, "Message #99999"},         // nowhere
    };
    for (const LookupCase& c : cases)
        EXPECT_EQ(GetMessage(c.number), QString::fromUtf8(c.text)) << c.number;

    // the built-in text comes after one trace line per database
    const auto user = Find("Try to get Id message from User database: 199");
    const auto main = Find("Unable to get Id message from Main database: 199");
    ASSERT_TRUE(user && main);
    EXPECT_EQ(user->detail, MessageStore::EmptyText);
    EXPECT_FALSE(Find("Try to get Id message from User database: 197"));
    // a number found nowhere is reported once, in the log only
    EXPECT_EQ(CountLabel("## Error - Unable to get the Message Id from all databases: 99999\tMessage #99999"), 1);
    EXPECT_FALSE(Find("## Error - Unable to get the Message Id from all databases: 199\tUn message d'information"));
}

TEST_F(MessagesDatabase, BuiltInTableServesWhenNoFileExists)
{
    EXPECT_FALSE(Open());
    EXPECT_FALSE(UserMessagesOpen());
    EXPECT_FALSE(MainMessagesOpen());
    EXPECT_EQ(GetMessage(399), "Fichier");
    EXPECT_EQ(GetMessage(399, true), "399> Fichier");
    EXPECT_EQ(GetMessage(0), "FR");
    EXPECT_EQ(GetMessage(10000), "Keyholm");
    EXPECT_TRUE(Find("Unable to get Id message from Main database: 399"));
    EXPECT_TRUE(Find("User messages database is already closed") || Find("#1] Messages access is closed: User"));
    // no store at all (before opening, after closing) works the same
    CloseMessages();
    EXPECT_EQ(GetMessage(295), "Traitement en cours, patientez s.v.p...");
}

TEST_F(MessagesDatabase, DefaultUserFileIsTheDataFoldersMessagesFile)
{
    Write(data_ + "Messages.mge", "220=Cancel\n");
    userFile_ = data_ + "Missing.mge";
    ASSERT_TRUE(Open());
    EXPECT_EQ(UserMessagesPath(), data_ + "Messages.mge");
    EXPECT_EQ(GetMessage(220), "Cancel");
}

TEST_F(MessagesDatabase, LineBreakMarkupAndQuotedBlanks)
{
    Write(program_ + "Messages.mge",
          "296 = \"File missing: \"\r\n"
          "500=one<BR>two<br>three\r\n"
          "198=\r\n");
    ASSERT_TRUE(Open());
    EXPECT_EQ(GetMessage(296), "File missing: ");
    EXPECT_EQ(GetMessage(500), "one\r\ntwo\r\nthree");
    EXPECT_EQ(GetMessage(198), QString::fromUtf8("Sélectionnez un fichier")); // an empty text falls through
}

TEST_F(MessagesDatabase, DamagedFileIsReportedOnceAndFallsThrough)
{
    Write(userFile_, "197=Bonjour\nthis line is wrong\n197=again\nabc=def\n");
    Write(program_ + "Messages.mge", "\xff\xfe broken text\n198=x\n");
    ASSERT_TRUE(Open());
    EXPECT_TRUE(UserMessagesOpen());  // its sound lines serve
    EXPECT_FALSE(MainMessagesOpen()); // not UTF-8: refused whole
    EXPECT_EQ(GetMessage(197), "Bonjour");
    EXPECT_EQ(GetMessage(198), QString::fromUtf8("Sélectionnez un fichier"));
    GetMessage(197);
    GetMessage(198);

    const QStringList labels = NewLabels();
    int reports = 0;
    for (const QString& label : labels) {
        if (label.startsWith("## Error - Damaged messages file: "))
            ++reports;
    }
    EXPECT_EQ(reports, 2); // one for each file, at opening only
    const auto user = std::find_if(labels.cbegin(), labels.cend(), [&](const QString& l) {
        return l.startsWith("## Error - Damaged messages file: " + userFile_);
    });
    ASSERT_NE(user, labels.cend());
    EXPECT_TRUE(user->contains("line 2")) << user->toStdString();
    EXPECT_TRUE(user->contains("line 3")) << user->toStdString();
    EXPECT_TRUE(user->contains("line 4")) << user->toStdString();
}

// A stray or hostile file cannot flood the log nor hold up the start.
TEST_F(MessagesDatabase, HugeOrNoisyFilesAreBounded)
{
    QByteArray noisy = "197=Bonjour\n";
    for (int i = 0; i < 20000; ++i)
        noisy += "noise\n";
    Write(userFile_, noisy);
    Write(program_ + "Messages.mge", "198=" + QByteArray(5 * 1024 * 1024, 'x') + "\n");
    ASSERT_TRUE(Open());
    EXPECT_EQ(GetMessage(197), "Bonjour");
    EXPECT_FALSE(MainMessagesOpen()); // too large: not read
    EXPECT_EQ(GetMessage(198), QString::fromUtf8("Sélectionnez un fichier"));

    const QStringList labels = NewLabels();
    const auto user = std::find_if(labels.cbegin(), labels.cend(), [&](const QString& l) {
        return l.startsWith("## Error - Damaged messages file: " + userFile_);
    });
    ASSERT_NE(user, labels.cend());
    EXPECT_LT(user->size(), 400) << user->toStdString();
    EXPECT_TRUE(user->contains("19995 more")) << user->toStdString();
    EXPECT_TRUE(std::any_of(labels.cbegin(), labels.cend(), [](const QString& l) {
        return l.startsWith("## Error - Damaged messages file: ") && l.contains("too large");
    }));
}

TEST_F(MessagesDatabase, ClosingWritesItsLinesAndLookupsGoOn)
{
    Write(userFile_, "197=User\n");
    Write(program_ + "Messages.mge", "197=Main\n");
    ASSERT_TRUE(Open());
    EXPECT_TRUE(CloseUserMessages("from init Lib"));
    EXPECT_FALSE(UserMessagesOpen());
    EXPECT_TRUE(UserMessagesPath().isEmpty());
    EXPECT_EQ(GetMessage(197), "Main");
    const auto closed = Find("#1] Messages access is closed: User");
    ASSERT_TRUE(closed);
    EXPECT_TRUE(closed->detail.contains(userFile_));
    EXPECT_EQ(Find("#1] Ask to close Messages access: User")->detail, "from init Lib");

    EXPECT_TRUE(CloseMainMessages({}));
    EXPECT_TRUE(Find("Close the #2 Messages access: Main"));
    EXPECT_EQ(GetMessage(197), QString::fromUtf8("Répondez à la question"));
}

TEST(MessageStoreParse, ReadsNumbersTextsAndListsBadLines)
{
    QStringList problems;
    const auto texts = MessageStore::Parse("\xEF\xBB\xBF# comment\r\n"
                                           "\r\n"
                                           "  12 =  douze  \r\n"
                                           "13=\"  treize \"\r\n"
                                           "14=a = b\r\n"
                                           "-1=negative\r\n"
                                           "12=twice\r\n",
                                           &problems);
    EXPECT_EQ(texts.size(), 3);
    EXPECT_EQ(texts.value(12), "douze");
    EXPECT_EQ(texts.value(13), "  treize ");
    EXPECT_EQ(texts.value(14), "a = b");
    ASSERT_EQ(problems.size(), 2);
    EXPECT_TRUE(problems[0].startsWith("line 6"));
    EXPECT_TRUE(problems[1].startsWith("line 7"));
}

TEST(BuiltInMessages, HoldTheNumbersInUseAndNoOthers)
{
    const int inUse[] = {0,   164, 174, 175, 176, 181, 193, 197, 198, 199, 200, 207,  208,  209,
                         218, 220, 224, 252, 282, 283, 284, 285, 286, 287, 288, 295,  296,  371,
                         372, 373, 399, 411, 412, 420, 425, 492, 495, 813, 1046, 10000, 11137, 11452, 13227};
    for (int number : inUse) {
        const auto text = BuiltInMessageText(number);
        EXPECT_TRUE(text && !text->isEmpty()) << number;
    }
    for (int number : {1, 99999})
        EXPECT_FALSE(BuiltInMessageText(number)) << number;
    EXPECT_EQ(*BuiltInMessageText(252) + *BuiltInMessageText(11137),
              "Vous devez obligatoirement saisir le texte à rechercher.");
    EXPECT_EQ(*BuiltInMessageText(200), "Tous les fichiers (*.*)|*.*");
    EXPECT_EQ(*BuiltInMessageText(1046) + "...", "&A propos de ...");
}
