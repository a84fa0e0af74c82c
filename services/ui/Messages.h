#pragma once
// How the system speaks to the user outside its windows: error boxes
// (ReportError, declared in services/ErrorReport.h), information, Yes/No/Cancel
// questions and the busy mouse pointer. "<BR>" and "<br>" are line breaks in
// every text.

#include "services/ErrorReport.h"

#include <QString>

class QStatusBar;

namespace keyholm {

// The answers of AskQuestion; the numbers are the stored/compared forms.
enum class Answer : int { Cancel = 2, Yes = 6, No = 7 };

// Makes ReportError show its boxes and restore the mouse pointer. Called at
// start-up (the application) and by window tests.
void InstallMessageBoxes();

// An information box; an empty title means message 199.
void ShowInfo(const QString& message, const QString& title = {});
// The same box for a message that may hold secrets: the trace log gets
// `tracedText` in its place.
void ShowInfo(const QString& message, const QString& title, const QString& tracedText);
// A Yes/No/Cancel question; an empty title means message 197. Closing the box
// answers Cancel.
Answer AskQuestion(const QString& message, const QString& title = {});

// Hourglass pointer, and the text (after the wait text, message 295, when
// withWaitText) handed to ShowStatus; an empty text hands the wait text alone,
// without a trace line.
void ShowBusy(const QString& text = {}, bool withWaitText = true, bool refresh = false, bool log = true);
// Traces the text when log is true and the text is not blank, and shows it as
// a passing message of the status target, if any (an empty text clears that
// message; the target's own panels are never changed). refresh repaints the
// target at once, for work that keeps the event loop busy.
void ShowStatus(const QString& text, const QString& detail = {}, bool refresh = false, bool log = true);
// Back to the default pointer; clears the passing status message.
void EndBusy(bool refresh = false);

// Where ShowStatus shows its passing messages: the main window's status bar.
// Nothing (the default) shows them nowhere.
void SetStatusTarget(QStatusBar* statusBar);

} // namespace keyholm
