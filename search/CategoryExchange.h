#pragma once
// Export and import of the entries of a category (or of the whole tree from
// the root) through the list window: the export shows the table and writes
// it with the list's export buttons; the import reads a file of our own
// table or another password manager's CSV export, shows it, and on
// "Importer" makes one entry per row below the node.

#include "components/ExchangeTable.h"
#include "services/main/MainArea.h"

namespace keyholm {

class CategoryExchange : public MainArea {
public:
    using MainArea::MainArea;

    void ExportPasswordCategory(TreeNode* mainNode);
    void ImportPasswordCategory(TreeNode* mainNode);

    // Makes the rows entries below `target` (see ImportRows) and marks the
    // database changed. Rows made before a failure stay.
    ImportOutcome AddRows(TreeNode* target, const std::vector<ListRow>& rows, QChar categoryPath);
};

} // namespace keyholm
