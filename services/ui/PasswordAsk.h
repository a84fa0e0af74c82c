#pragma once
// Lib_PasswordAsk: asks for a master password. One use per window: make it,
// set the prompt, Ask(), read the text, let it go (it clears its field).
//
// Controls: LabelInfo (the prompt), T_Find (the password, shown as "*"),
// Valider (enabled while the text, trimmed, is not empty; its tag carries the
// outcome, "1" confirmed, "0" cancelled), Annuler, and the status bar
// StatusKeyboard with the panels Caps ("Maj"), Num ("Num") and Ins ("INSER").
// A panel shows its state greyed when off and is hidden while the platform
// does not tell it.

#include "services/ui/AnswerDialog.h"

#include <QTimer>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace keyholm {

class StrengthMeter;

class PasswordAsk : public AnswerDialog {
    Q_OBJECT
public:
    explicit PasswordAsk(QWidget* parent = nullptr);
    ~PasswordAsk() override;

    // Shows the window modal; true when it was confirmed.
    bool Ask();
    // Valider's tag: "1" after a confirm, "0" before and after a cancel.
    QString Outcome() const { return AnswerTag(); }
    // The text as typed.
    QString Text() const;

    // The strength of the text under the field, while a new master
    // password is chosen.
    void ShowStrength(bool shown);

    void SetInfo(const QString& text);
    QString Info() const;

    QLabel* LabelInfo = nullptr;
    QLineEdit* T_Find = nullptr;
    QPushButton* Valider = nullptr;
    QPushButton* Annuler = nullptr;
    QStatusBar* StatusKeyboard = nullptr;
    StrengthMeter* Strength = nullptr;

    static inline const QString Caption = QStringLiteral("Mot de passe");
    static inline const QString DefaultInfo = QStringLiteral("Entrez le mot de passe pour accèder aux données :");

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateValider();
    void ShowKeyboardState();

    QLabel* caps_ = nullptr;
    QLabel* num_ = nullptr;
    QLabel* insert_ = nullptr;
    QTimer keyboardTimer_;
    // Told by the letters typed when the LEDs cannot be read.
    std::optional<bool> typedCaps_;
};

} // namespace keyholm
