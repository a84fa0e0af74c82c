#pragma once
// The shown main window with a folder of database files of its own, files
// written by the file coding alone (so that what the window reads is not
// what its own save wrote), cheap master-password keys, and the error
// reports of a test collected instead of shown.

#include "components/NodeTags.h"
#include "components/TreeStore.h"
#include "database/MasterPassword.h"
#include "services/BackupCopies.h"
#include "services/Environment.h"
#include "services/ErrorReport.h"
#include "services/FileCoding.h"
#include "services/main/KeyToolBar.h"
#include "services/ui/KeyboardState.h"
#include "services/ui/RecentFiles.h"
#include "support/MainWindowFixture.h"
#include "support/ModalHelper.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>

#include <functional>
#include <memory>

namespace keyholm::test {

inline const FileKey::Params CheapKey { 1, 8192 };

class DatabaseFileFixture : public MainWindowFixture {
protected:
    // What every test file holds besides the service nodes.
    static inline const QString EntryTitle = QStringLiteral("Compte courant");
    static inline const QString Login = QStringLiteral("jean.dupont@exemple.fr");
    static inline const QString Secret = QStringLiteral("S3cret-Plain!");
    static inline const QString Note = QStringLiteral("Code agence 4321\nGuichet du centre\nConseillère Mme Léa");

    static void SetUpTestSuite()
    {
        MainWindowFixture::SetUpTestSuite();
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        MasterPassword::SetKeyCost(CheapKey);
    }

    void SetUp() override
    {
        // A folder of its own for each test: what the preferences remember
        // of a path (its protection) must not carry over to the next test.
        static int tests = 0;
        QDir(DataFolder() + QStringLiteral("Bases/")).removeRecursively();
        folder_ = DataFolder() + QStringLiteral("Bases/%1/").arg(++tests);
        QDir().mkpath(folder_);
        QDir backups(BackupFolder());
        for (const QString& name : backups.entryList({ QStringLiteral("*khm*.bak") }, QDir::Files))
            backups.remove(name);
        ClearRecentFiles();
        SetErrorDisplay({ [] {}, [this](const QString&, const QString& text) { errors_ << text; } });
        MainWindowFixture::SetUp();
    }

    void TearDown() override
    {
        MainWindowFixture::TearDown();
        SetErrorDisplay({});
        SetKeyboardLedFolder({});
        ClearRecentFiles();
    }

    QString PathOf(const QString& name) const { return folder_ + name; }

    // A database as Keyholm stores it: the root (with `rootTag` when given,
    // as older versions kept the coded master password there), the service nodes (the
    // information node unless withInfo is false) and one category with one
    // entry, its login, password and note.
    // `extend` adds to the tree before it is written.
    static void WriteDatabase(const QString& path, const QString& password, bool withInfo = true,
        std::optional<QString> rootTag = std::nullopt, const std::function<void(PasswordTree&)>& extend = {})
    {
        PasswordTree tree;
        TreeStore& store = TreeStore::Instance();
        TreeNode* root = tree.Add(nullptr, QStringLiteral("Root"), QStringLiteral("Ma base"), QStringLiteral("RootNot"),
            rootTag.value_or(QString()));
        ASSERT_NE(root, nullptr);
        root->SetSorted(true);
        if (withInfo) {
            const QString info = store.AddNode(tree, "Root", " A propos de la Base", "InfoNot", NowTag());
            store.AddNode(tree, info, "01/01/2026", "Create", NowTag() + TagSeparator + NowTag());
        }
        store.AddNode(tree, "Root", " Chiffres sur la Base", "StatNot", {});
        store.AddNode(tree, "Root", " Choix de fonctionnement", "OptionNot", {});
        store.AddNode(tree, "Root", " Corbeille", "TrashNot", {});
        const QString category = store.AddNode(tree, "Root", "Banque", "DirKeyNot", NowTag() + TagSeparator);
        const QString entry
            = store.AddNode(tree, category, EntryTitle, "PasswordNot", NowTag() + TagSeparator + NowTag());
        store.AddNode(tree, entry, QString(Login.size(), '*'), "Login", CodeField(Login, FixedKeyText));
        store.AddNode(tree, entry, QString(Secret.size(), '*'), "Key", CodeField(Secret, FixedKeyText));
        store.SaveNote(tree, Note, entry);
        if (extend)
            extend(tree);
        const auto key = MakeFileKey(FixedKeyText, password, CheapKey);
        ASSERT_TRUE(key.has_value());
        ASSERT_TRUE(CodeFile(store.SaveTree(tree), path, *key));
    }

    static QByteArray Bytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The tree stored in the file, decoded with the password; null when
    // the file does not open with it.
    static std::unique_ptr<PasswordTree> ReadDatabase(const QString& path, const QString& password = {})
    {
        CipherEngine::DecodedFile decoded = DecodeFile(path, FixedKeyText, password);
        if (decoded.status != CipherEngine::FileStatus::Ok)
            return nullptr;
        auto tree = std::make_unique<PasswordTree>();
        if (!TreeStore::Instance().LoadTree(*tree, decoded.plain))
            return nullptr;
        return tree;
    }
    static bool IsProtected(const QString& path) { return ReadFileHeader(path).isProtected; }
    // The newest backup copy of the database at `path`.
    static QString NewestBackup(const QString& path) { return BackupFolder() + DatabaseCopyName(path, 1); }

    // Opens through the opening procedure itself; the modal windows it
    // shows are answered by `answer`.
    DatabaseFile::Opening Open(const QString& path, const std::function<void(ModalHelper&)>& answer = {})
    {
        ModalHelper modal;
        if (answer)
            answer(modal);
        const DatabaseFile::Opening opening = Window().File().OpenPasswordFile(path);
        EXPECT_TRUE(modal.Wait());
        return opening;
    }

    // Answers one prompt: a text confirmed, or a cancel for nothing.
    static void Answer(
        ModalHelper& modal, const std::optional<QString>& typed, const std::function<void(QWidget*)>& check = {})
    {
        ModalHelper::Expectation& prompt = modal.Expect("Lib_PasswordAsk");
        if (check)
            prompt.Do(check);
        if (typed)
            prompt.Type("T_Find", *typed).Click("Valider");
        else
            prompt.Click("Annuler");
    }
    QAction* ToolButton(const char* key) { return Ui().tbToolBar->Button(QLatin1String(key)); }

    // A change of the open database, as an edit makes it.
    void ChangeRoot(const QString& text)
    {
        Tree().Root()->SetText(text);
        State().SetDatabaseChanged(true);
    }
    static QString RootText(const QString& path, const QString& password = {})
    {
        const auto tree = ReadDatabase(path, password);
        return tree && tree->Root() ? tree->Root()->Text() : QString();
    }

    bool Reported(const QString& start) const
    {
        for (const QString& text : errors_)
            if (text.startsWith(start))
                return true;
        return false;
    }

    QString folder_;
    QStringList errors_;
};

} // namespace keyholm::test
