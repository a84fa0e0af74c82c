#pragma once
// The recent files list: the last five databases created or opened, most
// recent first, shown in the file menu of a window and kept in the
// preferences (section "Menu fichier" + suffix; paths under the indexes 1 to
// 5, captions under 10 to 50).
//
// The window holds the menu items as QActions named "MenuAncienFichier1" to
// "MenuAncienFichier5", with the separator "MenuSeparateurAncienFichier" above
// them. Positions run from 1 to 5; an empty caption ends the list.

#include <QString>

#include <optional>

class QWidget;

namespace keyholm {

inline constexpr int RecentFileCount = 5;
// The section suffix of the main window.
inline const QString RecentFilesSuffix = QStringLiteral(" Keyholm");

// The start-up sequence: reads the list, shows it, then drops (from the last
// position up) the entries whose file is missing, unless skipExistenceCheck,
// and those whose extension differs from `extension` ("khm"), when given.
void InitRecentFiles(QWidget* window, const QString& suffix, bool numbered, const QString& label,
    bool skipExistenceCheck, const QString& extension);
// Empties both lists.
void ClearRecentFiles();

// Reads both lists from the preferences, the current values serving as defaults.
void OuvreListeAncienFichier(const QString& suffix, const QString& label);
// Writes both lists to the preferences.
void SauveListeAncienFichier(const QString& suffix, const QString& label);
// Shows the list in the window's menu items, "&1 " to "&5 " before the
// captions when numbered.
void MajMenuFichierOuvert(QWidget* window, bool numbered);
// Puts an existing file at position 1 (moving it there when listed already),
// shows and saves the list. A missing file is only taken off the list.
void AjoutMenuFichierOuvert(QWidget* window, const QString& path, const QString& suffix, const QString& label);
// Takes the entry at a position off the list (the later ones move up) and
// shows the list; positions outside 1 to 5 change nothing. Not saved here.
void EnleveMenuFichierOuvert(QWidget* window, int position, bool numbered);
// The position of a path in the list (exact comparison), if listed.
std::optional<int> bExisteMenuFichierOuvert(const QString& path);
// The path at a position from 1 to 5; for another position, the path whose
// caption is `caption` (from the last position up); empty when none.
QString sGetMenuFichierLong(const QString& caption, int position);

// The caption (file name) at a position; empty outside 1 to 5.
QString RecentFileCaption(int position);

} // namespace keyholm
