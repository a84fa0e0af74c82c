#include "services/ui/Messages.h"

#include <QStatusBar>

namespace keyholm {
void InstallMessageBoxes() {}
void ShowInfo(const QString&, const QString&) {}
Answer AskQuestion(const QString&, const QString&) { return Answer::Cancel; }
void ShowBusy(const QString&, bool, bool, bool) {}
void ShowStatus(const QString&, const QString&, bool, bool) {}
void EndBusy(bool) {}
void SetStatusTarget(QStatusBar*) {}
} // namespace keyholm
