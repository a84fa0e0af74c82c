#include "support/QtPrinters.h"

#include "services/ui/ListBoxTools.h"

#include <QListWidget>

#include <gtest/gtest.h>

namespace keyholm::test {
namespace {

TEST(FindListItem, FindsExactlyOrLetterCaseAsideWalkingASortedListFromItsEnd)
{
    QListWidget empty;
    EXPECT_EQ(FindListItem(empty, "Forum", false), -1);

    QListWidget plain;
    plain.addItems({ "forum", "Finance", "FORUM", "Forum" });
    QListWidget sorted;
    sorted.setSortingEnabled(true);
    sorted.addItems({ "forum", "Finance", "FORUM", "Forum" }); // FORUM, Finance, Forum, forum
    ASSERT_EQ(sorted.item(3)->text(), "forum");
    const struct {
        const char* name;
        const QListWidget& list;
        QString text;
        bool ignoreCase;
        int row;
    } cases[] = {
        { "exact", plain, "Forum", false, 3 },
        { "letter case counts", plain, "FoRuM", false, -1 },
        { "letter case aside: the first met", plain, "FoRuM", true, 0 },
        { "sorted, letter case aside: the first met from the end", sorted, "FoRuM", true, 3 },
        { "sorted, exact", sorted, "FORUM", false, 0 },
        { "absent", plain, "Web", true, -1 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindListItem(c.list, c.text, c.ignoreCase), c.row) << c.name;
}

} // namespace
} // namespace keyholm::test
