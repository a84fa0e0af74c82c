// Moving entries and categories in the tree: drags through the tree's model
// (the path the view takes), drops driven on the view itself, and the cut
// and paste of the keyboard.

#include "support/MainWindowFixture.h"
#include "support/ModalHelper.h"

#include "components/NodeImages.h"
#include "components/ui/PasswordTreeModel.h"
#include "services/main/TreeViewNodes.h"

#include <QAbstractItemModelTester>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

#include <memory>

namespace keyholm::test {
namespace {

class TreeDragDropTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        root_ = NewDatabase();
        bank_ = AddCategory(root_, "Banque");
        work_ = AddCategory(root_, "Travail");
        sub_ = AddCategory(bank_, "Comptes");
        const QString old = DateTimeTag(QDateTime(QDate(2020, 1, 2), QTime(3, 4)));
        entry_ = AddEntry(bank_, "Gmail", { .login = "moi" }, old + TagSeparator + old);
        Window().Database().CheckNodeInfo(entry_);
        trash_ = Tree().FindKey(State().TrashNodeKey());
        ASSERT_TRUE(trash_);
        MarkOpen();
        State().Options().autoSave = false;
        tester_ = std::make_unique<QAbstractItemModelTester>(
            Model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    }

    QAbstractItemModel* Model() { return Ui().tvTreeView->model(); }
    QModelIndex Index(const TreeNode* node) { return IndexOfNode(Model(), node); }

    // The drag data of a drag started on the node (null when refused).
    std::unique_ptr<QMimeData> StartDrag(TreeNode* node)
    {
        Window().Entries().tvTreeView_NodeClick(node); // the press that starts a drag selects it
        return std::unique_ptr<QMimeData>(Model()->mimeData({ Index(node) }));
    }
    bool CanDrop(const QMimeData* data, const TreeNode* target)
    {
        return Model()->canDropMimeData(data, Qt::CopyAction, -1, -1, Index(target));
    }
    // Drops and runs what follows the drop (messages, selection).
    bool Drop(const QMimeData* data, const TreeNode* target)
    {
        const bool moved = Model()->dropMimeData(data, Qt::CopyAction, -1, -1, Index(target));
        QCoreApplication::processEvents();
        return moved;
    }

    TreeNode* root_ = nullptr;
    TreeNode* bank_ = nullptr;
    TreeNode* work_ = nullptr;
    TreeNode* sub_ = nullptr;
    TreeNode* entry_ = nullptr;
    TreeNode* trash_ = nullptr;
    std::unique_ptr<QAbstractItemModelTester> tester_;
};

TEST_F(TreeDragDropTest, OnlyTheAllowedMovesAreOffered)
{
    TreeNode* login = entry_->Child(0);
    struct Case {
        const char* name;
        TreeNode* source;
        TreeNode* target;
        bool allowed;
    };
    const Case cases[] = {
        { "entry into the trash", entry_, trash_, true },
        { "entry under the root", entry_, root_, false },
        { "entry into a category", entry_, work_, true },
        { "entry onto an entry", entry_, AddEntry(work_, "Autre", {}), false },
        { "entry onto a detail", entry_, login, false },
        { "category under the root", sub_, root_, true },
        { "category into the trash", sub_, trash_, false },
        { "category into a category", bank_, work_, true },
        { "category into its own child", bank_, sub_, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto data = StartDrag(c.source);
        ASSERT_TRUE(data);
        EXPECT_TRUE(State().DragActive());
        EXPECT_EQ(CanDrop(data.get(), c.target), c.allowed);
    }

    // Not draggable: service nodes, the root, the trash, details.
    for (TreeNode* node : { root_, trash_, login, ServiceNode(NodeImage::InfoNot), ServiceNode(NodeImage::StatNot),
             ServiceNode(NodeImage::OptionNot) }) {
        SCOPED_TRACE(node->Text().toStdString());
        EXPECT_FALSE(StartDrag(node));
        EXPECT_FALSE(State().DragActive());
    }

    // The drag is over when its data goes, dropped or not: what comes from
    // elsewhere afterwards is refused.
    auto data = StartDrag(entry_);
    auto newer = StartDrag(entry_);
    data.reset();
    EXPECT_TRUE(State().DragActive()) << "an older drag's data going ends nothing";
    newer.reset();
    EXPECT_FALSE(State().DragActive());
    QMimeData foreign;
    foreign.setText(entry_->Key());
    EXPECT_FALSE(CanDrop(&foreign, trash_));
    EXPECT_FALSE(Drop(&foreign, trash_));
    EXPECT_EQ(entry_->Parent(), bank_);
}

TEST_F(TreeDragDropTest, AnEntryGoesToTheTrashAndBackRenamedAndDated)
{
    AddEntry(trash_, "Gmail", {});
    Window().Database().CheckNodeInfo(trash_);
    const QString created = TagField(entry_->Tag(), 0);

    auto data = StartDrag(entry_);
    ASSERT_TRUE(Drop(data.get(), trash_));
    EXPECT_FALSE(State().DragActive());
    EXPECT_EQ(entry_->Parent(), trash_);
    EXPECT_EQ(entry_->Text(), "Gmail (2)");
    EXPECT_EQ(TagField(entry_->Tag(), 0), created);
    EXPECT_EQ(ReadDateTimeTag(TagField(entry_->Tag(), 1)).date(), QDate::currentDate());
    EXPECT_EQ(bank_->Image(), NodeImage::DirNot) << "its last entry left";
    EXPECT_EQ(trash_->Image(), NodeImage::TrashKeyNot);
    EXPECT_EQ(State().CurrentNode(), trash_);
    EXPECT_TRUE(State().DatabaseChanged());

    // Back out, with the other one purged first: the trash is empty again.
    TreeStore::Instance().DeleteNode(Tree(), trash_->Child(0)->Key());
    data = StartDrag(entry_);
    ASSERT_TRUE(Drop(data.get(), work_));
    EXPECT_EQ(entry_->Parent(), work_);
    EXPECT_EQ(trash_->Image(), NodeImage::TrashNot);
    EXPECT_EQ(work_->Image(), NodeImage::DirKeyNot);
}

TEST_F(TreeDragDropTest, RefusedDropsChangeNothingAndSaySo)
{
    struct Case {
        const char* name;
        QString key; // the drag data
        TreeNode* target;
        QString message; // empty: none
    };
    const QString tag = entry_->Tag();
    State().SetDatabaseChanged(false);
    const Case cases[] = {
        { "onto its own category", entry_->Key(), bank_,
            "Déplacement interdit :\nl'arborescence de destination et celle d'origine sont identiques" },
        { "onto itself", entry_->Key(), entry_,
            "Déplacement interdit :\nl'élément de destination et celui d'origine sont identiques" },
        { "a key that names nothing", "k-nothing", work_, "Déplacement impossible : l'information source est vide !?" },
        { "blank data", "  ", work_, "Déplacement impossible : l'information source est vide !?" },
        { "a category into its own child", bank_->Key(), sub_, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto started = StartDrag(entry_);
        QMimeData data;
        data.setText(c.key);
        ModalHelper modal;
        if (!c.message.isEmpty())
            modal.ExpectMessageBox().Click(QMessageBox::Ok);
        EXPECT_FALSE(Drop(&data, c.target));
        EXPECT_TRUE(modal.Wait());
        if (!c.message.isEmpty()) {
            ASSERT_EQ(modal.Seen().size(), 1u);
            EXPECT_EQ(modal.Seen()[0].text, c.message);
        }
        EXPECT_EQ(entry_->Parent(), bank_);
        EXPECT_EQ(bank_->Parent(), root_);
        EXPECT_EQ(entry_->Tag(), tag);
        EXPECT_FALSE(State().DragActive());
    }
    EXPECT_FALSE(State().DatabaseChanged());
}

// The drop driven on the view, as the system's drag events reach it: the
// view asks the model over each row, and drops on the highlighted one.
TEST_F(TreeDragDropTest, TheViewHighlightsAllowedRowsAndDropsOnThem)
{
    QTreeView* view = Ui().tvTreeView;
    ASSERT_TRUE(view->isVisible());
    view->expandAll();
    const auto data = StartDrag(entry_);
    ASSERT_TRUE(data);
    const auto over = [&](TreeNode* node) {
        view->scrollTo(Index(node));
        const QPoint point = view->visualRect(Index(node)).center();
        QDragEnterEvent enter(point, Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(view->viewport(), &enter);
        QDragMoveEvent move(point, Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(view->viewport(), &move);
        return std::pair { point, move.isAccepted() };
    };
    EXPECT_FALSE(over(root_).second) << "an entry never goes under the root";
    const auto [point, accepted] = over(work_);
    ASSERT_TRUE(accepted);
    QDropEvent drop(point, Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(view->viewport(), &drop);
    QCoreApplication::processEvents();
    EXPECT_EQ(entry_->Parent(), work_);
    EXPECT_EQ(bank_->Parent(), root_) << "nothing else moved, nothing removed";
    EXPECT_TRUE(Tree().FindKey(work_->Key()));
}

TEST_F(TreeDragDropTest, CutAndPasteMoveUnderTheSameRules)
{
    QTreeView* view = Ui().tvTreeView;
    const auto key = [&](TreeNode* node, QKeySequence::StandardKey sequence) {
        // (The headless platform does not give the window back its
        // activation after a message box.)
        Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
        Window().Entries().tvTreeView_NodeClick(node);
        view->setFocus();
        QTest::keySequence(view, sequence);
        QCoreApplication::processEvents();
    };
    key(entry_, QKeySequence::Cut);
    EXPECT_EQ(Window().DragDrop().CutKey(), entry_->Key());
    {
        ModalHelper modal;
        modal.ExpectMessageBox().Click(QMessageBox::Ok);
        key(root_, QKeySequence::Paste);
        ASSERT_TRUE(modal.Wait());
        EXPECT_TRUE(modal.Seen()[0].text.startsWith("Déplacement interdit"));
    }
    EXPECT_EQ(entry_->Parent(), bank_);
    key(work_, QKeySequence::Paste);
    EXPECT_EQ(entry_->Parent(), work_);
    EXPECT_TRUE(Window().DragDrop().CutKey().isEmpty()) << "pasted once";
}

} // namespace
} // namespace keyholm::test
