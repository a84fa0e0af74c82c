#include "components/SystemInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QSysInfo>

#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace keyholm {

SystemInfo::SystemInfo()
    : locale_(Effective(QLocale::system()))
{
}

QLocale SystemInfo::Effective(const QLocale& locale)
{
    if (locale.language() == QLocale::C || locale.name() == QLatin1String("C"))
        return QLocale(QLocale::French, QLocale::France);
    return locale;
}

QString SystemInfo::CountryText1() const { return locale_.nativeTerritoryName(); }
QString SystemInfo::CountryText2() const { return QLocale::territoryToString(locale_.territory()); }
QString SystemInfo::LanguageName() const { return locale_.nativeLanguageName(); }
QString SystemInfo::LanguageId() const { return locale_.name(); }
QString SystemInfo::CurrencySymbol() const { return locale_.currencySymbol(); }
QString SystemInfo::DecimalSeparator() const { return locale_.decimalPoint(); }
QString SystemInfo::ThousandSeparator() const { return locale_.groupSeparator(); }

QString SystemInfo::DateSeparator() const
{
    for (const QChar c : ShortDateFormat()) {
        if (!c.isLetter())
            return QString(c);
    }
    return QStringLiteral("/");
}

QString SystemInfo::ShortDateFormat() const
{
    QString format = locale_.dateFormat(QLocale::ShortFormat);
    // A two-digit year would read back as the 1900s.
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

QString SystemInfo::LongDateFormat() const { return locale_.dateFormat(QLocale::LongFormat); }

QString SystemInfo::TimeSeparator() const
{
    for (const QChar c : TimeFormat()) {
        if (!c.isLetter())
            return QString(c);
    }
    return QStringLiteral(":");
}

QString SystemInfo::TimeFormat() const { return locale_.timeFormat(QLocale::LongFormat); }

QString SystemInfo::UserName() const
{
    if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

QString SystemInfo::ComputerName() const { return QSysInfo::machineHostName(); }

QString SystemInfo::DocumentsFolder() const
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

SystemInfo::DriveCode SystemInfo::DriveType(const QString& path) const
{
    if (path.isEmpty())
        return NoRoot;
    // The nearest folder that exists: a file still to be written counts as
    // its folder.
    QFileInfo info(QDir::cleanPath(QDir(path).absolutePath()));
    while (!info.exists()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath())
            return NoRoot;
        info = QFileInfo(parent);
    }
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    const QByteArray native = QFile::encodeName(folder);
    struct statvfs fs {};
    if (::statvfs(native.constData(), &fs) == 0 && (fs.f_flag & ST_RDONLY))
        return CdRom;
    if (::access(native.constData(), W_OK) != 0)
        return CdRom;
    // The super-user may write anywhere; a folder with no write bit at all is
    // still meant to be read-only.
    struct stat st {};
    if (::geteuid() == 0 && ::stat(native.constData(), &st) == 0 && (st.st_mode & 0222) == 0)
        return CdRom;
    return Fixed;
}

bool SystemInfo::RunCommand(const QString& commandLine) const
{
    QStringList parts = QProcess::splitCommand(commandLine);
    if (parts.isEmpty())
        return false;
    const QString program = parts.takeFirst();
    return QProcess::startDetached(program, parts);
}

} // namespace keyholm
