#pragma once

#include <QString>

namespace keyholm {

// Whether a Qt window can be shown: a display server, or a platform plugin
// chosen by hand (offscreen, vnc, ...). Without one, Qt would abort with a
// long plugin dump, so start-up checks first and says so in one line.
bool DisplayAvailable();

} // namespace keyholm
