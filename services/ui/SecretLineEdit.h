#pragma once
// A line edit for a password. Hidden by default, it shows bullets until it
// has the focus or the user presses its eye button. Shown in clear, its text
// still never reaches the X11 primary selection (the middle-click paste),
// which any program on the display may read.

#include <QLineEdit>

class QAction;

namespace keyholm {

class SecretLineEdit : public QLineEdit {
public:
    explicit SecretLineEdit(QWidget* parent = nullptr);

    // Whether the text shows bullets when the field has no focus; also
    // hides again a text the eye button showed.
    void SetConcealed(bool concealed);
    bool Concealed() const { return concealed_; }
    // The eye button: shows or hides the text in clear.
    QAction* RevealAction() const { return reveal_; }

protected:
    bool event(QEvent* event) override;

private:
    void UpdateEcho();

    QAction* reveal_;
    bool concealed_ = true;
    bool revealed_ = false;
};

} // namespace keyholm
