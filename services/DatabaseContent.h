#pragma once
// The tree of a database and its way into the file, shared by the window and
// keyholm-cli so that a file written by one reads the same in the other: the
// tree of a new database, the save time kept in it, and the write itself
// (TreeStore buffer, coded into the file atomically, the buffer wiped).

#include "components/FileKey.h"

#include <QString>

namespace keyholm {

class PasswordTree;
class TreeNode;

// Builds the tree of a new database into an empty `tree`: the root and the
// information (with its creation date and user), statistics, options and
// trash nodes. False when the tree refused a node.
bool BuildDefaultTree(PasswordTree& tree);

// The information node's "Create" detail keeps the time of the last save in
// its second field. Stamp sets it to now (and folds the information node);
// Undo puts the previous time back after a save that failed.
class SaveStamp {
public:
    explicit SaveStamp(PasswordTree& tree);
    void Undo();

private:
    TreeNode* created_ = nullptr;
    QString previous_;
};

enum class DatabaseWrite {
    Written,
    // The root holds an older file's master password and the key does not
    // come from one: nothing is written, so that the password never goes
    // out under a weaker key.
    RootPasswordWithoutKey,
    TreeNotSaved, // TreeStore gave no buffer
    FileNotWritten, // no key, or the coded file could not be written
};

// Writes the whole tree to `path` with `key` (none: nothing is written). A
// password an older file kept in its root is dropped when the key is a
// protected one.
[[nodiscard]] DatabaseWrite WriteDatabase(PasswordTree& tree, const QString& path, const FileKey* key);

} // namespace keyholm
