// Renders the main window to PNG files without a display, for the README and
// for looking at the layout: keyholm-screenshots <output folder>.
// Pictures: the empty window, a new database selected on its root, and an
// entry.

#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "components/EntryRecord.h"
#include "components/NodeImages.h"
#include "components/NodeTags.h"
#include "components/SystemInfo.h"
#include "components/TreeStore.h"
#include "services/Environment.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTreeView>

#include <cstdio>

namespace {

bool Save(keyholm::MainWindow& window, const QString& folder, const char* name)
{
    // A layout nested in another one settles in a second round.
    QApplication::processEvents();
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(QLatin1String(name));
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// A small database to pose with: two categories and a filled-in entry.
keyholm::TreeNode* AddSampleEntries(keyholm::MainWindow& window)
{
    using namespace keyholm;
    PasswordTree& tree = window.State().Tree();
    TreeStore& store = TreeStore::Instance();
    const QString rootKey = tree.Root()->Key();
    const QString now = NowTag();
    const QString mail
        = store.AddNode(tree, rootKey, QStringLiteral("Messagerie"), NodeImage::DirNot, now + TagSeparator, true, true);
    store.AddNode(tree, rootKey, QStringLiteral("Finance"),
        QLatin1String(NodeImage::Categories[4].key) + NodeImage::NotSuffix, now + TagSeparator, true, true);
    EntryRecord sample;
    sample.title = QStringLiteral("Courrier personnel");
    sample.login = QStringLiteral("marie.dupont@example.org");
    sample.password = QStringLiteral("vY7#qLp2!mWz8d");
    sample.web = QStringLiteral("https://mail.example.org/");
    sample.expiry = QDate::currentDate().addMonths(6);
    sample.note = QStringLiteral("Question secrète : la ville de naissance.\nCompte ouvert en 2019.");
    TreeNode* entry = sample.Write(tree, tree.FindKey(mail));
    store.AddNode(tree, mail, QStringLiteral("Travail"), NodeImage::PasswordNot, now + TagSeparator + now);
    return entry;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never touch the real user's files while posing for pictures.
    QTemporaryDir home;
    qputenv("KEYHOLM_HOME", QFile::encodeName(home.path() + QStringLiteral("/Keyholm")));
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = home.path() + QStringLiteral("/runtime");
        QDir().mkdir(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Keyholm"));
    keyholm::ApplyApplicationLook(app);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(folder);
    keyholm::PrepareFolders();

    keyholm::MainWindow window;
    window.resize(1100, 720);
    window.Lifecycle().Form_Load();
    window.show();
    bool ok = Save(window, folder, "main-empty.png");

    // A new database, as the new-file command leaves it.
    window.setWindowTitle(QStringLiteral("Keyholm - Keyholm.khm"));
    window.State().SetTag(home.path() + QStringLiteral("/Keyholm.khm"));
    window.Ui().PictureLogo->setVisible(false);
    window.Ui().tvTreeView->setVisible(true);
    window.Database().CreateDefaultTree();
    ok = Save(window, folder, "main-new-database.png") && ok;

    keyholm::TreeNode* entry = AddSampleEntries(window);
    window.Ui().tvTreeView->expandAll();
    window.Entries().tvTreeView_NodeClick(entry);
    ok = Save(window, folder, "main-entry.png") && ok;
    return ok ? 0 : 1;
}
