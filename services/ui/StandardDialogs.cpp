// The font, colour and printer choosers.

#include "services/ErrorReport.h"
#include "services/MessagesDatabase.h"
#include "services/TraceLog.h"
#include "components/ui/ColorValue.h"
#include "services/ui/DialogSupport.h"
#include "services/ui/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>

#include <exception>
#include <memory>

namespace keyholm {

using namespace dialogs;

namespace {

std::function<bool(const QString&)>& ChosenPrinterHandler()
{
    static std::function<bool(const QString&)> handler;
    return handler;
}

// The printer chosen last, where a dialog without a printer of the caller's starts.
QString& LastChosenPrinter()
{
    static QString name;
    return name;
}

} // namespace

QString ChooseFont(
    const QString& title, const QString& fontName, const QString& fontSize, bool bold, bool italic, bool underline)
{
    const QString shownTitle = title.isEmpty() ? GetMessage(164) : title;
    QString result;
    try {
        QFont font(fontName);
        bool isNumber = false;
        const double points = fontSize.trimmed().toDouble(&isNumber);
        if (isNumber && points > 0)
            font.setPointSizeF(points);
        font.setBold(bold);
        font.setItalic(italic);
        font.setUnderline(underline);

        QPointer<QFontDialog> dialog = new QFontDialog(QApplication::activeWindow());
        dialog->setObjectName(QStringLiteral("CMDialogOpen"));
        if (QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs))
            dialog->setOption(QFontDialog::DontUseNativeDialog);
        dialog->setWindowTitle(shownTitle);
        dialog->setCurrentFont(font);
        SetDefaultPointer();
        const int code = dialog->exec();
        if (!dialog)
            return {};
        const QFont chosen = dialog->selectedFont();
        delete dialog;
        if (code != QDialog::Accepted)
            return {};
        result = chosen.family();
        if (result.trimmed().isEmpty()) {
            ReportError(GetMessage(193), {}, true);
            return {};
        }
        TraceLog(shownTitle, result);
    } catch (const std::exception& error) {
        ReportException(GetMessage(193), error);
        return {};
    }
    return result;
}

qint32 ChooseColor(qint32 initialColor, const QString& title)
{
    const qint32 noAnswer = initialColor < 0 ? -1 : initialColor;
    try {
        QPointer<QColorDialog> dialog = new QColorDialog(QApplication::activeWindow());
        dialog->setObjectName(QStringLiteral("CMDialogColor"));
        if (QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs))
            dialog->setOption(QColorDialog::DontUseNativeDialog);
        if (!title.trimmed().isEmpty())
            dialog->setWindowTitle(title);
        if (initialColor >= 0)
            dialog->setCurrentColor(ColorFromValue(initialColor));
        SetDefaultPointer();
        const int code = dialog->exec();
        if (!dialog)
            return noAnswer;
        const QColor chosen = dialog->selectedColor();
        delete dialog;
        if (code != QDialog::Accepted)
            return noAnswer;
        if (!chosen.isValid()) {
            ReportError(QStringLiteral("Error on displaying the Color Window"), {}, true);
            return noAnswer;
        }
        const qint32 value = ValueFromColor(chosen);
        // Callers pass no title; the line still needs a label to be written.
        TraceLog(title.trimmed().isEmpty() ? QStringLiteral("Color dialog") : title, QString::number(value));
        return value;
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on displaying the Color Window"), error);
    }
    return noAnswer;
}

PrinterChoice ChoosePrinter(const QString& title, QPrinter* printer)
{
    PrinterChoice choice;
    SetDefaultPointer();
    try {
        std::unique_ptr<QPrinter> ownPrinter;
        if (!printer) {
            ownPrinter = std::make_unique<QPrinter>();
            if (!LastChosenPrinter().isEmpty())
                ownPrinter->setPrinterName(LastChosenPrinter());
            printer = ownPrinter.get();
        }
        TraceLog(QStringLiteral("Previous selected printer"), printer->printerName());

        QPointer<QPrintDialog> dialog = new QPrintDialog(printer, QApplication::activeWindow());
        dialog->setObjectName(QStringLiteral("CMDialogPrint"));
        dialog->setWindowTitle(title.isEmpty() ? GetMessage(224) : title);
        // No page range: the whole text is printed.
        dialog->setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize
            | QAbstractPrintDialog::PrintCollateCopies);
        const int code = dialog->exec();
        delete dialog;
        if (code != QDialog::Accepted) {
            TraceLog(QStringLiteral("Select printer Window is canceling"), QStringLiteral("..."));
            return {};
        }
        SetWaitPointer();

        choice.printerName = printer->printerName();
        const auto& handler = ChosenPrinterHandler();
        if (handler && !handler(choice.printerName))
            TraceLog(QStringLiteral("Unable to set printer choice"), choice.printerName);
        TraceLog(QStringLiteral("Selected printer"), choice.printerName);
        LastChosenPrinter() = choice.printerName;

        choice.copies = printer->copyCount();
        choice.chosen = choice.copies >= 1;
    } catch (const std::exception&) {
        SetDefaultPointer();
        TraceLog(QStringLiteral("Select printer Window is canceling"), QStringLiteral("Error"));
        return {};
    }
    return choice;
}

void SetChosenPrinterHandler(std::function<bool(const QString& printerName)> handler)
{
    ChosenPrinterHandler() = std::move(handler);
}

} // namespace keyholm
