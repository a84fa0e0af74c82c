#include "search/Printing.h"

#include "services/ErrorReport.h"
#include "services/MessagesDatabase.h"
#include "services/TraceLog.h"

#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <memory>

namespace keyholm {
namespace {

// The document under way: its printer, the painter that draws its pages,
// and where the next line goes.
struct PrintJob {
    QPrinter* printer = nullptr;
    std::unique_ptr<QPainter> painter;
    QFont font;
    double y = 0;
};

PrintJob& Job()
{
    static PrintJob job;
    return job;
}

std::function<QList<InstalledPrinter>()>& PrinterSource()
{
    static std::function<QList<InstalledPrinter>()> source;
    return source;
}

QList<InstalledPrinter> Installed()
{
    if (PrinterSource())
        return PrinterSource()();
    QList<InstalledPrinter> printers;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        printers.push_back({ info.printerName(), info.makeAndModel() });
    return printers;
}

// Drops the printer in use; a document never ended is abandoned.
void ReleasePrinter()
{
    PrintJob& job = Job();
    if (job.painter && job.painter->isActive()) {
        job.printer->abort();
        job.painter->end();
    }
    job.painter.reset();
    job.printer = nullptr;
    job.y = 0;
}

QString BoolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

QPrinter& CurrentPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

void SetInstalledPrinters(std::function<QList<InstalledPrinter>()> source)
{
    PrinterSource() = std::move(source);
}

bool TestPrinterAccess()
{
    try {
        TraceLog(QStringLiteral("Test Printer access"), QStringLiteral("..."));
        if (!Job().printer)
            Job().printer = &CurrentPrinter();
        return Job().printer != nullptr;
    } catch (const std::exception&) {
        return false;
    }
}

void ListPrinters()
{
    TraceLog(QStringLiteral("Printers List"), QString());
    int number = 0;
    for (const InstalledPrinter& printer : Installed())
        TraceLog(QString::number(++number) + QStringLiteral(" Printer names: ") + printer.name, printer.driver);
}

bool SetPrinter(const QString& name)
{
    try {
        TraceLog(QStringLiteral("Set Printer from system list"), name);
        const QString wanted = name.trimmed().toUpper();
        for (const InstalledPrinter& printer : Installed()) {
            if (printer.name.trimmed().toUpper() != wanted)
                continue;
            TraceLog(QStringLiteral("Set detected printer: ") + printer.name, printer.driver);
            CurrentPrinter().setPrinterName(printer.name);
            return true;
        }
        return false;
    } catch (const std::exception& error) {
        ReportError(QStringLiteral("Error on SetPrinter(") + name + QStringLiteral(")"), {}, true,
            ErrorRecord::FromException(error));
        return false;
    }
}

bool InitPrinter(
    const QString& fontName, const QString& fontSize, int scaleMode, int orientation, int drawMode, int paperSize)
{
    int step = 0;
    try {
        ListPrinters();
        ReleasePrinter();
        PrintJob& job = Job();
        job.printer = &CurrentPrinter();
        TraceLog(QStringLiteral("Init Printer"), job.printer->printerName());
        step = 1;
        if (orientation != 1 && orientation != 2)
            throw std::invalid_argument("unknown orientation");
        job.printer->setPageOrientation(orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
        step = 2;
        {
            QPageSize::PageSizeId size = QPageSize::A4;
            bool known = true;
            switch (paperSize) {
            case 1:
                size = QPageSize::Letter;
                break;
            case 5:
                size = QPageSize::Legal;
                break;
            case 8:
                size = QPageSize::A3;
                break;
            case 9:
                size = QPageSize::A4;
                break;
            case 11:
                size = QPageSize::A5;
                break;
            default:
                known = false;
            }
            if (known && job.printer->setPageSize(QPageSize(size)))
                TraceLog(QStringLiteral("Set printing format"), QString::number(paperSize));
            else
                ReportError(QStringLiteral("## Error on setting paper size") + QStringLiteral(" : ")
                        + QString::number(paperSize),
                    {}, false);
        }
        step = 3;
        bool number = false;
        const double points = fontSize.trimmed().toDouble(&number);
        if (!number || points <= 0)
            throw std::invalid_argument("the font size is not a number");
        job.font = QFont(fontName);
        job.font.setPointSizeF(points);
        if (drawMode > 0)
            TraceLog(QStringLiteral("Set printing Draw Mode"), QString::number(drawMode));
        step = 4;
        return true;
    } catch (const std::exception& error) {
        ReportError(QStringLiteral("InitPrinter(") + QString::number(step) + QStringLiteral(") : ") + GetMessage(420),
            {}, true, ErrorRecord::FromException(error));
        TraceLog(QStringLiteral("InitPrinter(") + QString::number(step) + QStringLiteral(")"), QString());
        TraceLog(QStringLiteral("Scale"), QString::number(scaleMode));
        TraceLog(QStringLiteral("Paper"), QString::number(paperSize));
        TraceLog(QStringLiteral("Orientation"), QString::number(orientation));
        TraceLog(QStringLiteral("Police"), fontName);
        TraceLog(QStringLiteral("Size"), fontSize);
        TraceLog(QStringLiteral("Mode"), QString::number(drawMode));
        ReleasePrinter();
        return false;
    }
}

QStringList WrapLines(const QString& text, int lineLength)
{
    QStringList lines;
    const int length = std::max(1, lineLength);
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalized.replace(u'\r', u'\n');
    for (QString rest : normalized.split(u'\n')) {
        while (rest.size() > length) {
            qsizetype cut = rest.lastIndexOf(u' ', length);
            if (cut <= 0) {
                lines << rest.left(length);
                rest = rest.mid(length);
            } else {
                lines << rest.left(cut);
                rest = rest.mid(cut + 1);
            }
        }
        lines << rest;
    }
    return lines;
}

bool PrintText(const QString& text, int lineLength)
{
    PrintJob& job = Job();
    if (!job.printer)
        return false;
    if (!job.painter) {
        job.painter = std::make_unique<QPainter>();
        if (!job.painter->begin(job.printer))
            return false;
        job.painter->setFont(job.font);
        job.y = 0;
    }
    QPainter& painter = *job.painter;
    const QRectF page = job.printer->pageRect(QPrinter::DevicePixel);
    const QFontMetricsF metrics(job.font, job.printer);
    // A line too wide for the page at this font goes on over further lines.
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString& line : WrapLines(text, lineLength)) {
        const QRectF bounds = painter.boundingRect(QRectF(0, 0, page.width(), 1e9), line, option);
        const double height = std::max(bounds.height(), metrics.height());
        if (job.y > 0 && job.y + height > page.height()) {
            if (!job.printer->newPage())
                return false;
            job.y = 0;
        }
        painter.drawText(QRectF(0, job.y, page.width(), height), line, option);
        job.y += height;
    }
    return true;
}

void EndPrinting(bool withFoot, bool withDate, int code)
{
    try {
        if (TestPrinterAccess()) {
            TraceLog(QStringLiteral("End Printer"), QStringLiteral("..."));
            PrintJob& job = Job();
            if (job.painter && job.painter->isActive())
                job.painter->end();
            job.painter.reset();
        }
        TraceLog(QStringLiteral("End printer access - Foot Date Format: ") + BoolText(withFoot),
            BoolText(withDate) + QStringLiteral(" - ") + QString::number(code));
        ReleasePrinter();
    } catch (const std::exception& error) {
        ReleasePrinter();
        ReportError(QStringLiteral("Error on close printing process: ") + QString::number(code), {}, true,
            ErrorRecord::FromException(error));
    }
}

} // namespace keyholm
