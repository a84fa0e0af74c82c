// The trash through the real main window: deleting entries into it and out
// of it, emptying it from its popup menu, and the purge by age.

#include "support/MainWindowFixture.h"
#include "support/ModalHelper.h"

#include "components/NodeImages.h"
#include "services/main/KeyToolBar.h"

#include <QMenu>
#include <QToolButton>

namespace keyholm::test {
namespace {

class TrashTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        root_ = NewDatabase();
        category_ = AddCategory(root_, "Banque");
        trash_ = Tree().FindKey(State().TrashNodeKey());
        ASSERT_TRUE(trash_);
        State().Options().autoSave = false;
        State().Options().useTrash = true;
    }

    void Select(TreeNode* node) { Window().Entries().tvTreeView_NodeClick(node); }

    // Clicks a toolbar button and answers the boxes in turn; their texts.
    QStringList ClickAndAnswer(
        KeyToolBar* bar, const char* key, std::initializer_list<QMessageBox::StandardButton> answers)
    {
        ModalHelper modal;
        for (QMessageBox::StandardButton answer : answers)
            modal.ExpectMessageBox().Click(answer);
        QToolButton* button = bar->ButtonWidget(QLatin1String(key));
        EXPECT_TRUE(button && button->isEnabled()) << key;
        if (button)
            QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(modal.Wait());
        QStringList texts;
        for (const SeenWindow& seen : modal.Seen())
            texts << seen.text;
        return texts;
    }

    // An entry of the trash with that change date (days before today);
    // `tag` given as is when set.
    TreeNode* Trashed(const QString& title, std::optional<int> daysAgo, const QString& tag = {})
    {
        QString t = tag;
        if (daysAgo) {
            const QString when = DateTimeTag(QDateTime::currentDateTime().addDays(-*daysAgo));
            t = DateTimeTag(QDateTime(QDate(2001, 1, 1), QTime(9, 0))) + TagSeparator + when;
        }
        return Add(trash_, title, NodeImage::PasswordNot, t);
    }

    QStringList TrashTitles() const
    {
        QStringList titles;
        for (const TreeNode* child : trash_->Children())
            titles << child->Text();
        return titles;
    }

    TreeNode* root_ = nullptr;
    TreeNode* category_ = nullptr;
    TreeNode* trash_ = nullptr;
};

// The purge removes the trash's entries older than the age, walking from
// the last child back, and looks at nothing else.
TEST_F(TrashTest, ThePurgeRemovesOldEntriesOfTheTrashOnly)
{
    State().Options().purgeDays = 1;
    const QString longAgo = DateTimeTag(QDateTime(QDate(2001, 1, 1), QTime(9, 0)));
    // Added out of their sorted order.
    Trashed("Zoé trois jours", 3);
    Trashed("Alpha hier", 1);
    Trashed("Milieu aujourd'hui", 0);
    Trashed("Beta sans date", std::nullopt, "");
    Trashed("Echo illisible", std::nullopt, "pas une date" + TagSeparator + "ni celle-ci");
    Trashed("Kilo créé il y a longtemps", std::nullopt, longAgo + TagSeparator);
    TreeNode* oldFolder = Add(trash_, "Vieux dossier", NodeImage::DirNot, longAgo + TagSeparator + longAgo);
    Add(oldFolder, "Dedans", NodeImage::PasswordNot, longAgo + TagSeparator + longAgo);
    // An old category outside the trash, full of old entries.
    TreeNode* archive = AddCategory(root_, "Archives");
    archive->SetTag(longAgo + TagSeparator + longAgo);
    for (int i = 0; i < 5; ++i)
        Add(archive, QStringLiteral("Ancien %1").arg(i), NodeImage::PasswordNot, longAgo + TagSeparator + longAgo);
    const auto outsideTrash = [&] {
        int count = 0;
        for (int i = 1; i <= Tree().Count(); ++i)
            count += Tree().NodeAt(i) != trash_ && !trash_->IsAncestorOf(Tree().NodeAt(i)) ? 1 : 0;
        return count;
    };
    const int outside = outsideTrash();

    Select(trash_);
    const QStringList texts = ClickAndAnswer(Ui().ToolbarTree, "Purge", { QMessageBox::Yes, QMessageBox::Ok });
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts[0].startsWith("2 mot(s) de passe de la Corbeille, plus vieux de 1 jour(s)"))
        << texts[0].toStdString();
    EXPECT_EQ(texts[1], "Corbeille purgée des mots de passe expirés plus vieux de 1 jour(s)");
    QStringList kept = TrashTitles();
    kept.sort();
    EXPECT_EQ(
        kept, QStringList({ "Alpha hier", "Beta sans date", "Echo illisible", "Milieu aujourd'hui", "Vieux dossier" }));
    EXPECT_EQ(oldFolder->ChildCount(), 1) << "only the trash's own entries are purged";
    EXPECT_EQ(archive->ChildCount(), 5);
    EXPECT_EQ(outsideTrash(), outside) << "nothing outside the trash changed";
    EXPECT_EQ(trash_->Image(), NodeImage::TrashKeyNot);
    EXPECT_TRUE(State().DatabaseChanged());

    // Nothing old enough left: the button says so and removes nothing.
    EXPECT_EQ(ClickAndAnswer(Ui().ToolbarTree, "Purge", { QMessageBox::Ok }),
        QStringList({ "Aucun mot de passe de la corbeille n'est à purger,\ncar aucun n'est plus vieux de 1 jour(s)" }));
    EXPECT_EQ(trash_->ChildCount(), 5);
}

TEST_F(TrashTest, APurgeAnsweredNoOrEmptyingTheTrashLeavesItsPictureRight)
{
    State().Options().purgeDays = 1;
    Trashed("Vieux", 10);
    Trashed("Très vieux", 100);
    Window().Database().CheckNodeInfo(trash_);
    Select(trash_);
    ClickAndAnswer(Ui().ToolbarTree, "Purge", { QMessageBox::No });
    EXPECT_EQ(trash_->ChildCount(), 2);

    EXPECT_TRUE(Window().TrashCommands().TrashPurge());
    EXPECT_EQ(Window().TrashCommands().PurgedCount(), 2);
    EXPECT_EQ(trash_->ChildCount(), 0);
    EXPECT_EQ(trash_->Image(), NodeImage::TrashNot);
    EXPECT_EQ(trash_->SelectedImage(), NodeImage::Trash);
    EXPECT_FALSE(Window().TrashCommands().TrashPurge()) << "an empty trash purges nothing";

    // Emptying from the trash's popup menu, as a right click shows it.
    Trashed("Un", 0);
    AddEntry(trash_, "Deux", { .login = "moi" });
    Window().Database().CheckNodeInfo(trash_);
    State().SetDatabaseChanged(false);
    for (const QMessageBox::StandardButton answer : { QMessageBox::No, QMessageBox::Yes }) {
        Select(trash_);
        ModalHelper modal;
        modal.ExpectMessageBox().Click(answer);
        Ui().MenuCorbeilleVider->trigger();
        ASSERT_TRUE(modal.Wait());
        EXPECT_EQ(modal.Seen()[0].text, "Confirmez-vous la suppression définitive des éléments dans la Corbeille ?");
    }
    EXPECT_EQ(trash_->ChildCount(), 0);
    EXPECT_EQ(trash_->Image(), NodeImage::TrashNot);
    EXPECT_TRUE(State().DatabaseChanged());
}

// Deleting entries: into the trash (renamed on a clash, dated from the
// deletion), out of it for good, or at once without the trash.
TEST_F(TrashTest, DeletingAnEntryGoesThroughTheTrashWhenAsked)
{
    const QString created = DateTimeTag(QDateTime(QDate(2020, 5, 6), QTime(7, 8)));
    TreeNode* custom = AddCategory(root_, "Favoris", "DirStarNot");
    TreeNode* gmail = AddEntry(category_, "Gmail", { .login = "moi" }, created + TagSeparator + created);
    TreeNode* other = AddEntry(custom, "Gmail", { .password = "pw" }, created + TagSeparator + created);
    Window().Database().CheckNodeInfo(gmail);
    Window().Database().CheckNodeInfo(other);
    ASSERT_EQ(category_->Image(), NodeImage::DirKeyNot);

    Select(gmail);
    EXPECT_EQ(ClickAndAnswer(Ui().Entry->ToolbarPassCode, "Delete", { QMessageBox::Yes }),
        QStringList({ "Confirmez-vous le déplacement dans la Corbeille du mot de passe sélectionné ?\n\n\tGmail" }));
    Select(other);
    ClickAndAnswer(Ui().Entry->ToolbarPassCode, "Delete", { QMessageBox::Yes });
    EXPECT_EQ(TrashTitles(), QStringList({ "Gmail", "Gmail (2)" }));
    EXPECT_EQ(other->Text(), "Gmail (2)");
    EXPECT_EQ(other->Child(0)->Image(), NodeImage::Key) << "the details go along";
    EXPECT_EQ(TagField(other->Tag(), 0), created);
    EXPECT_EQ(ReadDateTimeTag(TagField(other->Tag(), 1)).date(), QDate::currentDate()) << "dated from the deletion";
    EXPECT_EQ(category_->Image(), NodeImage::DirNot);
    EXPECT_EQ(custom->Image(), "DirStarNot") << "a custom icon stays";
    EXPECT_EQ(trash_->Image(), NodeImage::TrashKeyNot);
    // Deleted today, it survives a purge of zero days.
    State().Options().purgeDays = 0;
    EXPECT_FALSE(Window().TrashCommands().TrashPurge());

    for (TreeNode* entry : { gmail, other }) {
        Select(entry);
        EXPECT_TRUE(ClickAndAnswer(Ui().Entry->ToolbarPassCode, "Delete", { QMessageBox::Yes })[0].startsWith(
            "Confirmez-vous la suppression définitive du mot de passe sélectionné ?"));
    }
    EXPECT_EQ(trash_->ChildCount(), 0);
    EXPECT_EQ(trash_->Image(), NodeImage::TrashNot);
    EXPECT_EQ(State().CurrentNode(), trash_);

    State().Options().useTrash = false;
    TreeNode* gone = AddEntry(category_, "Sans retour", { .login = "a", .password = "b" });
    const int before = Tree().Count();
    Select(gone);
    EXPECT_TRUE(ClickAndAnswer(Ui().Entry->ToolbarPassCode, "Delete", { QMessageBox::Yes })[0].startsWith(
        "Confirmez-vous la suppression du mot de passe sélectionné ?"));
    EXPECT_EQ(Tree().Count(), before - 3) << "the entry and its two details";
    EXPECT_EQ(trash_->ChildCount(), 0);
}

} // namespace
} // namespace keyholm::test
