#pragma once
// The counts of the statistics page, taken in one walk over the tree. A count
// "over" the root or the trash is TreeStore::CountNodes with the subtree: the
// start node itself left out, images matched as their text (partial: the
// image contains it; exact: equal), letter case counting. Most counts are the
// root's less the trash's; the nodes of the trash are told by ancestry.

#include <QDate>
#include <QString>

#include <array>

namespace keyholm {

class PasswordTree;

struct Statistics {
    // In the order of the page's boxes.
    enum Value {
        Entries, // "Password" (partial) over the root, less over the trash
        TrashEntries, // "Password" (partial) over the trash
        Categories, // "Dir" (partial) over the root, the trash included
        WithExpiry, // "Date" nodes outside the trash
        WithWeb, // "PasswordWeb" entries outside the trash
        WithFile, // "File" nodes outside the trash
        WithNote, // "Note" nodes outside the trash, the database comment included
        WithoutLogin, // Entries less the "Login" (exact) nodes outside the trash
        WithoutPassword, // Entries less the "Key" (exact) nodes outside the trash
        Expired, // entries outside the trash whose expiry date is `today` or earlier
        SharedPassword, // entries outside the trash whose password another one there has too
        ValueCount
    };

    std::array<int, ValueCount> values {};

    int operator[](Value value) const { return values[value]; }

    // The trash is the node of `trashKey`; without it, nothing is in the trash.
    static Statistics Compute(const PasswordTree& tree, const QString& trashKey, QDate today = QDate::currentDate());
};

} // namespace keyholm
