#include "entries/Statistics.h"

#include "components/CipherEngine.h"
#include "components/FieldCoding.h"
#include "components/NodeImages.h"
#include "components/NodeTags.h"
#include "components/PasswordTree.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace keyholm {

namespace {

// What each image key counts as.
enum Class : std::uint8_t {
    EntryClass = 1, // "Password" partial
    DirClass = 2, // "Dir" partial
    DateClass = 4, // "Date" partial
    WebClass = 8, // "PasswordWeb" partial
    FileClass = 16, // "File" partial
    NoteClass = 32, // "Note" partial
    LoginClass = 64, // "Login" exact
    KeyClass = 128, // "Key" exact
};

std::vector<std::uint8_t> Classify(const PasswordTree& tree)
{
    std::vector<std::uint8_t> classes(tree.ImageCount());
    for (std::uint32_t id = 0; id < classes.size(); ++id) {
        const QString& image = tree.ImageKey(id);
        std::uint8_t c = 0;
        c |= image.contains(NodeImage::Password) ? EntryClass : 0;
        c |= image.contains(NodeImage::Dir) ? DirClass : 0;
        c |= image.contains(NodeImage::Date) ? DateClass : 0;
        c |= image.contains(NodeImage::PasswordWeb) ? WebClass : 0;
        c |= image.contains(NodeImage::File) ? FileClass : 0;
        c |= image.contains(NodeImage::Note) ? NoteClass : 0;
        c |= image == NodeImage::Login ? LoginClass : 0;
        c |= image == NodeImage::Key ? KeyClass : 0;
        classes[id] = c;
    }
    return classes;
}

// Counts over a start node, by image id.
using Counts = std::vector<int>;

int Sum(const Counts& counts, const std::vector<std::uint8_t>& classes, std::uint8_t c)
{
    int sum = 0;
    for (std::size_t id = 0; id < counts.size(); ++id)
        sum += (classes[id] & c) ? counts[id] : 0;
    return sum;
}

// The node that follows the subtree of `node` in display order, staying
// inside the subtree of `within`; null at its end.
const TreeNode* AfterSubtree(const TreeNode* node, const TreeNode* within)
{
    for (const TreeNode* n = node; n != within; n = n->Parent()) {
        const TreeNode* parent = n->Parent();
        if (!parent)
            return nullptr;
        if (n->Row() + 1 < parent->ChildCount())
            return parent->Child(n->Row() + 1);
    }
    return nullptr;
}

int CompareTexts(const PackedText& a, const PackedText& b)
{
    return a.Visit([&](auto x) { return b.Visit([&](auto y) { return x.compare(y); }); });
}

// Entries sharing a password. Fields are coded deterministically: two coded
// texts are equal exactly when the passwords are, so the coded texts are
// grouped and only one of each shared group is decoded, to leave out texts
// that do not decode.
int SharedPasswords(const std::vector<const TreeNode*>& keys)
{
    struct Coded {
        std::uint64_t prefix; // orders most pairs without reading the texts
        const PackedText* text;
    };
    std::vector<Coded> coded;
    coded.reserve(keys.size());
    for (const TreeNode* key : keys) {
        const PackedText& text = key->TagData();
        const std::uint64_t prefix = text.Visit([](auto view) {
            std::uint64_t bits = 0;
            for (qsizetype i = 0; i < 8; ++i)
                bits = (bits << 8) | (i < view.size() ? (CodeUnit(view, i) & 0xff) : 0);
            return bits;
        });
        coded.push_back({ prefix, &text });
    }
    const auto less = [](const Coded& a, const Coded& b) {
        return a.prefix != b.prefix ? a.prefix < b.prefix : CompareTexts(*a.text, *b.text) < 0;
    };
    std::sort(coded.begin(), coded.end(), less);
    int shared = 0;
    for (std::size_t first = 0; first < coded.size();) {
        std::size_t end = first + 1;
        while (end < coded.size() && !less(coded[first], coded[end]))
            ++end;
        if (end - first > 1 && !coded[first].text->IsEmpty()) {
            QString password = DecodeField(coded[first].text->ToString());
            if (!password.isEmpty())
                shared += int(end - first);
            CipherEngine::Wipe(password);
        }
        first = end;
    }
    return shared;
}

} // namespace

Statistics Statistics::Compute(const PasswordTree& tree, const QString& trashKey, QDate today)
{
    Statistics result;
    const TreeNode* root = tree.Root();
    if (!root)
        return result;
    const TreeNode* trash = trashKey.isEmpty() ? nullptr : tree.FindKey(trashKey);
    const std::vector<std::uint8_t> classes = Classify(tree);
    Counts overRoot(classes.size());
    Counts overTrash(classes.size());
    const auto dateId = tree.FindImageId(NodeImage::Date);
    const auto keyId = tree.FindImageId(NodeImage::Key);
    std::vector<const TreeNode*> passwords;
    int expired = 0;

    // The entry's first expiry and password details, as an entry reads them.
    const auto entryDetails = [&](const TreeNode* entry) {
        bool dateSeen = false;
        bool keySeen = false;
        for (const TreeNode* child : entry->Children()) {
            if (!dateSeen && dateId && child->ImageId() == *dateId) {
                dateSeen = true;
                const QDate date = ReadDateTag(child->TagData().ToString());
                expired += date.isValid() && date <= today ? 1 : 0;
            } else if (!keySeen && keyId && child->ImageId() == *keyId) {
                keySeen = true;
                passwords.push_back(child);
            }
        }
    };

    const bool trashInRoot = trash && (trash == root || root->IsAncestorOf(trash));
    bool inTrash = trash == root;
    const TreeNode* trashEnd = nullptr;
    for (const TreeNode* n = tree.Next(root, root); n; n = tree.Next(n, root)) {
        if (inTrash && n == trashEnd)
            inTrash = false;
        const std::uint32_t id = n->ImageId();
        ++overRoot[id];
        if (inTrash)
            ++overTrash[id];
        else if (classes[id] & EntryClass)
            entryDetails(n);
        if (n == trash) {
            inTrash = true;
            trashEnd = AfterSubtree(trash, root); // null: the trash runs to the end
        }
    }
    if (trash && !trashInRoot) {
        for (const TreeNode* n = tree.Next(trash, trash); n; n = tree.Next(n, trash))
            ++overTrash[n->ImageId()];
    }

    const auto ofRoot = [&](std::uint8_t c) { return Sum(overRoot, classes, c); };
    const auto ofTrash = [&](std::uint8_t c) { return Sum(overTrash, classes, c); };
    const auto outside = [&](std::uint8_t c) { return ofRoot(c) - ofTrash(c); };
    auto& v = result.values;
    v[Entries] = outside(EntryClass);
    v[TrashEntries] = ofTrash(EntryClass);
    v[Categories] = ofRoot(DirClass);
    v[WithExpiry] = outside(DateClass);
    v[WithWeb] = outside(WebClass);
    v[WithFile] = outside(FileClass);
    v[WithNote] = outside(NoteClass);
    v[WithoutLogin] = v[Entries] - outside(LoginClass);
    v[WithoutPassword] = v[Entries] - outside(KeyClass);
    v[Expired] = expired;
    v[SharedPassword] = SharedPasswords(passwords);
    return result;
}

} // namespace keyholm
