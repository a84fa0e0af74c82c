#pragma once
// A modal window that ends with a yes or a no: a confirm and a cancel button
// at the bottom right, the outcome ("1" confirmed; "0" cancelled, closed or
// not answered yet) kept in the tag of one of its controls, the hourglass
// while it is built, and the window centred with the arrow back when shown.

#include <QDialog>

class QHBoxLayout;
class QPushButton;

namespace keyholm {

class AnswerDialog : public QDialog {
    Q_OBJECT
public:
    // "1" after the confirm button, "0" otherwise.
    QString AnswerTag() const;

    // Escape and the title bar's close button cancel.
    void reject() override;

protected:
    // Where the outcome is kept: in the confirm button's tag, or in the tag
    // of a hidden label named "reponse".
    enum class OutcomeHolder { ConfirmButton, HiddenLabel };
    struct ButtonText {
        QString objectName;
        QString caption;
    };

    AnswerDialog(QWidget* parent, const QString& objectName, const QString& title);
    void MakeAnswerButtons(const ButtonText& confirm, const ButtonText& cancel, OutcomeHolder holder);
    // The two buttons, pushed to the right.
    QHBoxLayout* AnswerRow();
    // Sets the outcome "1" and closes the window.
    void Confirm();

    void showEvent(QShowEvent* event) override;

    QPushButton* confirm_ = nullptr;
    QPushButton* cancel_ = nullptr;

private:
    void SetOutcome(bool confirmed);

    QObject* outcome_ = nullptr;
};

} // namespace keyholm
