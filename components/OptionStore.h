#pragma once
// The preferences file: sections of "key=value" lines in UTF-8 text that a
// person can read and edit.
//
//     ; Keyholm preferences (keyholm)
//     [Display Keyholm]
//     StateForm=0
//     LeftForm=1500
//
// Lines starting with ";" or "#" are comments. Sections and keys are found
// whatever their letter case and with blanks around them ignored; values keep
// their blanks. In sections, keys and values a backslash starts an escape:
// "\\", "\n", "\r", "\t", "\s" (a blank at either end), "\uHHHH" (another
// control character, or another white space at either end), "\=" (in keys)
// and "\]" (in sections); any other escaped character stands for itself.
//
// Every change is written at once, through a file beside it that is flushed
// and renamed over the old one, so that a crash or a full disk leaves the old
// file or the new one, never a part of it.

#include "components/Components.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace keyholm {

class OptionStore : public SingleInstance<OptionStore> {
public:
    // Opens the file, closing the one open before. A missing file is accepted
    // (the first start): reads give their defaults and the first write makes
    // it. A file that cannot be read as preferences (not UTF-8, a line that is
    // neither a section, a key nor a comment) is renamed to `path` + ".bad"
    // (SetAsidePath()) and the store starts empty. False when the file exists
    // but cannot be read, or a damaged file cannot be set aside. The label and
    // the program name go into the comment at the top of the file.
    bool Open(const QString& path, const QString& label, const QString& programName);
    bool IsOpen() const { return open_; }
    const QString& Path() const { return path_; }
    // Where the last Open put a damaged file; empty when it found none.
    const QString& SetAsidePath() const { return setAsidePath_; }

    // The stored text, or `defaultValue` when the key is absent or the store closed.
    QString GetValue(const QString& section, const QString& key, const QString& defaultValue) const;
    // Stores the value and writes the file. False, with nothing changed in
    // memory or on disk, when the store is closed, the section or key is
    // blank, or the file cannot be written.
    bool SetValue(const QString& section, const QString& key, const QString& value);

    // The file already holds every change; this only forgets it.
    void Close();

    // The file text for the given content, and the content of a file text
    // (nothing when the text is damaged). Public for the tests.
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        std::vector<Entry> entries;
    };
    static QByteArray Format(const std::vector<Section>& sections, const QString& header);
    static std::optional<std::vector<Section>> Parse(const QByteArray& text);

private:
    friend class SingleInstance<OptionStore>;
    OptionStore() = default;

    Section* FindSection(const QString& name);
    const Section* FindSection(const QString& name) const;
    bool Write() const;

    bool open_ = false;
    QString path_;
    QString header_;
    QString setAsidePath_;
    std::vector<Section> sections_;
};

} // namespace keyholm
