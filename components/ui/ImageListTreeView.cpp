#include "components/ui/ImageListTreeView.h"

// Resources of a static library must be registered by hand; doing it here
// makes the pictures available to every user of the image list.
static void InitTreeIcons()
{
    Q_INIT_RESOURCE(TreeIcons);
}

namespace keyholm {
namespace {
struct Category {
    const char* key;
    const char* label;
};

// Labels are UTF-8.
const Category Categories[] = {
    { "Dir", "Défaut" },
    { "DirKey", "Password" },
    { "DirTool", "Outil" },
    { "DirStar", "Star" },
    { "DirCard", "Carte" },
    { "DirUser", "Groupe" },
    { "DirLegal", "Légal" },
    { "DirBip", "Bip" },
    { "DirTheStar", "Etoile" },
    { "DirToy", "Jouet" },
    { "DirMusic", "Musique" },
    { "DirCat", "Animal" },
    { "DirAlarm", "Alarme" },
    { "DirTableKey", "Table" },
    { "DirReclamation", "Exclamer" },
    { "DirTitle", "Titre" },
    { "DirRule", "Réglement" },
    { "DirStarBlue", "Etoile bleue" },
    { "DirProcess", "Process" },
    { "DirBlue", "Carré bleu" },
    { "DirFlag", "Drapeau" },
    { "DirSelect", "Sélection" },
    { "DirArrow", "Flêche" },
    { "DirTime", "Temps" },
    { "DirInfo", "Information" },
    { "DirWeb", "Web" },
    { "DirChat", "Chat" },
    { "DirWebPhone", "Web Phone" },
    { "DirPhoto", "Photo" },
    { "DirMessenger", "Messenger" },
    { "DirDesktop", "Desktop" },
    { "DirRecycle", "Recycler" },
    { "DirServer", "Serveur" },
    { "DirStop", "Stop" },
    { "DirMail", "Mail" },
    { "DirServerRed", "Serveur Rouge" },
    { "DirFolder", "Dossier" },
    { "DirGroup", "Groupe" },
    { "DirProcessKey", "Process Password" },
    { "DirBlog", "Blog" },
    { "DirSkype", "Skype" },
    { "DirPlayer", "Media Player" },
    { "DirWord", "Bureautique" },
    { "DirExcel", "Tableur" },
    { "DirStat", "Statistique" },
    { "DirMovie", "Film" },
    { "DirSettings", "Choix" },
    { "DirSearch", "Recherche" },
    { "DirSpell", "Traduction" },
    { "DirDetail", "Détail" },
    { "DirExplorer", "Explorer" },
    { "DirAddress", "Carnet" },
    { "DirYellowPage", "Pages Jaunes" },
    { "DirVisa", "Crédit" },
    { "DirEuro", "Euro Bleu" },
    { "DirCar", "Voiture" },
    { "DirWindows", "Windows" },
    { "DirVirtual", "Serveur Virtuel" },
    { "DirTree", "Arbre" },
    { "DirPrinter", "Imprimante" },
    { "DirBed", "Lit" },
    { "DirHeart", "Coeur" },
};

const char* const PairedKinds[] = { "Root", "Info", "Stat", "Option", "Trash", "TrashKey" };
const char* const EntryKinds[] = { "Password", "PasswordWeb" };
const char* const Details[]
    = { "Login", "Key", "Date", "Custom1", "Web", "File", "Note", "Quote", "Create", "User", "Title" };

const QString Not = QStringLiteral("Not");
} // namespace

ImageListTreeView::ImageListTreeView()
{
    InitTreeIcons();
    for (const char* kind : PairedKinds) {
        Append(QLatin1String(kind));
        Append(QLatin1String(kind) + Not);
    }
    for (const Category& c : Categories) {
        const QString key = QLatin1String(c.key);
        Append(key, QString::fromUtf8(c.label));
        Append(key + Not);
        categoryKeys_ << key;
    }
    for (const char* kind : EntryKinds) {
        Append(QLatin1String(kind));
        Append(QLatin1String(kind) + Not);
    }
    for (const char* detail : Details)
        Append(QLatin1String(detail));
}

void ImageListTreeView::Append(const QString& key, const QString& label)
{
    keys_ << key;
    paths_.insert(key, QStringLiteral(":/keyholm/tree/") + key + QStringLiteral(".svg"));
    if (!label.isEmpty())
        labels_.insert(key, label);
}

QIcon ImageListTreeView::Icon(const QString& key) const
{
    const auto cached = icons_.constFind(key);
    if (cached != icons_.constEnd())
        return *cached;
    const QString path = FilePath(key);
    if (path.isEmpty())
        return QIcon();
    QIcon icon;
    // The same picture in the selected mode, so that styles do not tint it.
    icon.addFile(path, QSize(), QIcon::Normal);
    icon.addFile(path, QSize(), QIcon::Selected);
    icons_.insert(key, icon);
    return icon;
}

QString ImageListTreeView::ShownKey(const QString& image) const
{
    if (image.isEmpty())
        return QString();
    if (Contains(image))
        return image;
    const bool notTwin = image.endsWith(Not);
    const QString base = notTwin ? image.chopped(Not.size()) : image;
    if (notTwin && Contains(base))
        return base;
    if (image.contains(QLatin1String("Dir")))
        return notTwin ? QStringLiteral("DirNot") : QStringLiteral("Dir");
    return QString();
}

QIcon ImageListTreeView::NodeIcon(const QString& image, const QString& selectedImage) const
{
    const QString normal = ShownKey(image);
    QString selected = selectedImage;
    if (selected.isEmpty())
        selected = image.endsWith(Not) ? image.chopped(Not.size()) : image;
    selected = ShownKey(selected);
    if (selected.isEmpty())
        selected = normal;
    if (normal.isEmpty())
        return QIcon();
    if (normal == selected)
        return Icon(normal);
    const QString cacheKey = normal + QLatin1Char('|') + selected;
    const auto cached = nodeIcons_.constFind(cacheKey);
    if (cached != nodeIcons_.constEnd())
        return *cached;
    QIcon icon;
    icon.addFile(FilePath(normal), QSize(), QIcon::Normal);
    icon.addFile(FilePath(selected), QSize(), QIcon::Selected);
    nodeIcons_.insert(cacheKey, icon);
    return icon;
}

} // namespace keyholm
