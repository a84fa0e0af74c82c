#pragma once
// The error record that a procedure's catch block hands to ReportError, and
// the reporter itself (trace line always, message box when asked).
//
// A catch block makes the record from what it caught:
//     } catch (const std::exception& e) {
//         ReportError("Error on checking the data tree", {}, true, ErrorRecord::FromException(e));
//     }
// and a failed system call from errno, right after the call:
//     if (::rename(from, to) != 0)
//         ReportError("Error on renaming", {}, true, ErrorRecord::FromErrno(errno, "rename " + to));
// Source and line are filled in from the place where the record is made.

#include <QString>

#include <exception>
#include <functional>
#include <version>

#if defined(__cpp_lib_source_location)
#include <source_location>
#endif

namespace keyholm {

#if defined(__cpp_lib_source_location)
using SourceLocation = std::source_location;
#else
// Compilers without std::source_location (clang before 15 over libstdc++,
// the fuzzing builds): the same facts from the compiler's own built-ins.
struct SourceLocation {
    static constexpr SourceLocation current(const char* file = __builtin_FILE(), unsigned line = __builtin_LINE(),
        const char* function = __builtin_FUNCTION()) noexcept
    {
        return { file, line, function };
    }
    constexpr const char* file_name() const noexcept { return file_; }
    constexpr unsigned line() const noexcept { return line_; }
    constexpr const char* function_name() const noexcept { return function_; }

    const char* file_ = "";
    unsigned line_ = 0;
    const char* function_ = "";
};
#endif

struct ErrorRecord {
    // Error numbers of our own, in the range the user may know from older
    // versions; 0 means "no error".
    enum Number { NoError = 0, InvalidCall = 5, OutOfMemory = 7, FileNotFound = 53, FileAccess = 75 };

    int number = NoError;
    QString description;
    QString source;   // the procedure where the error arose
    int line = 0;     // 0 when unknown
    int systemCode = 0; // errno of the failed system call, 0 when none

    bool IsError() const { return number != NoError; }

    static ErrorRecord FromException(const std::exception& error,
                                     SourceLocation where = SourceLocation::current());
    // errnoValue is the errno of the failed call (0 makes no record);
    // description says what failed.
    static ErrorRecord FromErrno(int errnoValue, const QString& description = {},
                                 SourceLocation where = SourceLocation::current());
    static ErrorRecord Make(int number, const QString& description,
                            SourceLocation where = SourceLocation::current());

    // The text of the details part of a report (empty for no error):
    // "Error #n - Line n° l by source", the description, and the system text
    // and code of systemCode ("DLL : ...").
    QString Details() const;
};

// Writes the failure to the trace log (label "## Error - " [context " : "]
// message, detail the record's details) and, when show is true, shows it in
// an error box with the details. "<BR>" and "<br>" in the message are line
// breaks. Never fails the caller.
void ReportError(const QString& message, const QString& context = {}, bool show = true,
                 const ErrorRecord& error = {});

// The report of a procedure's failure caught as an exception: its message
// in an error box, with the exception's details and where it was caught.
void ReportException(
    const QString& message, const std::exception& error, SourceLocation where = SourceLocation::current());

// How a report reaches the screen. services/ui installs the message box
// (InstallMessageBoxes); without a display, reports are only traced (and a
// shown one goes to the Qt warning output as well).
struct ErrorDisplay {
    // Called for every report, shown or not (the mouse pointer goes back to the arrow).
    std::function<void()> restoreCursor;
    // Called for shown reports with the box title and text (lines ended by CR LF).
    std::function<void(const QString& title, const QString& text)> showError;
};
void SetErrorDisplay(ErrorDisplay display);

// Turns "<BR>" and "<br>" into CR LF.
QString WithLineBreaks(const QString& text);

} // namespace keyholm
