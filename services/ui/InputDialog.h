#pragma once
// Lib_SaisieDlg: asks for one line of text. Shown by AskInput.

#include "services/ui/AnswerDialog.h"

class QLabel;
class QLineEdit;

namespace keyholm {

class InputDialog : public AnswerDialog {
    Q_OBJECT
public:
    explicit InputDialog(QWidget* parent = nullptr);

    void SetPrompt(const QString& prompt);
    void SetText(const QString& text);
    QString Text() const;
    // Oui is enabled only while the text, trimmed, is not empty.
    void SetRequireText(bool requireText);
    // The text shows as "*" and cannot be copied out of the box.
    void SetSecret(bool secret);
    // 0 for no limit.
    void SetMaxLength(int maxLength);

    // AnswerTag(): "1" after Oui, "0" after Annuler or closing.

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateOui();

    QLabel* label_;
    QLineEdit* textReponse_;
    bool requireText_ = false;
};

} // namespace keyholm
