// Adding, changing and deleting entries and writing the database information
// through the real main window: the entry toolbar, the fields as the user
// types into them, the information page's "Appliquer".

#include "support/MainWindowFixture.h"
#include "support/ModalHelper.h"

#include "components/FieldCoding.h"
#include "components/NodeImages.h"
#include "services/main/KeyToolBar.h"
#include "services/main/TreeViewNodes.h"
#include "services/ui/ControlTag.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>

namespace keyholm::test {
namespace {

class EntryEditorTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
        root_ = NewDatabase();
        category_ = AddCategory(root_, "Banque");
        // No file behind these databases: the save after each edit is off.
        State().Options().autoSave = false;
        State().Options().clearFieldsAfterAdd = false;
    }

    void Select(TreeNode* node) { Window().Entries().tvTreeView_NodeClick(node); }

    // Types into an entry field as the user does, replacing what it shows.
    void Type(int index, const QString& text)
    {
        QWidget* field = Ui().Entry->PasswordField(index);
        field->setFocus();
        QTest::keySequence(field, QKeySequence::SelectAll);
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }

    void Click(const char* key)
    {
        QToolButton* button = Ui().Entry->ToolbarPassCode->ButtonWidget(QLatin1String(key));
        ASSERT_TRUE(button && button->isEnabled()) << key;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Clicks the toolbar button and answers the one message box it shows;
    // the box's text.
    QString ClickAndAnswer(const char* key, QMessageBox::StandardButton answer = QMessageBox::Ok)
    {
        ModalHelper modal;
        modal.ExpectMessageBox().Click(answer);
        Click(key);
        EXPECT_TRUE(modal.Wait());
        return modal.Seen().empty() ? QString() : modal.Seen()[0].text;
    }

    TreeNode* Child(TreeNode* parent, const QString& text)
    {
        return Tree().FindKey(TreeStore::Instance().ChildKeyByText(Tree(), parent->Key(), text, Qt::CaseSensitive));
    }
    TreeNode* Detail(TreeNode* entry, const QString& image)
    {
        return Tree().NodeAt(TreeStore::Instance().FindChild(Tree(), entry->Index(), image));
    }

    TreeNode* root_ = nullptr;
    TreeNode* category_ = nullptr;
};

TEST_F(EntryEditorTest, ThePasswordIsStoredAsTyped)
{
    struct Case {
        bool hide;
        QString typed; // empty: the field is cleared
    };
    const Case cases[] = {
        { true, "s3cret" },
        { false, "s3cret" },
        { true, "****" },
        { true, "  a b  " },
        { true, "" },
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(row);
        State().Options().hidePassword = c.hide;
        Select(category_);
        const QString title = QStringLiteral("Compte %1").arg(++row);
        Type(0, title);
        Type(2, "ancien");
        Type(2, c.typed);
        // While it is being typed the password shows in clear.
        EXPECT_EQ(Ui().Entry->TextPassword[2]->echoMode(), QLineEdit::Normal);
        Click("Add");
        TreeNode* entry = Child(category_, title);
        ASSERT_TRUE(entry);
        TreeNode* key = Detail(entry, NodeImage::Key);
        if (c.typed.isEmpty()) {
            EXPECT_FALSE(key);
        } else {
            ASSERT_TRUE(key);
            EXPECT_EQ(DecodeField(key->Tag()), c.typed);
            EXPECT_EQ(key->Text(), QString(c.typed.size(), QLatin1Char('*')));
        }
        Ui().Entry->TextPassword[0]->setFocus();
        EXPECT_EQ(Ui().Entry->TextPassword[2]->echoMode(), c.hide ? QLineEdit::Password : QLineEdit::Normal);
    }
}

TEST_F(EntryEditorTest, ChangeKeepsTheCreationDateAndRebuildsTheDetails)
{
    const QString created = DateTimeTag(QDateTime(QDate(2020, 1, 2), QTime(10, 0)));
    TreeNode* entry = AddEntry(category_, "Mail",
        { .login = "moi", .password = "pw", .web = "https://mail.example", .note = "ligne" },
        created + TagSeparator + DateTimeTag(QDateTime(QDate(2021, 3, 4), QTime(11, 0))));
    Select(entry);
    Type(3, "");
    Type(1, "  toi  ");
    Click("Change");

    EXPECT_EQ(State().CurrentNode(), entry);
    EXPECT_EQ(category_->ChildCount(), 1) << "no second entry is left behind";
    EXPECT_EQ(TagField(entry->Tag(), 0), created);
    EXPECT_EQ(ReadDateTimeTag(TagField(entry->Tag(), 1)).date(), QDate::currentDate());
    EXPECT_EQ(entry->Image(), NodeImage::PasswordNot);
    EXPECT_EQ(entry->SelectedImage(), NodeImage::Password);
    EXPECT_FALSE(Detail(entry, NodeImage::Web));
    ASSERT_TRUE(Detail(entry, NodeImage::Login));
    EXPECT_EQ(DecodeField(Detail(entry, NodeImage::Login)->Tag()), "toi");
    ASSERT_TRUE(Detail(entry, NodeImage::Key));
    EXPECT_EQ(DecodeField(Detail(entry, NodeImage::Key)->Tag()), "pw");
    EXPECT_EQ(TreeStore::Instance().LoadNote(Tree(), entry->Key()), "ligne");
    EXPECT_EQ(entry->ChildCount(), 3);
    EXPECT_TRUE(State().DatabaseChanged());
}

TEST_F(EntryEditorTest, TitlesAreUniqueInTheirCategory)
{
    TreeNode* other = AddCategory(root_, "Travail");
    TreeNode* gmail = AddEntry(category_, "Gmail", { .login = "moi" });
    const QString duplicate = "Attention un mot de passe avec un Titre identique est déjà présent au même niveau.";
    const QString noTitle = "Vous devez saisir au moins le Titre du mot de passe";
    struct Case {
        TreeNode* selected;
        const char* command;
        QString title;
        QString message; // empty: accepted
    };
    const Case cases[] = {
        { category_, "Add", "Gmail", duplicate },
        { category_, "Add", "Gmail ", duplicate },
        { category_, "Add", "   ", noTitle },
        { other, "Add", "Gmail", {} },
        { gmail, "Change", "Gmail", {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title.toStdString() + " " + c.command);
        Select(c.selected);
        Type(0, c.title);
        const int before = Tree().Count();
        if (c.message.isEmpty()) {
            Click(c.command);
        } else {
            EXPECT_EQ(ClickAndAnswer(c.command), c.message);
            EXPECT_EQ(Tree().Count(), before);
        }
    }
    ASSERT_TRUE(Child(other, "Gmail"));
    EXPECT_EQ(category_->ChildCount(), 1);
}

TEST_F(EntryEditorTest, TheFirstEntryGivesAPlainCategoryTheKeyIcon)
{
    TreeNode* starred = AddCategory(root_, "Favoris", "DirStarNot");
    for (TreeNode* category : { category_, starred }) {
        Select(category);
        Type(0, "Compte");
        Click("Add");
    }
    EXPECT_EQ(category_->Image(), NodeImage::DirKeyNot);
    EXPECT_EQ(category_->SelectedImage(), NodeImage::DirKey);
    EXPECT_EQ(starred->Image(), "DirStarNot");
}

TEST_F(EntryEditorTest, NothingIsAddedUnderADetailNorIsItsTagRewritten)
{
    TreeNode* entry = AddEntry(category_, "Compte", { .login = "moi" });
    TreeNode* login = Detail(entry, NodeImage::Login);
    const QString tag = login->Tag();
    Select(entry);
    Select(login);
    EXPECT_EQ(ClickAndAnswer("Add"), "Vous devez sélectionner une Catégorie de l'arborescence");
    Window().Editing().ToolbarPassCode_ButtonClick("Change");
    EXPECT_EQ(login->ChildCount(), 0);
    EXPECT_EQ(login->Tag(), tag);
    EXPECT_EQ(entry->ChildCount(), 1);
}

TEST_F(EntryEditorTest, ClearingTheFieldsAfterAnAddFollowsTheOption)
{
    for (bool clear : { true, false }) {
        SCOPED_TRACE(clear);
        State().Options().clearFieldsAfterAdd = clear;
        Select(category_);
        Type(0, clear ? "Vide" : "Garde");
        Type(1, "moi");
        Click("Add");
        TreeNode* entry = category_->Child(category_->ChildCount() - 1);
        ASSERT_TRUE(entry);
        EXPECT_EQ(State().CurrentNode(), clear ? category_ : entry);
        EXPECT_EQ(Ui().Entry->PasswordText(0), clear ? QString() : entry->Text());
        EXPECT_EQ(Ui().Entry->PasswordText(1), clear ? QString() : QStringLiteral("moi"));
    }
}

TEST_F(EntryEditorTest, InitfieldEmptiesTheFieldsOnYes)
{
    Select(category_);
    Type(0, "Compte");
    EXPECT_EQ(
        ClickAndAnswer("Initfield", QMessageBox::No), "Confirmez-vous l'initialisation de tous les champs de saisie ?");
    EXPECT_EQ(Ui().Entry->PasswordText(0), "Compte");
    ClickAndAnswer("Initfield", QMessageBox::Yes);
    EXPECT_TRUE(Ui().Entry->PasswordText(0).isEmpty());
}

TEST_F(EntryEditorTest, DeleteMovesTheEntryToTheTrash)
{
    TreeNode* entry = AddEntry(category_, "Compte", { .login = "moi" });
    Window().Database().CheckNodeInfo(category_);
    TreeNode* trash = Tree().FindKey(State().TrashNodeKey());
    ASSERT_TRUE(trash);
    Select(entry);
    EXPECT_TRUE(
        ClickAndAnswer("Delete", QMessageBox::Yes).startsWith("Confirmez-vous le déplacement dans la Corbeille"));
    EXPECT_EQ(entry->Parent(), trash);
    EXPECT_EQ(trash->Image(), NodeImage::TrashKeyNot);
    EXPECT_EQ(category_->Image(), NodeImage::DirNot);
    EXPECT_EQ(State().CurrentNode(), root_);
}

TEST_F(EntryEditorTest, CreateCategoryTrimsNumbersAndRefusesABlankLabel)
{
    EntryEditor& editor = Window().Editing();
    TreeNode* first = Tree().FindKey(editor.CreateCategory(root_, "  Finance "));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Text(), "Finance");
    EXPECT_EQ(first->Image(), NodeImage::DirNot);
    EXPECT_TRUE(ReadDateTimeTag(TagField(first->Tag(), 0)).isValid());
    EXPECT_TRUE(first->Tag().endsWith(TagSeparator));
    EXPECT_EQ(Tree().FindKey(editor.CreateCategory(root_, "Finance"))->Text(), "Finance (2)");
    const int before = Tree().Count();
    EXPECT_TRUE(editor.CreateCategory(root_, "   ").isEmpty());
    EXPECT_EQ(Tree().Count(), before);
}

TEST_F(EntryEditorTest, TheFieldButtonsFollowWhatTheFieldsHold)
{
    EntryPage& page = *Ui().Entry;
    const QString file = QDir::temp().filePath("keyholm-entry-editor.txt");
    QFile(file).open(QIODevice::WriteOnly);
    Select(category_);
    Type(1, "moi");
    Type(2, "secret");
    Type(3, "https://site.example");
    Type(4, file);
    Type(5, "note");
    EXPECT_TRUE(page.CommandCopyLogin->isEnabled());
    EXPECT_TRUE(page.CommandCopyPassword->isEnabled());
    EXPECT_TRUE(page.CommandGoWeb->isEnabled());
    EXPECT_TRUE(page.CommandOpenFile->isEnabled());
    EXPECT_TRUE(page.SaveContentNote->isEnabled());
    EXPECT_EQ(page.TextPassword[3]->toolTip(), "https://site.example");
    EXPECT_FALSE(page.TextPassword[2]->toolTip().contains("secret"));
    QFile::remove(file);
    for (int i = 1; i <= 5; ++i)
        Type(i, i == 1 ? QStringLiteral("  ") : QString());
    EXPECT_FALSE(page.CommandCopyLogin->isEnabled());
    EXPECT_FALSE(page.CommandCopyPassword->isEnabled());
    EXPECT_FALSE(page.CommandGoWeb->isEnabled());
    EXPECT_FALSE(page.CommandOpenFile->isEnabled());
    EXPECT_FALSE(page.SaveContentNote->isEnabled());
}

// ---- The information page -------------------------------------------------

TEST_F(EntryEditorTest, ApplyWritesTheInformationNodeEvenFromOneOfItsLines)
{
    TreeNode* info = ServiceNode(NodeImage::InfoNot);
    Select(info);
    const QString created = ControlTag(Ui().Info->LabelDate[0]);
    Select(Detail(info, NodeImage::User));
    ASSERT_EQ(Ui().PasswordTabView->currentIndex(), int(DetailPage::Info));
    Ui().Info->TextTitle->setText("Banque perso");
    Ui().Info->TextUser->setText("Marie");
    Ui().Info->CheckLabel[0]->click();
    Ui().Info->TextCustom[0]->setText("Client");
    Ui().Info->TextNote->setPlainText("Remarque");
    ASSERT_TRUE(Ui().Info->ApplyInfo->isEnabled());
    QTest::mouseClick(Ui().Info->ApplyInfo, Qt::LeftButton);

    EXPECT_EQ(State().CurrentNode(), info);
    for (const TreeNode* line : info->Children())
        EXPECT_EQ(line->ChildCount(), line->Image() == NodeImage::Note ? 1 : 0) << qPrintable(line->Image());
    ASSERT_TRUE(Detail(info, NodeImage::Title));
    EXPECT_EQ(Detail(info, NodeImage::Title)->Text(), "Banque perso");
    EXPECT_EQ(Detail(info, NodeImage::User)->Text(), "Marie");
    EXPECT_EQ(TagField(Detail(info, NodeImage::Create)->Tag(), 0), created);
    EXPECT_EQ(Detail(info, NodeImage::Custom1)->Tag(), "1");
    EXPECT_EQ(Ui().Entry->LabelCustom[0]->text(), "Client :");
    EXPECT_EQ(TreeStore::Instance().LoadNote(Tree(), info->Key()), "Remarque");
}

TEST_F(EntryEditorTest, TheInformationPageForgetsLinesTheDatabaseLacks)
{
    TreeNode* info = ServiceNode(NodeImage::InfoNot);
    Add(info, "Banque perso", NodeImage::Title);
    Select(info);
    EXPECT_EQ(Ui().Info->TextTitle->text(), "Banque perso");
    TreeStore::Instance().DeleteChildren(Tree(), info->Key());
    Select(root_);
    Select(info);
    EXPECT_TRUE(Ui().Info->TextTitle->text().isEmpty());
    EXPECT_TRUE(Ui().Info->TextUser->text().isEmpty());
    EXPECT_TRUE(ControlTag(Ui().Info->LabelDate[0]).isEmpty());
}

// The user moves away, by mouse or by key, from an entry whose login was
// edited and not applied.
TEST_F(EntryEditorTest, LeavingAnEditedEntryAsksWhetherToApplyTheEdits)
{
    struct Case {
        QMessageBox::StandardButton answer;
        bool byKey;
    };
    const Case cases[] = {
        { QMessageBox::Yes, false },
        { QMessageBox::No, false },
        { QMessageBox::Cancel, false },
        { QMessageBox::Yes, true },
        { QMessageBox::Cancel, true },
    };
    MarkOpen();
    QTreeView* view = Ui().tvTreeView;
    const auto click = [&](TreeNode* node) {
        const QModelIndex index = IndexOfNode(view->model(), node);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(row);
        TreeNode* entry = AddEntry(category_, QStringLiteral("Mail %1").arg(++row), { .login = "moi" });
        TreeNode* other = AddEntry(category_, QStringLiteral("Zeta %1").arg(row), {});
        view->collapse(IndexOfNode(view->model(), entry));
        click(entry);
        ASSERT_EQ(State().CurrentNode(), entry);
        {
            ModalHelper unasked; // unchanged fields: no question
            click(other);
            EXPECT_EQ(State().CurrentNode(), other);
            click(entry);
        }
        Type(1, "nouveau");

        ModalHelper modal;
        modal.ExpectMessageBox().Click(c.answer);
        TreeNode* target = other;
        if (c.byKey) {
            click(entry);
            EXPECT_EQ(Ui().Entry->PasswordText(1), "nouveau") << "a click on the entry itself keeps the edits";
            target = NodeOfIndex(Tree(), view->indexAbove(IndexOfNode(view->model(), entry)));
            view->setFocus();
            QTest::keyClick(view, Qt::Key_Up);
        } else {
            click(other);
        }
        ASSERT_TRUE(modal.Wait());
        EXPECT_TRUE(modal.Seen()[0].text.contains(entry->Text())) << modal.Seen()[0].text.toStdString();

        const QString stored = EntryRecord::Read(Tree(), entry).login;
        if (c.answer == QMessageBox::Cancel) {
            EXPECT_EQ(State().CurrentNode(), entry);
            EXPECT_EQ(view->currentIndex(), IndexOfNode(view->model(), entry)) << "the view stays on the entry";
            EXPECT_EQ(Ui().Entry->PasswordText(1), "nouveau");
            EXPECT_EQ(stored, "moi");
            // Esc gives the stored values back: nothing is left to ask.
            // (The headless platform does not give the window back its
            // activation when the box closes.)
            Window().activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
            EXPECT_EQ(QApplication::focusWidget(), Ui().Entry->TextPassword[1]) << "back in the field being edited";
            QTest::keyClick(Ui().Entry->TextPassword[1], Qt::Key_Escape);
            EXPECT_EQ(Ui().Entry->PasswordText(1), "moi");
        } else {
            EXPECT_EQ(State().CurrentNode(), target);
            EXPECT_NE(target, entry);
            EXPECT_EQ(stored, c.answer == QMessageBox::Yes ? "nouveau" : "moi");
        }
    }
}

TEST_F(EntryEditorTest, ClosingTheDatabaseAsksAboutTheEditsFirst)
{
    MarkOpen();
    TreeNode* entry = AddEntry(category_, "Mail", { .login = "moi" });
    Select(entry);
    Type(1, "nouveau");
    ModalHelper modal;
    modal.ExpectMessageBox().Click(QMessageBox::Cancel);
    Ui().MenuBaseClose->trigger();
    ASSERT_TRUE(modal.Wait());
    EXPECT_TRUE(modal.Seen()[0].text.contains("Mail"));
    EXPECT_TRUE(State().DatabaseOpen());
    EXPECT_EQ(Ui().Entry->PasswordText(1), "nouveau");
}

// Ctrl+N starts an entry, Enter adds or changes it, Esc gives the stored
// values back.
TEST_F(EntryEditorTest, TheKeyboardStartsAddsChangesAndRestoresEntries)
{
    MarkOpen();
    TreeNode* entry = AddEntry(category_, "Mail", { .login = "moi" });
    Select(entry);
    QTest::keyClick(Ui().Entry->TextPassword[1], Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(State().CurrentNode(), category_) << "the entry's category";
    EXPECT_TRUE(Ui().Entry->PasswordText(0).isEmpty());
    EXPECT_TRUE(Ui().Entry->PasswordText(1).isEmpty());
    QTRY_COMPARE(QApplication::focusWidget(), Ui().Entry->TextPassword[0]);

    QTest::keyClicks(Ui().Entry->TextPassword[0], "Neuf");
    Type(2, "pw");
    QTest::keyClick(Ui().Entry->TextPassword[2], Qt::Key_Return);
    TreeNode* added = Child(category_, "Neuf");
    ASSERT_TRUE(added);
    EXPECT_EQ(EntryRecord::Read(Tree(), added).password, "pw");

    Select(added);
    Type(1, "moi");
    QTest::keyClick(Ui().Entry->TextPassword[1], Qt::Key_Enter);
    EXPECT_EQ(EntryRecord::Read(Tree(), added).login, "moi");
    EXPECT_EQ(category_->ChildCount(), 2);

    Type(1, "autre");
    Type(5, "une note");
    QTest::keyClick(Ui().Entry->TextPasswordNote, Qt::Key_Escape);
    EXPECT_EQ(Ui().Entry->PasswordText(1), "moi");
    EXPECT_TRUE(Ui().Entry->PasswordText(5).isEmpty());
    EXPECT_EQ(EntryRecord::Read(Tree(), added).login, "moi");

    Select(root_);
    ModalHelper modal;
    modal.ExpectMessageBox().Click(QMessageBox::Ok);
    QTest::keyClick(Ui().tvTreeView, Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(modal.Wait());
    EXPECT_EQ(modal.Seen()[0].text, "Vous devez sélectionner une Catégorie de l'arborescence");
}

} // namespace
} // namespace keyholm::test
