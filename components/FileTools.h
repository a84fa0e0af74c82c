#pragma once
// Files and folders: existence, copies, scratch names, and opening documents.

#include "components/Components.h"

#include <QFileDevice>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace keyholm {

class FileTools : public SingleInstance<FileTools> {
public:
    // The mode of everything that may hold the user's data: 0600.
    static constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    // What a write does to the mode of a target that is already there.
    enum class ExistingMode {
        Reset, // it gets the permissions given, like a new file
        Keep,  // it keeps its own (the user may have shared the file on purpose)
    };

    // Where a stored file that is no longer at its path is looked for: the
    // folder set here (the application's data folder), under its file name.
    void SetDataFolder(const QString& folder) { dataFolder_ = folder; }
    const QString& DataFolder() const { return dataFolder_; }

    // The stored path when it leads to a file; otherwise the data folder's
    // file of the same name when there is one; otherwise the stored path.
    QString RelocatePath(const QString& storedPath) const;

    // The whole text of a file (its encoding detected); nothing when it
    // cannot be read.
    std::optional<QString> LoadTextFile(const QString& path) const;
    // Writes the text as UTF-8, whole or not at all.
    [[nodiscard]] bool SaveTextFile(const QString& path, const QString& text) const;

    // Copies `path` to a file of the same base name with `newExtension` in
    // place of its own (".bak", ".old"), in `targetFolder`, or beside the
    // file when that is empty. An older copy of that name is replaced; the
    // copy is the user's alone (0600).
    [[nodiscard]] bool CopyWithExtension(const QString& path, const QString& newExtension, const QString& targetFolder) const;
    // The target afterwards holds a whole copy of the source, or is unchanged.
    // It has `permissions` from the moment it appears under its name.
    [[nodiscard]] bool CopyFile(const QString& source, const QString& target, QFileDevice::Permissions permissions = OwnerOnly) const;
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
    // Makes the folder and any missing parent folders, each for its owner
    // alone (0700) whatever the umask.
    bool CreateFolder(const QString& folder) const;
    // Takes the group's and others' rights off an existing folder (0700);
    // true when it is the owner's alone afterwards.
    bool RestrictFolder(const QString& folder) const;

    // A fresh path in the temporary folder, reserved as an empty file that
    // only its owner can read, so that nobody else can take or read it.
    QString TempFileName(const QString& extension = QStringLiteral("tmp")) const;

    // Writes `data` to `target` through a file beside it that is flushed to
    // the disk and then renamed, so that a crash leaves the old or the new file.
    // The file has its mode before it is renamed, so that no other user can
    // open it in between: `permissions` for a new target, and for an existing
    // one as `existing` says.
    [[nodiscard]] static bool WriteAtomically(const QString& target, const QByteArray& data,
        QFileDevice::Permissions permissions = OwnerOnly, ExistingMode existing = ExistingMode::Reset);
    // The same for what `write` puts into the device it is given, so that a
    // long text need not be held whole; a false answer from it leaves the
    // target as it was.
    using DeviceWriter = std::function<bool(QIODevice&)>;
    [[nodiscard]] static bool WriteAtomically(const QString& target, const DeviceWriter& write,
        QFileDevice::Permissions permissions = OwnerOnly, ExistingMode existing = ExistingMode::Reset);

private:
    friend class SingleInstance<FileTools>;
    FileTools() = default;

    QString dataFolder_;
    Opener opener_;
};

} // namespace keyholm
