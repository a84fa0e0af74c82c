#pragma once
// Files and folders: existence, copies, scratch names, and opening documents.

#include "components/Components.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace keyholm {

class FileTools : public SingleInstance<FileTools> {
public:
    // Where a stored file that is no longer at its path is looked for: the
    // folder set here (the application's data folder), under its file name.
    void SetDataFolder(const QString& folder) { dataFolder_ = folder; }
    const QString& DataFolder() const { return dataFolder_; }

    // The stored path when it leads to a file; otherwise the data folder's
    // file of the same name when there is one; otherwise the stored path.
    QString RelocatePath(const QString& storedPath) const;

    // The whole text of a UTF-8 file; nothing when it cannot be read.
    std::optional<QString> LoadTextFile(const QString& path) const;
    // Writes the text as UTF-8, whole or not at all.
    bool SaveTextFile(const QString& path, const QString& text) const;

    // Copies `path` to a file of the same base name with `newExtension` in
    // place of its own (".bak", ".old"), in `targetFolder`, or beside the
    // file when that is empty. An older copy of that name is replaced.
    bool CopyWithExtension(const QString& path, const QString& newExtension, const QString& targetFolder) const;
    // The target afterwards holds a whole copy of the source, or is unchanged.
    bool CopyFile(const QString& source, const QString& target) const;
    // Opens a document with its associated program, or a web address in the browser.
    bool ShellOpen(const QString& documentOrUrl) const;
    // What ShellOpen hands its address to. The default runs xdg-open; the
    // application puts QDesktopServices here, and tests a recorder.
    using Opener = std::function<bool(const QUrl&)>;
    void SetOpener(Opener opener) { opener_ = std::move(opener); }

    QString StripFolderSeparator(const QString& folder) const;
    QString WithFolderSeparator(const QString& folder) const;

    bool DeleteFile(const QString& path) const;
    bool FileExists(const QString& path) const;
    bool FolderExists(const QString& folder) const;
    // Makes the folder and any missing parent folders.
    bool CreateFolder(const QString& folder) const;

    // A fresh path in the temporary folder, reserved as an empty file that
    // only its owner can read, so that nobody else can take or read it.
    QString TempFileName(const QString& extension = QStringLiteral("tmp")) const;

    // Writes `data` to `target` through a file beside it that is flushed to
    // the disk and then renamed, so that a crash leaves the old or the new file.
    static bool WriteAtomically(const QString& target, const QByteArray& data);

private:
    friend class SingleInstance<FileTools>;
    FileTools() = default;

    QString dataFolder_;
    Opener opener_;
};

} // namespace keyholm
