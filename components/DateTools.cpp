#include "components/DateTools.h"

#include "components/SystemInfo.h"

#include <QDate>
#include <QDateTime>
#include <QFile>

namespace keyholm {

DateTools::DateTools()
{
    running_.start();
}

QString DateTools::FormatDuration(qint64 seconds)
{
    if (seconds < 0)
        seconds = 0;
    const qint64 days = seconds / 86400;
    const QString clock = QStringLiteral("%1:%2:%3")
                              .arg((seconds / 3600) % 24, 2, 10, QLatin1Char('0'))
                              .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
                              .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return days > 0 ? QStringLiteral("%1 j %2").arg(days).arg(clock) : clock;
}

QString DateTools::RunDuration() const
{
    return FormatDuration(running_.elapsed() / 1000);
}

QString DateTools::SystemUpTime() const
{
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (uptime.open(QIODevice::ReadOnly)) {
        bool ok = false;
        const double seconds = QString::fromLatin1(uptime.readLine()).section(QLatin1Char(' '), 0, 0).toDouble(&ok);
        if (ok)
            return FormatDuration(static_cast<qint64>(seconds));
    }
    return RunDuration(); // no uptime to read: at least as long as we have run
}

QDate DateTools::ReadShortDate(const QString& text) const
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    QDate date = QDate::fromString(trimmed, SystemInfo::Instance().ShortDateFormat());
    if (!date.isValid())
        date = QDate::fromString(trimmed, Qt::ISODate);
    return date;
}

int DateTools::CompareDates(const QString& first, const QString& second) const
{
    const QDate a = ReadShortDate(first);
    const QDate b = ReadShortDate(second);
    if (!a.isValid() || !b.isValid())
        return Unreadable;
    if (a > b)
        return After;
    return a == b ? Same : Before;
}

QString DateTools::NowFormatted(const QString& format) const
{
    return SystemInfo::Instance().Locale().toString(QDateTime::currentDateTime(), format);
}

} // namespace keyholm
