#include "services/ErrorReport.h"

#include "services/TraceLog.h"

#include <QtGlobal>

#include <cerrno>
#include <new>
#include <system_error>

namespace keyholm {
namespace {

const QString CrLf = QStringLiteral("\r\n");

ErrorDisplay& Display()
{
    static ErrorDisplay display;
    return display;
}

// "void keyholm::Foo::Bar(int)" becomes "Foo::Bar": the name a user can quote.
QString ShortFunctionName(const char* signature)
{
    QString name = QString::fromLatin1(signature);
    const qsizetype paren = name.indexOf(QLatin1Char('('));
    if (paren > 0)
        name.truncate(paren);
    const qsizetype blank = name.lastIndexOf(QLatin1Char(' '));
    if (blank >= 0)
        name = name.mid(blank + 1);
    if (name.startsWith(QLatin1String("keyholm::")))
        name = name.mid(9);
    return name;
}

QString SystemText(int code)
{
    return QString::fromStdString(std::generic_category().message(code)).trimmed();
}

ErrorRecord At(int number, const QString& description, const SourceLocation& where)
{
    ErrorRecord record;
    record.number = number;
    record.description = description;
    record.source = ShortFunctionName(where.function_name());
    record.line = static_cast<int>(where.line());
    return record;
}

} // namespace

ErrorRecord ErrorRecord::Make(int number, const QString& description, SourceLocation where)
{
    return At(number, description, where);
}

ErrorRecord ErrorRecord::FromException(const std::exception& error, SourceLocation where)
{
    const QString what = QString::fromLocal8Bit(error.what());
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return At(OutOfMemory, what, where);
    if (const auto* systemError = dynamic_cast<const std::system_error*>(&error)) {
        ErrorRecord record = At(FileAccess, what, where);
        const std::error_category& category = systemError->code().category();
        if (category == std::generic_category() || category == std::system_category())
            record.systemCode = systemError->code().value();
        return record;
    }
    return At(InvalidCall, what, where);
}

ErrorRecord ErrorRecord::FromErrno(int errnoValue, const QString& description, SourceLocation where)
{
    if (errnoValue == 0)
        return {};
    ErrorRecord record = At(errnoValue == ENOENT ? FileNotFound : FileAccess,
        description.isEmpty() ? SystemText(errnoValue) : description, where);
    record.systemCode = errnoValue;
    return record;
}

QString ErrorRecord::Details() const
{
    if (number == NoError)
        return {};
    QString details = QStringLiteral("Error #") + QString::number(number);
    if (line != 0)
        details += QStringLiteral(" - Line n° ") + QString::number(line);
    details += QStringLiteral(" by ") + source;
    if (!description.isEmpty())
        details += CrLf + description;
    if (systemCode != 0) {
        const QString text = SystemText(systemCode);
        if (!text.isEmpty())
            details += CrLf + CrLf + QStringLiteral("DLL : ") + text;
        details += CrLf + CrLf + QStringLiteral("DLL : ") + QString::number(systemCode);
    }
    return details;
}

QString WithLineBreaks(const QString& text)
{
    QString result = text;
    result.replace(QStringLiteral("<BR>"), CrLf);
    result.replace(QStringLiteral("<br>"), CrLf);
    return result;
}

void ReportException(const QString& message, const std::exception& error, SourceLocation where)
{
    ReportError(message, {}, true, ErrorRecord::FromException(error, where));
}

void SetErrorDisplay(ErrorDisplay display)
{
    Display() = std::move(display);
}

void ReportError(const QString& message, const QString& context, bool show, const ErrorRecord& error)
{
    try {
        const ErrorDisplay& display = Display();
        if (display.restoreCursor)
            display.restoreCursor();
        const QString text = WithLineBreaks(message);
        const QString details = error.Details();

        QString label = QStringLiteral("## Error - ");
        if (!context.isEmpty())
            label += context + QStringLiteral(" : ");
        label += text;
        TraceLog(
            QString(label).replace(CrLf, QStringLiteral(". ")), QString(details).replace(CrLf, QStringLiteral(". ")));
        // The lines that explain an error must survive a crash right after it.
        FlushTraceLog();

        if (!show)
            return;
        QString title = QStringLiteral("Error message");
        if (!context.isEmpty())
            title += QStringLiteral(" : ") + context;
        const QString boxText = text + CrLf + CrLf + details;
        if (display.showError)
            display.showError(title, boxText);
        else
            qWarning("%s: %s", qUtf8Printable(title), qUtf8Printable(boxText));
    } catch (...) {
        // Reporting never fails the caller.
    }
}

} // namespace keyholm
