// keyholm-cli over a database of 10,000 entries, each figure a whole process
// run (start, reading and decoding the file, the command, the output): ls -R,
// a text search and the CSV export, without a master password and then with
// one (the same plus one key derivation).

#include "BenchEntries.h"
#include "BenchHome.h"
#include "BenchSupport.h"

#include "components/FieldCoding.h"
#include "components/PasswordTree.h"
#include "components/TreeStore.h"
#include "services/DatabaseContent.h"
#include "services/Environment.h"
#include "services/FileCoding.h"

#include <QCoreApplication>
#include <QProcess>

#include <cstdio>

namespace {

constexpr int Entries = 10000;
constexpr int PerCategory = 100;

bool MakeDatabase(const QString& path, const QString& password)
{
    keyholm::PasswordTree tree;
    if (!keyholm::BuildDefaultTree(tree))
        return false;
    keyholm::TreeNode* category = nullptr;
    for (int i = 0; i < Entries; ++i) {
        if (i % PerCategory == 0)
            category = tree.FindKey(keyholm::TreeStore::Instance().AddNode(tree, tree.Root()->Key(),
                QStringLiteral("Catégorie %1").arg(i / PerCategory), QStringLiteral("DirKeyNot"), QString(), true));
        if (!category || !keyholm::bench::BenchEntry(i).Write(tree, category))
            return false;
    }
    const auto key = keyholm::MakeFileKey(keyholm::FixedKeyText, password);
    return key && keyholm::WriteDatabase(tree, path, &*key) == keyholm::DatabaseWrite::Written;
}

// The fastest of five runs; the password, when there is one, on standard input.
double RunMs(const QStringList& arguments, const QByteArray& input)
{
    bool ok = true;
    const double ms = keyholm::bench::BestMs(5, [&] {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(QStringLiteral(KEYHOLM_CLI), arguments);
        process.write(input);
        process.closeWriteChannel();
        ok = ok && process.waitForFinished(120000) && process.exitCode() == 0;
    });
    if (!ok)
        std::fprintf(stderr, "keyholm-cli %s failed\n", qPrintable(arguments.join(QLatin1Char(' '))));
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    const keyholm::bench::BenchHome home;
    QCoreApplication app(argc, argv);
    keyholm::PrepareFolders();
    const QString plain = keyholm::DataFolder() + QStringLiteral("plain.khm");
    const QString coded = keyholm::DataFolder() + QStringLiteral("coded.khm");
    if (!MakeDatabase(plain, QString()) || !MakeDatabase(coded, QStringLiteral("mot de passe maître"))) {
        std::fprintf(stderr, "cannot make the databases\n");
        return 1;
    }
    const struct {
        const char* name;
        QStringList arguments;
    } commands[] = {
        { "ls", { QStringLiteral("ls"), QStringLiteral("-R") } },
        { "search", { QStringLiteral("search"), QStringLiteral("site4242") } },
        { "export_csv", { QStringLiteral("export"), QStringLiteral("--format"), QStringLiteral("csv") } },
    };
    for (const auto& command : commands) {
        QStringList arguments = command.arguments;
        arguments.insert(1, plain);
        keyholm::bench::Report(std::string("cli.") + command.name + ".10000", RunMs(arguments, {}), "ms");
    }
    for (const auto& command : commands) {
        QStringList arguments = command.arguments;
        arguments.insert(1, coded);
        arguments << QStringLiteral("--password-stdin");
        keyholm::bench::Report(std::string("cli.") + command.name + ".10000.protected",
            RunMs(arguments, QByteArrayLiteral("mot de passe maître\n")), "ms");
    }
    return 0;
}
