// Export and import of categories through the real main window: the list
// shown, the file written and read back into entries, the save question
// whose No keeps the changes, where the imported entries go, and an
// import from another password manager with its summary.

#include "support/MainWindowFixture.h"
#include "support/ModalHelper.h"
#include "support/TestFiles.h"

#include "components/FileTools.h"
#include "components/NodeImages.h"
#include "components/SystemInfo.h"
#include "search/ListView.h"
#include "services/main/KeyToolBar.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>

#include <sys/stat.h>

namespace keyholm::test {
namespace {

using QMB = QMessageBox;

class CategoryExchangeTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(folder_.isValid());
        saved_ = SystemInfo::Instance().Locale();
        SystemInfo::Instance().SetLocale(QLocale(QLocale::French, QLocale::France));
        FileTools::Instance().SetOpener([this](const QUrl& address) {
            opened_ << address.toLocalFile();
            return true;
        });
        root_ = NewDatabase();
        State().Options().autoSave = false;
        MarkOpen();
        State().SetDatabaseChanged(false);
    }
    void TearDown() override
    {
        FileTools::Instance().SetOpener({});
        SystemInfo::Instance().SetLocale(saved_);
        MainWindowFixture::TearDown();
    }

    void Select(TreeNode* node) { Window().Entries().tvTreeView_NodeClick(node); }

    // Starts the command: the toolbar button (which works on the root) with
    // the root selected when no node is given, else its menu item on the
    // node selected.
    void Start(const char* key, TreeNode* node)
    {
        if (!node) {
            Select(root_);
            QTest::mouseClick(Ui().ToolbarTree->ButtonWidget(QLatin1String(key)), Qt::LeftButton);
            return;
        }
        Select(node);
        Ui().ToolbarTree->ButtonMenu(QLatin1String(key), QLatin1String(key) + QLatin1String("Cat"))->trigger();
    }

    // Exports from `node` (the root by the button when null) and writes the
    // list as CSV to `path`, the header question answered `header`; the
    // rows the list showed.
    std::vector<QStringList> ExportCsv(TreeNode* node, const QString& path, QMB::StandardButton header = QMB::Yes)
    {
        std::vector<QStringList> rows;
        ModalHelper modal;
        modal.Expect("Lib_ListView").Do([&](QWidget* window) {
            auto* list = qobject_cast<ListView*>(window);
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->windowTitle(), "Export des mots de passe");
            EXPECT_FALSE(list->cmdSelection->isVisible());
            for (const ListRow& row : list->Table().rows)
                rows.push_back(row.cells);
            ModalHelper inner;
            inner.Expect("CMDialogOpen").Type("fileNameEdit", path).Accept();
            inner.ExpectMessageBox().Click(header);
            QTest::mouseClick(list->ListViewCommande->ButtonWidget("csv"), Qt::LeftButton);
            EXPECT_TRUE(inner.Wait());
            questions_ << inner.Seen().back().text;
            QTest::mouseClick(list->cmdFermer, Qt::LeftButton);
        });
        Start("Export", node);
        EXPECT_TRUE(modal.Wait());
        return rows;
    }

    // Imports `path` below `node` (the root by the button when null): the
    // header question (our own table only) answered `header`, the list
    // confirmed with "Importer" or closed; the summary's text.
    QString Import(TreeNode* node, const QString& path, std::optional<QMB::StandardButton> header, bool confirm = true)
    {
        ModalHelper modal;
        modal.Expect("CMDialogOpen").Type("fileNameEdit", path).Accept();
        if (header)
            modal.ExpectMessageBox().Click(*header);
        modal.Expect("Lib_ListView").Do([&](QWidget* window) {
            auto* list = qobject_cast<ListView*>(window);
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->cmdSelection->text(), "Importer");
            EXPECT_FALSE(list->Bands[2]->isVisible()) << "no export band";
            shown_.clear();
            for (const ListRow& row : list->Table().rows)
                shown_.push_back(row.cells);
            QTest::mouseClick(confirm ? list->cmdSelection : list->cmdFermer, Qt::LeftButton);
        });
        if (confirm)
            modal.ExpectMessageBox().Click(QMB::Ok);
        Start("Import", node);
        EXPECT_TRUE(modal.Wait());
        return confirm && !modal.Seen().empty() ? modal.Seen().back().text : QString();
    }

    TreeNode* Child(TreeNode* parent, const QString& text)
    {
        return parent
            ? Tree().FindKey(TreeStore::Instance().ChildKeyByText(Tree(), parent->Key(), text, Qt::CaseSensitive))
            : nullptr;
    }

    QTemporaryDir folder_;
    QLocale saved_;
    TreeNode* root_ = nullptr;
    QStringList opened_;
    QStringList questions_;
    std::vector<QStringList> shown_;
};

TEST_F(CategoryExchangeTest, WhatIsExportedComesBackAsTheSameEntries)
{
    TreeNode* mail = AddCategory(root_, "Courrier");
    const QString tag = "2024-02-01T10:00:00" + TagSeparator + "2025-04-03T11:00:00";
    AddEntry(mail, "\"Gmail\" perso",
        { .login = "bob",
            .password = "ab;cd",
            .web = "https://mail.example/?a=1;b=2&c",
            .file = "/srv/clé.txt",
            .note = "l1\nl2;\"x\"\nl3",
            .expiry = QDate(2030, 12, 31) },
        tag);
    AddEntry(mail, "Société", { .password = " blanc devant", .note = "é€" }, tag);
    AddEntry(AddCategory(mail, "Anciens"), "Forum", { .login = "zoé", .password = "q\"r" }, tag);
    const QString path = folder_.filePath("export.csv");

    const auto rows = ExportCsv(nullptr, path);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(questions_.value(0).contains("mots de passe en clair")) << questions_.value(0).toStdString();
    // Cells quoted only where they must be, the rest as it stands.
    const QString golden = QStringLiteral(KEYHOLM_TESTS_FOLDER "/search/data/category-export.csv");
    if (qEnvironmentVariableIsSet("KEYHOLM_WRITE_GOLDEN"))
        Write(golden, Read(path));
    EXPECT_EQ(Read(path), Read(golden));
    EXPECT_EQ(opened_, QStringList({ path }));
    struct stat info { };
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "passwords in clear are the owner's alone";

    TreeNode* back = AddCategory(root_, "Retour");
    const QString summary = Import(back, path, QMB::Yes);
    EXPECT_EQ(summary, "3 mots de passe importés dans « Retour ».");
    EXPECT_EQ(shown_, rows) << "the file gives the rows the export showed";
    EXPECT_TRUE(State().DatabaseChanged());

    // Categories come back one level below the target.
    TreeNode* gmail = Child(Child(back, "Courrier"), "\"Gmail\" perso");
    TreeNode* societe = Child(Child(back, "Courrier"), "Société");
    TreeNode* forum = Child(Child(back, "Anciens"), "Forum");
    ASSERT_TRUE(gmail && societe && forum);
    EntryRecord expected { .title = "\"Gmail\" perso",
        .login = "bob",
        .password = "ab;cd",
        .web = "https://mail.example/?a=1;b=2&c",
        .file = "/srv/clé.txt",
        .note = "l1 l2;\"x\" l3",
        .expires = true,
        .expiry = QDate(2030, 12, 31) };
    EXPECT_TRUE(EntryRecord::Read(Tree(), gmail).SameFields(expected)) << "the note on one line, as exported";
    const EntryRecord read = EntryRecord::Read(Tree(), gmail);
    EXPECT_EQ(ReadDateTag(read.created), QDate(2024, 2, 1));
    EXPECT_EQ(ReadDateTag(read.changed), QDate(2025, 4, 3));
    EXPECT_TRUE(
        EntryRecord::Read(Tree(), societe)
            .SameFields({ .title = "Société", .login = "Mot de Passe", .password = " blanc devant", .note = "é€" }))
        << "an empty login comes back as the default one; the blank before the password stays";
    EXPECT_EQ(EntryRecord::Read(Tree(), forum).password, "q\"r");
    EXPECT_EQ(Child(back, "Courrier")->Image(), NodeImage::DirKeyNot) << "a category holding entries shows the key";
}

TEST_F(CategoryExchangeTest, TheHeaderLineAnsweredNoIsAnEntryAndAClosedListMakesNothing)
{
    const QString path = folder_.filePath("liste.csv");
    Write(path,
        "Catégorie;Titre;Login;Password;Expiration;Web;Fichier;Note;Créé;Modifié\r\nPerso;Gmail;bob;pw;;;;;;\r\n");
    const int nodes = Tree().Count();
    Import(nullptr, path, QMB::Yes, false);
    EXPECT_EQ(Tree().Count(), nodes) << "closing the list creates nothing";
    EXPECT_FALSE(State().DatabaseChanged());

    Import(nullptr, path, QMB::No);
    EXPECT_NE(Child(Child(root_, "Catégorie"), "Titre"), nullptr);
    EXPECT_NE(Child(Child(root_, "Perso"), "Gmail"), nullptr);
}

TEST_F(CategoryExchangeTest, ImportedRowsGoIntoCategoriesOnlyAndTakeFreeTitles)
{
    TreeNode* target = AddCategory(root_, "Cible");
    TreeNode* perso = AddCategory(target, "Perso");
    AddEntry(perso, "Gmail", { .password = "ancien" });
    TreeNode* looksLikeACategory = AddEntry(target, "Divers", { .password = "à garder" });
    const int looksLikeChildren = int(looksLikeACategory->Children().size());

    const QString path = folder_.filePath("lignes.csv");
    Write(path,
        " perso ; Gmail;a;1\r\n"
        "Perso;Gmail;b;2\r\n"
        ";Sans catégorie;c;3\r\n"
        "Perso;;d;4\r\n"
        "Perso;  ;e;5\r\n");
    const QString summary = Import(target, path, QMB::No);
    EXPECT_EQ(summary,
        "5 mots de passe importés dans « Cible ».\n3 titres déjà présents ont été numérotés (« (2) », « (3) »…).");

    QStringList titles;
    for (const TreeNode* entry : perso->Children())
        titles << entry->Text();
    EXPECT_EQ(titles, QStringList({ "Gmail", "Gmail (2)", "Gmail (3)", "Sans titre", "Sans titre (2)" }))
        << "names matched trimmed and in any case; titles trimmed before numbering";
    EXPECT_EQ(int(looksLikeACategory->Children().size()), looksLikeChildren) << "an entry is never a category";
    TreeNode* various = nullptr;
    for (TreeNode* child : target->Children())
        if (child->Text() == "Divers" && child->Image().contains("Dir"))
            various = child;
    ASSERT_NE(various, nullptr) << "a row without a category goes into a new category \"Divers\"";
    EXPECT_NE(Child(various, "Sans catégorie"), nullptr);

    // From the root, the trash's name is just a name.
    State().SetDatabaseChanged(false);
    Write(path, " Corbeille;Perdu;x;y\r\n");
    Import(nullptr, path, QMB::No);
    TreeNode* trash = Tree().FindKey(State().TrashNodeKey());
    EXPECT_EQ(Child(trash, "Perdu"), nullptr);
    EXPECT_NE(Child(Child(root_, "Corbeille"), "Perdu"), nullptr);
}

TEST_F(CategoryExchangeTest, NoToTheSaveQuestionGoesOnAndKeepsTheChangesToSave)
{
    AddEntry(AddCategory(root_, "Perso"), "Gmail", { .password = "pw" });
    State().SetDatabaseChanged(true);
    {
        ModalHelper modal;
        modal.ExpectMessageBox().Click(QMB::No);
        modal.Expect("Lib_ListView").Do([](QWidget* window) {
            QTest::mouseClick(qobject_cast<ListView*>(window)->cmdFermer, Qt::LeftButton);
        });
        Start("Export", nullptr);
        EXPECT_TRUE(modal.Wait());
        EXPECT_TRUE(modal.Seen().front().text.contains("Des informations modifiées"));
    }
    EXPECT_TRUE(State().DatabaseChanged()) << "a later close still asks";
    {
        ModalHelper modal;
        modal.ExpectMessageBox().Click(QMB::Cancel);
        Start("Import", nullptr);
        EXPECT_TRUE(modal.Wait()) << "a cancel stops before the file is asked for";
    }
    EXPECT_TRUE(State().DatabaseChanged());
}

TEST_F(CategoryExchangeTest, CommandsOnTheWrongNodeOrNothingToExportSaySo)
{
    TreeNode* category = AddCategory(root_, "Perso");
    TreeNode* entry = AddEntry(category, "Gmail", { .password = "pw" });
    TreeNode* emptyOnly = AddCategory(root_, "Vide");
    AddCategory(emptyOnly, "Vide aussi");
    const struct {
        const char* name;
        const char* key;
        TreeNode* node;
        QString message;
    } cases[] = {
        { "export from an entry", "Export", entry,
            "Vous devez sélectionner une Catégorie ou la Racine pour effectuer un export ciblé" },
        { "import into an entry", "Import", entry,
            "Vous devez sélectionner une Catégorie ou la Racine pour effectuer un import ciblé" },
        { "only empty categories", "Export", emptyOnly,
            "Aucun mot de passe n'a pu être collecté. Exportation non possible." },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ModalHelper modal;
        modal.ExpectMessageBox().Click(QMB::Ok);
        Start(c.key, c.node);
        ASSERT_TRUE(modal.Wait());
        EXPECT_EQ(modal.Seen().front().text, c.message);
    }
    // A category without children: no list, no message.
    ModalHelper quiet;
    Start("Export", AddCategory(root_, "Rien"));
    EXPECT_TRUE(quiet.Wait());
    EXPECT_TRUE(quiet.Seen().empty());
}

TEST_F(CategoryExchangeTest, AnotherManagersExportBuildsItsFoldersAndSaysWhatWasLeftOut)
{
    const QString path = folder_.filePath("bitwarden.csv");
    Write(path,
        "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,login_password,login_totp\n"
        "Perso/Banque,1,login,Compte,,,0,https://bank.example,alice,pw1,JBSWY3DP\n"
        "Perso,,login,Forum,,,0,https://forum.example,bob,pw2,\n"
        "Perso,,card,Visa,,,0,,,,\n");
    TreeNode* target = AddCategory(root_, "Reprise");
    const QString summary = Import(target, path, std::nullopt);
    EXPECT_EQ(summary,
        "2 mots de passe importés dans « Reprise », depuis l'export de Bitwarden.\n1 ligne ignorée :"
        "\n- 1 d'un type autre qu'identifiant ou note (carte, identité)"
        "\n1 code à deux facteurs (TOTP) n'a pas été importé.");
    TreeNode* perso = Child(target, "Perso");
    ASSERT_NE(perso, nullptr);
    const EntryRecord account = EntryRecord::Read(Tree(), Child(Child(perso, "Banque"), "Compte"));
    EXPECT_EQ(account.login, "alice");
    EXPECT_EQ(account.password, "pw1");
    EXPECT_EQ(account.web, "https://bank.example");
    EXPECT_NE(Child(perso, "Forum"), nullptr);
}

} // namespace
} // namespace keyholm::test
