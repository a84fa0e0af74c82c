#include "components/TreeStore.h"
#include "components/ui/ImageListTreeView.h"
#include "components/ui/PasswordTreeModel.h"

#include <QAbstractItemModelTester>
#include <QCryptographicHash>
#include <QImage>
#include <QMimeData>
#include <QPersistentModelIndex>
#include <QPixmap>
#include <QSet>
#include <QSignalSpy>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

using namespace keyholm;

static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {
// The model tester reports through qWarning; every report fails the test.
QStringList testerFailures;
QtMessageHandler previousHandler = nullptr;

void CollectFailures(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("FAIL")) || context.category == QByteArray("qt.modeltest"))
        testerFailures << message;
    else if (previousHandler)
        previousHandler(type, context, message);
}

QByteArray Picture(const QIcon& icon, QIcon::Mode mode, int size = 32)
{
    const QImage image = icon.pixmap(QSize(size, size), mode).toImage().convertToFormat(QImage::Format_ARGB32);
    return QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
}

class PasswordTreeModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testerFailures.clear();
        previousHandler = qInstallMessageHandler(CollectFailures);
        TreeNode* r = tree.Add(nullptr, "Root", "Base", "RootNot");
        r->SetSelectedImage("Root");
        r->SetSorted(true);
        auto& s = TreeStore::Instance();
        trash = s.AddNode(tree, "Root", " Corbeille", "TrashNot", "", true, false);
        bank = s.AddNode(tree, "Root", "Banque", "DirNot", "", true, true);
        web = s.AddNode(tree, "Root", "Web", "DirToolNot", "", true, false);
        entry = s.AddNode(tree, web, "Gmail", "PasswordWebNot", "");
        tree.FindKey(entry)->SetBackColor(0x0000ff); // red
        s.AddNode(tree, entry, "*****", "Login", "x");
        s.SaveNote(tree, "one\ntwo", entry);
        model = std::make_unique<PasswordTreeModel>(tree);
        tester = std::make_unique<QAbstractItemModelTester>(
            model.get(), QAbstractItemModelTester::FailureReportingMode::Warning);
    }
    void TearDown() override
    {
        tester.reset();
        model.reset();
        qInstallMessageHandler(previousHandler);
        EXPECT_TRUE(testerFailures.isEmpty()) << testerFailures.join('\n').toStdString();
    }

    QModelIndex Index(const QString& key) { return model->IndexFromNode(tree.FindKey(key)); }
    QStringList Rows(const QModelIndex& parent)
    {
        QStringList texts;
        for (int r = 0; r < model->rowCount(parent); ++r)
            texts << model->index(r, 0, parent).data().toString();
        return texts;
    }

    PasswordTree tree;
    QString trash, bank, web, entry;
    std::unique_ptr<PasswordTreeModel> model;
    std::unique_ptr<QAbstractItemModelTester> tester;
};
} // namespace

TEST_F(PasswordTreeModelTest, ShowsTheNodes)
{
    ASSERT_EQ(model->rowCount(), 1);
    const QModelIndex root = model->index(0, 0);
    EXPECT_EQ(root.data().toString(), "Base");
    EXPECT_EQ(Rows(root), QStringList({ " Corbeille", "Banque", "Web" }));
    const QModelIndex e = Index(entry);
    EXPECT_EQ(e.parent(), Index(web));
    EXPECT_EQ(e.data(PasswordTreeModel::KeyRole).toString(), entry);
    EXPECT_EQ(e.data(PasswordTreeModel::ImageRole).toString(), "PasswordWebNot");
    EXPECT_EQ(e.data(PasswordTreeModel::IndexRole).toInt(), tree.FindKey(entry)->Index());
    EXPECT_EQ(e.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 0, 0));
    EXPECT_FALSE(root.data(Qt::BackgroundRole).isValid());
    EXPECT_EQ(model->NodeFromIndex(e), tree.FindKey(entry));
    EXPECT_FALSE(model->flags(e) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->flags(e) & Qt::ItemIsDragEnabled);
}

TEST_F(PasswordTreeModelTest, ShowsTheSelectedPictureInTheSelectedMode)
{
    auto& images = ImageListTreeView::Instance();
    const QIcon root = model->index(0, 0).data(Qt::DecorationRole).value<QIcon>();
    EXPECT_EQ(Picture(root, QIcon::Normal), Picture(images.Icon("RootNot"), QIcon::Normal));
    EXPECT_EQ(Picture(root, QIcon::Selected), Picture(images.Icon("Root"), QIcon::Normal));
    // No selected image: the image without its "Not".
    const QIcon tool = Index(web).data(Qt::DecorationRole).value<QIcon>();
    EXPECT_EQ(Picture(tool, QIcon::Selected), Picture(images.Icon("DirTool"), QIcon::Normal));
    EXPECT_NE(Picture(tool, QIcon::Selected), Picture(tool, QIcon::Normal));
    // Details show one picture, untinted.
    const QIcon login = model->index(0, 0, Index(entry)).data(Qt::DecorationRole).value<QIcon>();
    EXPECT_EQ(Picture(login, QIcon::Selected), Picture(login, QIcon::Normal));

    QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
    tree.FindKey(bank)->SetImage("DirKeyNot");
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed.at(0).at(0).value<QModelIndex>(), Index(bank));
    EXPECT_TRUE(changed.at(0).at(2).value<QList<int>>().contains(Qt::DecorationRole));
}

TEST_F(PasswordTreeModelTest, FollowsChangesRowByRow)
{
    auto& s = TreeStore::Instance();
    QSignalSpy resets(model.get(), &QAbstractItemModel::modelReset);
    const QPersistentModelIndex e(Index(entry));
    const QPersistentModelIndex b(Index(bank));

    const QString aaa = s.AddNode(tree, "Root", "Assurance", "DirNot", "");
    EXPECT_EQ(Rows(model->index(0, 0)), QStringList({ " Corbeille", "Assurance", "Banque", "Web" }));
    EXPECT_EQ(b.row(), 2);

    ASSERT_TRUE(s.MoveNode(tree, entry, trash, "Gmail"));
    EXPECT_EQ(e.parent(), Index(trash));
    EXPECT_EQ(e.data().toString(), "Gmail");

    tree.FindKey(aaa)->SetText("Zoo"); // moves to the end
    EXPECT_EQ(Rows(model->index(0, 0)), QStringList({ " Corbeille", "Banque", "Web", "Zoo" }));
    EXPECT_EQ(b.row(), 1);

    ASSERT_TRUE(s.SaveNote(tree, "changed\nnote\nlines", entry));
    ASSERT_TRUE(s.DeleteChildren(tree, entry));
    EXPECT_EQ(model->rowCount(e), 0);
    ASSERT_TRUE(s.DeleteNode(tree, web));
    EXPECT_EQ(Rows(model->index(0, 0)), QStringList({ " Corbeille", "Banque", "Zoo" }));

    tree.FindKey(bank)->SetSorted(false);
    s.AddNode(tree, bank, "b", "DirNot", "");
    TreeNode* unsorted = tree.FindKey(s.AddNode(tree, bank, "c", "DirNot", ""));
    s.AddNode(tree, bank, "a", "DirNot", "");
    s.AddNode(tree, bank, "d", "DirNot", "");
    EXPECT_EQ(Rows(b), QStringList({ "b", "c", "a", "d" }));
    const QPersistentModelIndex c(model->IndexFromNode(unsorted));
    tree.FindKey(bank)->SetSorted(true);
    EXPECT_EQ(Rows(b), QStringList({ "a", "b", "c", "d" }));
    EXPECT_EQ(model->IndexFromNode(unsorted).row(), 2);
    EXPECT_EQ(c.row(), 2) << "a view's selection follows its node";
    EXPECT_EQ(c.data().toString(), "c");
    EXPECT_EQ(resets.size(), 0) << "the view is never rebuilt for a change";
}

TEST_F(PasswordTreeModelTest, ResetsForALoadAndWhenTheTreeGoes)
{
    auto& s = TreeStore::Instance();
    const QByteArray saved = s.SaveTree(tree);
    s.AddNode(tree, bank, "extra", "DirNot", "");
    QSignalSpy resets(model.get(), &QAbstractItemModel::modelReset);
    ASSERT_TRUE(s.LoadTree(tree, saved));
    EXPECT_EQ(resets.size(), 1);
    EXPECT_EQ(model->rowCount(Index(bank)), 0);
    EXPECT_EQ(Rows(model->index(0, 0)), QStringList({ " Corbeille", "Banque", "Web" }));

    auto other = std::make_unique<PasswordTree>();
    other->Add(nullptr, "x", "x");
    PasswordTreeModel orphan(*other);
    other.reset();
    EXPECT_EQ(orphan.Tree(), nullptr);
    EXPECT_EQ(orphan.rowCount(), 0);
}

TEST_F(PasswordTreeModelTest, ViewFollowsExpandedBothWays)
{
    QTreeView view;
    view.setModel(model.get());
    model->FollowExpanded(&view);
    tree.Root()->SetExpanded(true);
    EXPECT_TRUE(view.isExpanded(model->index(0, 0)));
    EXPECT_TRUE(view.isExpanded(Index(bank))) << "new categories are expanded";
    EXPECT_FALSE(view.isExpanded(Index(web)));

    view.expand(Index(web));
    EXPECT_TRUE(tree.FindKey(web)->Expanded());
    view.collapse(Index(bank));
    EXPECT_FALSE(tree.FindKey(bank)->Expanded());

    // A load shows the stored states.
    auto& s = TreeStore::Instance();
    const QByteArray saved = s.SaveTree(tree);
    tree.Clear();
    ASSERT_TRUE(s.LoadTree(tree, saved));
    EXPECT_TRUE(view.isExpanded(model->index(0, 0)));
    EXPECT_TRUE(view.isExpanded(Index(web)));
    EXPECT_FALSE(view.isExpanded(Index(bank)));
}

TEST_F(PasswordTreeModelTest, EditingAndDroppingGoThroughTheHandlers)
{
    const QModelIndex e = Index(entry);
    EXPECT_FALSE(model->setData(e, "nope"));
    QStringList applied;
    model->SetLabelEditing([](const TreeNode* n) { return n->Image().contains("Password"); },
        [&](TreeNode* n, const QString& text) {
            applied << text;
            n->SetText(text.trimmed());
            return true;
        });
    EXPECT_TRUE(model->flags(e) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->flags(Index(bank)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model->setData(e, " Hotmail "));
    EXPECT_EQ(applied, QStringList({ " Hotmail " }));
    EXPECT_EQ(e.data().toString(), "Hotmail");
    EXPECT_FALSE(model->setData(Index(bank), "x"));

    // Drags: the start hook decides, drops land on items only, and the end
    // of the drag is told when its data goes.
    EXPECT_FALSE(model->flags(e) & Qt::ItemIsDragEnabled) << "no hooks, no drags";
    QString droppedKey;
    const TreeNode* droppedOn = nullptr;
    int ended = 0;
    model->SetDragHooks({
        .start = [&](TreeNode* node) { return node->Key() == entry; },
        .ended = [&] { ++ended; },
        .canDrop = [&](const QString& key, TreeNode* target) { return key == entry && target->Key() == trash; },
        .drop =
            [&](const QString& key, TreeNode* target) {
                droppedKey = key;
                droppedOn = target;
                return true;
            },
    });
    EXPECT_TRUE(model->flags(e) & Qt::ItemIsDragEnabled);
    EXPECT_EQ(model->mimeData({ Index(bank) }), nullptr) << "refused by the start hook";
    std::unique_ptr<QMimeData> data(model->mimeData({ e }));
    ASSERT_TRUE(data);
    EXPECT_EQ(data->text(), entry);
    EXPECT_EQ(model->supportedDragActions(), Qt::CopyAction);
    EXPECT_TRUE(model->canDropMimeData(data.get(), Qt::CopyAction, -1, -1, Index(trash)));
    EXPECT_FALSE(model->canDropMimeData(data.get(), Qt::CopyAction, -1, -1, Index(bank)));
    EXPECT_FALSE(model->canDropMimeData(data.get(), Qt::CopyAction, 0, 0, Index(trash))) << "between rows";
    EXPECT_FALSE(model->dropMimeData(data.get(), Qt::CopyAction, 0, 0, Index(trash)));
    EXPECT_FALSE(model->dropMimeData(data.get(), Qt::CopyAction, -1, -1, QModelIndex())) << "on no item";
    EXPECT_TRUE(droppedKey.isEmpty());
    EXPECT_TRUE(model->dropMimeData(data.get(), Qt::CopyAction, -1, -1, Index(trash)));
    EXPECT_EQ(droppedKey, entry);
    EXPECT_EQ(droppedOn, tree.FindKey(trash));
    EXPECT_EQ(ended, 0);
    data.reset();
    EXPECT_EQ(ended, 1);
}

// --- Image list ---------------------------------------------------------------------

TEST(ImageListTreeViewTest, HoldsEveryKindWithItsTwin)
{
    const auto& images = ImageListTreeView::Instance();
    const QStringList keys = images.Keys();
    EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
    for (const char* key : { "Root", "RootNot", "Info", "InfoNot", "Stat", "StatNot", "Option", "OptionNot", "Trash",
             "TrashNot", "TrashKey", "TrashKeyNot", "Dir", "DirNot", "DirKey", "DirKeyNot", "Password", "PasswordNot",
             "PasswordWeb", "PasswordWebNot", "Login", "Key", "Date", "Custom1", "Web", "File", "Note", "Quote",
             "Create", "User", "Title" })
        EXPECT_TRUE(images.Contains(key)) << key;

    const QStringList categories = images.CategoryKeys();
    ASSERT_EQ(categories.size(), 62);
    for (const QString& key : categories) {
        EXPECT_TRUE(key.startsWith("Dir"));
        EXPECT_FALSE(images.Label(key).isEmpty()) << qPrintable(key);
        EXPECT_EQ(keys.at(keys.indexOf(key) + 1), key + "Not");
        EXPECT_TRUE(images.Label(key + "Not").isEmpty());
    }
    EXPECT_EQ(keys.size(), 62 * 2 + 6 * 2 + 2 * 2 + 11);
    // What the icon choice lists: keys with "Dir" that carry a label.
    QStringList chosen;
    for (const QString& key : keys) {
        if (key.contains("Dir") && !images.Label(key).isEmpty())
            chosen << key;
    }
    EXPECT_EQ(chosen, categories);
}

TEST(ImageListTreeViewTest, LabelsAreTheFrenchOnes)
{
    const auto& images = ImageListTreeView::Instance();
    const std::pair<const char*, const char*> labels[] = {
        { "Dir", "Défaut" },
        { "DirKey", "Password" },
        { "DirUser", "Groupe" },
        { "DirGroup", "Groupe" },
        { "DirRule", "Réglement" },
        { "DirArrow", "Flêche" },
        { "DirBlue", "Carré bleu" },
        { "DirProcessKey", "Process Password" },
        { "DirVisa", "Crédit" },
        { "DirHeart", "Coeur" },
    };
    for (const auto& [key, label] : labels)
        EXPECT_EQ(images.Label(key), QString::fromUtf8(label)) << key;
    EXPECT_TRUE(images.Label("Login").isEmpty());
    EXPECT_TRUE(images.Label("nope").isEmpty());
}

TEST(ImageListTreeViewTest, EveryKeyHasADistinctPicture)
{
    const auto& images = ImageListTreeView::Instance();
    QHash<QByteArray, QString> seen;
    for (const QString& key : images.Keys()) {
        const QIcon icon = images.Icon(key);
        ASSERT_FALSE(icon.isNull()) << qPrintable(key);
        const QImage small = icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
        int opaque = 0;
        for (int y = 0; y < small.height(); ++y)
            for (int x = 0; x < small.width(); ++x)
                opaque += qAlpha(small.pixel(x, y)) > 128;
        EXPECT_GT(opaque, 40) << qPrintable(key) << " draws almost nothing at 16 pixels";
        const QByteArray hash = QCryptographicHash::hash(Picture(icon, QIcon::Normal), QCryptographicHash::Sha1);
        EXPECT_FALSE(seen.contains(hash)) << qPrintable(key) << " looks like " << qPrintable(seen.value(hash));
        seen.insert(hash, key);
    }
}

TEST(ImageListTreeViewTest, UnknownKeysFallBack)
{
    const auto& images = ImageListTreeView::Instance();
    EXPECT_TRUE(images.Icon("nope").isNull());
    EXPECT_EQ(images.ShownKey("DirFromAnOldVersionNot"), "DirNot");
    EXPECT_EQ(images.ShownKey("DirFromAnOldVersion"), "Dir");
    EXPECT_EQ(images.ShownKey("nope"), QString());
    EXPECT_TRUE(images.NodeIcon("nope", QString()).isNull());
    EXPECT_FALSE(images.NodeIcon("DirOddNot", QString()).isNull());
}
