// Category export and import: 10,000 entries turned into the exchange
// table, the table written as CSV and read back, and its rows made entries
// again, into an empty category and into one already holding 100,000 (the
// cost of a row must not grow with the category).

#include "BenchEntries.h"
#include "BenchSupport.h"

#include "components/DelimitedText.h"
#include "components/ExchangeTable.h"
#include "components/ListTools.h"
#include "components/NodeImages.h"
#include "components/TextEncoding.h"
#include "components/TreeStore.h"

#include <QBuffer>
#include <QCoreApplication>

using namespace keyholm;
using keyholm::bench::BestMs;
using keyholm::bench::Report;

namespace {

TreeNode* AddCategory(PasswordTree& tree, TreeNode* parent, const QString& name)
{
    return tree.FindKey(TreeStore::Instance().AddNode(
        tree, parent ? parent->Key() : QString(), name, parent ? NodeImage::DirNot : NodeImage::Root, QString()));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    constexpr int Entries = 10'000;
    PasswordTree tree;
    TreeNode* root = AddCategory(tree, nullptr, QStringLiteral("Mes mots de passe"));
    TreeNode* bank = AddCategory(tree, root, QStringLiteral("Banque"));
    for (int i = 0; i < Entries; ++i)
        bench::BenchEntry(i).Write(tree, bank);

    ListTable list;
    Report("exchange.export_rows.10000",
        BestMs(5,
            [&] {
                ExportImportTableCreation(list);
                AddPasswordCategoryToList(list, tree, root);
            }),
        "ms");

    QByteArray bytes;
    Report("exchange.write_csv.10000",
        BestMs(5,
            [&] {
                bytes.clear();
                QBuffer buffer(&bytes);
                buffer.open(QIODevice::WriteOnly);
                (void)DelimitedListWriter::Csv(DelimitedListWriter::CsvHeaderLine(list)).Write(list, buffer);
            }),
        "ms");

    // The file's bytes decoded, then split into rows (freed and wiped with
    // them, as an import does).
    std::size_t parsed = 0;
    const QString decoded = DecodeTextBytes(bytes);
    Report("exchange.decode_csv.10000", BestMs(5, [&] { (void)DecodeTextBytes(bytes); }), "ms");
    Report("exchange.parse_csv.10000",
        BestMs(5,
            [&] {
                DelimitedText text = ParseDelimited(decoded, u';');
                parsed = text.rows.size();
                WipeRows(text.rows);
            }),
        "ms");

    // Every row into one category ("Banque"), numbered as they are all taken
    // the second time.
    auto import = [&](TreeNode* target, std::size_t rows) {
        ImportOutcome outcome;
        const std::vector<ListRow> some(list.rows.begin(), list.rows.begin() + std::ptrdiff_t(rows));
        ImportRows(tree, target, some, QChar(), outcome);
        return outcome.added;
    };
    int added = 0;
    TreeNode* empty = AddCategory(tree, root, QStringLiteral("Import"));
    Report("exchange.import.10000", BestMs(1, [&] { added = import(empty, Entries); }), "ms");

    // Into a category of 100,000 entries: a thousand rows, then ten
    // thousand; what a row adds is the difference over the 9,000 more.
    TreeNode* big = AddCategory(tree, root, QStringLiteral("Grand"));
    for (int round = 0; round < 10; ++round)
        import(big, Entries);
    const double thousand = BestMs(1, [&] { import(big, 1000); });
    const double tenThousand = BestMs(1, [&] { added += import(big, Entries); });
    Report("exchange.import_into_100000.1000", thousand, "ms");
    Report("exchange.import_into_100000.10000", tenThousand, "ms");
    Report("exchange.import_row_into_100000", (tenThousand - thousand) * 1000.0 / (Entries - 1000), "us");
    Report("exchange.import_row_into_empty",
        BestMs(1, [&] { import(AddCategory(tree, root, QStringLiteral("Vide")), Entries); }) * 1000.0 / Entries, "us");

    const bool ok = parsed == std::size_t(Entries + 1) && added == 2 * Entries;
    if (!ok)
        std::fprintf(stderr, "unexpected counts: parsed %zu, added %d\n", parsed, added);
    return ok ? 0 : 1;
}
