#pragma once
// Locale, user and machine facts, and starting another program.

#include "components/Components.h"

#include <QDate>
#include <QLocale>
#include <QString>

namespace keyholm {

class SystemInfo : public SingleInstance<SystemInfo> {
public:
    // Windows drive-type codes; callers treat CdRom as "not writable".
    enum DriveCode { Unknown = 0, NoRoot = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

    // The system's locale, or French where the system has none (C or POSIX),
    // because the program speaks French.
    const QLocale& Locale() const { return locale_; }
    // For tests and for a user who wants another regional setting.
    void SetLocale(const QLocale& locale) { locale_ = Effective(locale); }

    QString CountryText1() const;   // the country's own name
    QString CountryText2() const;   // its English name
    QString LanguageName() const;
    QString LanguageId() const;     // "fr_FR"
    QString CurrencySymbol() const;
    QString DecimalSeparator() const;
    QString ThousandSeparator() const;
    QString DateSeparator() const;
    // Formats that QDate::toString and QDate::fromString both understand;
    // the short one always has a four-digit year, so that it reads back.
    QString ShortDateFormat() const;
    QString LongDateFormat() const;
    // The date in the short format.
    QString ShortDate(const QDate& date) const { return locale_.toString(date, ShortDateFormat()); }
    QString TimeSeparator() const;
    QString TimeFormat() const;

    QString UserName() const;
    QString ComputerName() const;
    QString DocumentsFolder() const;

    // CdRom for a location that cannot be written: a read-only file system or
    // a folder the user may not write; Fixed for a writable one; NoRoot when
    // no part of the path exists.
    DriveCode DriveType(const QString& path) const;

    // Starts the program at the head of the command line with the rest as its arguments.
    bool RunCommand(const QString& commandLine) const;

private:
    friend class SingleInstance<SystemInfo>;
    SystemInfo();
    static QLocale Effective(const QLocale& locale);

    QLocale locale_;
};

} // namespace keyholm
