// AskInput and AskChoice, driven through their real windows.

#include "DialogsTestSupport.h"

#include "services/ui/Dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace keyholm::test {
namespace {

using InputDialogTest = DialogTest;

std::function<void(QWidget*)> OuiEnabled(bool enabled, const char* when)
{
    return [enabled, when](QWidget* window) {
        if (auto* oui = Child<QPushButton>(window, "Oui")) {
            EXPECT_EQ(oui->isEnabled(), enabled) << when;
        }
    };
}

TEST_F(InputDialogTest, RequireTextEnablesOuiOnlyForNonBlankText)
{
    ModalHelper modal;
    modal.Expect("Lib_SaisieDlg")
        .Do(OuiEnabled(false, "empty at first"))
        .Type("TextReponse", "   ")
        .Do(OuiEnabled(false, "blanks only"))
        .Type("TextReponse", " x")
        .Do(OuiEnabled(true, "a character typed"))
        .Type("TextReponse", "")
        .Do(OuiEnabled(false, "erased again"))
        .Type("TextReponse", "Banque")
        .Click("Oui");
    QString text;
    EXPECT_EQ(AskInput("Entrez le label :", text, InputFlag::RequireText), Answer::Yes);
    EXPECT_TRUE(modal.Wait());
    EXPECT_EQ(text, "Banque");
}

TEST_F(InputDialogTest, WithoutRequireTextOuiConfirmsAnEmptyText)
{
    ModalHelper modal;
    modal.Expect("Lib_SaisieDlg").Do(OuiEnabled(true, "empty text")).Click("Oui");
    QString text;
    EXPECT_EQ(AskInput("Entrez le label :", text), Answer::Yes);
    EXPECT_TRUE(modal.Wait());
    EXPECT_EQ(text, "");
}

TEST_F(InputDialogTest, ShowsPromptCaptionsAndSelectedPreset)
{
    ModalHelper modal;
    modal.Expect("Lib_SaisieDlg")
        .Do([](QWidget* window) {
            EXPECT_EQ(window->windowTitle(), "Renseignez le champ de saisie");
            if (auto* label = Child<QLabel>(window, "Label")) {
                EXPECT_EQ(label->text(), "Entrez le label de la Catégorie à ajouter à partir de :\nBanques");
            }
            if (auto* oui = Child<QPushButton>(window, "Oui")) {
                EXPECT_EQ(oui->text(), "Valider");
            }
            if (auto* annuler = Child<QPushButton>(window, "Annuler")) {
                EXPECT_EQ(annuler->text(), "Annuler");
            }
            if (auto* box = Child<QLineEdit>(window, "TextReponse")) {
                EXPECT_EQ(box->text(), "Comptes");
                EXPECT_EQ(box->selectedText(), "Comptes");
                EXPECT_TRUE(box->hasFocus());
            }
        })
        .Click("Oui");
    QString text = "Comptes";
    EXPECT_EQ(AskInput("Entrez le label de la Catégorie à ajouter à partir de :<BR>Banques", text), Answer::Yes);
    EXPECT_TRUE(modal.Wait());
    EXPECT_EQ(text, "Comptes");

    EXPECT_EQ(TraceDetail("Display message"), "Entrez le label de la Catégorie à ajouter à partir de : Banques");
    EXPECT_EQ(TraceDetail("Default first text value"), "Comptes");
    EXPECT_EQ(TraceDetail("Renseignez le champ de saisie"), "1");
    EXPECT_EQ(TraceDetail("Entrez le label de la Catégorie à ajouter à partir de : Banques"),
        "Un message d'information - Comptes");
}

TEST_F(InputDialogTest, TitleAndMaximumLength)
{
    ModalHelper modal;
    modal.Expect("Lib_SaisieDlg")
        .Do([](QWidget* window) { EXPECT_EQ(window->windowTitle(), "Nouvelle catégorie"); })
        .Type("TextReponse", "abcdefgh")
        .Click("Oui");
    QString text;
    EXPECT_EQ(AskInput("Label :", text, {}, 5, "Nouvelle catégorie"), Answer::Yes);
    EXPECT_TRUE(modal.Wait());
    EXPECT_EQ(text, "abcde");
}

// Annuler, Escape and the window's close box all answer No; the text typed is
// still handed back.
TEST_F(InputDialogTest, EveryWayOutButOuiAnswersNo)
{
    const std::vector<std::pair<const char*, std::function<void(ModalHelper::Expectation&)>>> ways {
        { "Annuler", [](ModalHelper::Expectation& e) { e.Click("Annuler"); } },
        { "reject", [](ModalHelper::Expectation& e) { e.Reject(); } },
        { "close", [](ModalHelper::Expectation& e) { e.Do([](QWidget* w) { w->close(); }); } },
    };
    for (const auto& [name, leave] : ways) {
        SCOPED_TRACE(name);
        ModalHelper modal;
        auto& window = modal.Expect("Lib_SaisieDlg").Type("TextReponse", "brouillon");
        leave(window);
        QString text = "avant";
        EXPECT_EQ(AskInput("Label :", text, InputFlag::RequireText), Answer::No);
        EXPECT_TRUE(modal.Wait());
        EXPECT_EQ(text, "brouillon");
        EXPECT_EQ(TraceDetail("Renseignez le champ de saisie"), "0");
    }
}

TEST_F(InputDialogTest, SecretTextIsMaskedWithStarsAndNeverTraced)
{
    const QString secret = "Sésame-ouvre-toi 42";
    ModalHelper modal;
    modal.Expect("Lib_SaisieDlg")
        .Type("TextReponse", secret)
        .Do([&](QWidget* window) {
            if (auto* box = Child<QLineEdit>(window, "TextReponse")) {
                EXPECT_EQ(box->echoMode(), QLineEdit::Password);
                EXPECT_EQ(box->displayText(), QString(secret.size(), '*'));
            }
        })
        .Click("Oui");
    QString text;
    EXPECT_EQ(AskInput("Pour confirmez la suppression du mot de passe,<BR>entrez le mot de passe de la base courante :",
                  text, InputFlag::Secret),
        Answer::Yes);
    EXPECT_TRUE(modal.Wait());
    EXPECT_EQ(text, secret);

    const QByteArray log = TraceText();
    EXPECT_FALSE(log.isEmpty());
    EXPECT_FALSE(log.contains(secret.toUtf8()));
    EXPECT_FALSE(log.contains("Sésame"));
    EXPECT_EQ(
        TraceDetail("Pour confirmez la suppression du mot de passe, entrez le mot de passe de la base courante :"),
        "Un message d'information - " + SecretText);
}

using ChoiceDialogTest = DialogTest;

struct ChoiceCase {
    const char* name;
    QString option3;
    int initial;
    const char* tick; // option to tick, or null to leave them
    int expected;
};

class ChoiceConfirmTest : public DialogTest, public ::testing::WithParamInterface<ChoiceCase> { };

TEST_P(ChoiceConfirmTest, OuiAnswersTheSelectedOption)
{
    const ChoiceCase& c = GetParam();
    ModalHelper modal;
    auto& window = modal.Expect("Lib_SelectOpt").Do([&](QWidget* w) {
        if (auto* third = Child<QRadioButton>(w, "SelOptions_2")) {
            EXPECT_EQ(third->isVisible(), !c.option3.isEmpty());
        }
        if (auto* second = Child<QRadioButton>(w, "SelOptions_1")) {
            EXPECT_TRUE(second->isVisible());
        }
    });
    if (c.tick)
        window.Tick(c.tick);
    window.Click("Oui");
    EXPECT_EQ(AskChoice("Que faire ?", "Remplacer", "Ajouter", c.initial, c.option3), c.expected);
    EXPECT_TRUE(modal.Wait());
}

INSTANTIATE_TEST_SUITE_P(Cases, ChoiceConfirmTest,
    ::testing::Values(ChoiceCase { "TwoUntouchedFirst", "", 0, nullptr, 0 },
        ChoiceCase { "TwoUntouchedSecond", "", 1, nullptr, 1 },
        ChoiceCase { "ThreeUntouchedThird", "Ignorer", 2, nullptr, 2 },
        ChoiceCase { "ThreeTickedThird", "Ignorer", 0, "SelOptions_2", 2 },
        ChoiceCase { "TwoTickedFirst", "", 1, "SelOptions_0", 0 },
        // the hidden third option is never the answer
        ChoiceCase { "TwoInitialHidden", "", 2, nullptr, 0 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChoiceDialogTest, CancelAnswersMinusOne)
{
    for (const bool useButton : { true, false }) {
        SCOPED_TRACE(useButton ? "Annuler" : "close");
        ModalHelper modal;
        auto& window = modal.Expect("Lib_SelectOpt").Tick("SelOptions_1");
        if (useButton)
            window.Click("Annuler");
        else
            window.Do([](QWidget* w) { w->close(); });
        EXPECT_EQ(AskChoice("Que faire ?", "Remplacer", "Ajouter", 0, "Ignorer"), -1);
        EXPECT_TRUE(modal.Wait());
    }
}

TEST_F(ChoiceDialogTest, CaptionsPromptAndTrace)
{
    for (const QString& title : { QString(), QString("Import") }) {
        ModalHelper modal;
        modal.Expect("Lib_SelectOpt")
            .Do([&](QWidget* window) {
                EXPECT_EQ(window->windowTitle(), title.isEmpty() ? "Faites votre choix" : title);
                if (auto* label = Child<QLabel>(window, "theLabel")) {
                    EXPECT_EQ(label->text(), "Le fichier existe.\nQue faire ?");
                    EXPECT_TRUE(label->font().bold());
                }
                if (auto* first = Child<QRadioButton>(window, "SelOptions_0")) {
                    EXPECT_EQ(first->text(), "Remplacer");
                }
                if (auto* oui = Child<QPushButton>(window, "Oui")) {
                    EXPECT_EQ(oui->text(), "Valider");
                }
            })
            .Click("Oui");
        EXPECT_EQ(AskChoice("Le fichier existe.<br>Que faire ?", "Remplacer", "Ajouter", 1, {}, true, title), 1);
        EXPECT_TRUE(modal.Wait());
    }
    EXPECT_EQ(TraceDetail("Le fichier existe. Que faire ?"), "Remplacer / Ajouter : 1");
}

} // namespace
} // namespace keyholm::test
