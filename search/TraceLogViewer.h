#pragma once
// The trace log shown in the list window: one row per timed line, the last
// one current. While it is open the list follows the log (lines written
// since appear) and the filter box narrows it.

#include <QString>

class QWidget;

namespace keyholm {

// Shows the log file at `path`, or the current log when `path` is empty.
void ShowTraceLog(const QString& path, QWidget* parent = nullptr);

} // namespace keyholm
