#pragma once
// Generation backups of a file (databases before each opening, the
// preferences file): numbered copies with 1 the newest, and one copy per
// month of the year. For "Keyholm.khm" and ".bak": "1_Keyholm_khm.bak",
// "2_Keyholm_khm.bak", ..., "Keyholm_khm_DÉCEMBRE_.bak"; a count of 1 or less
// keeps the single copy "Keyholm_khm.bak".
//
// Here rather than beside the database code because the preferences module
// keeps its generations the same way.

#include <QDate>
#include <QString>

namespace keyholm {

// The copy name of `source` (file name only): its base name, "_", its
// extension and the suffix, preceded by the number and "_" when number >= 1.
QString BackupCopyName(const QString& source, const QString& suffix, int number = 0);
// The copy of the month of `date`: base name, "_", extension, "_", the
// month's full name in the system's language in capitals, "_", suffix.
QString MonthlyCopyName(const QString& source, const QString& suffix, const QDate& date = QDate::currentDate());

// Copies `source` into `backupFolder` (when empty: the data folder's "Backup"
// folder, or the source's own folder when no data folder is set), shifting
// the older numbered copies up and dropping the oldest, then replaces the
// monthly copy. True when the plain or newest numbered copy was written.
// Failures are only traced; the source is never moved or changed.
bool CopyWithNewSuffix(const QString& source, const QString& suffix, const QString& backupFolder, int backupCount);

} // namespace keyholm
