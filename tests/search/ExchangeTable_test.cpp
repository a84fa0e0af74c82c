// The exchange table without a window: which entries an export lists and
// how, and what an import file gives, whatever its encoding, line ends,
// junk lines, shape or the password manager that wrote it.

#include "support/QtPrinters.h"
#include "support/TestFiles.h"

#include "components/EntryRecord.h"
#include "components/ExchangeTable.h"
#include "components/NodeImages.h"
#include "components/NodeTags.h"
#include "components/SystemInfo.h"
#include "components/TreeStore.h"

#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace keyholm::test {
namespace {

using Rows = std::vector<QStringList>;

class ExchangeTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        saved_ = SystemInfo::Instance().Locale();
        SystemInfo::Instance().SetLocale(QLocale(QLocale::French, QLocale::France));
    }
    void TearDown() override { SystemInfo::Instance().SetLocale(saved_); }

    TreeNode* Add(TreeNode* parent, const QString& text, const QString& image, const QString& tag = {})
    {
        return tree_.FindKey(
            TreeStore::Instance().AddNode(tree_, parent ? parent->Key() : QString(), text, image, tag));
    }
    TreeNode* AddEntry(TreeNode* category, EntryRecord entry)
    {
        TreeNode* node = entry.Write(tree_, category);
        EXPECT_NE(node, nullptr);
        return node;
    }

    // The rows of a file holding `bytes`, as an import gives them.
    ExchangeRows Import(const QByteArray& bytes, bool header, ExchangeFile::Status* status = nullptr,
        QString* format = nullptr, int* unclosedLine = nullptr)
    {
        const QString path = folder_.filePath("import.csv");
        Write(path, bytes);
        ExchangeFile file = ReadExchangeFile(path);
        if (status)
            *status = file.status;
        if (format)
            *format = file.format;
        if (unclosedLine)
            *unclosedLine = file.text.unclosedQuoteLine;
        return ToExchangeRows(file, header);
    }
    static Rows Cells(const ExchangeRows& rows)
    {
        Rows cells;
        for (const ListRow& row : rows.rows)
            cells.push_back(row.cells);
        return cells;
    }

    QTemporaryDir folder_;
    QLocale saved_;
    PasswordTree tree_;
};

TEST_F(ExchangeTableTest, ExportListsEveryEntryBelowTheNodeDepthFirstAndNothingElse)
{
    TreeNode* root = Add(nullptr, "Mes mots de passe", NodeImage::Root);
    Add(root, " A propos de la Base", NodeImage::InfoNot);
    TreeNode* trash = Add(root, " Corbeille", NodeImage::TrashKeyNot);
    AddEntry(trash, { .title = "Supprimé", .password = "x" });
    TreeNode* mail = Add(root, "Mail", NodeImage::DirKeyNot);
    AddEntry(mail,
        { .title = "Gmail",
            .login = "bob",
            .password = " ab;cd",
            .web = "https://mail.example/?a=1&b=2",
            .file = "/srv/f.txt",
            .note = "l1\r\nl2\nl3\rl4",
            .expiry = QDate(2030, 12, 31),
            .created = "2024-02-01T10:00:00",
            .changed = "2025-04-03T11:00:00" });
    TreeNode* old = Add(mail, "Anciens", NodeImage::DirKeyNot);
    AddEntry(old, { .title = "Forum", .password = "p", .created = "2020-01-05T08:00:00", .changed = "" });
    AddEntry(mail, { .title = "Sans identifiant", .password = "q" });
    Add(root, "Vide", NodeImage::DirNot);

    ListTable list;
    ExportImportTableCreation(list);
    ASSERT_TRUE(AddPasswordCategoryToList(list, tree_, root));
    ASSERT_EQ(list.ColumnCount(), 10);
    EXPECT_EQ(list.columns[0].header, "Catégorie");
    EXPECT_EQ(list.columns[9].header, "Modifié");
    EXPECT_EQ(list.columns[4].alignment, Qt::AlignHCenter);
    ASSERT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.rows[0].cells,
        QStringList({ "Mail", "Gmail", "bob", " ab;cd", "31/12/2030", "https://mail.example/?a=1&b=2", "/srv/f.txt",
            "l1 l2 l3 l4", "01/02/2024", "03/04/2025" }));
    EXPECT_EQ(list.rows[1].cells[0], "Anciens") << "the category walked where it stands";
    EXPECT_EQ(list.rows[1].cells[1], "Forum");
    EXPECT_EQ(list.rows[2].cells[1], "Sans identifiant");
    EXPECT_EQ(list.rows[2].cells[2], "") << "no login detail, no login";
    EXPECT_EQ(tree_.NodeAt(int(list.rows[0].tag))->Text(), "Gmail") << "a row leads to its entry";

    ListTable none;
    EXPECT_FALSE(AddPasswordCategoryToList(
        none, tree_, tree_.FindKey(TreeStore::Instance().ChildKeyByText(tree_, root->Key(), "Vide"))));
    EXPECT_FALSE(AddPasswordCategoryToList(none, tree_, nullptr));
    EXPECT_TRUE(none.rows.empty());
}

TEST_F(ExchangeTableTest, EveryEncodingAndLineEndReadsTheSameRows)
{
    const QString text = "Catégorie;Titre;Login;Password;Expiration;Web;Fichier;Note;Créé;Modifié\r\n"
                         "Société;Clé €;élise;pé;31/12/2030;;;;01/02/2024;03/04/2025\r\n";
    const Rows expected
        = { { "Société", "Clé €", "élise", "pé", "31/12/2030", "", "", "", "01/02/2024", "03/04/2025" } };
    for (const bool crlf : { true, false }) {
        QString lines = text;
        if (!crlf)
            lines.replace("\r\n", "\n");
        const struct {
            const char* name;
            QByteArray bytes;
        } cases[] = {
            { "UTF-8", Encoded(QStringConverter::Utf8, lines) },
            { "UTF-8 BOM", "\xEF\xBB\xBF" + Encoded(QStringConverter::Utf8, lines) },
            { "UTF-16LE BOM", "\xFF\xFE" + Encoded(QStringConverter::Utf16LE, lines) },
            { "Windows-1252", QByteArray(lines.toLatin1()).replace('?', '\x80') },
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (crlf ? " CR LF" : " LF"));
            QByteArray bytes = c.bytes;
            if (QLatin1String(c.name) == QLatin1String("Windows-1252"))
                bytes.replace(QByteArray("Cl\xE9 ?"), QByteArray("Cl\xE9 \x80"));
            const ExchangeRows read = Import(bytes, false);
            ASSERT_EQ(read.rows.size(), 2u);
            EXPECT_EQ(read.rows[0].cells[0], "Catégorie") << "no byte order mark in the first cell";
            EXPECT_EQ(Cells(Import(bytes, true)), expected) << "the last cell holds no CR";
        }
    }
}

TEST_F(ExchangeTableTest, JunkLinesAndOddShapesGiveOnlyTheRowsThatHoldData)
{
    const QByteArray eleven = "A;T1;l;p;;;;;;;fin\r\n"; // a separator at each line's end
    const QByteArray twelve = "A;T2;l;p;;;;;;;onze;douze\r\n";
    const ExchangeRows read = Import("\r\n" + eleven + "\r\n;;;;\r\n  ;  \r\n" + twelve + "B;T3\r\n\r\n\r\n", false);
    EXPECT_EQ(Cells(read),
        (Rows { { "A", "T1", "l", "p", "", "", "", "", "", "" },
            { "A", "T2", "l", "p", "", "", "", "", "", "", "douze" }, { "B", "T3", "", "", "", "", "", "", "", "" } }))
        << "only the eleventh column goes, the twelfth is not the entry's; short rows get empty cells";

    // Comma-separated, from a spreadsheet set so; quoted cells keep theirs.
    EXPECT_EQ(Cells(Import("Perso,\"a,b\",bob,\"x\"\"y\"\n", false)),
        (Rows { { "Perso", "a,b", "bob", "x\"y", "", "", "", "", "", "" } }));

    // A line break read inside a quoted cell stays in the note only.
    EXPECT_EQ(Cells(Import("\"Per\nso\";T;l;p;;;;\"n1\r\nn2\";;\r\n", false)),
        (Rows { { "Per so", "T", "l", "p", "", "", "", "n1\nn2", "", "" } }));
}

TEST_F(ExchangeTableTest, AFileThatIsNoTableGivesNoRow)
{
    const struct {
        const char* name;
        QByteArray bytes;
        ExchangeFile::Status status;
        int tooLong = 0;
    } cases[] = {
        { "no separator in any line", "Gmail\r\nbob\r\n", ExchangeFile::Status::NotATable },
        { "binary bytes", QByteArray("a;b\0c;d\x01\x02", 9), ExchangeFile::Status::NotATable },
        { "empty", "", ExchangeFile::Status::NotATable },
        { "one line of 10 MiB", QByteArray(10 * 1024 * 1024, 'x'), ExchangeFile::Status::NotATable },
        { "one row of 10 MiB", "A;" + QByteArray(10 * 1024 * 1024, 'x'), ExchangeFile::Status::Read, 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExchangeFile::Status status {};
        const ExchangeRows read = Import(c.bytes, false, &status);
        EXPECT_EQ(status, c.status);
        EXPECT_TRUE(read.rows.empty());
        EXPECT_EQ(read.tooLong, c.tooLong);
    }
    ExchangeFile missing = ReadExchangeFile(folder_.filePath("absent.csv"));
    EXPECT_EQ(missing.status, ExchangeFile::Status::Unreadable);

    // An unclosed quote swallows nothing: the lines after it are rows.
    int unclosed = 0;
    const ExchangeRows read = Import("A;\"T1;l\r\nB;T2;l\r\n", false, nullptr, nullptr, &unclosed);
    EXPECT_EQ(unclosed, 1);
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[0].cells.mid(0, 3), QStringList({ "A", "\"T1", "l" }));
    EXPECT_EQ(read.rows[1].cells.mid(0, 3), QStringList({ "B", "T2", "l" }));
}

// Files written by hand from each manager's published header line.
TEST_F(ExchangeTableTest, OtherManagersExportsAreRecognisedByTheirHeader)
{
    const struct {
        const char* name;
        QByteArray bytes;
        Rows rows;
        int unsupported = 0;
        int empty = 0;
        int codes = 0;
        QChar path;
    } cases[] = {
        { "KeePass",
            "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\",\"Icon\",\"Last Modified\","
            "\"Created\"\n"
            "\"Root/Internet/Mail\",\"Gmail\",\"bob\",\"p,1;\"\"q\",\"https://mail.example\",\"l1\nl2\",\"\",\"0\","
            "\"2025-04-03T11:00:00Z\",\"2024-02-01T10:00:00Z\"\n"
            "\"Root\",\"Banque\",\"alice\",\"s\",\"\",\"\",\"otpauth://totp/x?secret=AB\",\"0\",\"\",\"\"\n",
            { { "Internet/Mail", "Gmail", "bob", "p,1;\"q", "", "https://mail.example", "", "l1\nl2", "01/02/2024",
                  "03/04/2025" },
                { "", "Banque", "alice", "s", "", "", "", "", "", "" } },
            0, 0, 1, u'/' },
        { "Chrome", "name,url,username,password\r\nexample.com,https://example.com/login,bob,pw\r\n",
            { { "", "example.com", "bob", "pw", "", "https://example.com/login", "", "", "", "" } } },
        { "Bitwarden",
            "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,login_password,login_totp\n"
            "Perso/Banque,1,login,Compte,\"note, deux\",,0,https://bank.example,alice,pw1,JBSWY3DP\n"
            ",,note,Mémo,secret du coffre,,0,,,,\n"
            "Perso,,card,Visa,,,0,,,,\n"
            ",,login,,,,0,,,,\n",
            { { "Perso/Banque", "Compte", "alice", "pw1", "", "https://bank.example", "", "note, deux", "", "" },
                { "", "Mémo", "", "", "", "", "", "secret du coffre", "", "" } },
            1, 1, 1, u'/' },
        { "Firefox",
            "\"url\",\"username\",\"password\",\"httpRealm\",\"formActionOrigin\",\"guid\",\"timeCreated\","
            "\"timeLastUsed\",\"timePasswordChanged\"\n"
            "\"https://forum.example\",\"bob\",\"pw\",,\"https://forum.example\",\"{1}\",\"1700000000000\","
            "\"1700000000000\",\"1700000000000\"\n",
            { { "", "forum.example", "bob", "pw", "", "https://forum.example", "", "", "14/11/2023", "14/11/2023" } } },
        { "LastPass",
            "url,username,password,totp,extra,name,grouping,fav\nhttps://a.example,bob,pw,,n,Site,Perso\\Web,0\n",
            { { "Perso\\Web", "Site", "bob", "pw", "", "https://a.example", "", "n", "", "" } }, 0, 0, 0, u'\\' },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString format;
        const ExchangeRows read = Import(c.bytes, false, nullptr, &format);
        EXPECT_EQ(format, QLatin1String(c.name));
        EXPECT_EQ(Cells(read), c.rows);
        EXPECT_EQ(read.unsupported, c.unsupported);
        EXPECT_EQ(read.empty, c.empty);
        EXPECT_EQ(read.codesLeftOut, c.codes);
        EXPECT_EQ(read.categoryPath, c.path);
    }
    // Saved again by a spreadsheet set to ";", still recognised.
    QString format;
    EXPECT_EQ(Cells(Import("name;url;username;password\nSite;https://s.example;bob;pw\n", false, nullptr, &format)),
        (Rows { { "", "Site", "bob", "pw", "", "https://s.example", "", "", "", "" } }));
    EXPECT_EQ(format, "Chrome");
}

} // namespace
} // namespace keyholm::test
