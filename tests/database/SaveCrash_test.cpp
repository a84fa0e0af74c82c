// A process killed while it saves a database leaves the old file or the new
// one, whole: never a mix, never a cut file, never a plain tree on the disk.

#include "services/FileCoding.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace keyholm;
using keyholm::test::Read;

namespace {
constexpr int TreeSize = 1 << 20;
const QByteArray Marker = "PLAIN-TREE-VERSION ";

// Version v of the tree: the number in front, then bytes that depend on it,
// so that any mix of two versions is caught.
QByteArray Version(int v)
{
    QByteArray tree = Marker + QByteArray::number(v) + ' ';
    tree.reserve(TreeSize);
    std::mt19937 random { unsigned(v) };
    while (tree.size() < TreeSize)
        tree += char('a' + random() % 26);
    return tree;
}

int VersionOf(const QByteArray& tree)
{
    if (!tree.startsWith(Marker))
        return -1;
    const qsizetype end = tree.indexOf(' ', Marker.size());
    bool ok = false;
    const int v = tree.mid(Marker.size(), end - Marker.size()).toInt(&ok);
    return ok ? v : -1;
}
} // namespace

TEST(SaveCrash, KilledWhileSavingLeavesOldOrNewFileWhole)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.path() + "/Keyholm.khm";
    std::optional<FileKey> key = MakeFileKey(FixedKeyText, QStringLiteral("maître"), FileKey::Params { 1, 8192 });
    ASSERT_TRUE(key.has_value());
    ASSERT_TRUE(CodeFile(Version(0), path, *key));

    // How long one save takes here, so that the kills spread over whole saves.
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(CodeFile(Version(0), path, *key));
    const qint64 saveMicros = std::max<qint64>(clock.nsecsElapsed() / 3000, 200);

    constexpr int Kills = 60;
    std::mt19937 random(42);
    int last = 0;
    int unchanged = 0;
    int changed = 0;
    for (int kill = 0; kill < Kills; ++kill) {
        const int first = (kill + 1) * 1000;
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves new versions until it is killed (or gives up after a while).
            for (int v = first; v < first + 500; ++v)
                (void)CodeFile(Version(v), path, *key);
            _exit(0);
        }
        // From before the first save starts to a few saves in, at random.
        const qint64 delay = std::uniform_int_distribution<qint64>(0, saveMicros * 4)(random);
        std::this_thread::sleep_for(std::chrono::microseconds(delay));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);

        const CipherEngine::DecodedFile decoded = CipherEngine::Instance().DecodeFile(Read(path), *key);
        ASSERT_EQ(decoded.status, CipherEngine::FileStatus::Ok) << "kill " << kill << " after " << delay << " us";
        const int v = VersionOf(decoded.plain);
        ASSERT_TRUE(v == last || (v >= first && v < first + 500)) << "version " << v << " after " << last;
        ASSERT_EQ(decoded.plain, Version(v)) << "a mix of versions";
        (v == last ? unchanged : changed)++;
        last = v;
    }
    // Both outcomes were seen, so kills did land around the saves.
    EXPECT_GT(unchanged, 0);
    EXPECT_GT(changed, 0);

    // Whatever a kill left behind in the folder holds no plain tree.
    for (const QString& name : QDir(folder.path()).entryList(QDir::Files | QDir::Hidden)) {
        const QByteArray content = Read(folder.path() + "/" + name);
        EXPECT_EQ(content.indexOf(Marker), -1) << name.toStdString();
    }
}
