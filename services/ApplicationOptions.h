#pragma once
// The application-wide options that the main window reads at start-up and
// at closing (trace log, logo, update check), as the options window keeps
// them in the preferences. The options window shows and edits the same values.

#include <QString>

namespace keyholm {

// "Enregistrer les traces d'exécution dans un fichier log".
bool LogOption();
// Show the logo picture in the main window (checked by default).
bool LogoOption();
// Path of the chosen logo picture; empty for the built-in one.
QString LogoPathOption();
// Look for a newer version at start-up (off by default: no network unasked).
bool WebVersionOption();

} // namespace keyholm
