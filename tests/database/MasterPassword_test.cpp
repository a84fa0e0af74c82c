// The master password through the real main window: the prompt window, the
// two tries at opening, setting, changing and removing it, and the file that
// never reads without it.

#include "DatabaseFileFixture.h"

#include "services/BackupCopies.h"
#include "services/Environment.h"
#include "services/TraceLog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeView>

namespace keyholm::test {
namespace {

const QString Master = QStringLiteral("Clé-Maîtresse 42");

class MasterPasswordTest : public DatabaseFileFixture {
protected:
    void SetUp() override
    {
        DatabaseFileFixture::SetUp();
        path_ = PathOf("Coffre.khm");
        WriteDatabase(path_, Master);
    }

    // Opens the protected file through its recent-list entry.
    void OpenFromRecentList(const std::function<void(ModalHelper&)>& answer)
    {
        AjoutMenuFichierOuvert(&Window(), path_, RecentFilesSuffix, {});
        ModalHelper modal;
        answer(modal);
        Ui().MenuAncienFichier[0]->trigger();
        EXPECT_TRUE(modal.Wait());
    }
    // Opens the protected file with its password.
    void OpenWithMaster()
    {
        const auto opening = Open(path_, [](ModalHelper& modal) { Answer(modal, Master); });
        ASSERT_TRUE(opening.open);
        ASSERT_FALSE(State().DatabaseChanged());
    }

    QString path_;
};

TEST_F(MasterPasswordTest, ThePromptShowsItsStateAndConfirmsOnlyARealText)
{
    QTemporaryDir leds;
    ASSERT_TRUE(leds.isValid());
    for (const auto& [name, value] :
        { std::pair { "input3::capslock", "1\n" }, std::pair { "input3::numlock", "0\n" } }) {
        QDir().mkpath(leds.filePath(name));
        QFile brightness(leds.filePath(QString(name) + "/brightness"));
        ASSERT_TRUE(brightness.open(QIODevice::WriteOnly));
        brightness.write(value);
    }
    SetKeyboardLedFolder(leds.path());

    const auto opening = Open(path_, [](ModalHelper& modal) {
        modal.Expect("Lib_PasswordAsk")
            .Do([](QWidget* window) {
                EXPECT_EQ(window->windowTitle(), "Mot de passe - Coffre.khm");
                EXPECT_EQ(window->findChild<QLabel*>("LabelInfo")->text(),
                    "Entrez le mot de passe pour accèder aux données :");
                auto* field = window->findChild<QLineEdit*>("T_Find");
                auto* confirm = window->findChild<QPushButton*>("Valider");
                ASSERT_NE(field, nullptr);
                ASSERT_NE(confirm, nullptr);
                EXPECT_EQ(field->echoMode(), QLineEdit::Password);
                EXPECT_FALSE(confirm->isEnabled());
                EXPECT_TRUE(confirm->isDefault());
                field->setText("   ");
                EXPECT_FALSE(confirm->isEnabled());
                field->setText(" x ");
                EXPECT_TRUE(confirm->isEnabled());

                auto* status = window->findChild<QStatusBar*>("StatusKeyboard");
                ASSERT_NE(status, nullptr);
                struct Panel {
                    const char* key;
                    const char* text;
                    const char* tip;
                    bool on;
                };
                for (const Panel& p : { Panel { "Caps", "Maj", "Mode Majuscule actif ou non", true },
                         Panel { "Num", "Num", "Pavé numérique en direct ou non", false },
                         Panel { "Ins", "INSER", "Mode Insertion activé ou pas", true } }) {
                    auto* panel = status->findChild<QLabel*>(p.key);
                    ASSERT_NE(panel, nullptr) << p.key;
                    EXPECT_EQ(panel->text(), p.text);
                    EXPECT_EQ(panel->toolTip(), p.tip);
                    EXPECT_TRUE(panel->isVisibleTo(window)) << p.key;
                    EXPECT_EQ(panel->isEnabled(), p.on) << p.key;
                }
            })
            .Click("Annuler");
    });
    EXPECT_FALSE(opening.open);
    EXPECT_FALSE(opening.dropFromRecent);
}

TEST_F(MasterPasswordTest, LockStatesThePlatformDoesNotTellAreNotShown)
{
    QTemporaryDir empty;
    SetKeyboardLedFolder(empty.path());
    Open(path_, [](ModalHelper& modal) {
        modal.Expect("Lib_PasswordAsk")
            .Do([](QWidget* window) {
                EXPECT_FALSE(window->findChild<QLabel*>("Caps")->isVisibleTo(window));
                EXPECT_FALSE(window->findChild<QLabel*>("Num")->isVisibleTo(window));
                // A capital typed without Shift tells that Caps Lock is on.
                QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "A");
                QApplication::sendEvent(window->findChild<QLineEdit*>("T_Find"), &press);
                EXPECT_TRUE(window->findChild<QLabel*>("Caps")->isVisibleTo(window));
                EXPECT_TRUE(window->findChild<QLabel*>("Caps")->isEnabled());
            })
            .Click("Annuler");
    });
}

// ---- The two tries at opening --------------------------------------------------

struct TriesCase {
    const char* name;
    std::vector<std::optional<QString>> typed; // nothing: cancel
    bool opens;
    bool dropped;
    std::vector<QString> messages; // information boxes, in order
};

void PrintTo(const TriesCase& c, std::ostream* os)
{
    *os << c.name;
}

const QString Retry = QStringLiteral("Mot de passe non correct.\nEssayez à nouveau d'entrer votre mot de passe.");
const QString GiveUp
    = QStringLiteral("Mot de passe toujours incorrect.\nImpossible d'ouvrir la base de données Password.");

class OpeningTriesTest : public MasterPasswordTest, public ::testing::WithParamInterface<TriesCase> { };

TEST_P(OpeningTriesTest, AtMostTwoAndOnlyTheRightPasswordAsTyped)
{
    const TriesCase& c = GetParam();
    OpenFromRecentList([&](ModalHelper& modal) {
        for (std::size_t i = 0; i < c.typed.size(); ++i) {
            Answer(modal, c.typed[i]);
            if (i < c.messages.size())
                modal.ExpectMessageBox().Click(QMessageBox::Ok);
        }
    });
    EXPECT_EQ(State().DatabaseOpen(), c.opens);
    EXPECT_EQ(Tree().IsEmpty(), !c.opens);
    EXPECT_EQ(bExisteMenuFichierOuvert(path_).has_value(), !c.dropped);
    // A backup only of a file that opened: no prompt answered wrongly or
    // cancelled rolls the copies along.
    EXPECT_EQ(Bytes(NewestBackup(path_)), c.opens ? Bytes(path_) : QByteArray());
    if (c.opens) {
        EXPECT_EQ(State().CurrentNode()->Image(), "InfoNot");
        EXPECT_FALSE(State().DatabaseChanged());
    }
}

INSTANTIATE_TEST_SUITE_P(Tries, OpeningTriesTest,
    ::testing::Values(TriesCase { "right", { Master }, true, false, {} },
        TriesCase { "wrong_then_right", { "faux", Master }, true, false, { Retry } },
        TriesCase { "two_wrong", { "faux", "encore faux" }, false, true, { Retry, GiveUp } },
        TriesCase { "wrong_then_cancel", { "faux", std::nullopt }, false, false, { Retry } },
        TriesCase { "cancel", { std::nullopt }, false, false, {} },
        // Set trimmed, compared as typed: blanks around it make it wrong.
        TriesCase { "padded_twice", { " " + Master, Master + " " }, false, true, { Retry, GiveUp } }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MasterPasswordTest, TheInformationBoxesSayWhy)
{
    ModalHelper modal;
    Answer(modal, "faux");
    modal.ExpectMessageBox().Click(QMessageBox::Ok);
    Answer(modal, "faux");
    modal.ExpectMessageBox().Click(QMessageBox::Ok);
    EXPECT_FALSE(Window().File().OpenPasswordFile(path_).open);
    ASSERT_TRUE(modal.Wait());
    std::vector<QString> texts;
    for (const SeenWindow& seen : modal.Seen())
        if (seen.className == "QMessageBox")
            texts.push_back(seen.text);
    EXPECT_EQ(texts, (std::vector<QString> { Retry, GiveUp }));
}

TEST_F(MasterPasswordTest, ARootPasswordOfAnUnprotectedFileIsAskedAndThenProtectsIt)
{
    const QString loose = PathOf("Ancienne.khm");
    WriteDatabase(loose, {}, true, CodeField(Master, FixedKeyText));
    ASSERT_FALSE(IsProtected(loose));
    const auto refused = Open(loose, [](ModalHelper& modal) {
        Answer(modal, "faux");
        modal.ExpectMessageBox().Click(QMessageBox::Ok);
        Answer(modal, std::nullopt);
    });
    EXPECT_FALSE(refused.open);
    EXPECT_FALSE(refused.dropFromRecent);
    Window().File().ClosePasswordFile();

    ASSERT_TRUE(Open(loose, [](ModalHelper& modal) { Answer(modal, Master); }).open);
    EXPECT_TRUE(State().DatabaseChanged()) << "the protection is still to be written";
    ASSERT_TRUE(Window().File().SavePasswordFileUnder(false));
    EXPECT_TRUE(IsProtected(loose));
    EXPECT_EQ(ReadDatabase(loose), nullptr);
    EXPECT_NE(ReadDatabase(loose, Master), nullptr);
}

TEST_F(MasterPasswordTest, AnOlderProtectedFileLosesItsRootPasswordAtItsNextSave)
{
    const QString older = PathOf("Ancien.khm");
    WriteDatabase(older, Master, true, CodeField(Master, FixedKeyText));
    ASSERT_TRUE(Open(older, [](ModalHelper& modal) { Answer(modal, Master); }).open);
    EXPECT_TRUE(Tree().Root()->Tag().isEmpty());
    ChangeRoot("Ma base revue");
    ASSERT_TRUE(Window().File().SavePasswordFileUnder(false));
    const auto saved = ReadDatabase(older, Master);
    ASSERT_NE(saved, nullptr);
    EXPECT_TRUE(saved->Root()->Tag().isEmpty());
    // The removal checks the password against the file's key, not the root.
    ModalHelper modal;
    modal.Expect("Lib_SaisieDlg").Type("TextReponse", Master).Click("Oui");
    Ui().tbToolBar->ButtonMenu("Security", "Password")->trigger();
    ASSERT_TRUE(modal.Wait());
    EXPECT_FALSE(Window().File().Master().IsSet());
    EXPECT_TRUE(State().DatabaseChanged());
}

// ---- Changing and removing -------------------------------------------------------

// One window of a change, in order: a prompt answered with a text (or
// cancelled), or an information box.
struct Step {
    std::optional<QString> typed;
    const char* box = nullptr;
};
Step Box(const char* text)
{
    return { std::nullopt, text };
}

struct ChangeCase {
    const char* name;
    std::vector<Step> steps; // the current password first
    bool changed;
};

void PrintTo(const ChangeCase& c, std::ostream* os)
{
    *os << c.name;
}

class ChangeTest : public MasterPasswordTest, public ::testing::WithParamInterface<ChangeCase> { };

TEST_P(ChangeTest, NeedsTheCurrentPasswordAndTheSameNewOneTwice)
{
    const ChangeCase& c = GetParam();
    OpenWithMaster();
    const QString rootTag = Tree().Root()->Tag();
    {
        ModalHelper modal;
        std::vector<const char*> boxes;
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            if (step.box) {
                modal.ExpectMessageBox().Click(QMessageBox::Ok);
                boxes.push_back(step.box);
            } else if (i == 0) {
                Answer(modal, step.typed, [](QWidget* window) {
                    EXPECT_EQ(window->findChild<QLabel*>("LabelInfo")->text(),
                        "Saisissez le mot de passe actuel pour modification :");
                });
            } else {
                Answer(modal, step.typed);
            }
        }
        ToolButton("Security")->trigger();
        ASSERT_TRUE(modal.Wait());
        std::vector<QString> seen;
        for (const SeenWindow& window : modal.Seen()) {
            if (window.className == "QMessageBox")
                seen.push_back(window.text);
        }
        ASSERT_EQ(seen.size(), boxes.size());
        for (std::size_t i = 0; i < boxes.size(); ++i)
            EXPECT_EQ(seen[i], QString::fromUtf8(boxes[i]));
    }
    EXPECT_EQ(State().DatabaseChanged(), c.changed);
    if (!c.changed) {
        EXPECT_EQ(Tree().Root()->Tag(), rootTag);
        EXPECT_TRUE(Window().File().Master().IsSet());
        return;
    }
    EXPECT_TRUE(Tree().Root()->Tag().isEmpty());
    ToolButton("Save")->trigger();
    EXPECT_EQ(ReadDatabase(path_, Master), nullptr);
    EXPECT_NE(ReadDatabase(path_, "Nouveau secret"), nullptr);
    // The next opening asks for the new one.
    Window().File().ClosePasswordFile();
    EXPECT_TRUE(Open(path_, [](ModalHelper& modal) { Answer(modal, "Nouveau secret"); }).open);
}

const char* const Different = "Unable to change the password. First and second password are different.";

INSTANTIATE_TEST_SUITE_P(Cases, ChangeTest,
    ::testing::Values(ChangeCase { "right", { { Master }, { "Nouveau secret" }, { "Nouveau secret" } }, true },
        // The current one is compared trimmed, the new one kept trimmed.
        ChangeCase { "right_with_blanks", { { " " + Master + " " }, { " Nouveau secret" }, { "Nouveau secret " } },
            true },
        ChangeCase { "wrong_current", { { "faux" }, Box("Mot de passe incorrect, modification non autorisée") },
            false },
        // A mistyped confirmation asks both again.
        ChangeCase { "different_then_same",
            { { Master }, { "Nouveau secret" }, { "Autre secret" }, Box(Different), { "Nouveau secret" },
                { "Nouveau secret" } },
            true },
        ChangeCase { "different_then_cancelled",
            { { Master }, { "Nouveau secret" }, { "Autre secret" }, Box(Different), { std::nullopt } }, false },
        ChangeCase { "cancel_current", { { std::nullopt } }, false },
        ChangeCase { "cancel_confirmation", { { Master }, { "Nouveau secret" }, { std::nullopt } }, false }),
    [](const auto& info) { return std::string(info.param.name); });

// Renaming the root in place changes its text only: the password can still
// be changed afterwards, with the current one.
TEST_F(MasterPasswordTest, ARootRenamedInPlaceKeepsThePasswordChangeable)
{
    OpenWithMaster();
    TreeNode* root = Tree().Root();
    Window().Entries().tvTreeView_NodeClick(root);
    ASSERT_TRUE(RenameInPlace("Coffre du foyer"));
    ASSERT_EQ(root->Text(), "Coffre du foyer");
    ToolButton("Save")->trigger();
    {
        ModalHelper modal;
        Answer(modal, Master);
        Answer(modal, "Nouveau secret");
        Answer(modal, "Nouveau secret");
        ToolButton("Security")->trigger();
        ASSERT_TRUE(modal.Wait());
    }
    ToolButton("Save")->trigger();
    EXPECT_EQ(RootText(path_, "Nouveau secret"), "Coffre du foyer");
    EXPECT_EQ(ReadDatabase(path_, Master), nullptr);
}

TEST_F(MasterPasswordTest, RemovalNeedsThePasswordAndThenSavesWithoutIt)
{
    OpenWithMaster();
    const QString rootTag = Tree().Root()->Tag();
    QAction* removal = Ui().tbToolBar->ButtonMenu("Security", "Password");
    ASSERT_NE(removal, nullptr);
    {
        ModalHelper modal;
        modal.Expect("Lib_SaisieDlg").Type("TextReponse", "faux").Click("Oui");
        modal.ExpectMessageBox().Click(QMessageBox::Ok);
        removal->trigger();
        ASSERT_TRUE(modal.Wait());
        EXPECT_EQ(modal.Seen().back().title, "Suppression du mot de passe");
        EXPECT_EQ(modal.Seen().back().text, "Mot de passe incorrect. La suppression n'est pas réalisée.");
    }
    EXPECT_EQ(Tree().Root()->Tag(), rootTag);
    EXPECT_FALSE(State().DatabaseChanged());
    {
        ModalHelper modal;
        modal.Expect("Lib_SaisieDlg").Type("TextReponse", Master).Click("Oui");
        removal->trigger();
        ASSERT_TRUE(modal.Wait());
    }
    EXPECT_EQ(Tree().Root()->Tag(), QString());
    EXPECT_TRUE(State().DatabaseChanged());
    {
        // Closing asks to save the removal.
        ModalHelper modal;
        modal.ExpectMessageBox().Click(QMessageBox::Yes);
        Ui().MenuBaseClose->trigger();
        ASSERT_TRUE(modal.Wait());
    }
    EXPECT_FALSE(IsProtected(path_));
    EXPECT_NE(ReadDatabase(path_), nullptr);
    EXPECT_TRUE(Open(path_).open) << "no prompt any more";
}

// ---- The file never reads without it ------------------------------------------------

TEST_F(MasterPasswordTest, TheSavedFileAndTheLogHoldNoPlainText)
{
    QTemporaryDir logFolder;
    StopTraceLog();
    ASSERT_TRUE(StartTraceLog(true, logFolder.path() + "/", {}, "test", false));
    OpenWithMaster();
    // A save by the window, with the key kept from the opening.
    ChangeRoot("Ma base enregistrée");
    ToolButton("Save")->trigger();
    ASSERT_FALSE(State().DatabaseChanged());
    const QByteArray raw = Bytes(path_);
    ASSERT_FALSE(raw.isEmpty());

    const QString backup = NewestBackup(path_);
    for (const QByteArray& bytes : { raw, Bytes(backup) }) {
        for (const QString& plain : { EntryTitle, Login, Secret, QString("Code agence"), QString("Conseillère"), Master,
                 QString("Ma base"), QString("Banque") }) {
            EXPECT_FALSE(bytes.contains(plain.toLatin1())) << plain.toStdString();
            EXPECT_FALSE(bytes.contains(plain.toUtf8())) << plain.toStdString();
            const QByteArray wide(reinterpret_cast<const char*>(plain.utf16()), plain.size() * 2);
            EXPECT_FALSE(bytes.contains(wide)) << plain.toStdString();
        }
    }
    for (const QString& wrong : { QString(), QString("faux"), " " + Master })
        EXPECT_EQ(DecodeFile(path_, FixedKeyText, wrong).status, CipherEngine::FileStatus::WrongKey);
    const auto tree = ReadDatabase(path_, Master);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->Root()->Text(), "Ma base enregistrée");

    Window().File().ClosePasswordFile();
    FlushTraceLog();
    const QByteArray log = Bytes(TraceLogPath());
    StopTraceLog();
    EXPECT_FALSE(log.isEmpty());
    EXPECT_FALSE(log.contains(Master.toUtf8()));
}

} // namespace
} // namespace keyholm::test
