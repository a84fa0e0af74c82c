#include "services/ui/SecretLineEdit.h"

#include "services/ui/ToolIcons.h"

#include <QAction>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>

namespace keyholm {

SecretLineEdit::SecretLineEdit(QWidget* parent)
    : QLineEdit(parent)
    , reveal_(new QAction(this))
{
    reveal_->setObjectName(QStringLiteral("RevealPassword"));
    reveal_->setCheckable(true);
    addAction(reveal_, QLineEdit::TrailingPosition);
    connect(reveal_, &QAction::triggered, this, [this](bool shown) {
        revealed_ = shown;
        UpdateEcho();
    });
    UpdateEcho();
}

void SecretLineEdit::SetConcealed(bool concealed)
{
    concealed_ = concealed;
    revealed_ = false;
    UpdateEcho();
}

void SecretLineEdit::UpdateEcho()
{
    // While the field has the focus the text shows anyway; the button
    // decides whether it stays shown afterwards.
    setEchoMode(!concealed_ || revealed_ || hasFocus() ? QLineEdit::Normal : QLineEdit::Password);
    reveal_->setChecked(revealed_);
    reveal_->setIcon(ToolIcon(revealed_ ? QStringLiteral("hide") : QStringLiteral("show")));
    reveal_->setToolTip(revealed_ ? QStringLiteral("Masquer le mot de passe") : QStringLiteral("Afficher le mot de passe"));
    reveal_->setVisible(concealed_);
}

bool SecretLineEdit::event(QEvent* event)
{
    const bool handled = QLineEdit::event(event);
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        UpdateEcho();
    // A line edit in clear copies what is selected in it into the primary
    // selection on key presses and mouse releases; take it back at once,
    // before any other program can ask for it.
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (echoMode() == QLineEdit::Normal && clipboard->supportsSelection() && clipboard->ownsSelection()
        && hasSelectedText() && clipboard->text(QClipboard::Selection) == selectedText())
        clipboard->clear(QClipboard::Selection);
    return handled;
}

} // namespace keyholm
