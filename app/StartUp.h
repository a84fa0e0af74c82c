#pragma once
// The program's start: the process hardened (ProcessGuard), folders and
// environment, the trace log, then the main window.

#include <QString>

class QApplication;

namespace keyholm {

// Sets up the look shared by the program's windows (style and palette).
void ApplyApplicationLook(QApplication& application);

// Runs the program and opens `file` when given; the process's exit code.
// With a file, a start that finds an instance running for the same data
// folder hands the file to it and ends.
int StartUp(QApplication& application, const QString& file = {});

} // namespace keyholm
