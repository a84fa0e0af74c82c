#include "services/FileCoding.h"
#include "support/TestFiles.h"

#include "services/ErrorReport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>

using namespace keyholm;
using keyholm::test::Read;
using keyholm::test::Write;
using Status = CipherEngine::FileStatus;

namespace {
const FileKey::Params Cheap { 1, 8192 };

QByteArray Tree(int size, int seed = 1)
{
    QByteArray data = "KEYHOLM-PLAIN-TREE-MARKER ";
    std::mt19937 random(seed);
    while (data.size() < size)
        data += char('a' + random() % 26);
    return data;
}

} // namespace

TEST(FieldCoding, StoresMasterPasswordsAndLoginsSafely)
{
    for (const QString& text : { QStringLiteral("hunter2"), QStringLiteral("été ]|[ hiver"), QStringLiteral(" x ") }) {
        const QString coded = CodeField(text, FixedKeyText);
        EXPECT_EQ(coded, CodeField(text, FixedKeyText)) << "the password change compares coded texts";
        EXPECT_EQ(DecodeField(coded, FixedKeyText), text);
        EXPECT_FALSE(coded.contains(QStringLiteral("]|[")));
        EXPECT_FALSE(coded.contains(text));
    }
    EXPECT_TRUE(DecodeField(QStringLiteral("not a coded field"), FixedKeyText).isEmpty());
    EXPECT_TRUE(DecodeField(CodeField(QStringLiteral("a"), FixedKeyText), QStringLiteral("other key")).isEmpty());
}

// Records the error boxes a test makes, so that it can tell which failures
// are reported and which are left to the caller.
class DatabaseFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        path_ = folder_.path() + "/Keyholm.khm";
        SetErrorDisplay({ [] {}, [this](const QString&, const QString& text) { shown_ << text; } });
    }
    void TearDown() override { SetErrorDisplay({}); }

    FileKey Key(const QString& password, const FileKey::Params& params = Cheap)
    {
        auto key = MakeFileKey(FixedKeyText, password, params);
        EXPECT_TRUE(key.has_value());
        return std::move(*key);
    }
    bool ShownOnce(const QString& start)
    {
        const bool once = shown_.size() == 1 && shown_.front().startsWith(start);
        shown_.clear();
        return once;
    }

    QTemporaryDir folder_;
    QString path_;
    QStringList shown_;
};

TEST_F(DatabaseFiles, RoundTripWithAndWithoutMasterPassword)
{
    for (const QString& password : { QString(), QStringLiteral("mot de passe"), QStringLiteral("pâté") }) {
        const QByteArray tree = Tree(20000);
        const FileKey key = Key(password);
        ASSERT_TRUE(CodeFile(tree, path_, key));
        const QByteArray onDisk = Read(path_);
        EXPECT_EQ(onDisk.indexOf("KEYHOLM-PLAIN-TREE-MARKER"), -1) << "the plain tree reached the disk";
        EXPECT_EQ(QFile::permissions(path_),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);

        const CipherEngine::FileHeader header = ReadFileHeader(path_);
        EXPECT_EQ(header.status, Status::Ok);
        EXPECT_EQ(header.isProtected, !password.isEmpty());

        CipherEngine::DecodedFile opened = DecodeFile(path_, FixedKeyText, password);
        ASSERT_EQ(opened.status, Status::Ok);
        EXPECT_EQ(opened.plain, tree);
        ASSERT_TRUE(opened.key.has_value());

        // Saving again with the kept key, as the open database does.
        const QByteArray edited = Tree(21000, 2);
        ASSERT_TRUE(CodeFile(edited, path_, *opened.key));
        EXPECT_EQ(DecodeFile(path_, FixedKeyText, password).plain, edited);
        QFile::remove(path_);
    }
    EXPECT_TRUE(shown_.isEmpty()) << shown_.join("|").toStdString();
}

TEST_F(DatabaseFiles, DefaultKeyIsModerateArgon2idAndWrongPasswordIsNotReported)
{
    const FileKey key = Key(QStringLiteral("Secret"), FileKey::Params::Moderate());
    ASSERT_TRUE(CodeFile(Tree(5000), path_, key));
    EXPECT_EQ(ReadFileHeader(path_).params, FileKey::Params::Moderate());

    const CipherEngine::DecodedFile wrong = DecodeFile(path_, FixedKeyText, QStringLiteral("secret"));
    EXPECT_EQ(wrong.status, Status::WrongKey);
    EXPECT_TRUE(wrong.plain.isEmpty());
    EXPECT_FALSE(wrong.key.has_value());
    EXPECT_EQ(DecodeFile(path_, FixedKeyText, QString()).status, Status::WrongKey);
    EXPECT_TRUE(shown_.isEmpty()) << "the caller asks again; nothing to report";
}

TEST_F(DatabaseFiles, UnreadableFilesGiveNoTreeAndLeaveTheMessageToTheCaller)
{
    const QByteArray good = [&] {
        EXPECT_TRUE(CodeFile(Tree(3000), path_, Key(QString())));
        return Read(path_);
    }();
    struct Case {
        const char* name;
        QByteArray content;
        Status status;
    };
    QByteArray flipped = good;
    flipped[good.size() / 2] = char(flipped[good.size() / 2] ^ 0x20);
    QByteArray wrongSalt = good;
    wrongSalt[30] = char(wrongSalt[30] ^ 0x01); // the key no longer fits: damage, since no password is involved
    const Case cases[] = {
        { "flipped", flipped, Status::Damaged },
        { "salt", wrongSalt, Status::Damaged },
        { "truncated", good.left(good.size() - 1), Status::Damaged },
        { "header only", good.left(CipherEngine::HeaderSize), Status::Damaged },
        { "empty", QByteArray(), Status::NotKeyholmFile },
        { "text", "Keyholm is a password manager", Status::NotKeyholmFile },
    };
    for (const Case& c : cases) {
        Write(path_, c.content);
        const CipherEngine::DecodedFile decoded = DecodeFile(path_, FixedKeyText, QString());
        EXPECT_EQ(decoded.status, c.status) << c.name;
        EXPECT_TRUE(decoded.plain.isEmpty()) << c.name;
        // Traced only: the opening that asked shows one message.
        EXPECT_TRUE(shown_.isEmpty()) << c.name;
    }
    EXPECT_EQ(DecodeFile(folder_.path() + "/missing.khm", FixedKeyText, QString()).status, Status::Failed);
    EXPECT_FALSE(ReadDatabaseFile(folder_.path() + "/missing.khm").failure.isEmpty());
    EXPECT_TRUE(shown_.isEmpty());
    EXPECT_EQ(ReadFileHeader(folder_.path() + "/missing.khm").status, Status::Failed);
}

// A save killed between its scratch file and the rename leaves the scratch
// file; the next save of that database takes it away, and nothing else.
TEST_F(DatabaseFiles, TheNextSaveRemovesTheScratchFilesOfAnInterruptedOne)
{
    ASSERT_TRUE(CodeFile(Tree(100), path_, Key(QString())));
    const QByteArray container = Read(path_);
    const QDateTime yesterday = QDateTime::currentDateTime().addDays(-1);
    const auto make = [&](const QString& name, const QByteArray& content, const QDateTime& when) {
        const QString path = folder_.path() + "/" + name;
        Write(path, content);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        EXPECT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
        return path;
    };
    const QString leftover = make("Keyholm.khm.aB3xZ9", container, yesterday);
    const QString usersCopy = make("Keyholm.khm.backup", "mes notes", yesterday);
    const QString otherBase = make("Autre.khm.Qw12er", container, yesterday);
    const QString inFlight = make("Keyholm.khm.Zz99yy", container, QDateTime::currentDateTime());

    ASSERT_TRUE(CodeFile(Tree(200), path_, Key(QString())));
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_TRUE(QFile::exists(usersCopy)) << "not a Keyholm container";
    EXPECT_TRUE(QFile::exists(otherBase)) << "another database's";
    EXPECT_TRUE(QFile::exists(inFlight)) << "made during this run";
}

TEST_F(DatabaseFiles, FailedWriteIsReportedNewFileIsTheUsersAloneExistingPermissionsKept)
{
    const FileKey key = Key(QString());
    EXPECT_FALSE(CodeFile(Tree(100), folder_.path() + "/no/such/folder/Keyholm.khm", key));
    EXPECT_TRUE(ShownOnce("Unable to write the file:\r\n" + folder_.path() + "/no/such/folder/Keyholm.khm"));

    // A umask that would let everybody read a file made with the default mode.
    const mode_t savedUmask = ::umask(022);
    const bool created = CodeFile(Tree(100), path_, key);
    ::umask(savedUmask);
    ASSERT_TRUE(created);
    struct stat info { };
    ASSERT_EQ(::stat(QFile::encodeName(path_).constData(), &info), 0);
    EXPECT_EQ(QString::number(info.st_mode & 07777, 8), "600");
    const auto shared = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
        | QFileDevice::WriteUser | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path_, shared));
    ASSERT_TRUE(CodeFile(Tree(200), path_, key));
    EXPECT_EQ(QFile::permissions(path_), shared);
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList({ "Keyholm.khm" })) << "no scratch file left";
}
