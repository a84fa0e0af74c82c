#pragma once
// Lib_Generator: draws a password to the user's choice, a length and
// character classes or a passphrase of French words, and shows its entropy.
// The choices are kept in the preferences (section "_Password Generator").
//
// Controls: OptionPassword and OptionPassphrase (radio buttons), SpinLength
// (8 to 128), CheckCapitals, CheckSmalls, CheckDigits, CheckSigns,
// CheckLookAlike, SpinWords (3 to 12), TextSeparator, TextResult (the draw,
// its entropy in the tool tip), LabelEntropy, CommandRegenerate, and the
// answer buttons CommandOK and CommandCancel.

#include "components/PasswordGenerator.h"
#include "services/ui/AnswerDialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace keyholm {

class GeneratorDialog : public AnswerDialog {
    Q_OBJECT
public:
    explicit GeneratorDialog(QWidget* parent = nullptr);
    ~GeneratorDialog() override;

    // Shows the window modal; true when confirmed with a result. The
    // choices are saved then.
    bool Ask();
    // The last draw.
    QString Result() const;

    GeneratorOptions Options() const;
    void SetOptions(const GeneratorOptions& options);
    // Draws again with the options shown.
    void Regenerate();

    // The choices as saved; the defaults when none are.
    static GeneratorOptions LoadOptions();
    static bool SaveOptions(const GeneratorOptions& options);
    // The French words of the passphrases, shipped with the program.
    static const QStringList& WordList();

    QRadioButton* OptionPassword = nullptr;
    QRadioButton* OptionPassphrase = nullptr;
    QSpinBox* SpinLength = nullptr;
    QCheckBox* CheckCapitals = nullptr;
    QCheckBox* CheckSmalls = nullptr;
    QCheckBox* CheckDigits = nullptr;
    QCheckBox* CheckSigns = nullptr;
    QCheckBox* CheckLookAlike = nullptr;
    QSpinBox* SpinWords = nullptr;
    QLineEdit* TextSeparator = nullptr;
    QLineEdit* TextResult = nullptr;
    QLabel* LabelEntropy = nullptr;

private:
    void EnableControls();
};

} // namespace keyholm
