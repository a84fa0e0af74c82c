#pragma once
// The standard questions and choosers: a line of text, a choice among two or
// three options, a file to create, open or save, a font, a colour, a printer
// and an icon. Each shows a modal window, writes what happened to the trace
// log and returns the answer. Cancelling is never an error: it gives an empty
// or negative answer.
//
// The file, font, colour and print dialogs are Qt's. With the application
// attribute Qt::AA_DontUseNativeDialogs they are Qt's own widgets instead of
// the platform's (tests set it, so that the dialogs can be answered there);
// they carry the object names "CMDialogOpen" (file and font),
// "CMDialogColor" and "CMDialogPrint".

#include "services/ui/Messages.h"

#include <QFlags>
#include <QString>
#include <QStringList>

#include <functional>

class QFileDialog;
class QPrinter;

namespace keyholm {

class ImageListTreeView;

// ---- Text and choice ------------------------------------------------------

enum class InputFlag {
    // Oui is enabled only while the text, trimmed, is not empty.
    RequireText = 0x1,
    // The text is echoed as "*" and never written to the trace log.
    Secret = 0x2,
};
Q_DECLARE_FLAGS(InputFlags, InputFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(InputFlags)

// Asks for one line of text in Lib_SaisieDlg, preset with `text` (selected).
// Answer::Yes when confirmed with Oui, Answer::No otherwise. `text` receives
// what the box holds when the window closes, also after Annuler.
// "<BR>"/"<br>" in the prompt are line breaks. maxLength 0 means no limit; a
// title replaces the caption (message 175).
Answer AskInput(
    const QString& prompt, QString& text, InputFlags flags = {}, int maxLength = 0, const QString& title = {});

// Asks for one of two or three options in Lib_SelectOpt (an empty option3
// leaves two). The index 0 to 2 of the chosen option, or -1 when cancelled.
// initialOption is selected at first; one that names no shown option selects
// the first. An empty title keeps the caption of message 176.
int AskChoice(const QString& prompt, const QString& option1, const QString& option2, int initialOption = 0,
    const QString& option3 = {}, bool boldPrompt = false, const QString& title = {});

// ---- Files ----------------------------------------------------------------

enum class FileDialogFlag {
    // Only an existing file can be chosen.
    FileMustExist = 0x1,
    // Choosing an existing file asks whether to replace it.
    ConfirmOverwrite = 0x2,
    // No "open as read-only" box: Qt's dialog never has one, so this always holds.
    HideReadOnly = 0x4,
};
Q_DECLARE_FLAGS(FileDialogFlags, FileDialogFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(FileDialogFlags)

// The Qt name filters of a filter text in the Windows form, pairs of a
// description and patterns joined by "|", patterns separated by ";":
//     "Keyholm (*.khm)|*.khm|Tous les fichiers (*.*)|*.*"
//  -> {"Keyholm (*.khm)", "Tous les fichiers (*)"}
// "*.*" becomes "*", which is what matches every file here.
QStringList QtNameFilters(const QString& windowsFilter);

// Sets up a file dialog: title, filter, default extension (".khm", "khm";
// ".*" or empty for none) and flags.
void PrepareFileDialog(QFileDialog& dialog, const QString& title, const QString& windowsFilter,
    const QString& defaultExtension, FileDialogFlags flags);

// A name for a new file (save-style dialog, confirming an overwrite), preset
// with fileName when given. The chosen path, trimmed, or empty.
QString ChooseNewFile(
    const QString& fileName, const QString& title, const QString& filter, const QString& defaultExtension);

// A file to open. An existing folder as path opens in it with no file name;
// a path in an existing folder opens there with the path preset; otherwise the
// path is preset only when a file exists there. An empty title is message
// 198, an empty filter messages 200 and 207, an empty extension ".txt". The
// chosen path, trimmed, or empty.
QString ChooseFileToOpen(const QString& path, const QString& title = {}, const QString& filter = {},
    const QString& defaultExtension = {},
    FileDialogFlags flags = FileDialogFlag::FileMustExist | FileDialogFlag::HideReadOnly);

// A file to save to, confirming an overwrite; the path is preset when its
// folder exists. The chosen path, trimmed, or empty.
QString ChooseFileToSave(
    const QString& path, const QString& title, const QString& filter, const QString& defaultExtension);

// ---- Font, colour, printer ------------------------------------------------

// A font family, starting from the given font (size in points as text, "8").
// An empty title is message 164. Empty when cancelled or failed; a failure is
// reported with message 193.
QString ChooseFont(const QString& title, const QString& fontName, const QString& fontSize = QStringLiteral("8"),
    bool bold = false, bool italic = false, bool underline = false);

// A colour, as a stored value (0x00BBGGRR, see ColorValue.h), starting from
// initialColor unless that is -1. On cancel or failure: initialColor, or -1
// when that is negative.
qint32 ChooseColor(qint32 initialColor = -1, const QString& title = {});

struct PrinterChoice {
    bool chosen = false; // a printer was chosen with at least one copy
    int copies = 0;
    QString printerName; // empty when printing to a file
};

// Lets the user choose a printer and the number of copies (no page range).
// The dialog works on `printer` when given (which then keeps every setting
// made there, printing to a file included), else on a printer of its own that
// starts from the previous choice. An empty title is message 224.
PrinterChoice ChoosePrinter(const QString& title = {}, QPrinter* printer = nullptr);

// What makes the chosen printer the one used for printing; the printing
// module installs it. It answers false when that printer cannot be taken.
// Without one, the choice is only handed back.
void SetChosenPrinterHandler(std::function<bool(const QString& printerName)> handler);

// ---- Icon -----------------------------------------------------------------

// Lets the user pick an icon of the image list in Lib_SelectIcon, each shown
// with its label. A keyFilter keeps only the labelled images whose key
// contains it (case-sensitive; "Dir": the category icons). The icon
// whose key or label equals currentKey (ignoring case) is preselected. The
// chosen icon's key when returnKey, else its label; empty when cancelled or
// when the list holds no image. An empty title keeps the window's caption.
QString ChooseIcon(const QString& prompt, const ImageListTreeView& images, const QString& title, bool boldPrompt,
    const QString& currentKey, const QString& keyFilter, bool returnKey);

} // namespace keyholm
