#pragma once
// Small things shared by the dialog windows and the dialog procedures.

#include <QString>

class QWidget;

namespace keyholm::dialogs {

// The mouse pointer as a single setting (hourglass or arrow), not a stack:
// whatever was set before, the arrow comes back before a dialog is shown.
void SetWaitPointer();
void SetDefaultPointer();

// Centres the window on the screen it is on.
void CenterOnScreen(QWidget* window);

// "<BR>"/"<br>" as line breaks a label can show.
QString PromptText(const QString& prompt);
// The prompt on one line, for the trace log.
QString PromptOnOneLine(const QString& prompt);

} // namespace keyholm::dialogs
