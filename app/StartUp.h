#pragma once
// The program's start: the process hardened (ProcessGuard), folders and
// environment, the trace log, then the main window. The command line is not read: a file named on it is not
// opened.

class QApplication;

namespace keyholm {

// Sets up the look shared by the program's windows (style and palette).
void ApplyApplicationLook(QApplication& application);

// Runs the program; the process's exit code.
int StartUp(QApplication& application);

} // namespace keyholm
