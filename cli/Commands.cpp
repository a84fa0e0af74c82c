#include "cli/Commands.h"

#include "cli/DatabaseAccess.h"
#include "cli/SecretInput.h"
#include "components/EntryRecord.h"
#include "components/ExchangeTable.h"
#include "components/FieldCoding.h"
#include "components/ListTools.h"
#include "components/NodeImages.h"
#include "components/NodeKind.h"
#include "components/NodeTags.h"
#include "components/PasswordGenerator.h"
#include "components/TreeStore.h"
#include "components/Version.h"
#include "services/DatabaseContent.h"
#include "services/FileCoding.h"

#include <QCommandLineParser>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <functional>
#include <map>

// Outside any namespace, as Qt's resource start requires.
static void LoadWordList()
{
    Q_INIT_RESOURCE(words);
}

namespace keyholm::cli {

namespace {

enum Status { Done = 0, Failed = 1, WrongUse = 2 };

QTextStream& Out()
{
    static QTextStream out(stdout);
    return out;
}

// ---- Options ---------------------------------------------------------------

struct Command {
    const char* name;
    const char* summary;
    const char* arguments; // the positional arguments, as the help shows them
    int positionals; // how many are required
    int optionalPositionals;
    std::function<void(QCommandLineParser&)> options;
    std::function<int(QCommandLineParser&, const QStringList&)> run;
};

const QCommandLineOption PasswordStdin(QStringLiteral("password-stdin"),
    QStringLiteral(
        "Lit les mots de passe sur l'entrée standard, un par ligne, dans l'ordre où la commande les demande."));

// ---- Paths of the tree ---------------------------------------------------------

bool IsServiceNode(const TreeNode* node)
{
    const NodeKind kind = KindOf(node);
    return kind == NodeKind::Info || kind == NodeKind::Stat || kind == NodeKind::Option || kind == NodeKind::Trash;
}

// "Catégorie/Titre": the trimmed texts below the root.
QString PathOf(const TreeNode* node)
{
    QStringList parts;
    for (const TreeNode* n = node; n && n->Parent(); n = n->Parent())
        parts.prepend(n->Text().trimmed());
    return parts.join(QLatin1Char('/'));
}

QStringList PathParts(const QString& path)
{
    QStringList parts;
    for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (!part.trimmed().isEmpty())
            parts << part.trimmed();
    }
    return parts;
}

// The child of `parent` named `name`: its trimmed text, exactly, else
// letter case aside.
TreeNode* ChildNamed(const TreeNode* parent, const QString& name)
{
    TreeNode* caseless = nullptr;
    for (TreeNode* child : parent->Children()) {
        if (KindOf(child) == NodeKind::Detail)
            continue;
        const QString text = child->Text().trimmed();
        if (text == name)
            return child;
        if (!caseless && text.compare(name, Qt::CaseInsensitive) == 0)
            caseless = child;
    }
    return caseless;
}

TreeNode* Find(const PasswordTree& tree, const QString& path)
{
    TreeNode* node = tree.Root();
    for (const QString& part : PathParts(path)) {
        node = node ? ChildNamed(node, part) : nullptr;
        if (!node)
            return nullptr;
    }
    return node;
}

TreeNode* FindOrSay(const PasswordTree& tree, const QString& path)
{
    TreeNode* node = Find(tree, path);
    if (!node)
        Fail(QStringLiteral("Chemin introuvable : ") + path);
    return node;
}

TreeNode* FindEntry(const PasswordTree& tree, const QString& path)
{
    TreeNode* node = FindOrSay(tree, path);
    if (node && KindOf(node) != NodeKind::Entry) {
        Fail(QStringLiteral("Ce n'est pas un mot de passe : ") + path);
        return nullptr;
    }
    return node;
}

bool HoldsEntries(const TreeNode* node)
{
    const NodeKind kind = KindOf(node);
    return kind == NodeKind::Root || kind == NodeKind::Category || kind == NodeKind::Trash;
}

// A standard category icon shows whether the category holds entries, as
// the window's check of a node does; icons of the user's choice stay.
void ShowKey(TreeNode* category)
{
    if (!category || KindOf(category) != NodeKind::Category)
        return;
    const QString image = category->Image();
    const bool standard = image == NodeImage::Dir || image == NodeImage::DirNot || image == NodeImage::DirKey
        || image == NodeImage::DirKeyNot;
    if (!standard)
        return;
    const bool entries
        = TreeStore::Instance().CountNodes(category->Tree(), category, NodeImage::Password, true, false) > 0;
    category->SetImage(entries ? NodeImage::DirKeyNot : NodeImage::DirNot);
    category->SetSelectedImage(entries ? NodeImage::DirKey : NodeImage::Dir);
}

void ShowTrashFilling(TreeNode* trash)
{
    if (!trash)
        return;
    const bool full = trash->ChildCount() > 0;
    trash->SetImage(full ? NodeImage::TrashKeyNot : NodeImage::TrashNot);
    trash->SetSelectedImage(full ? NodeImage::TrashKey : NodeImage::Trash);
}

// ---- Entries -----------------------------------------------------------------

const QCommandLineOption LoginOption(
    QStringLiteral("login"), QStringLiteral("L'identifiant."), QStringLiteral("texte"));
const QCommandLineOption WebOption(QStringLiteral("web"), QStringLiteral("L'adresse web."), QStringLiteral("adresse"));
const QCommandLineOption FileOption(
    QStringLiteral("file"), QStringLiteral("Le fichier lié."), QStringLiteral("chemin"));
const QCommandLineOption CustomOption(
    QStringLiteral("custom"), QStringLiteral("Le champ personnalisé."), QStringLiteral("texte"));
const QCommandLineOption NoteOption(
    QStringLiteral("note"), QStringLiteral("La note (\\n sépare les lignes)."), QStringLiteral("texte"));
const QCommandLineOption ExpiresOption(QStringLiteral("expires"),
    QStringLiteral("La date d'expiration (AAAA-MM-JJ, « none » pour aucune)."), QStringLiteral("date"));
const QCommandLineOption GenerateOption(
    QStringLiteral("generate"), QStringLiteral("Tire un nouveau mot de passe (20 caractères, toutes les classes)."));

void AddEntryOptions(QCommandLineParser& parser)
{
    parser.addOptions(
        { LoginOption, WebOption, FileOption, CustomOption, NoteOption, ExpiresOption, GenerateOption, PasswordStdin });
}

// Puts the options given into `record`; false (said) when one does not read.
bool ApplyEntryOptions(const QCommandLineParser& parser, EntryRecord& record)
{
    if (parser.isSet(LoginOption))
        record.login = parser.value(LoginOption);
    if (parser.isSet(WebOption))
        record.web = parser.value(WebOption);
    if (parser.isSet(FileOption))
        record.file = parser.value(FileOption);
    if (parser.isSet(CustomOption))
        record.custom = parser.value(CustomOption);
    if (parser.isSet(NoteOption))
        record.note = parser.value(NoteOption).replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    if (parser.isSet(ExpiresOption)) {
        const QString text = parser.value(ExpiresOption).trimmed();
        if (text.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0) {
            record.expires = false;
            record.expiry = QDate();
        } else {
            const QDate date = QDate::fromString(text, Qt::ISODate);
            if (!date.isValid()) {
                Fail(QStringLiteral("Date non valide (AAAA-MM-JJ attendu) : ") + text);
                return false;
            }
            record.expires = true;
            record.expiry = date;
        }
    }
    return true;
}

// The entry's password: drawn, or read without echo.
std::optional<QString> EntryPassword(const QCommandLineParser& parser, SecretInput& input)
{
    if (parser.isSet(GenerateOption))
        return PasswordGenerator::Generate(GeneratorOptions(), {});
    std::optional<QString> typed = input.ReadConfirmed(
        QStringLiteral("Mot de passe de l'entrée : "), QStringLiteral("Confirmez le mot de passe de l'entrée : "));
    if (!typed)
        Fail(input.Failure());
    return typed;
}

// ---- Commands ------------------------------------------------------------------

// A new master password, asked twice; empty with --no-password.
std::optional<QString> NewMasterPassword(const QCommandLineParser& parser, SecretInput& input)
{
    if (parser.isSet(QStringLiteral("no-password")))
        return QString();
    std::optional<QString> typed = input.ReadConfirmed(
        QStringLiteral("Nouveau mot de passe maître : "), QStringLiteral("Confirmez le mot de passe maître : "));
    if (!typed) {
        Fail(input.Failure());
        return std::nullopt;
    }
    // Trimmed, as the window sets it.
    QString password = typed->trimmed();
    CipherEngine::Wipe(*typed);
    if (password.isEmpty()) {
        Fail(QStringLiteral("Mot de passe vide : utilisez --no-password pour une base sans mot de passe maître."));
        return std::nullopt;
    }
    return password;
}

const QCommandLineOption NoPassword(
    QStringLiteral("no-password"), QStringLiteral("Sans mot de passe maître : le fichier n'est alors que brouillé."));

int Create(QCommandLineParser& parser, const QStringList& args)
{
    const QString path = args[0];
    if (QFileInfo::exists(path)) {
        Fail(QStringLiteral("Le fichier existe déjà : ") + path);
        return Failed;
    }
    SecretInput input(parser.isSet(PasswordStdin));
    std::optional<QString> password = NewMasterPassword(parser, input);
    if (!password)
        return Failed;
    Database database;
    database.path = path;
    database.key = NewKey(*password);
    CipherEngine::Wipe(*password);
    if (!database.key)
        return Failed;
    if (!BuildDefaultTree(database.tree)) {
        Fail(QStringLiteral("L'arbre de la nouvelle base n'a pas pu être fait."));
        return Failed;
    }
    if (!database.key->IsProtected())
        Warn(QStringLiteral("base sans mot de passe maître : qui lit le fichier lit les mots de passe."));
    return SaveDatabase(database) ? Done : Failed;
}

int Info(QCommandLineParser& parser, const QStringList& args)
{
    SecretInput input(parser.isSet(PasswordStdin));
    const auto database = OpenDatabase(args[0], input);
    if (!database)
        return Failed;
    int entries = 0;
    int categories = 0;
    int trashed = 0;
    for (TreeNode* node = database->tree.Root(); node; node = database->tree.Next(node)) {
        const NodeKind kind = KindOf(node);
        bool inTrash = false;
        for (const TreeNode* up = node->Parent(); up; up = up->Parent())
            inTrash = inTrash || KindOf(up) == NodeKind::Trash;
        if (kind == NodeKind::Entry)
            ++(inTrash ? trashed : entries);
        else if (kind == NodeKind::Category && !inTrash)
            ++categories;
    }
    const CipherEngine::FileHeader& header = database->header;
    QTextStream& out = Out();
    out << "Fichier : " << QFileInfo(database->path).absoluteFilePath() << '\n';
    out << "Mots de passe : " << entries << '\n';
    out << "Catégories : " << categories << '\n';
    out << "Corbeille : " << trashed << '\n';
    out << "Mot de passe maître : " << (header.isProtected ? "oui" : "non") << '\n';
    if (header.isProtected)
        out << "Coût de la clé : Argon2id, " << header.params.opsLimit << " passes, "
            << header.params.memLimit / (1024 * 1024) << " Mio\n";
    out << "Version du format : " << header.version << '\n';
    return Done;
}

int Passwd(QCommandLineParser& parser, const QStringList& args)
{
    SecretInput input(parser.isSet(PasswordStdin));
    const auto database = OpenDatabase(args[0], input);
    if (!database)
        return Failed;
    std::optional<QString> password = NewMasterPassword(parser, input);
    if (!password)
        return Failed;
    std::optional<FileKey> key = NewKey(*password);
    CipherEngine::Wipe(*password);
    if (!key)
        return Failed;
    database->key = std::move(key);
    if (!database->key->IsProtected())
        Warn(QStringLiteral("base sans mot de passe maître : qui lit le fichier lit les mots de passe."));
    return SaveDatabase(*database) ? Done : Failed;
}

void ListBelow(const TreeNode* node, bool recursive, QTextStream& out)
{
    for (const TreeNode* child : node->Children()) {
        const NodeKind kind = KindOf(child);
        if (kind == NodeKind::Detail || (KindOf(node) == NodeKind::Root && IsServiceNode(child)))
            continue;
        const bool holder = kind == NodeKind::Category || kind == NodeKind::Trash;
        out << PathOf(child) << (holder ? "/" : "") << '\n';
        if (recursive && holder)
            ListBelow(child, true, out);
    }
}

const QCommandLineOption Recursive(QStringList { QStringLiteral("R"), QStringLiteral("recursive") },
    QStringLiteral("Descend dans les sous-catégories."));

int Ls(QCommandLineParser& parser, const QStringList& args)
{
    SecretInput input(parser.isSet(PasswordStdin));
    const auto database = OpenDatabase(args[0], input);
    if (!database)
        return Failed;
    const TreeNode* node = FindOrSay(database->tree, args.value(1));
    if (!node)
        return Failed;
    QTextStream& out = Out();
    if (!HoldsEntries(node))
        out << PathOf(node) << '\n';
    else
        ListBelow(node, parser.isSet(Recursive), out);
    return Done;
}

const QCommandLineOption ShowSecret(
    QStringList { QStringLiteral("s"), QStringLiteral("secret") }, QStringLiteral("Montre aussi le mot de passe."));

int Show(QCommandLineParser& parser, const QStringList& args)
{
    SecretInput input(parser.isSet(PasswordStdin));
    const auto database = OpenDatabase(args[0], input);
    if (!database)
        return Failed;
    const TreeNode* entry = FindEntry(database->tree, args[1]);
    if (!entry)
        return Failed;
    EntryRecord record = EntryRecord::Read(database->tree, entry);
    QTextStream& out = Out();
    out << "Titre : " << record.title << '\n';
    out << "Chemin : " << PathOf(entry) << '\n';
    out << "Login : " << record.login << '\n';
    out << "Mot de passe : " << (parser.isSet(ShowSecret) ? record.password : QStringLiteral("********")) << '\n';
    if (record.expires)
        out << "Expiration : " << record.expiry.toString(Qt::ISODate) << '\n';
    if (!record.web.isEmpty())
        out << "Web : " << record.web << '\n';
    if (!record.file.isEmpty())
        out << "Fichier : " << record.file << '\n';
    if (!record.custom.isEmpty())
        out << "Personnel : " << record.custom << '\n';
    if (const QDateTime created = ReadDateTimeTag(record.created); created.isValid())
        out << "Créé : " << created.toString(Qt::ISODate) << '\n';
    if (const QDateTime changed = ReadDateTimeTag(record.changed); changed.isValid())
        out << "Modifié : " << changed.toString(Qt::ISODate) << '\n';
    if (!record.note.isEmpty())
        out << "Note :\n" << record.note << '\n';
    out.flush();
    record.Wipe();
    return Done;
}

const QCommandLineOption CaseOption(QStringLiteral("case"), QStringLiteral("Respecte la casse et les accents."));
const QCommandLineOption LoginsOption(QStringLiteral("logins"), QStringLiteral("Cherche aussi dans les identifiants."));

int Search(QCommandLineParser& parser, const QStringList& args)
{
    if (args[1].trimmed().isEmpty()) {
        Fail(QStringLiteral("Texte à rechercher vide."));
        return WrongUse;
    }
    SecretInput input(parser.isSet(PasswordStdin));
    const auto database = OpenDatabase(args[0], input);
    if (!database)
        return Failed;
    const bool ignoreCase = !parser.isSet(CaseOption);
    const PasswordTree& tree = database->tree;
    const std::optional<QList<int>> found = TreeStore::Instance().SearchText(tree, tree.Root()->Key(), args[1], true,
        ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive, false, ignoreCase, parser.isSet(LoginsOption));
    QTextStream& out = Out();
    const TreeNode* last = nullptr;
    for (const int index : found.value_or(QList<int>())) {
        // A detail or a note line shows its entry.
        const TreeNode* shown = tree.NodeAt(index);
        while (shown && KindOf(shown) == NodeKind::Detail)
            shown = shown->Parent();
        if (!shown || shown == last)
            continue;
        last = shown;
        const NodeKind kind = KindOf(shown);
        out << (kind == NodeKind::Root ? QStringLiteral("/") : PathOf(shown))
            << (kind == NodeKind::Category || kind == NodeKind::Trash ? "/" : "") << '\n';
    }
    return Done;
}

const QCommandLineOption Within(QStringLiteral("within"),
    QStringLiteral("Aussi les dates des N jours à venir (0 par défaut : arrivées à ce jour)."), QStringLiteral("N"));

int Expired(QCommandLineParser& parser, const QStringList& args)
{
    bool ok = true;
    const int days = parser.isSet(Within) ? parser.value(Within).toInt(&ok) : 0;
    if (!ok || days < 0) {
        Fail(QStringLiteral("Nombre de jours non valide : ") + parser.value(Within));
        return WrongUse;
    }
    SecretInput input(parser.isSet(PasswordStdin));
    const auto database = OpenDatabase(args[0], input);
    if (!database)
        return Failed;
    const PasswordTree& tree = database->tree;
    const QDate limit = QDate::currentDate().addDays(days);
    const std::optional<QList<int>> found = TreeStore::Instance().SearchKind(tree, tree.Root()->Key(), NodeImage::Date);
    QTextStream& out = Out();
    for (const int index : found.value_or(QList<int>())) {
        const TreeNode* date = tree.NodeAt(index);
        const TreeNode* entry = date ? date->Parent() : nullptr;
        if (!entry || KindOf(entry) != NodeKind::Entry)
            continue;
        const QDate expiry = ReadDateTag(date->Tag());
        if (expiry.isValid() && expiry <= limit)
            out << expiry.toString(Qt::ISODate) << "  " << PathOf(entry) << '\n';
    }
    return Done;
}

int Add(QCommandLineParser& parser, const QStringList& args)
{
    QStringList parts = PathParts(args[1]);
    if (parts.isEmpty()) {
        Fail(QStringLiteral("Titre manquant : ") + args[1]);
        return WrongUse;
    }
    EntryRecord record;
    record.title = parts.takeLast();
    if (!ApplyEntryOptions(parser, record))
        return WrongUse;
    SecretInput input(parser.isSet(PasswordStdin));
    const auto database = OpenDatabase(args[0], input);
    if (!database)
        return Failed;
    PasswordTree& tree = database->tree;
    TreeNode* parent = tree.Root();
    for (const QString& name : parts) {
        TreeNode* next = ChildNamed(parent, name);
        if (!next) {
            next = tree.FindKey(
                TreeStore::Instance().AddNode(tree, parent->Key(), name, NodeImage::DirNot, QString(), true));
            if (!next) {
                Fail(QStringLiteral("La catégorie n'a pas pu être ajoutée : ") + name);
                return Failed;
            }
        } else if (KindOf(next) != NodeKind::Category) {
            Fail(QStringLiteral("Ce n'est pas une catégorie : ") + PathOf(next));
            return Failed;
        }
        parent = next;
    }
    if (ChildNamed(parent, record.title)) {
        Fail(QStringLiteral("Ce chemin existe déjà : ") + args[1]);
        return Failed;
    }
    std::optional<QString> password = EntryPassword(parser, input);
    if (!password)
        return Failed;
    record.password = std::move(*password);
    TreeNode* entry = record.Write(tree, parent);
    record.Wipe();
    if (!entry) {
        Fail(QStringLiteral("Le mot de passe n'a pas pu être ajouté."));
        return Failed;
    }
    ShowKey(parent);
    if (!SaveDatabase(*database))
        return Failed;
    if (parser.isSet(GenerateOption))
        Out() << "Mot de passe tiré pour " << PathOf(entry) << " (show -s pour le voir)\n";
    return Done;
}

const QCommandLineOption TitleOption(
    QStringLiteral("title"), QStringLiteral("Le nouveau titre."), QStringLiteral("texte"));
const QCommandLineOption NewPassword(
    QStringLiteral("password"), QStringLiteral("Demande un nouveau mot de passe (sans écho, ou --password-stdin)."));

int Edit(QCommandLineParser& parser, const QStringList& args)
{
    SecretInput input(parser.isSet(PasswordStdin));
    const auto database = OpenDatabase(args[0], input);
    if (!database)
        return Failed;
    PasswordTree& tree = database->tree;
    TreeNode* entry = FindEntry(tree, args[1]);
    if (!entry)
        return Failed;
    EntryRecord record = EntryRecord::Read(tree, entry);
    EntryRecord before = record;
    bool ok = ApplyEntryOptions(parser, record);
    if (ok && parser.isSet(TitleOption)) {
        record.title = parser.value(TitleOption).trimmed();
        const TreeNode* other = ChildNamed(entry->Parent(), record.title);
        if (record.title.isEmpty() || (other && other != entry)) {
            Fail(QStringLiteral("Titre vide ou déjà pris : ") + record.title);
            ok = false;
        }
    }
    if (ok && (parser.isSet(NewPassword) || parser.isSet(GenerateOption))) {
        std::optional<QString> password = EntryPassword(parser, input);
        ok = password.has_value();
        if (ok) {
            CipherEngine::Wipe(record.password);
            record.password = std::move(*password);
        }
    }
    // A change of any field is a change of the entry: its date is now.
    if (ok && !(record.SameFields(before) && record.title == before.title))
        record.changed.clear();
    ok = ok && record.Rewrite(tree, entry);
    const bool changed = ok && record.changed.isEmpty();
    record.Wipe();
    before.Wipe();
    if (!ok)
        return Failed;
    return !changed || SaveDatabase(*database) ? Done : Failed;
}

int Rm(QCommandLineParser& parser, const QStringList& args)
{
    SecretInput input(parser.isSet(PasswordStdin));
    const auto database = OpenDatabase(args[0], input);
    if (!database)
        return Failed;
    PasswordTree& tree = database->tree;
    TreeNode* entry = FindEntry(tree, args[1]);
    if (!entry)
        return Failed;
    TreeStore& store = TreeStore::Instance();
    TreeNode* parent = entry->Parent();
    TreeNode* trash = tree.FindKey(store.FindNodeKey(tree, tree.Root()->Key(), NodeImage::Trash));
    if (KindOf(parent) == NodeKind::Trash || !trash) {
        // Out of the trash, an entry goes for good.
        store.DeleteNode(tree, entry->Key());
        ShowTrashFilling(trash);
    } else {
        // The trash keeps an entry from the day it was deleted: its change
        // date is the one the purge reads.
        const QString tag = entry->Tag();
        if (!store.MoveNode(tree, entry->Key(), trash->Key(), store.ChildLabel(tree, trash, entry->Text()))) {
            Fail(QStringLiteral("Le mot de passe n'a pas pu aller à la corbeille."));
            return Failed;
        }
        entry->SetTag(TagField(tag, 0) + TagSeparator + NowTag());
        ShowTrashFilling(trash);
    }
    ShowKey(parent);
    return SaveDatabase(*database) ? Done : Failed;
}

const QCommandLineOption FormatOption(QStringLiteral("format"), QStringLiteral("csv, txt, prn, html ou xml."),
    QStringLiteral("format"), QStringLiteral("csv"));
const QCommandLineOption OutputOption(QStringList { QStringLiteral("o"), QStringLiteral("output") },
    QStringLiteral("Le fichier à écrire (la sortie standard sinon)."), QStringLiteral("fichier"));
const QCommandLineOption HeaderOption(QStringLiteral("header"), QStringLiteral("Avec la ligne d'entête (csv)."));

int Export(QCommandLineParser& parser, const QStringList& args)
{
    const QString format = parser.value(FormatOption).toLower();
    std::function<bool(const ListTable&, QIODevice&)> write;
    if (format == QLatin1String("csv")) {
        const bool header = parser.isSet(HeaderOption);
        write = [header](const ListTable& table, QIODevice& device) {
            return DelimitedListWriter::Csv(header ? DelimitedListWriter::CsvHeaderLine(table) : QString())
                .Write(table, device);
        };
    } else if (format == QLatin1String("txt")) {
        write
            = [](const ListTable& table, QIODevice& device) { return DelimitedListWriter::Txt().Write(table, device); };
    } else if (format == QLatin1String("prn")) {
        write
            = [](const ListTable& table, QIODevice& device) { return DelimitedListWriter::Prn().Write(table, device); };
    } else if (format == QLatin1String("html")) {
        write = [](const ListTable& table, QIODevice& device) { return HtmlListWriter().Write(table, device); };
    } else if (format == QLatin1String("xml")) {
        write = [](const ListTable& table, QIODevice& device) { return XmlListWriter().Write(table, device); };
    } else {
        Fail(QStringLiteral("Format inconnu : ") + format);
        return WrongUse;
    }
    SecretInput input(parser.isSet(PasswordStdin));
    const auto database = OpenDatabase(args[0], input);
    if (!database)
        return Failed;
    const TreeNode* node = FindOrSay(database->tree, args.value(1));
    if (!node)
        return Failed;
    ListTable table;
    table.title = QStringLiteral("Liste des mots de passe - ") + node->Text();
    ExportImportTableCreation(table);
    if (!AddPasswordCategoryToList(table, database->tree, node) || table.rows.empty()) {
        Fail(QStringLiteral("Aucun mot de passe n'a pu être collecté. Exportation non possible."));
        return Failed;
    }
    FinishList(table);
    Warn(QStringLiteral("le fichier contiendra les mots de passe en clair, lisibles par qui pourra le lire."));
    bool written = false;
    if (parser.isSet(OutputOption)) {
        written = WriteListFile(parser.value(OutputOption), [&](QIODevice& device) { return write(table, device); });
    } else {
        Out().flush();
        QFile output;
        written = output.open(stdout, QIODevice::WriteOnly) && write(table, output);
    }
    WipeTable(table.rows);
    if (!written) {
        Fail(QStringLiteral("Erreur à l'écriture de l'export."));
        return Failed;
    }
    return Done;
}

const QCommandLineOption IntoOption(QStringLiteral("into"),
    QStringLiteral("La catégorie qui reçoit les mots de passe (la racine par défaut)."), QStringLiteral("chemin"));

int Import(QCommandLineParser& parser, const QStringList& args)
{
    ExchangeFile file = ReadExchangeFile(args[1]);
    switch (file.status) {
    case ExchangeFile::Status::Read:
        break;
    case ExchangeFile::Status::Unreadable:
        Fail(QStringLiteral("Le fichier ne peut pas être lu : ") + args[1]);
        return Failed;
    case ExchangeFile::Status::TooLarge:
        Fail(QStringLiteral("Ce fichier est trop volumineux pour une liste de mots de passe (64 Mo au plus)."));
        return Failed;
    case ExchangeFile::Status::NotATable:
        Fail(QStringLiteral("Le fichier ne contient aucun mot de passe à importer : ") + args[1]);
        return Failed;
    }
    ExchangeRows rows = ToExchangeRows(file, file.format.isEmpty() && parser.isSet(HeaderOption));
    if (rows.rows.empty()) {
        Fail(QStringLiteral("Le fichier ne contient aucun mot de passe à importer : ") + args[1]);
        return Failed;
    }
    SecretInput input(parser.isSet(PasswordStdin));
    const auto database = OpenDatabase(args[0], input);
    if (!database) {
        WipeTable(rows.rows);
        return Failed;
    }
    PasswordTree& tree = database->tree;
    TreeNode* target = FindOrSay(tree, parser.value(IntoOption));
    if (target && KindOf(target) != NodeKind::Category && KindOf(target) != NodeKind::Root) {
        Fail(QStringLiteral("Ce n'est pas une catégorie : ") + parser.value(IntoOption));
        target = nullptr;
    }
    if (!target) {
        WipeTable(rows.rows);
        return Failed;
    }
    ImportOutcome outcome;
    bool imported = true;
    try {
        ImportRows(tree, target, rows.rows, rows.categoryPath, outcome);
    } catch (const std::exception&) {
        imported = false;
    }
    WipeTable(rows.rows);
    for (TreeNode* entry : outcome.lastInCategory)
        ShowKey(entry->Parent());
    if (!imported)
        Fail(QStringLiteral("L'import s'est arrêté après %1 mot(s) de passe.").arg(outcome.added));
    if (outcome.added > 0 && !SaveDatabase(*database))
        return Failed;
    Out() << outcome.added << " mot(s) de passe importé(s)";
    if (!file.format.isEmpty())
        Out() << " (export " << file.format << ")";
    Out() << '\n';
    if (rows.empty + rows.tooLong + rows.unsupported > 0)
        Warn(QStringLiteral("%1 ligne(s) laissée(s) de côté.").arg(rows.empty + rows.tooLong + rows.unsupported));
    return imported ? Done : Failed;
}

const QCommandLineOption LengthOption(QStringLiteral("length"),
    QStringLiteral("Longueur du mot de passe (%1 à %2, 20 par défaut).")
        .arg(GeneratorOptions::ShortestLength)
        .arg(GeneratorOptions::LongestLength),
    QStringLiteral("N"));
const QCommandLineOption ClassesOption(QStringLiteral("classes"),
    QStringLiteral("Classes de caractères, séparées par des virgules : upper, lower, digits, symbols (toutes par "
                   "défaut)."),
    QStringLiteral("liste"));
const QCommandLineOption PassphraseOption(QStringLiteral("passphrase"),
    QStringLiteral("Une phrase de passe de N mots (%1 à %2).")
        .arg(GeneratorOptions::FewestWords)
        .arg(GeneratorOptions::MostWords),
    QStringLiteral("N"));
const QCommandLineOption SeparatorOption(
    QStringLiteral("separator"), QStringLiteral("Entre les mots (« - » par défaut)."), QStringLiteral("texte"));
const QCommandLineOption LookAlikesOption(
    QStringLiteral("look-alikes"), QStringLiteral("Garde les caractères qui se ressemblent (I O l 0 1)."));

int Generate(QCommandLineParser& parser, const QStringList&)
{
    GeneratorOptions options;
    QStringList words;
    bool ok = true;
    if (parser.isSet(PassphraseOption)) {
        options.passphrase = true;
        options.words = parser.value(PassphraseOption).toInt(&ok);
        ok = ok && options.words >= GeneratorOptions::FewestWords && options.words <= GeneratorOptions::MostWords;
        if (parser.isSet(SeparatorOption))
            options.separator = parser.value(SeparatorOption);
        LoadWordList();
        QFile list(QStringLiteral(":/french-words.txt"));
        if (list.open(QIODevice::ReadOnly))
            words = PasswordGenerator::ReadWordList(list.readAll());
    } else {
        if (parser.isSet(LengthOption)) {
            options.length = parser.value(LengthOption).toInt(&ok);
            ok = ok && options.length >= GeneratorOptions::ShortestLength
                && options.length <= GeneratorOptions::LongestLength;
        }
        if (ok && parser.isSet(ClassesOption)) {
            options.capitals = options.smalls = options.digits = options.signs = false;
            for (const QString& name : parser.value(ClassesOption).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                const QString word = name.trimmed().toLower();
                if (word == QLatin1String("upper"))
                    options.capitals = true;
                else if (word == QLatin1String("lower"))
                    options.smalls = true;
                else if (word == QLatin1String("digits"))
                    options.digits = true;
                else if (word == QLatin1String("symbols"))
                    options.signs = true;
                else
                    ok = false;
            }
        }
        options.excludeLookAlikes = !parser.isSet(LookAlikesOption);
    }
    if (!ok) {
        Fail(QStringLiteral("Option non valide : voir generate --help."));
        return WrongUse;
    }
    QString drawn = PasswordGenerator::Generate(options, words);
    if (drawn.isEmpty()) {
        Fail(QStringLiteral("Rien à tirer avec ces options."));
        return Failed;
    }
    Out() << drawn << '\n';
    Out().flush();
    CipherEngine::Wipe(drawn);
    return Done;
}

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands {
        { "create", "Crée une base (mot de passe maître demandé deux fois).", "FICHIER", 1, 0,
            [](QCommandLineParser& p) {
                p.addOptions({ NoPassword, PasswordStdin });
            },
            Create },
        { "info", "Entrées, catégories, protection, coût de la clé, version du format.", "FICHIER", 1, 0,
            [](QCommandLineParser& p) { p.addOption(PasswordStdin); }, Info },
        { "passwd", "Change le mot de passe maître.", "FICHIER", 1, 0,
            [](QCommandLineParser& p) {
                p.addOptions({ NoPassword, PasswordStdin });
            },
            Passwd },
        { "ls", "Liste l'arbre en lignes « Catégorie/Titre ».", "FICHIER [CHEMIN]", 1, 1,
            [](QCommandLineParser& p) {
                p.addOptions({ Recursive, PasswordStdin });
            },
            Ls },
        { "show", "Montre les champs d'un mot de passe.", "FICHIER CHEMIN", 2, 0,
            [](QCommandLineParser& p) {
                p.addOptions({ ShowSecret, PasswordStdin });
            },
            Show },
        { "search", "Recherche un texte dans toute la base.", "FICHIER TEXTE", 2, 0,
            [](QCommandLineParser& p) {
                p.addOptions({ CaseOption, LoginsOption, PasswordStdin });
            },
            Search },
        { "expired", "Les mots de passe dont la date d'expiration est arrivée.", "FICHIER", 1, 0,
            [](QCommandLineParser& p) {
                p.addOptions({ Within, PasswordStdin });
            },
            Expired },
        { "add", "Ajoute un mot de passe (catégories faites au besoin).", "FICHIER CHEMIN", 2, 0, AddEntryOptions,
            Add },
        { "edit", "Modifie un mot de passe.", "FICHIER CHEMIN", 2, 0,
            [](QCommandLineParser& p) {
                AddEntryOptions(p);
                p.addOptions({ TitleOption, NewPassword });
            },
            Edit },
        { "rm", "Met un mot de passe à la corbeille (le supprime s'il y est déjà).", "FICHIER CHEMIN", 2, 0,
            [](QCommandLineParser& p) { p.addOption(PasswordStdin); }, Rm },
        { "export", "Exporte les mots de passe (d'une catégorie) en clair.", "FICHIER [CHEMIN]", 1, 1,
            [](QCommandLineParser& p) {
                p.addOptions({ FormatOption, OutputOption, HeaderOption, PasswordStdin });
            },
            Export },
        { "import", "Importe un fichier CSV (le nôtre ou l'export d'un autre gestionnaire).", "FICHIER CSV", 2, 0,
            [](QCommandLineParser& p) {
                p.addOptions({ IntoOption, HeaderOption, PasswordStdin });
            },
            Import },
        { "generate", "Tire un mot de passe ou une phrase de passe.", "", 0, 0,
            [](QCommandLineParser& p) {
                p.addOptions({ LengthOption, ClassesOption, PassphraseOption, SeparatorOption, LookAlikesOption });
            },
            Generate },
    };
    return commands;
}

QString Usage()
{
    QString text = QStringLiteral("Usage : keyholm-cli COMMANDE [OPTIONS] ARGUMENTS\n\nCommandes :\n");
    for (const Command& command : Commands())
        text
            += QStringLiteral("  %1%2\n").arg(QLatin1String(command.name), -10).arg(QString::fromUtf8(command.summary));
    text += QStringLiteral("\nkeyholm-cli COMMANDE --help montre les options d'une commande.\n"
                           "Les mots de passe se lisent sur le terminal sans écho, ou sur l'entrée standard avec "
                           "--password-stdin ; jamais dans les arguments.\n");
    return text;
}

} // namespace

int Run(const QStringList& arguments)
{
    const QString name = arguments.value(1);
    if (name.isEmpty() || name == QLatin1String("--help") || name == QLatin1String("-h")
        || name == QLatin1String("help")) {
        Out() << Usage();
        return name.isEmpty() ? WrongUse : Done;
    }
    if (name == QLatin1String("--version")) {
        Out() << "keyholm-cli " << VersionNumber << '\n';
        return Done;
    }
    for (const Command& command : Commands()) {
        if (name != QLatin1String(command.name))
            continue;
        QCommandLineParser parser;
        parser.setApplicationDescription(QString::fromUtf8(command.summary));
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        const QCommandLineOption help(
            QStringList { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Montre cette aide."));
        parser.addOption(help);
        for (const QString& positional :
            QString::fromUtf8(command.arguments).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            parser.addPositionalArgument(positional, QString());
        command.options(parser);
        QStringList rest = arguments.mid(2);
        rest.prepend(QStringLiteral("keyholm-cli ") + name);
        if (!parser.parse(rest)) {
            Fail(parser.errorText());
            return WrongUse;
        }
        if (parser.isSet(help)) {
            // Named as typed, not by the program's full path.
            QString text = parser.helpText();
            const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'));
            text.replace(0, lineEnd,
                QStringLiteral("Usage : keyholm-cli ") + name + QStringLiteral(" [options] ")
                    + QString::fromUtf8(command.arguments));
            if (!text.endsWith(QLatin1Char('\n')))
                text += QLatin1Char('\n');
            Out() << text;
            return Done;
        }
        const QStringList positionals = parser.positionalArguments();
        if (positionals.size() < command.positionals
            || positionals.size() > command.positionals + command.optionalPositionals) {
            Fail(QStringLiteral("Arguments attendus : %1 (voir %2 --help).")
                     .arg(QString::fromUtf8(command.arguments), name));
            return WrongUse;
        }
        return command.run(parser, positionals);
    }
    Fail(QStringLiteral("Commande inconnue : ") + name);
    Out() << Usage();
    return WrongUse;
}

} // namespace keyholm::cli
