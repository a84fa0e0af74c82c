#include "components/NodeTags.h"

#include "components/SystemInfo.h"

namespace keyholm {

QString DateTimeTag(const QDateTime& moment)
{
    return moment.toString(Qt::ISODate);
}

QString NowTag()
{
    return DateTimeTag(QDateTime::currentDateTime());
}

QDateTime ReadDateTimeTag(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    QDateTime moment = QDateTime::fromString(trimmed, Qt::ISODate);
    if (moment.isValid())
        return moment;
    const QDate isoDate = QDate::fromString(trimmed, Qt::ISODate);
    if (isoDate.isValid())
        return QDateTime(isoDate, QTime(0, 0));
    const SystemInfo& system = SystemInfo::Instance();
    const QLocale& locale = system.Locale();
    // Whole strings: a list of string builders would keep references to
    // formats gone before the loop runs.
    const QString shortFormat = system.ShortDateFormat();
    const QString formats[] = { shortFormat + QStringLiteral(" HH:mm:ss"), shortFormat + QStringLiteral(" HH:mm") };
    for (const QString& format : formats) {
        moment = locale.toDateTime(trimmed, format);
        if (moment.isValid())
            return moment;
    }
    const QDate date = locale.toDate(trimmed, system.ShortDateFormat());
    return date.isValid() ? QDateTime(date, QTime(0, 0)) : QDateTime();
}

QDate ReadDateTag(const QString& text)
{
    const QStringView trimmed = QStringView(text).trimmed();
    // "yyyy-MM-dd" alone or followed by its time.
    if (trimmed.size() >= 10 && trimmed[4] == u'-' && trimmed[7] == u'-'
        && (trimmed.size() == 10 || trimmed[10] == u'T' || trimmed[10] == u' ')) {
        const QDate day = QDate::fromString(trimmed.first(10), Qt::ISODate);
        if (day.isValid())
            return day;
    }
    return ReadDateTimeTag(text).date();
}

QString TagField(const QString& tag, int index)
{
    if (index < 0)
        return {};
    const QStringList fields = tag.split(TagSeparator);
    return index < fields.size() ? fields[index] : QString();
}

} // namespace keyholm
