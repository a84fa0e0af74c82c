#pragma once
// Generation backups: numbered copies with 1 the newest, and one copy per
// month of the year.
//
// A database is backed up once it has opened, from the bytes that were read
// and decoded, so that a damaged file never pushes sound copies out; an
// opening of an unchanged file takes no new copy. Its copies carry a short
// hash of the file's absolute path, so that two databases of the same name in
// different folders keep their own: for "/home/anne/Perso.khm",
// "1_Perso_khm_1a2b3c4d.bak", "2_Perso_khm_1a2b3c4d.bak", ... and
// "Perso_khm_1a2b3c4d_DÉCEMBRE_.bak" (a count of 1 or less keeps the single
// copy "Perso_khm_1a2b3c4d.bak"). Copies of older versions, named without the
// hash ("1_Perso_khm.bak"), are left as they are for a restore by hand.
//
// The preferences file keeps its generations by file name only: "1_Preference_opt.bak",
// ..., "Preference_opt_DÉCEMBRE_.bak", or "Preference_opt.bak" for a count of 1 or less.
//
// Every copy is the user's alone (0600), in a folder that is too (0700).
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

// 8 hex digits of the BLAKE2b hash of the file's absolute path (UTF-8).
QString PathTag(const QString& path);
// The database copy names: as above, with "_" and the path's tag after the
// extension ("1_Perso_khm_1a2b3c4d.bak", "Perso_khm_1a2b3c4d_DÉCEMBRE_.bak").
QString DatabaseCopyName(const QString& path, int number = 0);
QString DatabaseMonthlyCopyName(const QString& path, const QDate& date = QDate::currentDate());

// Copies `source` into `backupFolder` (when empty: the data folder's "Backup"
// folder, or the source's own folder when no data folder is set), shifting
// the older numbered copies up and dropping the oldest, then replaces the
// monthly copy. True when the plain or newest numbered copy was written.
// Failures are only traced; the source is never moved or changed.
bool CopyWithNewSuffix(const QString& source, const QString& suffix, const QString& backupFolder, int backupCount);

// Keeps `bytes`, the content of the database at `path` as it was read and
// decoded, in `backupFolder` (when empty: as for CopyWithNewSuffix): the
// numbered copies shift up, the oldest drops, `bytes` become the newest, and
// the month's copy is replaced, each atomically. Nothing is done (true) when
// the newest copy already holds `bytes`. The file itself is not read again.
// True when the newest copy holds `bytes`; failures are also traced.
bool BackupDatabase(const QString& path, const QByteArray& bytes, const QString& backupFolder, int backupCount);

} // namespace keyholm
