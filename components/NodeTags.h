#pragma once
// The texts kept in node tags: fields joined by "]|[", and dates and times.
// Dates are written in one fixed form (ISO 8601, to the second) so that a
// database reads back the same under any regional setting; reading also
// takes the short date format of the system, for files written that way.

#include <QDateTime>
#include <QString>

namespace keyholm {

inline const QString TagSeparator = QStringLiteral("]|[");

// The date and time as a tag text.
QString DateTimeTag(const QDateTime& moment);
// Now, as a tag text.
QString NowTag();
// The moment of a tag text; invalid when the text is not a date.
QDateTime ReadDateTimeTag(const QString& text);
// The day of a tag text; invalid when the text is not a date. Much faster
// than the moment for the tags written as ISO texts, which need no time zone.
QDate ReadDateTag(const QString& text);

// Field `index` (from 0) of a tag; empty when the tag has fewer fields.
QString TagField(const QString& tag, int index);

} // namespace keyholm
