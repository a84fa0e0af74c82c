#include "components/EntryRecord.h"

#include "components/CipherEngine.h"
#include "components/FieldCoding.h"
#include "components/NodeImages.h"
#include "components/NodeTags.h"
#include "components/PasswordTree.h"
#include "components/SystemInfo.h"
#include "components/TextTools.h"
#include "components/TreeStore.h"

#include <QStringList>
#include <QTime>

namespace keyholm {

EntryRecord EntryRecord::Read(const PasswordTree& tree, const TreeNode* entry)
{
    EntryRecord record;
    if (!entry)
        return record;
    const TreeStore& store = TreeStore::Instance();
    auto child
        = [&](const QString& image) -> TreeNode* { return tree.NodeAt(store.FindChild(tree, entry->Index(), image)); };
    record.title = entry->Text();
    record.color = entry->BackColor();
    const TextTools& text = TextTools::Instance();
    record.created = text.BeforeFirst(entry->Tag(), TagSeparator);
    record.changed = text.AfterFirst(entry->Tag(), TagSeparator);
    if (TreeNode* login = child(NodeImage::Login))
        record.login = DecodeField(login->Tag());
    if (TreeNode* key = child(NodeImage::Key))
        record.password = DecodeField(key->Tag());
    if (TreeNode* date = child(NodeImage::Date)) {
        record.expires = true;
        record.expiry = ReadDateTimeTag(date->Tag()).date();
    }
    if (TreeNode* custom = child(NodeImage::Custom1))
        record.custom = custom->Text();
    if (TreeNode* web = child(NodeImage::Web))
        record.web = web->Text();
    if (TreeNode* file = child(NodeImage::File))
        record.file = file->Text();
    record.note = store.LoadNote(tree, entry->Key());
    return record;
}

TreeNode* EntryRecord::Write(PasswordTree& tree, TreeNode* parent) const
{
    if (!parent)
        return nullptr;
    TreeStore& store = TreeStore::Instance();
    const QString key = store.AddNode(
        tree, parent->Key(), title, web.isEmpty() ? NodeImage::PasswordNot : NodeImage::PasswordWebNot, DatesTag());
    TreeNode* entry = tree.FindKey(key);
    if (!entry)
        return nullptr;
    if (color >= 0)
        entry->SetBackColor(color);
    auto detail = [&](const QString& image, const QString& shown, const QString& value) {
        if (value.isEmpty())
            return;
        if (TreeNode* child = tree.FindKey(store.AddNode(tree, key, shown, image, value)))
            child->SetSelectedImage(image);
    };
    // The secrets show as a mask of their length; their tag holds them coded.
    if (!login.isEmpty())
        detail(NodeImage::Login, QString(login.size(), QLatin1Char('*')), CodeField(login));
    if (!password.isEmpty())
        detail(NodeImage::Key, QString(password.size(), QLatin1Char('*')), CodeField(password));
    if (expiry.isValid())
        detail(NodeImage::Date,
            SystemInfo::Instance().Locale().toString(expiry, SystemInfo::Instance().LongDateFormat()),
            DateTimeTag(QDateTime(expiry, QTime(0, 0))));
    detail(NodeImage::Custom1, custom, custom);
    detail(NodeImage::Web, web, web);
    detail(NodeImage::File, file, file);
    if (!note.isEmpty() && store.SaveNote(tree, note, key)) {
        if (TreeNode* noteNode = tree.NodeAt(store.FindChild(tree, entry->Index(), NodeImage::Note)))
            noteNode->SetSelectedImage(NodeImage::Note);
    }
    return entry;
}

QString EntryRecord::DatesTag() const
{
    // Now only when needed: the clock is read through the time zone.
    const QString now = created.isEmpty() || changed.isEmpty() ? NowTag() : QString();
    return (created.isEmpty() ? now : created) + TagSeparator + (changed.isEmpty() ? now : changed);
}

bool EntryRecord::Rewrite(PasswordTree& tree, TreeNode* entry) const
{
    if (!entry || !entry->Parent())
        return false;
    TreeStore& store = TreeStore::Instance();
    // The new details are made under a scratch entry beside this one, then
    // moved in once the old ones are gone.
    TreeNode* scratch = Write(tree, entry->Parent());
    if (!scratch)
        return false;
    const QString key = entry->Key();
    QStringList details;
    for (const TreeNode* child : scratch->Children())
        details << child->Key();
    store.DeleteChildren(tree, key);
    for (const QString& detail : details)
        store.MoveNode(tree, detail, key, QString());
    store.DeleteNode(tree, scratch->Key());
    entry->SetText(title);
    entry->SetTag(DatesTag());
    entry->SetImage(web.isEmpty() ? NodeImage::PasswordNot : NodeImage::PasswordWebNot);
    entry->SetSelectedImage(web.isEmpty() ? NodeImage::Password : NodeImage::PasswordWeb);
    if (color >= 0)
        entry->SetBackColor(color);
    return true;
}

bool EntryRecord::SameFields(const EntryRecord& other) const
{
    constexpr qint32 White = 0xffffff;
    const auto colour = [](qint32 value) { return value < 0 ? White : value; };
    return title == other.title && login == other.login && password == other.password && web == other.web
        && file == other.file && custom == other.custom && note == other.note && expires == other.expires
        && (!expires || expiry == other.expiry) && colour(color) == colour(other.color);
}

void EntryRecord::Wipe()
{
    CipherEngine::Wipe(login);
    CipherEngine::Wipe(password);
}

} // namespace keyholm
