// The modes of what Keyholm writes to its data folder, under a umask that
// would let every user read a file made with the default mode.

#include "support/TestFiles.h"

#include "components/FileTools.h"
#include "services/BackupCopies.h"
#include "services/Environment.h"
#include "services/Preferences.h"
#include "services/TraceLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

using namespace keyholm;
using keyholm::test::Write;

namespace {

mode_t ModeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

class FileModes : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid());
        savedUmask_ = ::umask(022);
        savedHome_ = qgetenv("KEYHOLM_HOME");
        ClosePreferences();
        StopTraceLog();
        data_ = home_.path() + "/Keyholm/";
        qputenv("KEYHOLM_HOME", QFile::encodeName(data_));
    }
    void TearDown() override
    {
        StopTraceLog();
        ClosePreferences();
        qputenv("KEYHOLM_HOME", savedHome_);
        PrepareFolders();
        ::umask(savedUmask_);
    }

    QTemporaryDir home_;
    QString data_;
    QByteArray savedHome_;
    mode_t savedUmask_ = 0;
};

// Each file or folder, made either where nothing was or over what an earlier
// version left with the umask's mode (0644 files, 0755 folders).
TEST_F(FileModes, FilesAreTheUsersAloneAndFoldersTooWhetherNewOrLeftWide)
{
    const QString logName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    const QString database = data_ + "Perso.khm";
    struct Case {
        const char* name;
        QString path;
        const char* earlier; // what an earlier version left there; none for a folder
        mode_t whenNew;
        mode_t whenThere;
    };
    const Case cases[] = {
        {"data folder", data_, nullptr, 0700, 0700},
        {"backup folder", data_ + "Backup", nullptr, 0700, 0700},
        {"log folder", data_ + "Log", nullptr, 0700, 0700},
        // A database the user shared on purpose stays shared.
        {"database", database, "coded before", 0600, 0644},
        {"newest database backup", data_ + "Backup/" + DatabaseCopyName(database, 1), "older", 0600, 0600},
        {"monthly database backup", data_ + "Backup/" + DatabaseMonthlyCopyName(database), "older", 0600, 0600},
        {"preferences", data_ + "Preference.opt", "[Options]\nLanguage=Espagnol\n", 0600, 0600},
        {"preferences backup", data_ + "Backup/1_Preference_opt.bak", "older", 0600, 0600},
        {"previous log", data_ + "Log/" + logName + ".old", "older log", 0600, 0600},
    };

    for (const bool leftWide : {false, true}) {
        SCOPED_TRACE(leftWide ? "left wide" : "new");
        ASSERT_TRUE(QDir(data_).removeRecursively() || !QFileInfo::exists(data_));
        if (leftWide) {
            for (const char* folder : {"", "Backup", "Log"})
                ASSERT_TRUE(QDir().mkpath(data_ + folder));
            for (const Case& c : cases) {
                if (c.earlier)
                    Write(c.path, c.earlier);
            }
            Write(data_ + "Log/" + logName + ".log", "last log");
        }

        PrepareFolders();
        ASSERT_EQ(DataFolder(), data_);
        ASSERT_TRUE(StartTraceLog(true, DataFolder(), {}, "modes", false));
        StopTraceLog();
        // The second start keeps the first log as ".old".
        ASSERT_TRUE(StartTraceLog(true, DataFolder(), {}, "modes", false));
        ASSERT_TRUE(FileTools::WriteAtomically(database, "coded", FileTools::OwnerOnly, FileTools::ExistingMode::Keep));
        ASSERT_TRUE(BackupDatabase(database, "coded", BackupFolder(), 3));
        ASSERT_TRUE(OpenPreferences(DataFolder(), "modes", false));
        ASSERT_TRUE(SetTextOption("Options", "Language", "Anglais"));
        ASSERT_TRUE(CopyWithNewSuffix(PreferencesPath(), ".bak", BackupFolder(), 3));

        for (const Case& c : cases) {
            EXPECT_EQ(ModeOf(c.path), leftWide ? c.whenThere : c.whenNew)
                << c.name << ": " << qPrintable(c.path) << " is 0" << std::oct << ModeOf(c.path);
        }
        StopTraceLog();
        ClosePreferences();
    }
}

} // namespace
