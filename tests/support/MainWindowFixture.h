#pragma once
// A shown main window for the window tests of database/, entries/ and app/,
// with helpers that build small trees the way the program stores them.

#include "support/QtPrinters.h"

#include "app/MainWindow.h"
#include "components/EntryRecord.h"
#include "components/TreeStore.h"
#include "services/Environment.h"
#include "components/NodeTags.h"

#include <QApplication>
#include <QLineEdit>
#include <QTreeView>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

namespace keyholm::test {

class MainWindowFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { PrepareFolders(); }

    void SetUp() override
    {
        window_ = std::make_unique<MainWindow>();
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }

    void TearDown() override { window_.reset(); }

    MainWindow& Window() { return *window_; }
    MainWindowUi& Ui() { return window_->Ui(); }
    MainState& State() { return window_->State(); }
    PasswordTree& Tree() { return window_->State().Tree(); }

    // A new database's tree, as the new-file command builds it.
    TreeNode* NewDatabase()
    {
        EXPECT_TRUE(window_->Database().CreateDefaultTree());
        return Tree().Root();
    }

    // The tree built so far becomes the open database, as after opening a
    // file at `path` (nothing is read or written): the file commands and
    // their shortcuts are enabled.
    void MarkOpen(const QString& path = QStringLiteral("/nonexistent/Keyholm.khm"))
    {
        State().SetTag(path);
        State().NotifyDatabaseOpened();
    }

    TreeNode* Add(TreeNode* parent, const QString& text, const QString& image, const QString& tag = {})
    {
        const QString key = TreeStore::Instance().AddNode(Tree(), parent ? parent->Key() : QString(), text, image, tag);
        return Tree().FindKey(key);
    }

    TreeNode* AddCategory(TreeNode* parent, const QString& name, const QString& image = QStringLiteral("DirNot"))
    {
        return Add(parent, name, image, NowTag() + TagSeparator);
    }

    // An entry with the details that are not empty.
    struct EntryFields {
        QString login;
        QString password;
        QString web;
        QString file;
        QString note;
        QString custom;
        QDate expiry;
    };
    TreeNode* AddEntry(TreeNode* category, const QString& title, const EntryFields& fields, const QString& tag = {})
    {
        EntryRecord entry;
        entry.title = title;
        entry.login = fields.login;
        entry.password = fields.password;
        entry.web = fields.web;
        entry.file = fields.file;
        entry.note = fields.note;
        entry.custom = fields.custom;
        entry.expiry = fields.expiry;
        entry.created = TagField(tag, 0);
        entry.changed = TagField(tag, 1);
        return entry.Write(Tree(), category);
    }

    // Presses F2 over the tree, as a user renames the current node in place,
    // types `text` over the label and confirms with Enter; false when no
    // editor opened. The text must be ASCII (QTest types no other).
    bool RenameInPlace(const QString& text)
    {
        QTreeView* view = Ui().tvTreeView;
        window_->activateWindow();
        if (!QTest::qWaitForWindowActive(window_.get()))
            return false;
        view->setFocus();
        QTest::keyClick(view, Qt::Key_F2);
        QCoreApplication::processEvents();
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (!editor)
            return false;
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the editor hands its text over queued
        return true;
    }

    TreeNode* ServiceNode(const QString& image)
    {
        return Tree().NodeAt(TreeStore::Instance().FindChild(Tree(), 1, image));
    }

    std::unique_ptr<MainWindow> window_;
};

} // namespace keyholm::test
