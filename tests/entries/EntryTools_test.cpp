// The buttons beside the entry fields and the database note's toolbar,
// driven through the real main window: generators, the protected copies and
// their clear, the web address with the login and password put in, the
// placeholder preview, the note file, the stamps, the colour and the linked
// file.

#include "support/FullDisk.h"
#include "support/MainWindowFixture.h"
#include "support/ModalHelper.h"

#include "components/FileTools.h"
#include "components/NodeImages.h"
#include "services/Environment.h"
#include "services/TraceLog.h"
#include "services/main/KeyToolBar.h"
#include "services/ui/GeneratorDialog.h"
#include "services/ui/Messages.h"
#include "services/ui/ProtectedClipboard.h"
#include "services/ui/StrengthMeter.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrlQuery>

#include <optional>

namespace keyholm::test {
namespace {

class EntryToolsTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
        root_ = NewDatabase();
        category_ = AddCategory(root_, "Banque");
        State().Options().autoSave = false;
        Window().Entries().tvTreeView_NodeClick(category_);
        FileTools::Instance().SetOpener([this](const QUrl& url) {
            opened_.push_back(url);
            return true;
        });
    }
    void TearDown() override
    {
        FileTools::Instance().SetOpener({});
        MainWindowFixture::TearDown();
    }

    EntryPage& Page() { return *Ui().Entry; }

    // Types into an entry field as the user does, replacing what it shows.
    void Type(int index, const QString& text)
    {
        QWidget* field = Page().PasswordField(index);
        field->setFocus();
        QTest::keySequence(field, QKeySequence::SelectAll);
        QTest::keyClick(field, Qt::Key_Delete);
        // QTest types no line break: Return stands for it.
        const QStringList lines = text.split('\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(field, Qt::Key_Return);
            if (!lines[i].isEmpty())
                QTest::keyClicks(field, lines[i]);
        }
    }

    void Click(QToolButton* button, Qt::KeyboardModifiers modifiers = {})
    {
        ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton, modifiers);
    }

    // Clicks and answers the one message box that comes; its text.
    QString ClickAndAnswer(QToolButton* button, QMessageBox::StandardButton answer = QMessageBox::Ok)
    {
        ModalHelper modal;
        modal.ExpectMessageBox().Click(answer);
        Click(button);
        EXPECT_TRUE(modal.Wait());
        Window().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Window()));
        return modal.Seen().empty() ? QString() : modal.Seen()[0].text;
    }

    static QString Clipboard() { return QGuiApplication::clipboard()->text(); }

    TreeNode* root_ = nullptr;
    TreeNode* category_ = nullptr;
    std::vector<QUrl> opened_;
};

// ---- Generators -------------------------------------------------------------

TEST_F(EntryToolsTest, TheGeneratedPasswordIsAskedForAndHiddenAsTheOptionSays)
{
    for (bool hide : { true, false }) {
        SCOPED_TRACE(hide);
        Ui().Option->CheckHide->setChecked(hide);
        Window().Entries().tvTreeView_NodeClick(category_);
        Type(2, "ancien");
        EXPECT_EQ(ClickAndAnswer(Page().CommandGenPasswd, QMessageBox::No),
            "Confirmez-vous la génération automatique d'un mot de passe ?");
        EXPECT_EQ(Page().PasswordText(2), "ancien");

        ClickAndAnswer(Page().CommandGenPasswd, QMessageBox::Yes);
        const QString first = Page().PasswordText(2);
        EXPECT_GE(first.size(), 14);
        for (const char* set : { "[A-Z]", "[a-z]", "[0-9]", "[-_.!]" })
            EXPECT_TRUE(first.contains(QRegularExpression(QLatin1String(set)))) << set;
        EXPECT_GE(Page().PasswordStrength->Level(), 3) << Page().PasswordStrength->Word().toStdString();
        EXPECT_TRUE(Page().PasswordStrength->isVisible());
        EXPECT_GT(Page().PasswordStrength->height(), 0);
        ClickAndAnswer(Page().CommandGenPasswd, QMessageBox::Yes);
        EXPECT_NE(Page().PasswordText(2), first);

        Page().TextPassword[0]->setFocus();
        EXPECT_EQ(Page().TextPassword[2]->echoMode(), hide ? QLineEdit::Password : QLineEdit::Normal);
        // The copy takes the new password.
        Click(Page().CommandCopyPassword);
        EXPECT_EQ(Clipboard(), Page().PasswordText(2));
    }
}

TEST_F(EntryToolsTest, TheGeneratorWindowKeepsItsChoicesAndFillsThePassword)
{
    Type(2, "ancien");
    ModalHelper modal;
    modal.Expect("Lib_Generator")
        .Tick("OptionPassphrase")
        .Type("SpinWords", "5")
        .Do([](QWidget* window) {
            auto* result = window->findChild<QLineEdit*>("TextResult");
            ASSERT_TRUE(result);
            EXPECT_EQ(result->text().split('-').size(), 5);
            EXPECT_TRUE(result->toolTip().contains("5 mots tirés parmi")) << result->toolTip().toStdString();
        })
        .Click("CommandOK");
    modal.ExpectMessageBox().Click(QMessageBox::Yes);
    Page().GeneratorOptions->trigger();
    ASSERT_TRUE(modal.Wait());
    const QStringList words = Page().PasswordText(2).split('-');
    ASSERT_EQ(words.size(), 5);
    for (const QString& word : words)
        EXPECT_TRUE(GeneratorDialog::WordList().contains(word)) << word.toStdString();

    const GeneratorOptions kept = GeneratorDialog::LoadOptions();
    EXPECT_TRUE(kept.passphrase);
    EXPECT_EQ(kept.words, 5);
    ASSERT_TRUE(GeneratorDialog::SaveOptions(GeneratorOptions {}));
}

TEST_F(EntryToolsTest, TheNicknameIsAskedForOnlyOverALogin)
{
    // Two to four syllables, capitalised, two digits one time in two.
    const QRegularExpression shape("^[BCDFGHJKLMNPRSTVZ][aeiou]([bcdfghjklmnprstvz][aeiou]){1,3}([1-9][0-9])?$");
    for (quint32 seed : { 1u, 2u, 3u, 17u, 4242u }) {
        SCOPED_TRACE(seed);
        SeedPseudoRandom(seed);
        Type(1, "");
        Click(Page().CommandGenPeudo); // no question over an empty login
        EXPECT_TRUE(shape.match(Page().PasswordText(1)).hasMatch()) << Page().PasswordText(1).toStdString();
    }
    Type(1, "moi");
    EXPECT_EQ(ClickAndAnswer(Page().CommandGenPeudo, QMessageBox::No), "Confirmez-vous le remplacement du pseudo ?");
    EXPECT_EQ(Page().PasswordText(1), "moi");
    ClickAndAnswer(Page().CommandGenPeudo, QMessageBox::Yes);
    EXPECT_NE(Page().PasswordText(1), "moi");
}

// ---- The protected copies ---------------------------------------------------

TEST_F(EntryToolsTest, CopiesGiveTheLoginThePasswordOrBothWithTheSeparator)
{
    enum class Key { None, CtrlOverButton, ShiftOverButton, CtrlAtClick, ShiftAtClick };
    struct Case {
        bool passwordButton;
        Key key;
        bool separated;
        QString separator;
        QString expected;
    };
    const Case cases[] = {
        { false, Key::None, true, "/", "marie" },
        { true, Key::None, true, "/", "s3c ret" },
        { false, Key::CtrlOverButton, true, "/", "marie/s3c ret" },
        { true, Key::ShiftOverButton, true, " | ", "marie | s3c ret" },
        { true, Key::CtrlAtClick, true, "", "maries3c ret" },
        { false, Key::ShiftAtClick, true, "/", "marie/s3c ret" },
        { false, Key::CtrlOverButton, false, "/", "marie" },
        { true, Key::CtrlAtClick, false, "/", "s3c ret" },
    };
    Type(1, "marie");
    Type(2, "s3c ret");
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(row++);
        Ui().Option->CheckSepCopy->setChecked(c.separated);
        Ui().Option->TextSepCopy->setText(c.separator);
        QGuiApplication::clipboard()->setText("avant");
        QToolButton* button = c.passwordButton ? Page().CommandCopyPassword : Page().CommandCopyLogin;
        QLineEdit* title = Page().TextPassword[0];
        title->setFocus();
        QTest::mouseMove(button);
        if (c.key == Key::CtrlOverButton || c.key == Key::ShiftOverButton) {
            const Qt::Key key = c.key == Key::CtrlOverButton ? Qt::Key_Control : Qt::Key_Shift;
            QTest::keyPress(title, key);
            QTest::keyRelease(title, key);
            // The pointer over the button never takes the focus from the field.
            EXPECT_EQ(QApplication::focusWidget(), title);
        }
        const Qt::KeyboardModifiers held = c.key == Key::CtrlAtClick ? Qt::ControlModifier
            : c.key == Key::ShiftAtClick                             ? Qt::ShiftModifier
                                                                     : Qt::NoModifier;
        QSignalSpy changes(QGuiApplication::clipboard(), &QClipboard::dataChanged);
        Click(button, held);
        EXPECT_EQ(changes.size(), 1) << "one change of the clipboard, with the final text";
        EXPECT_EQ(Clipboard(), c.expected);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        ASSERT_TRUE(data);
        EXPECT_EQ(data->data("x-kde-passwordManagerHint"), "secret");
        EXPECT_EQ(State().LastCopyKey(), 0);
        QTest::mouseMove(Page().TextPassword[0]);
    }
}

TEST_F(EntryToolsTest, TheCopyLeavesTheClipboardAfterTheDelayUnlessAnotherTextReplacedIt)
{
    Type(2, "s3cret");
    QLabel* countdown = Ui().LabelClipboard;
    for (bool replaced : { false, true }) {
        SCOPED_TRACE(replaced);
        Click(Page().CommandCopyPassword);
        ASSERT_EQ(ProtectedClipboard::SecondsLeft(), ProtectedClipboard::DefaultClearDelay);
        EXPECT_FALSE(countdown->isHidden());
        EXPECT_EQ(countdown->text(), "Presse-papiers vidé dans 20 s");
        if (replaced)
            QGuiApplication::clipboard()->setText("copié ailleurs");
        for (int second = 1; second < ProtectedClipboard::DefaultClearDelay; ++second)
            ProtectedClipboard::CountDown();
        EXPECT_EQ(Clipboard(), replaced ? "copié ailleurs" : "s3cret");
        ProtectedClipboard::CountDown();
        EXPECT_EQ(Clipboard(), replaced ? "copié ailleurs" : "");
        EXPECT_EQ(ProtectedClipboard::SecondsLeft(), 0);
        EXPECT_TRUE(countdown->isHidden());
    }
    // The delay is a working option, kept with the others; 0 keeps the copy.
    for (int seconds : { 5, 0 }) {
        Ui().Option->SpinClipboard->setValue(seconds);
        Click(Page().CommandCopyPassword);
        EXPECT_EQ(ProtectedClipboard::SecondsLeft(), seconds);
        EXPECT_EQ(countdown->isHidden(), seconds == 0);
    }
    Window().Options().PasswordOptionsSave();
    {
        MainWindow other;
        other.Options().PasswordOptionsLoad();
        EXPECT_EQ(other.Ui().Option->SpinClipboard->value(), 0);
    }
    Ui().Option->SpinClipboard->setValue(ProtectedClipboard::DefaultClearDelay);
    Window().Options().PasswordOptionsSave();
}

// ---- The web address ---------------------------------------------------------

TEST_F(EntryToolsTest, ThePlaceholdersReachTheSiteWholeAndNeverTheLog)
{
    QTemporaryDir logFolder;
    StopTraceLog();
    ASSERT_TRUE(StartTraceLog(true, logFolder.path() + "/", {}, "test", false));
    struct Case {
        QString address;
        QString login;
        QString password;
        std::optional<std::pair<QString, QString>> query; // u and p as the site reads them; none: nothing opened
        QString whole; // the address opened, when it matters
    };
    const Case cases[] = {
        { "https://site.example/login?u=KHM_LOGIN&p=KHM_PASSWORD", "bob", "a&b#c+d%41 e",
            std::pair<QString, QString>("bob", "a&b#c+d%41 e"), {} },
        { "https://site.example/login?u=KHM_LOGIN&p=KHM_PASSWORD", "KHM_PASSWORD?/", "pass word",
            std::pair<QString, QString>("KHM_PASSWORD?/", "pass word"), {} },
        { "https://site.example/?u=khm_login", "bob", "x", std::nullopt, "https://site.example/?u=khm_login" },
        { "https://site.example/compte", "bob", "x", std::nullopt, "https://site.example/compte" },
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(row++);
        Type(1, c.login);
        Type(2, c.password);
        Type(3, c.address);
        opened_.clear();
        Click(Page().CommandGoWeb);
        ASSERT_EQ(opened_.size(), 1u);
        if (c.query) {
            const QUrlQuery query(opened_[0]);
            EXPECT_EQ(query.queryItemValue("u", QUrl::FullyDecoded), c.query->first);
            EXPECT_EQ(query.queryItemValue("p", QUrl::FullyDecoded), c.query->second);
            EXPECT_TRUE(opened_[0].fragment().isEmpty());
        } else {
            EXPECT_EQ(opened_[0].toString(), c.whole);
        }
    }
    // The preview shows the password in clear while the field does; the
    // log still gets only the fixed text.
    Ui().Option->CheckHide->setChecked(false);
    Window().Entries().tvTreeView_NodeClick(category_);
    Type(1, "bob");
    Type(2, "a&b#c+d%41 e");
    Type(3, "https://site.example/?u=KHM_LOGIN&p=KHM_PASSWORD");
    const QString preview = ClickAndAnswer(Page().CommandWebHelp);
    EXPECT_TRUE(preview.endsWith("\thttps://site.example/?u=bob&p=a&b#c+d%41 e")) << preview.toStdString();
    Type(3, " ");
    opened_.clear();
    QTest::mouseClick(Page().CommandGoWeb, Qt::LeftButton); // disabled: nothing
    EXPECT_TRUE(opened_.empty());

    FlushTraceLog();
    QFile log(TraceLogPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray bytes = log.readAll();
    StopTraceLog();
    EXPECT_TRUE(bytes.contains("Avec l'URL saisie le résultat est :"));
    for (const char* secret : { "bob", "a&b#c", "a%26b", "pass word", "pass%20word" })
        EXPECT_FALSE(bytes.contains(secret)) << secret;
}

TEST_F(EntryToolsTest, ThePreviewExplainsThePlaceholdersAndShowsTheMaskedResult)
{
    const QString common = "Pour lancer l'ouverture d'une page Web avec les arguments Identifiant (login) et Mot de "
                           "Passe,\nutilisez les balises suivantes :\n\n"
                           "\tKHM_LOGIN sera remplacé par votre Identifiant\n"
                           "\tKHM_PASSWORD sera remplacé par votre Mot de Passe\n\n"
                           "Cette méthode est uniquement valable avec ls sites Web qui prennent en arguments dans "
                           "l'URL ces informations.\n"
                           "Il est à noter que cette méthode est peu sécurisante, car le mot de passe apparait en "
                           "clair avec l'appel du site Web.\n\n";
    const QString tryIt
        = "Faites le test d'une saisie et appuyez à nouveau sur le bouton d'information pour vérifier le résultat.";
    Ui().Option->CheckHide->setChecked(true);
    Window().Entries().tvTreeView_NodeClick(category_);
    Type(1, "bob");
    Type(2, "s3cret");
    for (const QString& address : { QString(), QString("https://site.example/"), QString("https://s/?u=khm_login") }) {
        Type(3, address);
        EXPECT_EQ(ClickAndAnswer(Page().CommandWebHelp), common + tryIt) << address.toStdString();
    }
    Type(3, "https://site.example/?u=KHM_LOGIN&p=KHM_PASSWORD");
    Page().TextPassword[0]->setFocus();
    EXPECT_EQ(ClickAndAnswer(Page().CommandWebHelp),
        common + "Avec l'URL saisie le résultat est :\n\thttps://site.example/?u=bob&p=******");
}

// ---- Files -------------------------------------------------------------------

TEST_F(EntryToolsTest, ANoteFileIsReadWhateverItsEncoding)
{
    QTemporaryDir folder;
    const std::pair<const char*, QByteArray> files[] = {
        { "utf8.txt", "Soci\xC3\xA9t\xC3\xA9 \xE2\x82\xAC" },
        { "bom.txt", "\xEF\xBB\xBFSoci\xC3\xA9t\xC3\xA9 \xE2\x82\xAC" },
        { "ansi.txt", "Soci\xE9t\xE9 \x80" },
        { "note.rtf", "{\\rtf1\\ansi\\ansicpg1252 Soci\\'e9t\\'e9 \\'80}" },
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const QString path = folder.filePath(name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        Type(5, "avant");
        ModalHelper modal;
        modal.Expect("CMDialogOpen").Type("fileNameEdit", path).Accept();
        Click(Page().OpenContentNote);
        ASSERT_TRUE(modal.Wait());
        EXPECT_EQ(Page().PasswordText(5).trimmed(), "Société €");
    }
    // Cancelled: the note stays.
    ModalHelper modal;
    modal.Expect("CMDialogOpen").Reject();
    Click(Page().OpenContentNote);
    ASSERT_TRUE(modal.Wait());
    EXPECT_EQ(Page().PasswordText(5).trimmed(), "Société €");
}

TEST_F(EntryToolsTest, TheNoteIsSavedForTheUserAloneAndAFailedWriteIsReported)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("ma note.txt");
    Type(5, "ligne une\nligne deux");
    {
        ModalHelper modal;
        modal.Expect("CMDialogOpen")
            .Do([](QWidget* window) {
                auto* dialog = qobject_cast<QFileDialog*>(window);
                ASSERT_TRUE(dialog);
                EXPECT_EQ(dialog->windowTitle(), "Enregistrer dans un fichier : Password Note");
                EXPECT_EQ(QFileInfo(dialog->selectedFiles().value(0)).fileName(), "Password Note.txt");
            })
            .Type("fileNameEdit", path)
            .Accept();
        Click(Page().SaveContentNote);
        ASSERT_TRUE(modal.Wait());
    }
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(saved.readAll()), "ligne une\nligne deux");
    EXPECT_EQ(saved.permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());

    const QString second = folder.filePath("pleine.txt");
    ModalHelper modal;
    modal.Expect("CMDialogOpen").Type("fileNameEdit", second).Accept();
    modal.ExpectMessageBox().Click(QMessageBox::Ok);
    InstallMessageBoxes();
    {
        FullDisk full(4);
        ASSERT_TRUE(full.Active());
        Click(Page().SaveContentNote);
        EXPECT_TRUE(modal.Wait());
    }
    SetErrorDisplay({});
    ASSERT_EQ(modal.Seen().size(), 2u);
    EXPECT_TRUE(modal.Seen()[1].text.contains("Erreur d'écriture sur le fichier : " + second))
        << modal.Seen()[1].text.toStdString();
    EXPECT_FALSE(QFile::exists(second));
}

TEST_F(EntryToolsTest, TheLinkedFileIsChosenAndOpened)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("relevé.pdf");
    QFile(path).open(QIODevice::WriteOnly);
    EXPECT_FALSE(Page().CommandOpenFile->isEnabled());
    ModalHelper modal;
    modal.Expect("CMDialogOpen")
        .Do([](QWidget* window) { EXPECT_EQ(window->windowTitle(), "Sélectionnez un fichier"); })
        .Type("fileNameEdit", path)
        .Accept();
    Click(Page().CommandSelectFile);
    ASSERT_TRUE(modal.Wait());
    EXPECT_EQ(Page().PasswordText(4), path);
    Click(Page().CommandOpenFile);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], QUrl::fromLocalFile(path));
}

// ---- The note's stamps and the colour ----------------------------------------

TEST_F(EntryToolsTest, StampsGoWhereTheCaretIs)
{
    QPlainTextEdit* note = Ui().Info->TextNote;
    const QString date = R"(\d\d/\d\d/\d{4})";
    const QString time = R"(\d\d:\d\d)";
    struct Case {
        const char* key;
        int rightPresses; // from the start of "abc def"
        QString pattern;
    };
    const Case cases[] = {
        { "calendar", 0, "^ " + date + " abc def$" },
        { "calendar", 3, "^abc " + date + "  def$" },
        { "time", 7, "^abc def " + time + " $" },
        { "other", 3, "^abc def$" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        note->setPlainText("abc def");
        note->setFocus();
        QTest::keyClick(note, Qt::Key_Home);
        for (int i = 0; i < c.rightPresses; ++i)
            QTest::keyClick(note, Qt::Key_Right);
        Window().Tools().ToolbarNote_ButtonClick(QLatin1String(c.key));
        EXPECT_TRUE(QRegularExpression(c.pattern).match(note->toPlainText()).hasMatch())
            << note->toPlainText().toStdString();
    }
    // A caret left past the end of a shorter note adds nothing.
    State().SetNoteCaret(50);
    note->document()->setPlainText("abc");
    State().SetNoteCaret(50);
    Window().Tools().ToolbarNote_ButtonClick("calendar");
    EXPECT_EQ(note->toPlainText(), "abc");
}

TEST_F(EntryToolsTest, TheChosenColourBecomesTheTitleColour)
{
    Page().SetEntryColor(Qt::white);
    for (bool chosen : { false, true }) {
        ModalHelper modal;
        auto& colour = modal.Expect("CMDialogColor");
        if (chosen)
            colour.Do([](QWidget* window) { qobject_cast<QColorDialog*>(window)->setCurrentColor(QColor(10, 20, 30)); })
                .Accept();
        else
            colour.Reject();
        Click(Page().CommandColor);
        ASSERT_TRUE(modal.Wait());
        EXPECT_EQ(Page().EntryColor(), chosen ? QColor(10, 20, 30) : QColor(Qt::white));
    }
}

} // namespace
} // namespace keyholm::test
