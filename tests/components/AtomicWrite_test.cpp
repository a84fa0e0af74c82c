#include "support/TestFiles.h"
#include "support/FullDisk.h"

#include "components/FileTools.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace keyholm;
using keyholm::test::Read;

// A full disk in the middle of a write must fail the write and keep the old
// file, for small writes (which Qt buffers until the end) and big ones.
TEST(AtomicWrite, FullDiskKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("target.txt");
    const QString source = dir.filePath("source.txt");
    const QByteArray old = "the old content\n";
    for (const int size : { 4000, 300000 }) {
        ASSERT_TRUE(FileTools::WriteAtomically(target, old));
        ASSERT_TRUE(FileTools::WriteAtomically(source, QByteArray(size, 'n')));
        bool written = true;
        bool copied = true;
        {
            test::FullDisk disk(old.size() + 10);
            ASSERT_TRUE(disk.Active());
            written = FileTools::WriteAtomically(target, QByteArray(size, 'w'));
            copied = FileTools::Instance().CopyFile(source, target);
        }
        EXPECT_FALSE(written) << size;
        EXPECT_FALSE(copied) << size;
        EXPECT_EQ(Read(target), old) << size;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "no scratch file is left";
    }
}
