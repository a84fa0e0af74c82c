// Opening, closing, creating and saving database files through the real
// main window: the unsaved-changes question, backups, unreadable files, the
// recent files, the automatic close and the file commands' states.

#include "DatabaseFileFixture.h"
#include "database/WorkingOptions.h"

#include "components/CipherEngine.h"
#include "services/BackupCopies.h"
#include "services/Environment.h"
#include "services/MessagesDatabase.h"
#include "services/Preferences.h"
#include "support/FullDisk.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

#include <sys/stat.h>

namespace keyholm::test {
namespace {

using DatabaseFileTest = DatabaseFileFixture;

// ---- The unsaved-changes question -----------------------------------------

struct QuestionCase {
    const char* name;
    QMessageBox::StandardButton answer;
    bool goesOn; // the opening or closing happens
    bool saved; // the changed database was written first
};

void PrintTo(const QuestionCase& c, std::ostream* os)
{
    *os << c.name;
}

const QuestionCase QuestionCases[] = {
    { "yes saves first", QMessageBox::Yes, true, true },
    { "no drops the changes", QMessageBox::No, true, false },
    { "cancel keeps the database", QMessageBox::Cancel, false, false },
};

class UnsavedChangesTest : public DatabaseFileFixture, public ::testing::WithParamInterface<QuestionCase> {
protected:
    void SetUp() override
    {
        DatabaseFileFixture::SetUp();
        first_ = PathOf("Perso.khm");
        second_ = PathOf("Travail.khm");
        WriteDatabase(first_, {});
        WriteDatabase(second_, {});
        ASSERT_TRUE(Open(first_).open);
        ChangeRoot("Ma base modifiée");
    }
    // Checks the question's text, then answers it.
    void ExpectQuestion(ModalHelper& modal)
    {
        modal.ExpectMessageBox()
            .Do([](QWidget* box) {
                EXPECT_EQ(box->windowTitle(), "Fermeture du fichier courant");
                EXPECT_TRUE(qobject_cast<QMessageBox*>(box)->text().startsWith(
                    "Des informations modifiées n'ont pas été enregistrées."));
            })
            .Click(GetParam().answer);
    }
    void ExpectOutcome(const QString& openAfter)
    {
        const QuestionCase& c = GetParam();
        EXPECT_EQ(RootText(first_), c.saved ? "Ma base modifiée" : "Ma base");
        if (c.goesOn) {
            EXPECT_EQ(State().Tag(), openAfter);
            EXPECT_FALSE(State().DatabaseChanged());
        } else {
            EXPECT_EQ(State().Tag(), first_);
            EXPECT_EQ(Tree().Root()->Text(), "Ma base modifiée");
            EXPECT_TRUE(State().DatabaseChanged());
        }
    }
    QString first_;
    QString second_;
};

TEST_P(UnsavedChangesTest, ComesBeforeOpeningARecentFile)
{
    AjoutMenuFichierOuvert(&Window(), second_, RecentFilesSuffix, {});
    ASSERT_EQ(sGetMenuFichierLong({}, 1), second_);
    {
        ModalHelper modal;
        ExpectQuestion(modal);
        Ui().MenuAncienFichier[0]->trigger();
        ASSERT_TRUE(modal.Wait());
    }
    ExpectOutcome(second_);
}

TEST_P(UnsavedChangesTest, ComesBeforeClosing)
{
    {
        ModalHelper modal;
        ExpectQuestion(modal);
        ToolButton("Close")->trigger();
        ASSERT_TRUE(modal.Wait());
    }
    ExpectOutcome(QString());
    if (GetParam().goesOn) {
        EXPECT_TRUE(Tree().IsEmpty());
        EXPECT_TRUE(Ui().tvTreeView->isHidden());
        EXPECT_EQ(Window().windowTitle(), "Keyholm") << "no closed database named in the title";
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, UnsavedChangesTest, ::testing::ValuesIn(QuestionCases), [](const auto& info) {
    return std::string(info.param.answer == QMessageBox::Yes ? "Yes"
            : info.param.answer == QMessageBox::No           ? "No"
                                                             : "Cancel");
});

TEST_F(DatabaseFileTest, ACancelledOpenDialogLeavesTheDatabaseAsItWas)
{
    const QString path = PathOf("Perso.khm");
    WriteDatabase(path, {});
    ASSERT_TRUE(Open(path).open);
    ChangeRoot("Ma base modifiée");
    {
        // "No" drops nothing yet: the changes stay marked while the
        // database stays open.
        ModalHelper modal;
        modal.ExpectMessageBox().Click(QMessageBox::No);
        modal.Expect("CMDialogOpen").Reject();
        Window().File().MenuBaseOpen_Click();
        ASSERT_TRUE(modal.Wait());
    }
    EXPECT_EQ(State().Tag(), path);
    EXPECT_EQ(Tree().Root()->Text(), "Ma base modifiée");
    EXPECT_TRUE(State().DatabaseChanged());
    EXPECT_TRUE(Ui().tvTreeView->isVisible());
}

TEST_F(DatabaseFileTest, AFailedSaveAtTheQuestionKeepsTheDatabaseOpen)
{
    const QString path = PathOf("Perso.khm");
    WriteDatabase(path, {});
    ASSERT_TRUE(Open(path).open);
    ChangeRoot("Ma base modifiée");
    ASSERT_EQ(::chmod(QFile::encodeName(folder_).constData(), 0555), 0);
    {
        ModalHelper modal;
        modal.ExpectMessageBox().Click(QMessageBox::Yes);
        ToolButton("Close")->trigger();
        ASSERT_TRUE(modal.Wait());
    }
    ::chmod(QFile::encodeName(folder_).constData(), 0755);
    EXPECT_TRUE(Reported("Error on file writing:\r\n" + path));
    EXPECT_EQ(State().Tag(), path);
    EXPECT_TRUE(State().DatabaseChanged());
    EXPECT_EQ(RootText(path), "Ma base");
}

// ---- Opening ---------------------------------------------------------------

TEST_F(DatabaseFileTest, OpenCommandShowsTheInformationNodeAndFollowsTheOpenState)
{
    struct Case {
        const char* name;
        bool withInfo;
    };
    for (const Case c : { Case { "stored information node", true }, Case { "added by the tree check", false } }) {
        SCOPED_TRACE(c.name);
        const QString path = PathOf("Perso.khm");
        WriteDatabase(path, {}, c.withInfo);
        {
            ModalHelper modal;
            modal.Expect("CMDialogOpen")
                .Do([](QWidget* dialog) { EXPECT_EQ(dialog->windowTitle(), "Ouvrir un fichier Keyholm"); })
                .Type("fileNameEdit", path)
                .Accept();
            ToolButton("Open")->trigger();
            ASSERT_TRUE(modal.Wait());
        }
        EXPECT_EQ(State().Tag(), path);
        EXPECT_EQ(Window().windowTitle(), "Keyholm - Perso.khm");
        ASSERT_NE(State().CurrentNode(), nullptr);
        EXPECT_EQ(State().CurrentNode()->Image(), "InfoNot");
        EXPECT_EQ(State().CurrentNode()->Parent(), Tree().Root());
        EXPECT_FALSE(State().TrashNodeKey().isEmpty());
        EXPECT_TRUE(Ui().tvTreeView->isVisible());
        EXPECT_EQ(sGetMenuFichierLong({}, 1), path);
        EXPECT_EQ(GetTextOptionAt("Options_Password OpenValue", {}, 0, "Keyholm"), path);
        for (const char* key : { "Close", "Save", "SaveUnder", "Security" })
            EXPECT_TRUE(ToolButton(key)->isEnabled()) << key;
        EXPECT_FALSE(ToolButton("Open")->isEnabled());
        EXPECT_FALSE(Ui().MenuBaseNew->isEnabled());
        EXPECT_TRUE(Ui().MenuBasePassword->isEnabled());
        EXPECT_TRUE(Ui().PasswordTabView->isTabEnabled(int(DetailPage::Entry)));

        // Only the repair of a missing information node is a change.
        EXPECT_EQ(State().DatabaseChanged(), !c.withInfo);
        State().SetDatabaseChanged(false);
        Ui().MenuBaseClose->trigger();
        EXPECT_FALSE(State().DatabaseOpen());
        EXPECT_TRUE(ToolButton("Open")->isEnabled());
        EXPECT_FALSE(ToolButton("Save")->isEnabled());
        EXPECT_FALSE(Ui().MenuBaseSaveUnder->isEnabled());
        EXPECT_FALSE(Ui().PasswordTabView->isTabEnabled(int(DetailPage::Entry)));
    }
}

TEST_F(DatabaseFileTest, FilesThatCannotBeReadLeaveNoDatabaseOpen)
{
    const QString notATree = PathOf("Vide.khm");
    {
        const auto key = MakeFileKey(FixedKeyText, {}, CheapKey);
        ASSERT_TRUE(CodeFile("ceci n'est pas un arbre", notATree, *key));
    }
    const QString foreign = PathOf("Texte.khm");
    {
        QFile file(foreign);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Juste du texte, pas une base Keyholm.");
    }
    {
        ModalHelper modal;
        modal.ExpectMessageBox().Click(QMessageBox::Ok);
        EXPECT_FALSE(Open(notATree).open);
        ASSERT_TRUE(modal.Wait());
        ASSERT_EQ(modal.Seen().size(), 1u);
        // Boxes show line breaks as "\n".
        EXPECT_EQ(modal.Seen()[0].text, "Impossible de lire le contenu de la base Password : \n" + notATree);
    }
    Window().File().ClosePasswordFile(); // what every caller does after a failed opening
    EXPECT_TRUE(Tree().IsEmpty());
    EXPECT_FALSE(State().DatabaseOpen());
    EXPECT_FALSE(ToolButton("Save")->isEnabled());

    EXPECT_FALSE(Open(foreign).open);
    EXPECT_TRUE(Reported("Unable to read and decode the data file:\r\n" + foreign));
    EXPECT_TRUE(Tree().IsEmpty());
}

// One failure, one message: the opening's, with the decoding's reason below
// it; the busy text is gone afterwards.
TEST_F(DatabaseFileTest, EachUnreadableFileMakesOneMessageWithItsReason)
{
    const QString sound = PathOf("Saine.khm");
    WriteDatabase(sound, {});
    const QByteArray good = Bytes(sound);
    const QString master = QStringLiteral("Clé du coffre");
    const QString guarded = PathOf("Gardee.khm");
    WriteDatabase(guarded, master);
    QByteArray guardedDamaged = Bytes(guarded);
    guardedDamaged[guardedDamaged.size() - 40] = char(guardedDamaged[guardedDamaged.size() - 40] ^ 0x10);
    QByteArray flipped = good;
    flipped[good.size() / 2] = char(flipped[good.size() / 2] ^ 0x20);
    struct Case {
        const char* name;
        QByteArray content;
        const char* reason;
        bool asksPassword;
    };
    const Case cases[] = {
        { "damaged", flipped, "The file is damaged or incomplete.", false },
        { "truncated", good.left(good.size() - 1), "The file is damaged or incomplete.", false },
        { "foreign", "Juste du texte, pas une base Keyholm.", "The file is not a Keyholm database.", false },
        { "empty", QByteArray(), "The file is not a Keyholm database.", false },
        { "protected_and_damaged", guardedDamaged, "The file is damaged or incomplete.", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = PathOf(QString::fromUtf8(c.name) + ".khm");
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.content);
        }
        errors_.clear();
        ModalHelper modal;
        if (c.asksPassword)
            Answer(modal, master);
        EXPECT_FALSE(Window().File().OpenPasswordFile(path).open);
        ASSERT_TRUE(modal.Wait());
        ASSERT_EQ(errors_.size(), 1) << errors_.join(" | ").toStdString();
        EXPECT_TRUE(errors_[0].startsWith("Unable to read and decode the data file:\r\n" + path + "\r\n"));
        EXPECT_TRUE(errors_[0].endsWith(c.reason)) << errors_[0].toStdString();
        EXPECT_TRUE(Ui().theStatusBar->currentMessage().isEmpty()) << Ui().theStatusBar->currentMessage().toStdString();
        EXPECT_TRUE(Tree().IsEmpty());
    }
}

// Whatever way an opening through the tool bar fails, the busy text goes.
TEST_F(DatabaseFileTest, AFailedOpeningLeavesNoBusyText)
{
    const QString master = QStringLiteral("Clé du coffre");
    const QString path = PathOf("Gardee.khm");
    WriteDatabase(path, master);
    const std::function<void(ModalHelper&)> answers[] = {
        [](ModalHelper& modal) { Answer(modal, std::nullopt); },
        [](ModalHelper& modal) {
            Answer(modal, "faux");
            modal.ExpectMessageBox().Click(QMessageBox::Ok);
            Answer(modal, "encore faux");
            modal.ExpectMessageBox().Click(QMessageBox::Ok);
        },
    };
    for (const auto& answer : answers) {
        ModalHelper modal;
        modal.Expect("CMDialogOpen").Type("fileNameEdit", path).Accept();
        answer(modal);
        ToolButton("Open")->trigger();
        ASSERT_TRUE(modal.Wait());
        EXPECT_FALSE(State().DatabaseOpen());
        EXPECT_TRUE(Ui().theStatusBar->currentMessage().isEmpty()) << Ui().theStatusBar->currentMessage().toStdString();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(DatabaseFileTest, AnOpeningKeepsACopyOfTheBytesItOpenedOnceEach)
{
    const QString path = PathOf("Perso.khm");
    WriteDatabase(path, {});
    const QByteArray first = Bytes(path);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(Open(path).open);
    auto copy = [&](int number) { return Bytes(BackupFolder() + DatabaseCopyName(path, number)); };
    EXPECT_EQ(copy(1), first);
    EXPECT_TRUE(copy(2).isEmpty()) << "the same bytes make one copy";
    ChangeRoot("Ma base modifiée");
    ASSERT_TRUE(Window().File().SavePasswordFileUnder(false));
    ASSERT_TRUE(Open(path).open);
    EXPECT_EQ(copy(1), Bytes(path));
    EXPECT_EQ(copy(2), first);
    EXPECT_TRUE(QFile::exists(BackupFolder() + DatabaseMonthlyCopyName(path)));
}

TEST_F(DatabaseFileTest, AMissingFileIsSaidSo)
{
    const QString path = PathOf("Absente.khm");
    ModalHelper modal;
    modal.ExpectMessageBox().Click(QMessageBox::Ok);
    EXPECT_FALSE(Open(path).open);
    ASSERT_TRUE(modal.Wait());
    EXPECT_TRUE(modal.Seen()[0].text.startsWith("Unable to load the password database."));
    EXPECT_TRUE(modal.Seen()[0].text.endsWith(path));
}

// ---- Recent files ------------------------------------------------------------

TEST_F(DatabaseFileTest, RecentEntryFollowsAFileMovedIntoTheDataFolder)
{
    const QString first = PathOf("Ailleurs.khm");
    WriteDatabase(first, {});
    AjoutMenuFichierOuvert(&Window(), first, RecentFilesSuffix, {});
    const QString moved = DataFolder() + "Ailleurs.khm";
    QFile::remove(moved);
    ASSERT_TRUE(QFile::rename(first, moved));

    Ui().MenuAncienFichier[0]->trigger();
    EXPECT_EQ(State().Tag(), moved);
    EXPECT_EQ(sGetMenuFichierLong({}, 1), moved);
    EXPECT_FALSE(bExisteMenuFichierOuvert(first).has_value());
    EXPECT_EQ(RecentFileCaption(2), QString());
    Window().File().ClosePasswordFile();
    QFile::remove(moved);
}

TEST_F(DatabaseFileTest, RecentEntriesThatCannotBeOpenedLeaveTheList)
{
    const QString notes = PathOf("Notes.txt");
    WriteDatabase(notes, {});
    const QString gone = PathOf("Disparue.khm");
    WriteDatabase(gone, {});
    AjoutMenuFichierOuvert(&Window(), gone, RecentFilesSuffix, {});
    AjoutMenuFichierOuvert(&Window(), notes, RecentFilesSuffix, {});
    QFile::remove(gone);

    Ui().MenuAncienFichier[0]->trigger(); // Notes.txt: not a database name
    EXPECT_FALSE(State().DatabaseOpen());
    EXPECT_FALSE(bExisteMenuFichierOuvert(notes).has_value());
    EXPECT_EQ(sGetMenuFichierLong({}, 1), gone);
    {
        ModalHelper modal;
        modal.ExpectMessageBox().Click(QMessageBox::Ok);
        Ui().MenuAncienFichier[0]->trigger();
        ASSERT_TRUE(modal.Wait());
        EXPECT_EQ(modal.Seen()[0].text, GetMessage(296) + "\n" + gone);
    }
    EXPECT_EQ(sGetMenuFichierLong({}, 1), QString());
    EXPECT_EQ(GetTextOptionAt("Menu fichier Keyholm", "?", 1), QString()) << "the shortened list is stored";
}

// ---- Automatic close ---------------------------------------------------------

TEST_F(DatabaseFileTest, AnIdleChangedDatabaseIsSavedAndClosedAfterTheSixthTick)
{
    const QString path = PathOf("Perso.khm");
    WriteDatabase(path, {});
    Ui().Option->CheckAutoClose->setChecked(true);
    Ui().Option->SliderAutoClose->setValue(5);
    ASSERT_TRUE(Open(path).open);
    ASSERT_TRUE(Ui().TimerDatabaseClose->isActive());
    ChangeRoot("Ma base modifiée");

    auto tick = [this] { ASSERT_TRUE(QMetaObject::invokeMethod(Ui().TimerDatabaseClose, "timeout")); };
    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_EQ(State().IdleTicks(), 5);
    EXPECT_EQ(State().Tag(), path);
    EXPECT_EQ(RootText(path), "Ma base");

    tick();
    EXPECT_FALSE(State().DatabaseOpen());
    EXPECT_TRUE(Tree().IsEmpty());
    EXPECT_FALSE(Ui().TimerDatabaseClose->isActive());
    EXPECT_EQ(RootText(path), "Ma base modifiée");
    Ui().Option->CheckAutoClose->setChecked(false);
}

TEST_F(DatabaseFileTest, AnyCommandRestartsTheIdleCount)
{
    const QString path = PathOf("Perso.khm");
    WriteDatabase(path, {});
    Ui().Option->CheckAutoClose->setChecked(true);
    Ui().Option->SliderAutoClose->setValue(1);
    ASSERT_TRUE(Open(path).open);
    ASSERT_TRUE(QMetaObject::invokeMethod(Ui().TimerDatabaseClose, "timeout"));
    ToolButton("Save")->trigger();
    EXPECT_EQ(State().IdleTicks(), 0);
    ASSERT_TRUE(QMetaObject::invokeMethod(Ui().TimerDatabaseClose, "timeout"));
    EXPECT_TRUE(State().DatabaseOpen());
    ASSERT_TRUE(QMetaObject::invokeMethod(Ui().TimerDatabaseClose, "timeout"));
    EXPECT_FALSE(State().DatabaseOpen());
    Ui().Option->CheckAutoClose->setChecked(false);
}

// A list window that may show passwords does not keep the database open:
// a key in it counts as activity, and once the close is due the list goes
// first, then the database.
TEST_F(DatabaseFileTest, AnOpenListCountsAsActivityAndClosesBeforeTheDatabase)
{
    const QString path = PathOf("Perso.khm");
    WriteDatabase(path, {});
    Ui().Option->CheckAutoClose->setChecked(true);
    Ui().Option->SliderAutoClose->setValue(1);
    ASSERT_TRUE(Open(path).open);
    QDialog list(&Window());
    list.setObjectName("Lib_ListView");
    auto* field = new QLineEdit(&list);
    ModalHelper modal;
    modal.Expect("Lib_ListView").Do([&](QWidget*) {
        ASSERT_TRUE(QMetaObject::invokeMethod(Ui().TimerDatabaseClose, "timeout"));
        QTest::keyClick(field, Qt::Key_A);
        EXPECT_EQ(State().IdleTicks(), 0) << "a key in the list is activity";
        for (int i = 0; i < 3 && list.isVisible(); ++i)
            ASSERT_TRUE(QMetaObject::invokeMethod(Ui().TimerDatabaseClose, "timeout"));
        EXPECT_FALSE(list.isVisible()) << "the list went first";
    });
    EXPECT_EQ(list.exec(), QDialog::Rejected);
    EXPECT_TRUE(modal.Wait());
    QTRY_VERIFY(!State().DatabaseOpen());
    Ui().Option->CheckAutoClose->setChecked(false);
}

// ---- Creating and saving -----------------------------------------------------

TEST_F(DatabaseFileTest, ANewDatabaseReachesTheDiskOnlyWithItsPassword)
{
    Window().Options().FillDefaultCategories();
    const QString path = PathOf("Nouvelle.khm");
    {
        ModalHelper modal;
        modal.Expect("CMDialogOpen")
            .Do([](QWidget* dialog) { EXPECT_EQ(dialog->windowTitle(), "Nouveau fichier Keyholm"); })
            .Type("fileNameEdit", path)
            .Accept();
        modal.Expect("Lib_PasswordAsk")
            .Do([&](QWidget* window) {
                // Nothing reaches the disk before the password is known.
                EXPECT_FALSE(QFile::exists(path));
                EXPECT_EQ(window->windowTitle(), "Mot de Passe d'accès à la Base");
            })
            .Type("T_Find", "Maître-Clé 7")
            .Click("Valider");
        modal.Expect("Lib_PasswordAsk")
            .Do([](QWidget* window) {
                EXPECT_EQ(window->findChild<QLabel*>("LabelInfo")->text(), "Confirmez la saisie du mot de passe :");
            })
            .Type("T_Find", "Maître-Clé 7")
            .Click("Valider");
        modal.ExpectMessageBox().Click(QMessageBox::Yes); // the default categories
        ToolButton("New")->trigger();
        ASSERT_TRUE(modal.Wait());
        EXPECT_EQ(modal.Seen().back().text, "Confirmez-vous l'ajout de la liste des Catégories par défaut ?");
    }
    EXPECT_EQ(State().Tag(), path);
    EXPECT_EQ(Window().windowTitle(), "Keyholm - Nouvelle.khm");
    EXPECT_FALSE(State().DatabaseChanged());
    EXPECT_EQ(sGetMenuFichierLong({}, 1), path);
    ASSERT_NE(State().CurrentNode(), nullptr);
    EXPECT_EQ(State().CurrentNode()->Image(), "OptionNot");

    // The file has only ever been written protected by the password.
    EXPECT_TRUE(IsProtected(path));
    EXPECT_EQ(ReadDatabase(path), nullptr);
    const auto tree = ReadDatabase(path, "Maître-Clé 7");
    ASSERT_NE(tree, nullptr);
    // The password opens the file; the tree itself does not keep it.
    EXPECT_TRUE(tree->Root()->Tag().isEmpty());
    // The default categories were saved with it.
    QStringList children;
    for (const TreeNode* child : tree->Root()->Children())
        children << child->Text();
    for (const QString& label : WorkingOptions::DefaultCategories())
        EXPECT_TRUE(children.contains(label)) << qPrintable(label);
    const TreeNode* info = tree->Root()->Child(0);
    ASSERT_EQ(info->Image(), "InfoNot");
    const QDateTime saved = ReadDateTimeTag(TagField(info->Child(0)->Tag(), 1));
    EXPECT_LE(qAbs(saved.secsTo(QDateTime::currentDateTime())), 60);
}

TEST_F(DatabaseFileTest, ANewDatabaseWhosePasswordWasGivenUpIsSavedUnprotectedAndSaysSo)
{
    const QString path = PathOf("Libre.khm");
    {
        ModalHelper modal;
        modal.Expect("CMDialogOpen").Type("fileNameEdit", path).Accept();
        Answer(modal, "Premier");
        Answer(modal, "Second");
        modal.ExpectMessageBox().Click(QMessageBox::Ok); // the two differ: both asked again
        Answer(modal, std::nullopt);
        modal.ExpectMessageBox().Click(QMessageBox::Ok);
        ToolButton("New")->trigger();
        ASSERT_TRUE(modal.Wait());
        EXPECT_EQ(modal.Seen().back().text, QString::fromUtf8("La nouvelle base n'est protégée par aucun mot de passe maître."));
    }
    EXPECT_EQ(State().Tag(), path);
    EXPECT_FALSE(IsProtected(path));
    EXPECT_NE(ReadDatabase(path), nullptr);
    EXPECT_TRUE(Ui().LabelUnprotected->isVisible());
}

TEST_F(DatabaseFileTest, SaveUnderCancelledChangesNothing)
{
    const QString path = PathOf("Perso.khm");
    WriteDatabase(path, {});
    ASSERT_TRUE(Open(path).open);
    ChangeRoot("Ma base modifiée");
    const QByteArray before = Bytes(path);
    {
        ModalHelper modal;
        modal.Expect("CMDialogOpen")
            .Do([](QWidget* dialog) { EXPECT_EQ(dialog->windowTitle(), "Enregistrer dans un fichier"); })
            .Reject();
        ToolButton("SaveUnder")->trigger();
        ASSERT_TRUE(modal.Wait());
    }
    EXPECT_EQ(State().Tag(), path);
    EXPECT_EQ(Window().windowTitle(), "Keyholm - Perso.khm");
    EXPECT_EQ(Bytes(path), before);
    EXPECT_TRUE(State().DatabaseChanged());

    const QString other = PathOf("Copie.khm");
    {
        ModalHelper modal;
        modal.Expect("CMDialogOpen").Type("fileNameEdit", other).Accept();
        Ui().MenuBaseSaveUnder->trigger();
        ASSERT_TRUE(modal.Wait());
    }
    EXPECT_EQ(State().Tag(), other);
    EXPECT_EQ(Window().windowTitle(), "Keyholm - Copie.khm");
    EXPECT_EQ(RootText(other), "Ma base modifiée");
    EXPECT_EQ(Bytes(path), before);
    EXPECT_FALSE(State().DatabaseChanged());
}

TEST_F(DatabaseFileTest, AFailedWriteIsReportedAndKeepsTheChanges)
{
    struct Case {
        const char* name;
        std::function<void()> spoil;
        std::function<void()> mend;
    };
    const QString path = PathOf("Perso.khm");
    std::unique_ptr<FullDisk> full;
    const Case cases[] = {
        { "read-only folder", [&] { ::chmod(QFile::encodeName(folder_).constData(), 0555); },
            [&] { ::chmod(QFile::encodeName(folder_).constData(), 0755); } },
        { "full disk", [&] { full = std::make_unique<FullDisk>(64); }, [&] { full.reset(); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteDatabase(path, {});
        ASSERT_TRUE(Open(path).open);
        ChangeRoot("Ma base modifiée");
        TreeNode* created = ServiceNode("InfoNot")->Child(0);
        const QString lastSave = DateTimeTag(QDateTime(QDate(2020, 1, 2), QTime(3, 4)));
        created->SetTag(lastSave + TagSeparator + lastSave);
        errors_.clear();
        c.spoil();
        const bool saved = Window().File().SavePasswordFileUnder(false);
        c.mend();
        EXPECT_FALSE(saved);
        EXPECT_TRUE(Reported("Error on file writing:\r\n" + path));
        EXPECT_TRUE(State().DatabaseChanged());
        EXPECT_EQ(RootText(path), "Ma base");
        EXPECT_EQ(created->Tag(), lastSave + TagSeparator + lastSave) << "no save time for a save that did not happen";
        State().SetDatabaseChanged(false);
    }
}

// The trash is purged as the database opens: the database is then changed
// and left unsaved, and the user is told how many entries went.
TEST_F(DatabaseFileTest, OpeningPurgesTheTrashAndLeavesTheDatabaseUnsaved)
{
    const QString path = PathOf("Purge.khm");
    const QString old = DateTimeTag(QDateTime::currentDateTime().addDays(-30));
    WriteDatabase(path, {}, true, std::nullopt, [&](PasswordTree& tree) {
        const TreeStore& store = TreeStore::Instance();
        const QString trash = store.FindNodeKey(tree, "Root", "Trash");
        store.AddNode(tree, trash, "Ancien", "PasswordNot", old + TagSeparator + old);
        store.AddNode(tree, trash, "Récent", "PasswordNot", NowTag() + TagSeparator + NowTag());
    });
    const QByteArray before = Bytes(path);
    State().Options().purgeTrash = true;
    State().Options().purgeDays = 3;
    QString shown;
    const DatabaseFile::Opening opening = Open(path, [&](ModalHelper& modal) {
        modal.ExpectMessageBox().Do([&](QWidget* box) { shown = static_cast<QMessageBox*>(box)->text(); }).Accept();
    });
    ASSERT_TRUE(opening.open);
    EXPECT_EQ(shown,
        "Corbeille purgée des mots de passe expirés plus vieux de 3 jour(s)\n1 mot(s) de passe supprimé(s) "
        "définitivement.");
    TreeNode* trash = Tree().FindKey(State().TrashNodeKey());
    ASSERT_TRUE(trash);
    ASSERT_EQ(trash->ChildCount(), 1);
    EXPECT_EQ(trash->Child(0)->Text(), "Récent");
    EXPECT_TRUE(State().DatabaseChanged());
    EXPECT_EQ(Bytes(path), before) << "nothing is saved by the purge";
    State().SetDatabaseChanged(false);
}

} // namespace
} // namespace keyholm::test
