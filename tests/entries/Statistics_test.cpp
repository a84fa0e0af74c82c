// The statistics page through the real main window: the counts shown after
// each change of a database, read from the page's boxes.

#include "support/MainWindowFixture.h"

#include "components/NodeImages.h"
#include "services/main/StatPage.h"

#include <QLineEdit>

#include <array>
#include <functional>

namespace keyholm::test {
namespace {

// Entries, in the trash, categories, with expiry, web, file, note, without
// login, without password, expired, sharing a password.
using Counts = std::array<int, 11>;

class StatisticsTest : public MainWindowFixture {
protected:
    // Selects the statistics node, as a click does, and reads the boxes;
    // -1 for a box that does not hold a decimal number.
    Counts Shown()
    {
        Window().Entries().tvTreeView_NodeClick(ServiceNode(NodeImage::StatNot));
        EXPECT_EQ(Ui().PasswordTabView->currentIndex(), int(DetailPage::Stat));
        Counts shown {};
        for (std::size_t i = 0; i < shown.size(); ++i) {
            bool decimal = false;
            shown[i] = Ui().Stat->TextStat[i]->text().toInt(&decimal);
            if (!decimal)
                shown[i] = -1;
        }
        return shown;
    }
};

TEST_F(StatisticsTest, CountsFollowTheDatabaseAndLeaveTheTrashOut)
{
    TreeNode* root = NewDatabase();
    TreeNode* trash = Tree().FindKey(State().TrashNodeKey());
    ASSERT_NE(trash, nullptr);
    const QDate today = QDate::currentDate();
    TreeNode* bank = nullptr;
    TreeNode* stars = nullptr;
    TreeNode* full = nullptr;

    struct Step {
        const char* what;
        std::function<void()> change;
        Counts expected;
    };
    const Step steps[] = {
        { "a new database", [] {}, { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 } },
        { "an entry with every detail, expired yesterday",
            [&] {
                bank = AddCategory(root, "Banque", NodeImage::DirKeyNot);
                full = AddEntry(bank, "Compte courant",
                    { .login = "moi",
                        .password = "secret-1",
                        .web = "https://banque.example/",
                        .file = "/tmp/releve.pdf",
                        .note = "ligne 1\nligne 2",
                        .expiry = today.addDays(-1) });
            },
            { 1, 0, 1, 1, 1, 1, 1, 0, 0, 1, 0 } },
        { "an entry without details", [&] { AddEntry(bank, "Livret", {}); }, { 2, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0 } },
        { "categories with icons of their own, one entry sharing the password",
            [&] {
                stars = AddCategory(root, "Etoiles", "DirStarNot");
                AddCategory(root, "Infos", "DirInfoNot");
                AddEntry(stars, "Forum", { .password = "secret-1", .expiry = today.addDays(30) });
            },
            { 3, 0, 3, 2, 1, 1, 1, 2, 1, 1, 2 } },
        { "an entry in the trash with the same password",
            [&] {
                AddEntry(trash, "Ancien",
                    { .login = "moi",
                        .password = "secret-1",
                        .web = "https://ancien.example/",
                        .note = "vieux",
                        .expiry = today.addDays(-3) });
                trash->SetImage(NodeImage::TrashKeyNot);
            },
            { 3, 1, 3, 2, 1, 1, 1, 2, 1, 1, 2 } },
        { "a database comment",
            [&] {
                ASSERT_TRUE(
                    TreeStore::Instance().SaveNote(Tree(), "Mes comptes", ServiceNode(NodeImage::InfoNot)->Key()));
            },
            { 3, 1, 3, 2, 1, 1, 2, 2, 1, 1, 2 } },
        { "an entry with another password, expiring today",
            [&] { AddEntry(stars, "Messagerie", { .login = "moi", .password = "autre", .expiry = today }); },
            { 4, 1, 3, 3, 1, 1, 2, 2, 1, 2, 2 } },
        { "the entry with every detail moved into the trash",
            [&] { ASSERT_TRUE(TreeStore::Instance().MoveNode(Tree(), full->Key(), trash->Key(), full->Text())); },
            { 3, 2, 3, 2, 0, 0, 1, 2, 1, 1, 0 } },
    };
    for (const Step& step : steps) {
        step.change();
        EXPECT_EQ(Shown(), step.expected) << step.what;
    }
}

} // namespace
} // namespace keyholm::test
