#pragma once
// The trace log: one line per noteworthy step, in "<program>.log" of the data
// folder's "Log" folder, with the previous generation kept as ".old".
//
// Record format (UTF-8, one record a line ended by CR LF):
//     "hh:mm:ss","label","detail"
// The time field is empty ("") for a line written without the time. Labels and
// details never hold a double quotation mark; a label never holds CR LF.
//
// Secrets: no password, login, master password or key text may stand in a
// trace line. Callers write SecretText ("***") in their place, for instance
//     TraceLog("Master password asked", SecretText);
// As a second line of defence, texts handed to KeepOutOfTraceLog are masked
// with SecretText in every line written afterwards, wherever they appear.

#include <QList>
#include <QString>

#include <optional>

namespace keyholm {

// What stands in a trace line in place of a secret.
inline const QString SecretText = QStringLiteral("***");

// Writes one line. Costs next to nothing while the log is off; never fails
// the caller. A blank label writes nothing, and a label equal to the one of the
// line before (case-sensitive) writes nothing either, so that a run of calls
// with the same label keeps only its first line.
void TraceLog(const QString& label, const QString& detail, bool withTime = true);

// (Re)starts the log in baseFolder's "Log" folder (baseFolder itself when its
// last name is "Log"). True when a log file was opened by this call. A call
// that would leave a running log as it is (same enabled state, no fragment)
// changes nothing and gives false. Each real start moves the previous file to
// ".old" and writes the header (folder, start line, date, host information,
// and "End of host config" when closeHeader is true).
bool StartTraceLog(bool enabled, const QString& baseFolder, const QString& nameFragment, const QString& startLabel,
                   bool closeHeader);

// Writes the closing line, flushes and closes the file; the log is off afterwards.
void StopTraceLog();

// Writes buffered lines to the file now (they are written at least once a
// second and at StopTraceLog anyway).
void FlushTraceLog();

// True while lines are being written to a file.
bool TraceLogEnabled();
// The log folder, ending with a separator: the one of the running log, or the
// one worked out by the last StartTraceLog; empty before any start.
QString TraceLogFolder();
// Full path of the open log file; empty while the log is closed.
QString TraceLogPath();

// Every line written after this call, until the log stops, has each
// occurrence of `secret` replaced by SecretText (so a very short secret masks
// a lot: better a garbled line than a leaked one). Empty texts are ignored,
// and so is every text while the log is off. The log keeps a copy of its
// own in guarded memory, wiped when the log stops or forgets it; the
// caller's text stays the caller's to wipe.
void KeepOutOfTraceLog(const QString& secret);
// Wipes the texts given to KeepOutOfTraceLog (at closing a database).
void ForgetTraceLogSecrets();
// How many texts KeepOutOfTraceLog keeps now.
int KeptTraceLogSecrets();

// One record of a log file.
struct TraceRecord {
    QString time;
    QString label;
    QString detail;
    bool operator==(const TraceRecord&) const = default;
};

// Parses log text into records, in order. Records written without the time
// are left out unless withUntimed is true; an incomplete last record (a crash
// in the middle of a write) is left out.
QList<TraceRecord> ParseTraceRecords(const QByteArray& text, bool withUntimed = false);

// What the log viewer lists: the timed records of the log file at `path`, or
// of the current log when `path` is empty or names no file (buffered lines are
// flushed first). Nothing when there is no such file or it cannot be read;
// that failure has then been reported (with a message box).
std::optional<QList<TraceRecord>> ReadTraceLog(const QString& path);
// The timed records of the file, reporting nothing; nothing when it cannot
// be read.
std::optional<QList<TraceRecord>> ReadTraceRecords(const QString& file);

} // namespace keyholm
