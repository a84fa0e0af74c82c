// Opening and saving a database of 10,000 entries through the main window's
// own procedures (headless): 50 categories of 200 entries, each entry with
// its six details and a three-line note. Without a master password the key
// is the program's own; with one, the key is Argon2id at the cost new
// databases get (MODERATE), derived once at opening and kept for the saves.
//   database.kdf.moderate            one key derivation (ms, best of 3)
//   database.save.plain.10000        SavePasswordFileUnder, no master password (ms, best of 5)
//   database.save.protected.10000    the same with a master password, key kept (ms, best of 5)
//   database.open.plain.10000        OpenPasswordFile: backups, decoding, loading, tree
//                                    check, selection (ms, best of 3)
//   database.open.protected.10000    the same with the master password typed, one
//                                    derivation included (ms, best of 3)
//   database.open.protected.10000.without_kdf   the same, the derivation taken off
//   database.verify_master.10000     checking the current password of the open
//                                    database: one derivation with its salt (ms, best of 3)
//   database.file.10000              size of the saved file (KiB)

#include "BenchHome.h"
#include "BenchSupport.h"

#include "app/MainWindow.h"
#include "components/TreeStore.h"
#include "database/MasterPassword.h"
#include "services/Environment.h"
#include "services/FileCoding.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace keyholm;
using keyholm::bench::BestMs;
using keyholm::bench::Report;

namespace {

constexpr int Entries = 10000;
constexpr int EntriesPerCategory = 200;
const QString Master = QStringLiteral("Clé-Maîtresse du banc 42");

void Build(MainWindow& window)
{
    PasswordTree& tree = window.State().Tree();
    window.Database().CreateDefaultTree();
    const TreeStore& store = TreeStore::Instance();
    QString category;
    for (int e = 0; e < Entries; ++e) {
        if (e % EntriesPerCategory == 0) {
            category = store.AddNode(tree, "Root", QStringLiteral("Catégorie %1").arg(e / EntriesPerCategory),
                "DirKeyNot", "2024-01-01T10:00:00]|[", true, true);
        }
        const QString n = QString::number(e);
        const QString entry = store.AddNode(
            tree, category, "Compte " + n + " en ligne", "PasswordWebNot", "2024-03-05T10:11:12]|[2024-03-06T10:11:12");
        const QString login = "utilisateur" + n + "@exemple.fr";
        const QString password = "Mot-de-passe_" + n + "!";
        store.AddNode(tree, entry, QString(login.size(), '*'), "Login", CodeField(login, FixedKeyText));
        store.AddNode(tree, entry, QString(password.size(), '*'), "Key", CodeField(password, FixedKeyText));
        store.AddNode(tree, entry, "mardi 5 mars 2024", "Date", "2024-03-05T00:00:00");
        store.AddNode(tree, entry, "Client " + n, "Custom1", "Client " + n);
        store.AddNode(
            tree, entry, "https://www.site" + n + ".example/login", "Web", "https://www.site" + n + ".example/login");
        store.AddNode(tree, entry, "/home/utilisateur/Documents/contrat" + n + ".pdf", "File",
            "/home/utilisateur/Documents/contrat" + n + ".pdf");
        store.SaveNote(tree,
            "Question secrète : ville natale\nCode client " + n + " à rappeler\nChangé le 6 mars après l'alerte",
            entry);
    }
}

// Types the master password into each prompt as soon as it is up.
class PromptAnswerer : public QObject {
public:
    PromptAnswerer()
    {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, this, [] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->objectName() != QLatin1String("Lib_PasswordAsk") || !window->isVisible())
                    continue;
                window->findChild<QLineEdit*>("T_Find")->setText(Master);
                window->findChild<QPushButton*>("Valider")->click();
            }
        });
        timer_.start();
    }

private:
    QTimer timer_;
};

bool Open(MainWindow& window, const QString& path)
{
    return window.File().OpenPasswordFile(path).open;
}

} // namespace

int main(int argc, char** argv)
{
    const keyholm::bench::BenchHome home;
    if (!home.IsValid())
        return 2;
    QApplication app(argc, argv);
    PrepareFolders();
    MasterPassword::SetKeyCost(FileKey::Params::Moderate());

    MainWindow window;
    Build(window);
    const QString plainPath = DataFolder() + "Banc.khm";
    const QString protectedPath = DataFolder() + "BancProtege.khm";

    bool made = true;
    const double kdf = BestMs(3, [&] { made = MakeFileKey(FixedKeyText, Master).has_value() && made; });
    if (!made)
        return 1;
    Report("database.kdf.moderate", kdf, "ms");

    window.State().SetTag(plainPath);
    bool ok = true;
    Report(
        "database.save.plain.10000", BestMs(5, [&] { ok = window.File().SavePasswordFileUnder(false) && ok; }), "ms");
    Report("database.file.10000", QFileInfo(plainPath).size() / 1024.0, "KiB");

    // The master password as setting it leaves it: only the key kept.
    window.File().UseFileKey(MakeFileKey(FixedKeyText, Master));
    window.State().SetTag(protectedPath);
    Report("database.save.protected.10000", BestMs(5, [&] { ok = window.File().SavePasswordFileUnder(false) && ok; }),
        "ms");

    Report("database.open.plain.10000", BestMs(3, [&] { ok = Open(window, plainPath) && ok; }), "ms");
    PromptAnswerer answerer;
    const double openProtected = BestMs(3, [&] { ok = Open(window, protectedPath) && ok; });
    Report("database.open.protected.10000", openProtected, "ms");
    Report("database.open.protected.10000.without_kdf", openProtected - kdf, "ms");

    const FileKey& openKey = *window.File().FileKeyInUse();
    Report("database.verify_master.10000",
        BestMs(3, [&] { ok = VerifyMasterPassword(openKey, FixedKeyText, Master) && ok; }), "ms");

    if (!ok || window.State().Tree().Count() < Entries * 9) {
        std::fprintf(stderr, "a save or an opening failed\n");
        return 1;
    }
    return 0;
}
