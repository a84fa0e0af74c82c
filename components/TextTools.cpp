#include "components/TextTools.h"

#include <QDir>
#include <QRegularExpression>

namespace keyholm {
namespace {
bool IsFolderSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QDir::separator();
}

qsizetype LastFolderSeparator(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (IsFolderSeparator(path.at(i)))
            return i;
    }
    return -1;
}
} // namespace

QString TextTools::BeforeFirst(const QString& text, const QString& separator) const
{
    if (separator.isEmpty())
        return text;
    const qsizetype at = text.indexOf(separator);
    return at < 0 ? text : text.left(at);
}

QString TextTools::AfterFirst(const QString& text, const QString& separator) const
{
    if (separator.isEmpty())
        return {};
    const qsizetype at = text.indexOf(separator);
    return at < 0 ? QString() : text.mid(at + separator.size());
}

QString TextTools::AfterLast(const QString& text, const QString& separator) const
{
    if (separator.isEmpty())
        return {};
    const qsizetype at = text.lastIndexOf(separator);
    return at < 0 ? QString() : text.mid(at + separator.size());
}

QString TextTools::BeforeLast(const QString& text, const QString& separator) const
{
    if (separator.isEmpty())
        return text;
    const qsizetype at = text.lastIndexOf(separator);
    return at < 0 ? text : text.left(at);
}

QString TextTools::FileNamePart(const QString& path) const
{
    return path.mid(LastFolderSeparator(path) + 1);
}

QString TextTools::FolderPart(const QString& path) const
{
    const qsizetype at = LastFolderSeparator(path);
    if (at < 0)
        return {};
    if (at == 0)
        return path.left(1); // the file system's root
    return path.left(at);
}

QString TextTools::CutAtNul(const QString& text) const
{
    const qsizetype at = text.indexOf(QChar(0));
    return at < 0 ? text : text.left(at);
}

QString TextTools::NormalizeKey(const QString& text) const
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return text.trimmed().replace(blanks, QStringLiteral("_"));
}

QString TextTools::FileNameSafe(const QString& text) const
{
    QString safe;
    safe.reserve(text.size());
    for (const QChar c : text) {
        const bool reserved = QStringLiteral("<>:\"/\\|?*").contains(c);
        safe.append(reserved || c.unicode() < 0x20 || c.unicode() == 0x7f ? QLatin1Char('_') : c);
    }
    // Windows drops trailing dots and blanks, which would make two names one.
    while (!safe.isEmpty() && (safe.back() == QLatin1Char('.') || safe.back() == QLatin1Char(' ')))
        safe.chop(1);
    static const QRegularExpression device(QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (device.match(safe).hasMatch())
        safe.insert(safe.indexOf(QLatin1Char('.')) < 0 ? safe.size() : safe.indexOf(QLatin1Char('.')), QLatin1Char('_'));
    return safe;
}

} // namespace keyholm
