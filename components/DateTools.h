#pragma once
// Durations, date comparison and the current time as text.

#include "components/Components.h"

#include <QDate>
#include <QElapsedTimer>
#include <QString>

namespace keyholm {

class DateTools : public SingleInstance<DateTools> {
public:
    enum Comparison { Unreadable = -1, Before = 0, Same = 1, After = 2 };

    // How long the application has run (since this instance was made, which
    // happens at start-up), as "1 j 02:03:04" or "02:03:04".
    QString RunDuration() const;
    // How long the machine has been up, in the same form.
    QString SystemUpTime() const;

    // Compares two dates written in the short date format. After (greater
    // than 1) means the first lies after the second; a date that cannot be
    // read gives Unreadable, which never counts as after.
    int CompareDates(const QString& first, const QString& second) const;

    // The current date and time written in the given format, in the
    // program's locale.
    QString NowFormatted(const QString& format) const;

    // Reads a date in the short date format, or in ISO form as a fallback;
    // an invalid QDate when neither fits.
    QDate ReadShortDate(const QString& text) const;

    static QString FormatDuration(qint64 seconds);

private:
    friend class SingleInstance<DateTools>;
    DateTools();

    QElapsedTimer running_;
};

} // namespace keyholm
