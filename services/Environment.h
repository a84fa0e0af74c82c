#pragma once
// The application's folders and process-wide values, the single running
// instance, and the small file, text and time procedures that many windows use.
// The start and end of the application are in services/ui/ApplicationEnvironment.h.

#include <QFile>
#include <QString>

#include <memory>

namespace keyholm {

// The maker's home page, shown by DisplayUrl for a blank address.
inline const QString MakerHomePage = QStringLiteral("https://keyholm.example/");

// ---- Folders ---------------------------------------------------------------

// Settles the data folder, the backup folder and the temporary folder, and
// hands the data folder to FileTools (where stored paths are looked for).
// The data folder is $KEYHOLM_HOME when that is set, else the documents folder
// followed by the sub folder (or, when empty, the application folder name),
// else, without a documents folder, the program folder. Missing folders are
// made for the user alone (0700), and existing data and backup folders are
// narrowed to that; a data folder that cannot be made is reported.
void PrepareFolders(const QString& subFolder = {}, const QString& applicationFolderName = {});

// The folder with a trailing separator, made when missing; the path as given
// when it cannot be made.
QString EnsureFolder(const QString& path);

// Each ends with a separator; empty before PrepareFolders.
const QString& DataFolder();
const QString& BackupFolder();
// TMP, else TEMP, else the system's temporary folder, else the data folder's "Temp".
const QString& TempFolder();

// Message 10000 ("Keyholm"), or the product name when the messages lack it.
QString ApplicationFolderName();
// The application's name ("Keyholm").
QString ApplicationTitle();
// The label given at the start, trimmed, or the title when it was empty.
QString ApplicationLabel();
void SetApplicationLabel(const QString& label);
// The running program's file name without folder ("keyholm"), and its folder
// with a trailing separator.
QString ProgramFileName();
QString ProgramFolder();

// The scratch file name reserved at the start and deleted at the end; empty
// until ReserveScratchFile.
const QString& ScratchFileName();
void ReserveScratchFile();
void DeleteScratchFile();

// ---- Single instance ---------------------------------------------------------

// Takes the lock file of the data folder. False while another running
// instance holds it; a lock left behind by a run that crashed is taken over.
bool ClaimSingleInstance();
void ReleaseSingleInstance();
QString InstanceLockPath();

// ---- Files -------------------------------------------------------------------

// Each gives an open text file, or nothing on failure (reported with a message
// box when `report` is true). A blank path fails.
// Creates the file or empties it.
std::unique_ptr<QFile> OpenForWriting(const QString& path, bool report);
// Opens the file for adding text at its end, making it when missing.
std::unique_ptr<QFile> OpenForAppending(const QString& path, bool report);
// Opens an existing file; a missing one is made empty (OpenForWriting, with
// its report) when `create` is true.
std::unique_ptr<QFile> OpenForReading(const QString& path, bool report, bool create = false);

// True when the texts after the last "." of both are equal, whatever the
// letter case ("x.RTF" and ".rtf"); an extension given without "." is taken
// whole. False when either is empty.
bool HasExtension(const QString& path, const QString& extension);

// Opens a web address or document with its associated program, or with
// `program` when given; a blank address means the maker's home page.
void DisplayUrl(const QString& address, const QString& program = {});

// The current time as "hh:mm".
QString sHeureMinuteDuMoment();

// ---- Pseudo-random draws -------------------------------------------------------

// The process-wide generator for draws that need no secrecy (a fallback file
// name, nicknames). Never use it for passwords or keys. Seeded from the clock
// at its first use; SeedPseudoRandom makes the draws repeatable (tests).
double NextPseudoRandom(); // in [0, 1)
int PseudoRandomBetween(int low, int high); // low to high, both included
void SeedPseudoRandom(quint32 seed);

} // namespace keyholm
