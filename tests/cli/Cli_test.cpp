// keyholm-cli run as a process, as a script runs it, over files that the
// window's own code writes and reads.

#include "database/DatabaseFileFixture.h"

#include "components/EntryRecord.h"
#include "components/NodeImages.h"
#include "components/NodeKind.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace keyholm::test {
namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

class CliTest : public DatabaseFileFixture {
protected:
    static Outcome Cli(const QStringList& arguments, const QByteArray& input = {})
    {
        QProcess process;
        process.start(QStringLiteral(KEYHOLM_CLI), arguments);
        EXPECT_TRUE(process.waitForStarted());
        process.write(input);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(60000));
        return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError()) };
    }
    // Runs and expects success, giving the standard output.
    static QString Ok(const QStringList& arguments, const QByteArray& input = {})
    {
        const Outcome outcome = Cli(arguments, input);
        EXPECT_EQ(outcome.status, 0) << arguments.join(' ').toStdString() << "\n" << outcome.err.toStdString();
        return outcome.out;
    }
    static QStringList Lines(const QString& text) { return text.split('\n', Qt::SkipEmptyParts); }

    // The entry at "Category/Title" of the tree, decoded.
    static EntryRecord EntryAt(const PasswordTree& tree, const QString& category, const QString& title)
    {
        for (TreeNode* node = tree.Root(); node; node = tree.Next(node)) {
            if (KindOf(node) == NodeKind::Entry && node->Text() == title && node->Parent()->Text() == category)
                return EntryRecord::Read(tree, node);
        }
        return {};
    }
};

TEST_F(CliTest, EveryCommandDoesItsWorkOnOneDatabase)
{
    const QString file = PathOf("cli.khm");
    Ok({ "create", file, "--no-password" });
    Ok({ "add", file, "Banque/Compte courant", "--login", "jean", "--web", "https://banque.fr", "--note",
           "ligne 1\\nligne 2", "--expires", "2020-05-01", "--password-stdin" },
        "S3cret é\n");
    Ok({ "add", file, "Forum/Sous/Tirage", "--generate" });
    EXPECT_TRUE(QFile::exists(NewestBackup(file))) << "an opening keeps its backup copy";

    EXPECT_EQ(Lines(Ok({ "ls", file })), QStringList({ "Banque/", "Forum/" }));
    EXPECT_EQ(Lines(Ok({ "ls", file, "-R" })),
        QStringList({ "Banque/", "Banque/Compte courant", "Forum/", "Forum/Sous/", "Forum/Sous/Tirage" }));
    EXPECT_EQ(Lines(Ok({ "ls", file, "forum/sous" })), QStringList({ "Forum/Sous/Tirage" }));

    const QString masked = Ok({ "show", file, "Banque/Compte courant" });
    EXPECT_TRUE(masked.contains("Login : jean")) << masked.toStdString();
    EXPECT_FALSE(masked.contains("S3cret"));
    EXPECT_TRUE(masked.contains("ligne 1\nligne 2"));
    EXPECT_TRUE(Ok({ "show", file, "Banque/Compte courant", "-s" }).contains("Mot de passe : S3cret é"));

    EXPECT_EQ(Lines(Ok({ "search", file, "COURANT" })), QStringList({ "Banque/Compte courant" }));
    EXPECT_EQ(Lines(Ok({ "search", file, "COURANT", "--case" })), QStringList());
    EXPECT_EQ(Lines(Ok({ "search", file, "banque.fr" })), QStringList({ "Banque/Compte courant" }));
    EXPECT_EQ(Lines(Ok({ "expired", file })), QStringList({ "2020-05-01  Banque/Compte courant" }));

    Ok({ "edit", file, "Banque/Compte courant", "--title", "Livret", "--expires", "none", "--password",
           "--password-stdin" },
        "Nouveau\n");
    EXPECT_TRUE(Ok({ "show", file, "Banque/Livret", "-s" }).contains("Mot de passe : Nouveau"));
    EXPECT_EQ(Lines(Ok({ "expired", file })), QStringList());

    const QString info = Ok({ "info", file });
    EXPECT_TRUE(info.contains("Mots de passe : 2")) << info.toStdString();
    EXPECT_TRUE(info.contains("Mot de passe maître : non"));

    // Export, then import into another category: the same entries come back.
    const QString csv = PathOf("export.csv");
    const Outcome exported = Cli({ "export", file, "--format", "csv", "-o", csv });
    EXPECT_EQ(exported.status, 0);
    EXPECT_TRUE(exported.err.contains("en clair"));
    EXPECT_TRUE(Ok({ "import", file, csv, "--into", "Banque" }).startsWith("2 mot(s) de passe"));
    EXPECT_TRUE(Ok({ "show", file, "Banque/Banque/Livret", "-s" }).contains("Mot de passe : Nouveau"));

    // Removed entries go to the trash first, and out of it for good.
    Ok({ "rm", file, "Banque/Livret" });
    EXPECT_EQ(Lines(Ok({ "ls", file, "Corbeille" })), QStringList({ "Corbeille/Livret" }));
    Ok({ "rm", file, "Corbeille/Livret" });
    EXPECT_EQ(Lines(Ok({ "ls", file, "Corbeille" })), QStringList());

    const QString words = Ok({ "generate", "--passphrase", "4", "--separator", "_" }).trimmed();
    EXPECT_EQ(words.count('_'), 3) << words.toStdString();
    const QString digits = Ok({ "generate", "--length", "16", "--classes", "digits" }).trimmed();
    EXPECT_EQ(digits.size(), 16);
    EXPECT_TRUE(QRegularExpression("^[2-9]+$").match(digits).hasMatch()) << digits.toStdString();
}

TEST_F(CliTest, EachExportFormatWritesItsOwnKind)
{
    const QString file = PathOf("formats.khm");
    WriteDatabase(file, {});
    const struct {
        const char* format;
        const char* start;
    } cases[] = { { "csv",
                      "\xEF\xBB\xBF"
                      "Banque;Compte courant" },
        { "txt", "\"Banque\"\t\"Compte courant\"" }, { "prn", "Banque Compte courant" }, { "html", "<" },
        { "xml", "<?xml" } };
    for (const auto& c : cases) {
        const QString out = Ok({ "export", file, "--format", c.format });
        EXPECT_TRUE(out.startsWith(QString::fromUtf8(c.start))) << c.format << ": " << out.left(80).toStdString();
        EXPECT_TRUE(out.contains(Secret)) << c.format;
    }
}

TEST_F(CliTest, EveryCommandHasItsHelp)
{
    for (const char* command : { "create", "info", "passwd", "ls", "show", "search", "expired", "add", "edit", "rm",
             "export", "import", "generate" }) {
        const Outcome help = Cli({ command, "--help" });
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage : keyholm-cli ") + command)) << help.out.toStdString();
    }
}

TEST_F(CliTest, FailuresAreSaidOnTheErrorOutputWithTheirStatus)
{
    const QString file = PathOf("base.khm");
    WriteDatabase(file, {});
    const QString damaged = PathOf("damaged.khm");
    QByteArray bytes = Bytes(file);
    bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x55);
    QFile out(damaged);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();
    const QString foreign = PathOf("foreign.khm");
    QFile text(foreign);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a database\n");
    text.close();

    const struct {
        QStringList arguments;
        int status;
        const char* says;
    } cases[] = {
        { { "ls", PathOf("missing.khm") }, 1, "Fichier inexistant" },
        { { "ls", damaged }, 1, "Impossible de lire le fichier" },
        { { "ls", foreign }, 1, "Impossible de lire le fichier" },
        { { "show", file, "Banque/Absent" }, 1, "Chemin introuvable" },
        { { "show", file, "Banque" }, 1, "Ce n'est pas un mot de passe" },
        { { "export", file, "--format", "pdf" }, 2, "Format inconnu" },
        { { "create", file, "--no-password" }, 1, "existe déjà" },
        { { "frobnicate" }, 2, "Commande inconnue" },
        { { "ls" }, 2, "Arguments attendus" },
        { { "ls", file, "--bogus" }, 2, "bogus" },
        { { "generate", "--length", "3" }, 2, "Option non valide" },
        { { "import", file, PathOf("missing.csv") }, 1, "ne peut pas être lu" },
    };
    for (const auto& c : cases) {
        const Outcome outcome = Cli(c.arguments);
        EXPECT_EQ(outcome.status, c.status) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(outcome.err.contains(QString::fromUtf8(c.says)))
            << c.arguments.join(' ').toStdString() << ": " << outcome.err.toStdString();
    }
    EXPECT_EQ(Bytes(damaged), bytes) << "a failed opening leaves the file as it was";
}

TEST_F(CliTest, TheMasterPasswordIsAskedTwiceAtMost)
{
    const QString file = PathOf("secret.khm");
    Ok({ "create", file, "--password-stdin" }, "  Maître ü  \n");
    EXPECT_TRUE(IsProtected(file));
    EXPECT_TRUE(Ok({ "info", file, "--password-stdin" }, "Maître ü\n").contains("Mot de passe maître : oui"));

    const Outcome twice = Cli({ "ls", file, "--password-stdin" }, "faux\nencore faux\nMaître ü\n");
    EXPECT_EQ(twice.status, 1);
    EXPECT_TRUE(twice.err.contains("toujours incorrect")) << twice.err.toStdString();
    const Outcome second = Cli({ "ls", file, "--password-stdin" }, "faux\nMaître ü\n");
    EXPECT_EQ(second.status, 0) << second.err.toStdString();
    EXPECT_TRUE(second.err.contains("non correct"));
    const Outcome none = Cli({ "ls", file, "--password-stdin" });
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.err.contains("entrée standard"));

    // The current password, then the new one; the old one opens no more.
    Ok({ "passwd", file, "--password-stdin" }, "Maître ü\nNouveau\n");
    EXPECT_EQ(Cli({ "ls", file, "--password-stdin" }, "Maître ü\nMaître ü\n").status, 1);
    Ok({ "passwd", file, "--password-stdin", "--no-password" }, "Nouveau\n");
    EXPECT_FALSE(IsProtected(file));
}

TEST_F(CliTest, TheWindowAndTheCommandLineReadEachOthersFiles)
{
    // Made by the command line, opened by the window.
    const QString made = PathOf("fromcli.khm");
    Ok({ "create", made, "--password-stdin" }, "Clé\n");
    Ok({ "add", made, "Banque/Compte", "--login", "anne", "--password-stdin" }, "Clé\nSecret 1\n");
    ASSERT_TRUE(Open(made, [](ModalHelper& modal) { Answer(modal, QStringLiteral("Clé")); }).open);
    const EntryRecord record = EntryAt(Tree(), "Banque", "Compte");
    EXPECT_EQ(record.login, "anne");
    EXPECT_EQ(record.password, "Secret 1");
    EXPECT_EQ(Tree().Root()->Text(), ServiceText::Root);

    // Changed and saved by the window, read by the command line.
    ChangeRoot(QStringLiteral("Racine changée"));
    ASSERT_TRUE(Window().File().SavePasswordFileUnder(false));
    Window().File().ClosePasswordFile();
    EXPECT_EQ(Lines(Ok({ "ls", made, "--password-stdin" }, "Clé\n")), QStringList({ "Banque/" }));

    // Written by the window's file code, read by the command line.
    const QString written = PathOf("fromwindow.khm");
    WriteDatabase(written, QStringLiteral("mot de passe"));
    const QString shown = Ok({ "show", written, "Banque/Compte courant", "-s", "--password-stdin" }, "mot de passe\n");
    EXPECT_TRUE(shown.contains("Login : " + Login)) << shown.toStdString();
    EXPECT_TRUE(shown.contains("Mot de passe : " + Secret));
    EXPECT_TRUE(shown.contains(Note));
}

} // namespace
} // namespace keyholm::test
