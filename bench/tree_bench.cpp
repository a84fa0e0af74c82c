// Password tree figures for databases of 1,000, 10,000 and 100,000 entries:
// about 200 entries per category, each with its seven details and a
// three-line note (twelve nodes an entry). Each size runs in a child process
// of its own, so that its memory figures are its own:
//   tree.build.N      building the tree with TreeStore.AddNode/SaveNote (ms)
//   tree.save.N       SaveTree to a buffer (ms, best of 3)
//   tree.load.N       LoadTree from that buffer into an empty tree (ms, best of 3)
//   tree.search.N     SearchText over the whole loaded tree, letter case
//                     ignored (ms, best of 3)
//   tree.*.cpu.N      the same in processor time, for a shared machine
//   tree.count.N      CountNodes of the entries over the whole tree (ms)
//   tree.bytes.N      saved bytes per entry
//   tree.memory.N     resident memory added by the built tree, per entry
//   tree.memory.loaded.N  resident memory added by loading it, per entry
//   tree.peak.N       peak resident memory of the whole run of that size (MiB),
//                     with the built tree, its buffer and a loaded copy alive

#include "BenchSupport.h"

#include "components/TreeStore.h"

#include <QString>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

using namespace keyholm;
using keyholm::bench::Report;

namespace {
constexpr int EntriesPerCategory = 200;

QString Coded(int n, char salt)
{
    // Stands for a field coded by the cipher: 64 base64-like characters.
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    QString s(64, Qt::Uninitialized);
    unsigned v = unsigned(n) * 2654435761u + unsigned(salt);
    for (int i = 0; i < 64; ++i) {
        v = v * 1103515245u + 12345u;
        s[i] = QLatin1Char(alphabet[(v >> 16) & 63]);
    }
    return s;
}

void Build(PasswordTree& tree, int entries)
{
    auto& store = TreeStore::Instance();
    TreeNode* root = tree.Add(nullptr, "Root", "Mes mots de passe", "RootNot", "");
    root->SetSelectedImage("Root");
    root->SetSorted(true);
    root->SetExpanded(true);
    const QString info = store.AddNode(tree, "Root", " A propos de la Base", "InfoNot", "2024-01-01 10:00:00");
    store.AddNode(tree, info, "01/01/2024", "Create", "2024-01-01 10:00:00]|[2024-01-01 10:00:00", true, false);
    store.AddNode(tree, "Root", " Chiffres sur la Base", "StatNot", "", true, false);
    store.AddNode(tree, "Root", " Choix de fonctionnement", "OptionNot", "", true, false);
    store.AddNode(tree, "Root", " Corbeille", "TrashNot", "", true, false);

    QString category;
    for (int e = 0; e < entries; ++e) {
        if (e % EntriesPerCategory == 0) {
            category = store.AddNode(tree, "Root", QStringLiteral("Catégorie %1").arg(e / EntriesPerCategory),
                "DirKeyNot", "2024-01-01 10:00:00]|[", true, true);
        }
        const QString n = QString::number(e);
        const QString entry = store.AddNode(
            tree, category, "Compte " + n + " en ligne", "PasswordWebNot", "2024-03-05 10:11:12]|[2024-03-06 10:11:12");
        const auto detail = [&](const QString& text, const QString& image, const QString& tag) {
            const QString key = store.AddNode(tree, entry, text, image, tag);
            tree.FindKey(key)->SetSelectedImage(image);
        };
        detail(QString(8, QChar('*')), "Login", Coded(e, 'l'));
        detail(QString(12, QChar('*')), "Key", Coded(e, 'k'));
        detail("mardi 5 mars 2024", "Date", "2024-03-05 00:00:00");
        detail("Client " + n, "Custom1", "Client " + n);
        detail("https://www.site" + n + ".example/login", "Web", "https://www.site" + n + ".example/login");
        detail("/home/utilisateur/Documents/contrat" + n + ".pdf", "File",
            "/home/utilisateur/Documents/contrat" + n + ".pdf");
        store.SaveNote(tree,
            "Question secrète : ville natale\nCode client " + n + " à rappeler\nChangé le 6 mars après l'alerte",
            entry);
    }
}

double Ms(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Wall and processor time of the fastest of three runs: the machine may be
// shared, and the processor time shows the work itself.
struct Timing {
    double wall = 1e300;
    double cpu = 1e300;
};

double CpuNowMs()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

template <class Prepare, class Work> Timing Best(Prepare&& prepare, Work&& work)
{
    Timing t;
    for (int i = 0; i < 3; ++i) {
        prepare();
        const double cpu = CpuNowMs();
        const auto start = std::chrono::steady_clock::now();
        work();
        t.wall = std::min(t.wall, Ms(start));
        t.cpu = std::min(t.cpu, CpuNowMs() - cpu);
    }
    return t;
}

int RunSize(int entries)
{
    auto& store = TreeStore::Instance();
    const std::string size = std::to_string(entries);

    long rss = bench::ResidentKiB();
    auto start = std::chrono::steady_clock::now();
    auto tree = std::make_unique<PasswordTree>();
    Build(*tree, entries);
    const double build = Ms(start);
    const double builtBytes = double(bench::ResidentKiB() - rss) * 1024.0 / entries;

    const QByteArray buffer = store.SaveTree(*tree);
    rss = bench::ResidentKiB();
    auto loaded = std::make_unique<PasswordTree>();
    if (!store.LoadTree(*loaded, buffer)) {
        std::fprintf(stderr, "tree_bench: the saved tree did not load\n");
        return 1;
    }
    const double loadedBytes = double(bench::ResidentKiB() - rss) * 1024.0 / entries;

    QByteArray again;
    const Timing save = Best([&] { again.clear(); }, [&] { again = store.SaveTree(*tree); });
    std::unique_ptr<PasswordTree> target;
    bool ok = true;
    const Timing load
        = Best([&] { target = std::make_unique<PasswordTree>(); }, [&] { ok = store.LoadTree(*target, buffer) && ok; });
    target.reset();

    int hits = 0;
    const Timing search = Best([] {},
        [&] {
            const auto found = store.SearchText(*loaded, "Root", "SITE4242.", true, Qt::CaseInsensitive, false);
            hits = found ? int(found->size()) : -1;
        });
    int count = 0;
    const Timing counting
        = Best([] {}, [&] { count = store.CountNodes(*loaded, loaded->Root(), "Password", true, true); });
    if (!ok || again != buffer || count != entries || hits != (entries > 4242 ? 1 : 0)) {
        std::fprintf(stderr, "tree_bench: wrong results (%d entries counted, %d found)\n", count, hits);
        return 1;
    }

    Report("tree.build." + size, build, "ms");
    Report("tree.save." + size, save.wall, "ms");
    Report("tree.save.cpu." + size, save.cpu, "ms");
    Report("tree.load." + size, load.wall, "ms");
    Report("tree.load.cpu." + size, load.cpu, "ms");
    Report("tree.search." + size, search.wall, "ms");
    Report("tree.search.cpu." + size, search.cpu, "ms");
    Report("tree.count." + size, counting.wall, "ms");
    Report("tree.bytes." + size, double(buffer.size()) / entries, "bytes");
    Report("tree.memory." + size, builtBytes, "bytes");
    Report("tree.memory.loaded." + size, loadedBytes, "bytes");
    Report("tree.peak." + size, double(bench::PeakResidentKiB()) / 1024.0, "MiB");
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--size")
        return RunSize(std::atoi(argv[2]));

    int status = 0;
    for (int entries : { 1000, 10000, 100000 }) {
        const pid_t child = fork();
        if (child == 0) {
            const std::string n = std::to_string(entries);
            execl("/proc/self/exe", argv[0], "--size", n.c_str(), static_cast<char*>(nullptr));
            std::_Exit(127);
        }
        int result = 0;
        if (child < 0 || waitpid(child, &result, 0) < 0 || !WIFEXITED(result) || WEXITSTATUS(result) != 0)
            status = 1;
    }
    return status;
}
