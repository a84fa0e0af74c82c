#pragma once
// Printing plain text straight to a printer (the clipboard viewer): the
// printer in use is taken by InitPrinter, receives text pages from
// PrintText, and is released by EndPrinting, which sends the document.
// Every step writes its trace line.

#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;

namespace keyholm {

// The printer that printing starts from, as the printer choice and
// SetPrinter leave it (the system's default one at first).
QPrinter& CurrentPrinter();

// True when a printer is in use, taking the current one when none is.
bool TestPrinterAccess();
// Writes the installed printers to the trace log.
void ListPrinters();
// Makes the installed printer of that name (trimmed, letter case aside; the
// first that matches) the current one. False when none matches.
bool SetPrinter(const QString& name);
// Takes the current printer and sets it up: the font, its size (a number as
// text), the scale mode (platform code, kept for the trace), the
// orientation (1 portrait, 2 landscape), the draw mode (traced when above 0)
// and the paper size (1 Letter, 5 Legal, 8 A3, 9 A4, 11 A5; another code is
// traced as an error and printing goes on). False, the printer released,
// when it cannot be set up.
bool InitPrinter(
    const QString& fontName, const QString& fontSize, int scaleMode, int orientation, int drawMode, int paperSize);
// Prints the text on the printer in use, lines wrapped at `lineLength`
// characters (at blanks, a longer word broken) and at the page's width,
// pages broken when full. False when no printer is in use or it failed.
bool PrintText(const QString& text, int lineLength = 75);
// Ends the document, which sends it to the printer, and releases the printer.
void EndPrinting(bool withFoot, bool withDate, int code);

// The lines of `text` wrapped at `lineLength` characters: broken at the last
// blank, or within a word longer than a line.
QStringList WrapLines(const QString& text, int lineLength);

// The installed printers, their names and drivers; the tests give their own.
struct InstalledPrinter {
    QString name;
    QString driver;
};
void SetInstalledPrinters(std::function<QList<InstalledPrinter>()> source);

} // namespace keyholm
