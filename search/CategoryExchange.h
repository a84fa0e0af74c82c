#pragma once
// Export and import of the entries of a category (or of the whole tree from
// the root) through the list window: the export shows the table and writes
// it with the list's export buttons; the import reads a file of our own
// table or another password manager's CSV export, shows it, and on
// "Importer" makes one entry per row below the node.

#include "search/ExchangeTable.h"
#include "services/main/MainArea.h"

namespace keyholm {

class CategoryExchange : public MainArea {
public:
    using MainArea::MainArea;

    void ExportPasswordCategory(TreeNode* mainNode);
    void ImportPasswordCategory(TreeNode* mainNode);

    // What an import made.
    struct Outcome {
        int added = 0;
        int renamed = 0; // numbered, their title being taken
        TreeNode* last = nullptr; // the last entry made
    };
    // Makes the rows entries below `target`, creating the categories they
    // name. Rows made before a failure stay.
    Outcome AddRows(TreeNode* target, const std::vector<ListRow>& rows, QChar categoryPath);
};

} // namespace keyholm
