#include "services/TraceLog.h"

namespace keyholm {
void TraceLog(const QString&, const QString&, bool) {}
bool StartTraceLog(bool, const QString&, const QString&, const QString&, bool) { return false; }
void StopTraceLog() {}
void FlushTraceLog() {}
bool TraceLogEnabled() { return false; }
QString TraceLogFolder() { return {}; }
QString TraceLogPath() { return {}; }
void KeepOutOfTraceLog(const QString&) {}
void ForgetTraceLogSecrets() {}
QList<TraceRecord> ParseTraceRecords(const QByteArray&, bool) { return {}; }
std::optional<QList<TraceRecord>> ReadTraceLog(const QString&) { return std::nullopt; }
} // namespace keyholm
