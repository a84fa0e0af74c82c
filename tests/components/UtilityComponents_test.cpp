#include "components/DateTools.h"
#include "components/FileTools.h"
#include "components/SystemInfo.h"
#include "components/TextTools.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace keyholm;

namespace {
const QString sep = QDir::separator();

void Touch(const QString& path, const QByteArray& data = "x")
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

struct CutCase {
    const char* text;
    const char* separator;
    const char* beforeFirst;
    const char* afterFirst;
    const char* beforeLast;
    const char* afterLast;
};

class TextCutting : public ::testing::TestWithParam<CutCase> {};

TEST_P(TextCutting, CutsAtFirstAndLastSeparator)
{
    const CutCase c = GetParam();
    const auto& t = TextTools::Instance();
    const QString text = QString::fromUtf8(c.text);
    const QString s = QString::fromUtf8(c.separator);
    EXPECT_EQ(t.BeforeFirst(text, s), QString::fromUtf8(c.beforeFirst));
    EXPECT_EQ(t.AfterFirst(text, s), QString::fromUtf8(c.afterFirst));
    EXPECT_EQ(t.BeforeLast(text, s), QString::fromUtf8(c.beforeLast));
    EXPECT_EQ(t.AfterLast(text, s), QString::fromUtf8(c.afterLast));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextCutting,
    ::testing::Values(
        // a node tag with three fields
        CutCase {"01/02/2026 10:00]|[02/02/2026]|[x", "]|[", "01/02/2026 10:00", "02/02/2026]|[x", "01/02/2026 10:00]|[02/02/2026", "x"},
        // a root tag of a single field comes back whole before the first separator
        CutCase {"onlyfield", "]|[", "onlyfield", "", "onlyfield", ""},
        // a recent-file caption whose path holds blanks: the cut is at the first blank
        CutCase {"&3 /home/a b/My Base.khm", " ", "&3", "/home/a b/My Base.khm", "&3 /home/a b/My", "Base.khm"},
        // a name without "." has no extension at all
        CutCase {"README", ".", "README", "", "README", ""},
        CutCase {"archive.tar.khm", ".", "archive", "tar.khm", "archive.tar", "khm"},
        CutCase {"", ".", "", "", "", ""},
        CutCase {"é]|[ü", "]|[", "é", "ü", "é", "ü"}),
    [](const ::testing::TestParamInfo<CutCase>& info) { return "case" + std::to_string(info.index); });

TEST(TextTools, PathParts)
{
    const auto& t = TextTools::Instance();
    EXPECT_EQ(t.FileNamePart("/home/u/Keyholm/base.khm"), "base.khm");
    EXPECT_EQ(t.FileNamePart("base.khm"), "base.khm");
    EXPECT_EQ(t.FolderPart("/home/u/Keyholm/base.khm"), "/home/u/Keyholm");
    EXPECT_EQ(t.FolderPart("/base.khm"), "/");
    EXPECT_EQ(t.FolderPart("base.khm"), "");
    EXPECT_EQ(t.CutAtNul(QString("user") + QChar(0) + "garbage"), "user");
    EXPECT_EQ(t.NormalizeKey("  Mon   label \t x "), "Mon_label_x");
}

TEST(TextTools, FileNameSafeLeavesNoReservedCharacter)
{
    const auto& t = TextTools::Instance();
    const QString safe = t.FileNameSafe(QString("a<b>c:d\"e/f\\g|h?i*j") + QChar(1) + "k. .");
    EXPECT_EQ(safe, "a_b_c_d_e_f_g_h_i_j_k");
    EXPECT_EQ(t.FileNameSafe("CON"), "CON_");
    EXPECT_EQ(t.FileNameSafe("lpt1.txt"), "lpt1_.txt");
    EXPECT_EQ(t.FileNameSafe("Réseau privé"), "Réseau privé");
}

TEST(FileTools, FolderSeparators)
{
    const auto& f = FileTools::Instance();
    EXPECT_EQ(f.WithFolderSeparator("/data/Keyholm"), "/data/Keyholm" + sep);
    // already ending with one: none added, so "Log" appended names a subfolder
    EXPECT_EQ(f.WithFolderSeparator("/data/Keyholm" + sep) + "Log", "/data/Keyholm" + sep + "Log");
    EXPECT_EQ(f.WithFolderSeparator("/data/Keyholm" + sep + sep), "/data/Keyholm" + sep);
    EXPECT_EQ(f.StripFolderSeparator("/data/Keyholm" + sep), "/data/Keyholm");
    EXPECT_EQ(f.StripFolderSeparator("/data/Keyholm"), "/data/Keyholm");
    EXPECT_EQ(f.StripFolderSeparator("/"), "/");
    EXPECT_EQ(f.WithFolderSeparator("/"), "/");
}

TEST(FileTools, CopiesReplaceOlderCopies)
{
    QTemporaryDir dir;
    const auto& f = FileTools::Instance();
    const QString log = dir.filePath("Keyholm.log");
    Touch(log, "first");
    ASSERT_TRUE(f.CopyWithExtension(log, ".old", ""));
    Touch(log, "second");
    ASSERT_TRUE(f.CopyWithExtension(log, ".old", ""));
    EXPECT_EQ(Read(dir.filePath("Keyholm.old")), "second");

    QDir(dir.path()).mkdir("Backup");
    ASSERT_TRUE(f.CopyWithExtension(log, "bak", dir.filePath("Backup")));
    EXPECT_EQ(Read(dir.filePath("Backup/Keyholm.bak")), "second");

    EXPECT_TRUE(f.CopyFile(log, dir.filePath("copy.khm")));
    EXPECT_EQ(Read(dir.filePath("copy.khm")), "second");
    EXPECT_FALSE(f.CopyFile(dir.filePath("missing"), dir.filePath("copy.khm")));
    EXPECT_EQ(Read(dir.filePath("copy.khm")), "second") << "a failed copy leaves the target alone";
    EXPECT_FALSE(f.CopyWithExtension(dir.filePath("missing.log"), ".old", ""));
}

TEST(FileTools, ExistenceFoldersAndDeletion)
{
    QTemporaryDir dir;
    const auto& f = FileTools::Instance();
    const QString file = dir.filePath("a.txt");
    Touch(file);
    EXPECT_TRUE(f.FileExists(file));
    EXPECT_FALSE(f.FileExists(dir.path()));
    EXPECT_TRUE(f.FolderExists(dir.path()));
    EXPECT_FALSE(f.FolderExists(file));
    EXPECT_FALSE(f.FileExists(""));
    const QString deep = dir.filePath("x/y/z");
    EXPECT_TRUE(f.CreateFolder(deep));
    EXPECT_TRUE(f.FolderExists(deep));
    EXPECT_TRUE(f.DeleteFile(file));
    EXPECT_FALSE(f.FileExists(file));
}

TEST(FileTools, TextFilesRoundTripAsUtf8)
{
    QTemporaryDir dir;
    const auto& f = FileTools::Instance();
    const QString text = "Réseau\nligne 2 ]|[ €";
    ASSERT_TRUE(f.SaveTextFile(dir.filePath("n.txt"), text));
    EXPECT_EQ(f.LoadTextFile(dir.filePath("n.txt")).value_or(""), text);
    EXPECT_FALSE(f.LoadTextFile(dir.filePath("none.txt")).has_value());
}

TEST(FileTools, TempFileNamesAreFreshAndPrivate)
{
    const auto& f = FileTools::Instance();
    const QString a = f.TempFileName();
    const QString b = f.TempFileName();
    ASSERT_FALSE(a.isEmpty());
    EXPECT_NE(a, b);
    EXPECT_TRUE(a.startsWith(QDir::tempPath()));
    EXPECT_TRUE(a.endsWith(".tmp"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(a).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    QFile::remove(a);
    QFile::remove(b);
}

TEST(FileTools, RelocatePathLooksInTheDataFolder)
{
    QTemporaryDir data;
    auto& f = FileTools::Instance();
    f.SetDataFolder(data.path());
    Touch(data.filePath("Moved.khm"));
    EXPECT_EQ(f.RelocatePath("/nowhere/at/all/Moved.khm"), f.WithFolderSeparator(data.path()) + "Moved.khm");
    EXPECT_EQ(f.RelocatePath("/nowhere/at/all/Lost.khm"), "/nowhere/at/all/Lost.khm");
    const QString present = data.filePath("Moved.khm");
    EXPECT_EQ(f.RelocatePath(present), present);
    f.SetDataFolder({});
}

TEST(FileTools, ShellOpenHandsTheAddressToTheOpener)
{
    auto& f = FileTools::Instance();
    QUrl opened;
    f.SetOpener([&](const QUrl& url) {
        opened = url;
        return true;
    });
    EXPECT_TRUE(f.ShellOpen("www.example.org/login"));
    EXPECT_EQ(opened.scheme(), "http");
    EXPECT_EQ(opened.host(), "www.example.org");
    QTemporaryDir dir;
    Touch(dir.filePath("doc.txt"));
    EXPECT_TRUE(f.ShellOpen(dir.filePath("doc.txt")));
    EXPECT_TRUE(opened.isLocalFile());
    EXPECT_FALSE(f.ShellOpen("  "));
    f.SetOpener({});
}

TEST(SystemInfo, DriveTypeAnswersCdRomForReadOnlyFolders)
{
    QTemporaryDir dir;
    const auto& s = SystemInfo::Instance();
    EXPECT_EQ(s.DriveType(dir.path()), SystemInfo::Fixed);
    EXPECT_EQ(s.DriveType(dir.filePath("not/yet/base.khm")), SystemInfo::Fixed);
    const QString locked = dir.filePath("locked");
    QDir(dir.path()).mkdir("locked");
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0555), 0);
    EXPECT_EQ(s.DriveType(locked), SystemInfo::CdRom);
    EXPECT_EQ(s.DriveType(locked + "/base.khm"), SystemInfo::CdRom);
    ::chmod(QFile::encodeName(locked).constData(), 0755);
}

TEST(SystemInfo, DateFormatsReadBack)
{
    auto& s = SystemInfo::Instance();
    const QLocale saved = s.Locale();
    for (const QLocale& locale : {QLocale(QLocale::French, QLocale::France), QLocale(QLocale::English, QLocale::UnitedStates),
                                  QLocale(QLocale::German, QLocale::Germany), QLocale::c()}) {
        s.SetLocale(locale);
        const QDate d(2031, 12, 24);
        EXPECT_EQ(QDate::fromString(d.toString(s.ShortDateFormat()), s.ShortDateFormat()), d) << locale.name().toStdString();
        EXPECT_FALSE(s.DateSeparator().isEmpty());
    }
    s.SetLocale(QLocale::c());
    EXPECT_EQ(s.Locale().language(), QLocale::French) << "the C locale falls back to French";
    EXPECT_EQ(s.ShortDateFormat(), "dd/MM/yyyy");
    s.SetLocale(saved);
}

TEST(DateTools, CompareDatesOrder)
{
    auto& s = SystemInfo::Instance();
    const QLocale saved = s.Locale();
    s.SetLocale(QLocale(QLocale::French, QLocale::France));
    const auto& d = DateTools::Instance();
    EXPECT_GT(d.CompareDates("02/01/2027", "01/01/2027"), 1);
    EXPECT_GT(d.CompareDates("01/01/2028", "31/12/2027"), 1) << "year counts before day";
    EXPECT_LE(d.CompareDates("01/01/2027", "01/01/2027"), 1);
    EXPECT_LE(d.CompareDates("31/12/2026", "01/01/2027"), 1);
    // unreadable dates never count as after, on either side
    EXPECT_LE(d.CompareDates("jamais", "01/01/2027"), 1);
    EXPECT_LE(d.CompareDates("01/01/2027", ""), 1);
    EXPECT_LE(d.CompareDates("32/01/2027", "01/01/2027"), 1);
    s.SetLocale(saved);
}

TEST(DateTools, DurationsAndNow)
{
    EXPECT_EQ(DateTools::FormatDuration(3 * 3600 + 4 * 60 + 5), "03:04:05");
    EXPECT_EQ(DateTools::FormatDuration(2 * 86400 + 61), "2 j 00:01:01");
    EXPECT_FALSE(DateTools::Instance().SystemUpTime().isEmpty());
    EXPECT_EQ(DateTools::Instance().NowFormatted("yyyy"), QString::number(QDate::currentDate().year()));
}

TEST(Components, ReleaseDropsEveryInstance)
{
    FileTools::Instance();
    TextTools::Instance();
    ASSERT_TRUE(FileTools::Exists());
    ReleaseComponents();
    EXPECT_FALSE(FileTools::Exists());
    EXPECT_FALSE(TextTools::Exists());
    EXPECT_EQ(TextTools::Instance().AfterLast("a.b", "."), "b") << "made again on next use";
}
