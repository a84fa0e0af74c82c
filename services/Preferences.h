#pragma once
// The preferences file "Preference.opt" of the data folder, and the typed
// reads and writes by section and key that every window uses.
//
// A typed procedure puts its type in front of the key: "Color_", "Text_",
// "Check_" or "VALUE_"; the index forms use the decimal index as key
// ("Check_0"). A text's CR LF pairs are stored as "#µ#", which reads give back
// as CR LF. Every read and write opens the file when it is not open; when it
// cannot be opened, reads give their fallback (the default; 0 for colours) and
// writes are refused.

#include <QString>

#include <functional>

namespace keyholm {

inline constexpr int PreferenceBackupGenerations = 3;
inline const QString PreferenceBaseName = QStringLiteral("Preference");

// Opens "<folder><baseName>.opt" (the program folder when folder is empty),
// closing the file open before. The first open of a run backs the file up in
// the backup folder: generations when rotateBackups is true, else a single
// ".bak" copy. A damaged file is set aside as ".bad" (one trace line) and the
// program goes on with its defaults. True when the file is open.
bool OpenPreferences(const QString& folder, const QString& label, bool rotateBackups = true,
    const QString& baseName = PreferenceBaseName);
// Every change is on disk already; this only closes the file.
void ClosePreferences();

bool PreferencesOpen();
QString PreferencesPath();
// Backup folder + "PreferenceLOG.opt"; the main window deletes it at unload.
QString OptionTracePath();

// How the generations of the preferences file are kept: by default the
// generation backup of files (CopyWithNewSuffix: source, suffix ".bak",
// backup folder, count 3). Tests put their own here; with none, each run
// keeps a single ".bak" copy instead.
using PreferenceBackupRotation
    = std::function<bool(const QString& path, const QString& suffix, const QString& backupFolder, int count)>;
void SetPreferenceBackupRotation(PreferenceBackupRotation rotation);

// Opens the file when it is not open, as a read or write does; true when it is open.
bool EnsurePreferencesOpen(const QString& label = {});

// A key used as it is, without a type prefix (the window placement keys).
QString GetPlainOption(
    const QString& section, const QString& key, const QString& defaultText, const QString& label = {});
bool SetPlainOption(const QString& section, const QString& key, const QString& value, const QString& label = {});

// ---- Reads: the stored value, or the default ------------------------------
// The label only matters when the read has to open the file itself.

// A colour as a 32-bit RGB value; 0 (not the default) when the file is closed
// or the section blank.
int GetColorOption(const QString& section, const QString& key, int defaultColor, const QString& label = {});
QString GetTextOption(
    const QString& section, const QString& key, const QString& defaultText, const QString& label = {});
// A check-box value (0, 1) or a stored Boolean (-1, 0).
int GetCheckOption(const QString& section, const QString& key, int defaultValue, const QString& label = {});
int GetValueOption(const QString& section, const QString& key, int defaultValue, const QString& label = {});

// Index forms. The colour comes back as decimal text.
QString GetColorOptionAt(const QString& section, int defaultColor, int index, const QString& label = {});
QString GetTextOptionAt(const QString& section, const QString& defaultText, int index, const QString& label = {});
int GetCheckOptionAt(const QString& section, int defaultValue, int index, const QString& label = {});
int GetValueOptionAt(const QString& section, int defaultValue, int index, const QString& label = {});

// ---- Writes: true when stored --------------------------------------------------
// Refused (false, nothing written) when the file cannot be opened or the
// section or key is blank.

bool SetColorOption(const QString& section, const QString& key, int value, const QString& label = {});
bool SetTextOption(const QString& section, const QString& key, const QString& value, const QString& label = {});
bool SetCheckOption(const QString& section, const QString& key, int value, const QString& label = {});
bool SetValueOption(const QString& section, const QString& key, int value, const QString& label = {});

bool SetColorOptionAt(const QString& section, int value, int index, const QString& label = {});
bool SetTextOptionAt(const QString& section, const QString& value, int index, const QString& label = {});
bool SetCheckOptionAt(const QString& section, int value, int index, const QString& label = {});
bool SetValueOptionAt(const QString& section, int value, int index, const QString& label = {});

// The stored form of a text and back: CR LF <-> "#µ#".
QString EscapeOptionText(const QString& text);
QString UnescapeOptionText(const QString& stored);

} // namespace keyholm
