#pragma once
// The table a category is exported to and imported from: ten columns, one
// row an entry, in the order Catégorie, Titre, Login, Password, Expiration,
// Web, Fichier, Note, Créé, Modifié. Import files are our own table (";" or
// "," between cells) or the CSV export of another password manager,
// recognised by its header line and turned into the same table.

#include "components/DelimitedText.h"
#include "components/ListTable.h"

#include <QString>

namespace keyholm {

class PasswordTree;
class TreeNode;

// The columns, numbered from 0.
struct ExchangeColumn {
    enum : int { Category, Title, Login, Password, Expiry, Web, File, Note, Created, Changed, Count };
};

// Empties the list and gives it the ten columns.
void ExportImportTableCreation(ListTable& list);

// Appends one row per entry found below `mainNode`, depth first, leaving out
// the trash and the service nodes; the login and password decoded, the
// note on one line. False, and nothing added, when the node has no
// children.
bool AddPasswordCategoryToList(ListTable& list, const PasswordTree& tree, const TreeNode* mainNode);

// An import file, read and split into rows.
struct ExchangeFile {
    enum class Status { Read, Unreadable, TooLarge, NotATable };
    Status status = Status::Unreadable;
    // The other program whose export it is; empty for our own table.
    QString format;
    DelimitedText text;

    ExchangeFile() = default;
    ExchangeFile(ExchangeFile&&) = default;
    ExchangeFile& operator=(ExchangeFile&&) = default;
    ~ExchangeFile() { WipeRows(text.rows); }
};

ExchangeFile ReadExchangeFile(const QString& path);

// The rows of an import, with what was left out and why.
struct ExchangeRows {
    std::vector<ListRow> rows; // ten cells each
    // Category cells are paths ("A/B"): the groups of another manager.
    QChar categoryPath;
    int tooLong = 0; // rows longer than an entry can reasonably be
    int empty = 0; // rows without a title, login, password, address or note
    int unsupported = 0; // cards, identities: no entry to make of them
    int codesLeftOut = 0; // two-factor secrets, not imported
};

// The file's rows as the ten columns; `header` drops the first row of our
// own table (another manager's header line always goes).
ExchangeRows ToExchangeRows(ExchangeFile& file, bool header);

// What an import made.
struct ImportOutcome {
    int added = 0;
    int renamed = 0; // numbered, their title being taken
    TreeNode* last = nullptr; // the last entry made
    std::vector<TreeNode*> lastInCategory; // the last entry made in each category
};

// Makes one entry a row below `target`, in the category the row names
// (trimmed, letter case aside, categories only; made when missing; "Divers"
// when none), nested when `categoryPath` separates the names of a path.
// Titles are trimmed and numbered when taken ("Sans titre" when blank), an
// empty login is "Mot de Passe", dates that do not read are now. Throws when
// the tree refuses a node; what was made stays, counted in `outcome`.
void ImportRows(
    PasswordTree& tree, TreeNode* target, const std::vector<ListRow>& rows, QChar categoryPath, ImportOutcome& outcome);

// Overwrites the decoded secrets of the rows and empties them.
void WipeTable(std::vector<ListRow>& rows);

} // namespace keyholm
