#pragma once
// Cutting texts at separators, and the small text clean-ups for file names.

#include "components/Components.h"

#include <QString>

namespace keyholm {

class TextTools : public SingleInstance<TextTools> {
public:
    // The text before the first separator; the whole text when it has none.
    QString BeforeFirst(const QString& text, const QString& separator) const;
    // The text after the first separator; empty when it has none.
    QString AfterFirst(const QString& text, const QString& separator) const;
    // The text after the last separator; empty when it has none, so that a
    // name without "." has an extension that matches no real one.
    QString AfterLast(const QString& text, const QString& separator) const;
    // The text before the last separator; the whole text when it has none.
    QString BeforeLast(const QString& text, const QString& separator) const;

    // The file name with its extension, without folder.
    QString FileNamePart(const QString& path) const;
    // The folder of a path, without a trailing separator; empty for a bare name.
    QString FolderPart(const QString& path) const;
    // The text up to the first NUL character.
    QString CutAtNul(const QString& text) const;
    // The label trimmed, with every run of blanks folded into one "_".
    QString NormalizeKey(const QString& text) const;
    // A form of the text that can stand inside a file name on Linux, macOS
    // and Windows: reserved and control characters become "_", trailing dots
    // and blanks go, and reserved device names get a "_" appended.
    QString FileNameSafe(const QString& text) const;

private:
    friend class SingleInstance<TextTools>;
    TextTools() = default;
};

} // namespace keyholm
