#pragma once
// The one owner of how an entry is laid out in the tree: the entry node
// (its title, colour and the dates in its tag) and its detail children,
// the login and password coded, an expiry date, a custom field, a web
// address, a linked file and a note.

#include <QDate>
#include <QString>

namespace keyholm {

class PasswordTree;
class TreeNode;

struct EntryRecord {
    QString title;
    QString login; // plain; coded in the tree
    QString password; // plain; coded in the tree
    QString web;
    QString file;
    QString custom;
    QString note;
    bool expires = false; // the entry has an expiry date detail
    QDate expiry; // its date; invalid when the detail does not read
    qint32 color = -1; // stored as 0x00BBGGRR, -1 for none
    QString created; // tag texts of the entry's dates
    QString changed;

    // The entry `entry` of `tree`, its secrets decoded.
    static EntryRecord Read(const PasswordTree& tree, const TreeNode* entry);
    // Adds the entry under `parent` with the details that are not empty (an
    // expiry when `expiry` is valid);
    // dates left empty are now. The new entry node, null on failure.
    TreeNode* Write(PasswordTree& tree, TreeNode* parent) const;
    // Gives the existing entry this record's title, dates, colour, images
    // and details. The new details are built before the old ones go, so
    // that a failure leaves the entry as it was. False on failure.
    bool Rewrite(PasswordTree& tree, TreeNode* entry) const;
    // Overwrites the decoded secrets once they served.
    void Wipe();
    // True when both hold the same fields, expiry and colour (no colour and
    // white are one), their dates aside.
    bool SameFields(const EntryRecord& other) const;

private:
    // The entry's tag: its two dates, now for those left empty.
    QString DatesTag() const;
};

} // namespace keyholm
