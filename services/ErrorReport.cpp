#include "services/ErrorReport.h"

namespace keyholm {
ErrorRecord ErrorRecord::FromException(const std::exception&, std::source_location) { return {}; }
ErrorRecord ErrorRecord::FromErrno(int, const QString&, std::source_location) { return {}; }
ErrorRecord ErrorRecord::Make(int, const QString&, std::source_location) { return {}; }
QString ErrorRecord::Details() const { return {}; }
void ReportError(const QString&, const QString&, bool, const ErrorRecord&) {}
void SetErrorDisplay(ErrorDisplay) {}
QString WithLineBreaks(const QString& text) { return text; }
} // namespace keyholm
