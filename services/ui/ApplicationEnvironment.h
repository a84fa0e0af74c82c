#pragma once
// The start and the end of the application, and loading a text or RTF file
// into a text box. The folders and the small procedures are in
// services/Environment.h.

#include <QString>

class QWidget;

namespace keyholm {

// The start, after PrepareFolders: refuses a second running instance (an
// information box "Program already running!", then the process ends), starts
// the trace log, opens the preferences and the message databases (the user
// language file named by the "Language" preference of "Options"), empties the
// recent files list, reserves the scratch file and makes the program folder
// the current folder. False, reported with message 411, on failure.
bool StartApplication(bool logEnabled, const QString& label = {}, bool rotatePreferenceBackups = true,
    const QString& preferencesBaseName = QStringLiteral("Preference"));

// The end: closes every other window (those captioned like `window` are
// kept), deletes the scratch file, logs the run times, closes the
// preferences, the message databases and the trace log, gives up the
// single-instance lock and releases the companion components. Then closes
// `window` when unloadWindow, and ends the event loop when endProcess.
void EndApplication(QWidget* window, bool endProcess, bool unloadWindow);

// Qt's own windows (file chooser, standard buttons) speak the program's
// language, French, through Qt's translations when they are installed. False
// when they cannot be found; Qt's English then stays.
bool InstallQtTranslations();

// Loads a text or RTF file into a text box (QPlainTextEdit, QTextEdit or
// QLineEdit): `fileName` (in `folder` when relative) when given and ask is
// false, else the file chosen in the open dialog, which starts in `folder`.
// An RTF file is converted to its plain text. The path loaded, or empty.
QString LoadTextIntoBox(QWidget* textBox, const QString& folder, const QString& fileName, bool ask);

// Lets the user save the text of a text box (as LoadTextIntoBox takes) to a
// file: the save dialog proposes `name`, made safe as a file name, with
// ".txt" in the data folder. The text is written as UTF-8, for the user
// alone; a failed write is reported. The path written, or empty.
QString SaveTextToFile(QWidget* textBox, const QString& name);

// `name` without dots, and without the signs that no file name may hold
// ("/\:*?\"<>|" and control characters), each made a "_"; trimmed.
QString FileSafeName(const QString& name);

} // namespace keyholm
