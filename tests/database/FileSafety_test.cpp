// What keeps a database safe beyond its password: a file swapped or put
// back without its protection, damage, backups, the key cost, and no copy
// of the master password anywhere in the saved tree.

#include "DatabaseFileFixture.h"

#include "services/ui/ProtectedClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>

namespace keyholm::test {
namespace {

const QString Master = QStringLiteral("Clé-Maîtresse 42");
const QString Renewed = QStringLiteral("Nouveau secret");

class FileSafetyTest : public DatabaseFileFixture {
protected:
    void SetUp() override
    {
        DatabaseFileFixture::SetUp();
        path_ = PathOf("Coffre.khm");
        WriteDatabase(path_, Master);
    }
    void TearDown() override
    {
        MasterPassword::SetKeyCost(CheapKey);
        DatabaseFileFixture::TearDown();
    }

    void OpenWithMaster(const QString& path)
    {
        ASSERT_TRUE(Open(path, [](ModalHelper& modal) { Answer(modal, Master); }).open);
    }
    // The Security button: the current password when one is set, then the
    // new one twice.
    void SetPassword(const std::optional<QString>& current, const QString& chosen)
    {
        ModalHelper modal;
        if (current)
            Answer(modal, *current);
        Answer(modal, chosen);
        Answer(modal, chosen);
        ToolButton("Security")->trigger();
        ASSERT_TRUE(modal.Wait());
    }
    void RemovePassword(const QString& current)
    {
        ModalHelper modal;
        modal.Expect("Lib_SaisieDlg").Type("TextReponse", current).Click("Oui");
        Ui().tbToolBar->ButtonMenu("Security", "Password")->trigger();
        ASSERT_TRUE(modal.Wait());
    }
    void Save()
    {
        ChangeRoot("Ma base revue");
        ASSERT_TRUE(Window().File().SavePasswordFileUnder(false));
    }
    static void Damage(const QString& path, int at)
    {
        QByteArray bytes = Bytes(path);
        ASSERT_LT(at, bytes.size());
        bytes[at] = char(bytes[at] ^ 0x20);
        WriteBytes(path, bytes);
    }
    static void WriteBytes(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    bool ShownUnprotected() { return Ui().LabelUnprotected->isVisibleTo(&Window()); }

    QString path_;
};

// ---- The file that opens is the file the password was asked for -------------------

enum class Race {
    SwappedWhileThePromptIsOpen, // read once: the file put in its place is not decoded
    RootPasswordWithoutAKey, // an older unprotected file, no memory to derive its key
};

struct RaceCase {
    const char* name;
    Race race;
    bool opens;
};

void PrintTo(const RaceCase& c, std::ostream* os)
{
    *os << c.name;
}

class OpeningRaceTest : public FileSafetyTest, public ::testing::WithParamInterface<RaceCase> { };

TEST_P(OpeningRaceTest, NoDatabaseGoesOnWithoutTheProtectionItHad)
{
    const RaceCase& c = GetParam();
    QString path = path_;
    ModalHelper modal;
    switch (c.race) {
    case Race::SwappedWhileThePromptIsOpen:
        modal.Expect("Lib_PasswordAsk")
            .Do([path](QWidget*) { WriteDatabase(path, {}); })
            .Type("T_Find", Master)
            .Click("Valider");
        break;
    case Race::RootPasswordWithoutAKey:
        path = PathOf("Ancienne.khm");
        WriteDatabase(path, {}, true, CodeField(Master, FixedKeyText));
        MasterPassword::SetKeyCost({ 0, 0 });
        Answer(modal, Master);
        break;
    }
    const QByteArray before = Bytes(path);
    const auto opening = Window().File().OpenPasswordFile(path);
    ASSERT_TRUE(modal.Wait());
    EXPECT_EQ(opening.open, c.opens);
    if (!c.opens) {
        EXPECT_TRUE(Tree().IsEmpty());
        EXPECT_EQ(Bytes(path), before) << "nothing written";
        return;
    }
    EXPECT_TRUE(Window().File().Master().IsSet());
    Save();
    EXPECT_TRUE(IsProtected(path));
    EXPECT_EQ(ReadDatabase(path), nullptr);
    EXPECT_NE(ReadDatabase(path, Master), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, OpeningRaceTest,
    ::testing::Values(RaceCase { "swapped_while_the_prompt_is_open", Race::SwappedWhileThePromptIsOpen, true },
        RaceCase { "root_password_without_a_key", Race::RootPasswordWithoutAKey, false }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileSafetyTest, AFileThatLostItsProtectionIsOnlyOpenedWhenTheUserSaysSo)
{
    OpenWithMaster(path_);
    EXPECT_FALSE(ShownUnprotected());
    Window().File().ClosePasswordFile();
    WriteDatabase(path_, {}); // put back without its password
    for (const bool accept : { false, true }) {
        SCOPED_TRACE(accept);
        ModalHelper modal;
        modal.ExpectMessageBox()
            .Do([](QWidget* box) {
                EXPECT_TRUE(static_cast<QMessageBox*>(box)->text().contains(
                    "n'est plus protégé par un mot de passe maître"));
            })
            .Click(accept ? QMessageBox::Yes : QMessageBox::No);
        EXPECT_EQ(Window().File().OpenPasswordFile(path_).open, accept);
        ASSERT_TRUE(modal.Wait());
    }
    EXPECT_TRUE(ShownUnprotected());
    // A file never protected opens without a question, and says what it is.
    Window().File().ClosePasswordFile();
    EXPECT_FALSE(ShownUnprotected());
    const QString loose = PathOf("Libre.khm");
    WriteDatabase(loose, {});
    EXPECT_TRUE(Open(loose).open);
    EXPECT_TRUE(ShownUnprotected());
}

TEST_F(FileSafetyTest, ARootThatHoldsAPasswordIsNeverSavedUnderTheBuiltInKey)
{
    const QString loose = PathOf("Libre.khm");
    WriteDatabase(loose, {});
    ASSERT_TRUE(Open(loose).open);
    const QByteArray before = Bytes(loose);
    Tree().Root()->SetTag(CodeField(Master, FixedKeyText));
    ChangeRoot("Ma base revue");
    EXPECT_FALSE(Window().File().SavePasswordFileUnder(false));
    EXPECT_TRUE(Reported("Error on file writing"));
    EXPECT_EQ(Bytes(loose), before);
}

// ---- No copy of the master password in the saved tree ------------------------------

enum class Keeping { SetOnANewDatabase, Changed, RemovedThenSet, OlderFileSavedAgain };

struct KeepingCase {
    const char* name;
    Keeping keeping;
};

void PrintTo(const KeepingCase& c, std::ostream* os)
{
    *os << c.name;
}

class NoStoredPasswordTest : public FileSafetyTest, public ::testing::WithParamInterface<KeepingCase> { };

TEST_P(NoStoredPasswordTest, NoTagOfTheSavedTreeGivesThePasswordBack)
{
    QString path = path_;
    QString password = Renewed;
    switch (GetParam().keeping) {
    case Keeping::SetOnANewDatabase:
        path = PathOf("Neuve.khm");
        WriteDatabase(path, {});
        ASSERT_TRUE(Open(path).open);
        SetPassword(std::nullopt, Renewed);
        break;
    case Keeping::Changed:
        OpenWithMaster(path);
        SetPassword(Master, Renewed);
        break;
    case Keeping::RemovedThenSet:
        OpenWithMaster(path);
        RemovePassword(Master);
        Save(); // a change of password asks to save the open changes first
        SetPassword(std::nullopt, Renewed);
        break;
    case Keeping::OlderFileSavedAgain:
        WriteDatabase(path, Master, true, CodeField(Master, FixedKeyText));
        OpenWithMaster(path);
        password = Master;
        break;
    }
    Save();
    ASSERT_FALSE(HasFailure());
    const auto tree = ReadDatabase(path, password);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(ReadDatabase(path), nullptr);
    int nodes = 0;
    for (const TreeNode* node = tree->Root(); node; node = tree->Next(node)) {
        ++nodes;
        EXPECT_FALSE(node->Tag().contains(password)) << node->Text().toStdString();
        for (const QString& field : node->Tag().split(TagSeparator))
            EXPECT_NE(DecodeField(field.trimmed(), FixedKeyText), password) << node->Text().toStdString();
    }
    EXPECT_GT(nodes, 5);
}

INSTANTIATE_TEST_SUITE_P(Cases, NoStoredPasswordTest,
    ::testing::Values(KeepingCase { "set_on_a_new_database", Keeping::SetOnANewDatabase },
        KeepingCase { "changed", Keeping::Changed }, KeepingCase { "removed_then_set", Keeping::RemovedThenSet },
        KeepingCase { "older_file_saved_again", Keeping::OlderFileSavedAgain }),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Damage and backups ----------------------------------------------------------

TEST_F(FileSafetyTest, DamagedOpeningsNeverRollTheSoundBackupAway)
{
    OpenWithMaster(path_);
    Window().File().ClosePasswordFile();
    const QByteArray sound = Bytes(path_);
    Damage(path_, 200);
    for (int round = 0; round < 3; ++round) {
        EXPECT_FALSE(Open(path_, [](ModalHelper& modal) { Answer(modal, Master); }).open);
        Window().File().ClosePasswordFile();
    }
    EXPECT_TRUE(Reported("Unable to read"));
    EXPECT_EQ(Bytes(NewestBackup(path_)), sound);
    const CipherEngine::DecodedFile decoded = DecodeFile(NewestBackup(path_), FixedKeyText, Master);
    EXPECT_EQ(decoded.status, CipherEngine::FileStatus::Ok);
}

TEST_F(FileSafetyTest, AFileHurtOnlyInItsKeyCheckOpensAndStaysInTheRecentList)
{
    struct Case {
        int at;
        std::vector<QString> typed;
        bool opens;
    };
    // The key check is the last 16 bytes of the 80-byte header.
    for (const Case& c : { Case { 64, { Master }, true }, Case { 79, { Master }, true },
             Case { 64, { "faux", "encore faux" }, false } }) {
        SCOPED_TRACE(c.at);
        WriteDatabase(path_, Master);
        Damage(path_, c.at);
        AjoutMenuFichierOuvert(&Window(), path_, RecentFilesSuffix, {});
        ModalHelper modal;
        for (const QString& typed : c.typed) {
            Answer(modal, typed);
            if (!c.opens)
                modal.ExpectMessageBox().Click(QMessageBox::Ok); // retry, then give up
        }
        Ui().MenuAncienFichier[0]->trigger();
        ASSERT_TRUE(modal.Wait());
        EXPECT_EQ(State().DatabaseOpen(), c.opens);
        // Two wrong passwords still drop it; damage alone does not.
        EXPECT_EQ(bExisteMenuFichierOuvert(path_).has_value(), c.opens);
        Window().File().ClosePasswordFile();
    }
}

TEST_F(FileSafetyTest, AKeyMadeAtALowerCostIsMadeAnewAtTheNextSave)
{
    const CipherEngine::FileHeader weak = ReadFileHeader(path_);
    ASSERT_EQ(weak.params, CheapKey);
    const FileKey::Params today { 2, 16 * 1024 };
    MasterPassword::SetKeyCost(today);
    OpenWithMaster(path_);
    Save();
    const CipherEngine::FileHeader saved = ReadFileHeader(path_);
    EXPECT_TRUE(saved.isProtected);
    EXPECT_EQ(saved.params, today);
    EXPECT_NE(saved.salt, weak.salt);
    EXPECT_NE(ReadDatabase(path_, Master), nullptr);
}

// ---- The clipboard -------------------------------------------------------------------

TEST_F(FileSafetyTest, ClosingClearsTheClipboardOnlyOfWhatKeyholmPutThere)
{
    for (const bool ours : { true, false }) {
        SCOPED_TRACE(ours);
        OpenWithMaster(path_);
        ProtectedClipboard::Copy(Secret);
        if (!ours)
            QGuiApplication::clipboard()->setText("copié ailleurs");
        ToolButton("Close")->trigger();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), ours ? QString() : QStringLiteral("copié ailleurs"));
    }
}

} // namespace
} // namespace keyholm::test
