#include "search/PrintPreview.h"

#include "components/FileTools.h"
#include "components/SystemInfo.h"
#include "search/Grid.h"
#include "services/Environment.h"
#include "services/ErrorReport.h"
#include "services/MessagesDatabase.h"
#include "services/TraceLog.h"
#include "services/ui/DialogSupport.h"
#include "services/ui/Dialogs.h"
#include "services/ui/Messages.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <exception>

namespace keyholm {
namespace {

constexpr double ScreenDpi = 96.0;

// The tool bar's texts, French then English.
struct BarText {
    const char* french;
    const char* english;
};
constexpr BarText PrintText { "Imprimer...", "Print..." };
constexpr BarText PdfText { "Enregistrer en PDF...", "Save as PDF..." };
constexpr BarText ZoomInText { "Zoom avant", "Zoom in" };
constexpr BarText ZoomOutText { "Zoom arrière", "Zoom out" };
constexpr BarText FitWidthText { "Pleine largeur", "Fit width" };
constexpr BarText PreviousText { "Page précédente", "Previous page" };
constexpr BarText NextText { "Page suivante", "Next page" };
constexpr BarText PortraitText { "Portrait", "Portrait" };
constexpr BarText LandscapeText { "Paysage", "Landscape" };
constexpr BarText CloseText { "Fermer", "Close" };
constexpr BarText PageText { "Page %1 / %2", "Page %1 / %2" };

QString Text(const BarText& text, bool english)
{
    return QString::fromUtf8(english ? text.english : text.french);
}

// The height the text takes in a column of that width; `advance` is its
// width when it stands on one line, -1 when it wraps.
double CellHeight(QPainter& painter, const QFontMetricsF& metrics, const QString& text, double width, float& advance)
{
    advance = -1;
    if (!text.contains(u'\n')) {
        const double oneLine = metrics.horizontalAdvance(text);
        if (oneLine <= width) {
            advance = float(oneLine);
            return metrics.height();
        }
    }
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return std::max(metrics.height(), painter.boundingRect(QRectF(0, 0, width, 1e9), text, option).height());
}

void DrawCell(QPainter& painter, const QFontMetricsF& metrics, const QRectF& box, const QString& text,
    Qt::Alignment alignment, float advance)
{
    const Qt::Alignment horizontal
        = alignment & Qt::AlignHorizontal_Mask ? alignment & Qt::AlignHorizontal_Mask : Qt::Alignment(Qt::AlignLeft);
    if (advance >= 0) {
        // One line: drawn at its place, without a layout of its own.
        double x = box.left();
        if (horizontal & Qt::AlignHCenter)
            x += (box.width() - advance) / 2;
        else if (horizontal & Qt::AlignRight)
            x = box.right() - advance;
        painter.drawText(QPointF(x, box.top() + metrics.ascent()), text);
        return;
    }
    QTextOption option(horizontal | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.drawText(box, text, option);
}

} // namespace

// ---- The pages of a grid --------------------------------------------------

int PaintGrid(QPrinter& printer, const PrintedGrid& grid, const QFont& font, bool pageNumbers)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const QRectF page(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
    QFont bold = font;
    bold.setBold(true);
    QFont titleFont = bold;
    titleFont.setPointSizeF(font.pointSizeF() * 1.4);
    const QFontMetricsF metrics(font, &printer);
    const QFontMetricsF boldMetrics(bold, &printer);
    const double padX = metrics.height() * 0.3;
    const double padY = metrics.height() * 0.12;

    // Column widths from the list's, scaled down to the page when wider.
    const int columns = int(grid.headers.size());
    std::vector<double> widths(std::size_t(columns), 0.0);
    double total = 0;
    for (int c = 0; c < columns; ++c) {
        const double screen = c < int(grid.widths.size()) ? grid.widths[std::size_t(c)] : 100.0;
        widths[std::size_t(c)] = std::max(1.0, screen) * printer.resolution() / ScreenDpi;
        total += widths[std::size_t(c)];
    }
    if (total > page.width()) {
        for (double& width : widths)
            width *= page.width() / total;
        total = page.width();
    }
    auto alignment
        = [&](int c) { return c < int(grid.alignments.size()) ? grid.alignments[std::size_t(c)] : Qt::AlignLeft; };
    // Each cell is measured once: its one-line width is kept for drawing.
    auto rowHeight = [&](const QStringList& cells, const QFontMetricsF& m, float* advances) {
        double height = m.height();
        for (int c = 0; c < columns; ++c)
            height = std::max(
                height, CellHeight(painter, m, cells.value(c), widths[std::size_t(c)] - 2 * padX, advances[c]));
        return height + 2 * padY;
    };

    QTextOption wrap;
    wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.setFont(titleFont);
    double top = painter.boundingRect(QRectF(0, 0, page.width(), 1e9), grid.title, wrap).height();
    painter.setFont(font);
    if (!grid.label.isEmpty())
        top += painter.boundingRect(QRectF(0, 0, page.width(), 1e9), grid.label, wrap).height();
    top += metrics.height() * 0.5;
    painter.setFont(bold);
    std::vector<float> headerAdvances(static_cast<std::size_t>(columns));
    const double headerHeight = rowHeight(grid.headers, boldMetrics, headerAdvances.data());
    painter.setFont(font);
    const double footerHeight = metrics.height() * 1.6;
    const double body = std::max(metrics.height(), page.height() - top - headerHeight - footerHeight);

    // The rows of each page: a row goes whole to the next page when it
    // does not fit.
    std::vector<double> heights;
    heights.reserve(grid.rows.size());
    std::vector<float> advances(grid.rows.size() * std::size_t(columns));
    std::vector<std::size_t> pageStarts { 0 };
    double used = 0;
    for (std::size_t r = 0; r < grid.rows.size(); ++r) {
        const double height = rowHeight(grid.rows[r], metrics, advances.data() + r * std::size_t(columns));
        heights.push_back(height);
        if (used > 0 && used + height > body) {
            pageStarts.push_back(r);
            used = 0;
        }
        used += height;
    }
    const int pages = int(pageStarts.size());
    const QString date = SystemInfo::Instance().ShortDate(QDate::currentDate());
    const QPen line(QColor(96, 96, 96), std::max(1.0, printer.resolution() / 150.0));

    for (int p = 0; p < pages; ++p) {
        if (p > 0 && !printer.newPage())
            return 0;
        painter.setFont(titleFont);
        painter.drawText(QRectF(0, 0, page.width(), top), grid.title, wrap);
        if (!grid.label.isEmpty()) {
            const double titleHeight = painter.boundingRect(QRectF(0, 0, page.width(), 1e9), grid.title, wrap).height();
            painter.setFont(font);
            painter.drawText(QRectF(0, titleHeight, page.width(), top - titleHeight), grid.label, wrap);
        }
        // The header row, on every page.
        double y = top;
        painter.setFont(bold);
        painter.fillRect(QRectF(0, y, total, headerHeight), QColor(230, 230, 230));
        double x = 0;
        for (int c = 0; c < columns; ++c) {
            const double width = widths[std::size_t(c)];
            DrawCell(painter, boldMetrics, QRectF(x + padX, y + padY, width - 2 * padX, headerHeight - 2 * padY),
                grid.headers[c], alignment(c), headerAdvances[std::size_t(c)]);
            x += width;
        }
        y += headerHeight;
        painter.setPen(line);
        painter.drawLine(QPointF(0, y), QPointF(total, y));
        painter.setPen(Qt::black);
        painter.setFont(font);
        const std::size_t end = p + 1 < pages ? pageStarts[std::size_t(p) + 1] : grid.rows.size();
        for (std::size_t r = pageStarts[std::size_t(p)]; r < end; ++r) {
            const double height = heights[r];
            x = 0;
            for (int c = 0; c < columns; ++c) {
                const double width = widths[std::size_t(c)];
                DrawCell(painter, metrics, QRectF(x + padX, y + padY, width - 2 * padX, height - 2 * padY),
                    grid.rows[r].value(c), alignment(c), advances[r * std::size_t(columns) + std::size_t(c)]);
                x += width;
            }
            y += height;
            painter.setPen(line);
            painter.drawLine(QPointF(0, y), QPointF(total, y));
            painter.setPen(Qt::black);
        }
        const QRectF foot(0, page.height() - metrics.height(), page.width(), metrics.height());
        painter.drawText(foot, int(Qt::AlignLeft | Qt::TextSingleLine), date);
        if (pageNumbers)
            painter.drawText(
                foot, int(Qt::AlignRight | Qt::TextSingleLine), QStringLiteral("Page %1 / %2").arg(p + 1).arg(pages));
    }
    painter.end();
    return pages;
}

// ---- Lib_PreviewForm ------------------------------------------------------

PreviewForm::PreviewForm(QWidget* parent)
    : QDialog(parent)
    , printer_(QPrinter::HighResolution)
{
    TraceLog(QStringLiteral("Loading preview form"), QString());
    setObjectName(QStringLiteral("Lib_PreviewForm"));
    setWindowTitle(QStringLiteral("Lib Preview Form"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    PreviewBar = new QToolBar(this);
    PreviewBar->setObjectName(QStringLiteral("PreviewBar"));
    MyPrintPreview = new QPrintPreviewWidget(&printer_, this);
    MyPrintPreview->setObjectName(QStringLiteral("MyPrintPreview"));
    layout->addWidget(PreviewBar);
    layout->addWidget(MyPrintPreview, 1);

    auto add = [&](const char* name, const QKeySequence& keys, auto handler) {
        QAction* action = PreviewBar->addAction(QString());
        action->setObjectName(QLatin1String(name));
        if (!keys.isEmpty())
            action->setShortcut(keys);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    PrintAction = add("PrintAction", QKeySequence::Print, [this] { PrintPages(); });
    PdfAction = add("PdfAction", QKeySequence(), [this] { SavePdf_Click(); });
    PreviewBar->addSeparator();
    ZoomInAction = add("ZoomInAction", QKeySequence::ZoomIn, [this] { MyPrintPreview->zoomIn(); });
    ZoomOutAction = add("ZoomOutAction", QKeySequence::ZoomOut, [this] { MyPrintPreview->zoomOut(); });
    FitWidthAction = add("FitWidthAction", QKeySequence(), [this] { MyPrintPreview->fitToWidth(); });
    PreviewBar->addSeparator();
    PreviousAction = add("PreviousAction", QKeySequence(Qt::Key_PageUp),
        [this] { MyPrintPreview->setCurrentPage(MyPrintPreview->currentPage() - 1); });
    PageLabel = new QLabel(this);
    PageLabel->setObjectName(QStringLiteral("PageLabel"));
    PreviewBar->addWidget(PageLabel);
    NextAction = add("NextAction", QKeySequence(Qt::Key_PageDown),
        [this] { MyPrintPreview->setCurrentPage(MyPrintPreview->currentPage() + 1); });
    PreviewBar->addSeparator();
    PortraitAction = add("PortraitAction", QKeySequence(), [this] { MyPrintPreview->setPortraitOrientation(); });
    LandscapeAction = add("LandscapeAction", QKeySequence(), [this] { MyPrintPreview->setLandscapeOrientation(); });
    PreviewBar->addSeparator();
    CloseAction = add("CloseAction", QKeySequence(), [this] { reject(); });
    SetEnglish(false);

    connect(MyPrintPreview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        if (paint_)
            paint_(*printer);
    });
    connect(MyPrintPreview, &QPrintPreviewWidget::previewChanged, this, &PreviewForm::ShowPageNumber);
    resize(900, 650);
}

void PreviewForm::SetEnglish(bool english)
{
    english_ = english;
    PrintAction->setText(Text(PrintText, english));
    PdfAction->setText(Text(PdfText, english));
    ZoomInAction->setText(Text(ZoomInText, english));
    ZoomOutAction->setText(Text(ZoomOutText, english));
    FitWidthAction->setText(Text(FitWidthText, english));
    PreviousAction->setText(Text(PreviousText, english));
    NextAction->setText(Text(NextText, english));
    PortraitAction->setText(Text(PortraitText, english));
    LandscapeAction->setText(Text(LandscapeText, english));
    CloseAction->setText(Text(CloseText, english));
    ShowPageNumber();
}

void PreviewForm::ShowPageNumber()
{
    PageLabel->setText(
        Text(PageText, english_).arg(std::max(1, MyPrintPreview->currentPage())).arg(MyPrintPreview->pageCount()));
}

void PreviewForm::PrintPages()
{
    const PrinterChoice choice = ChoosePrinter(GetMessage(224), &printer_);
    dialogs::SetDefaultPointer();
    if (choice.chosen)
        MyPrintPreview->print();
}

bool PreviewForm::SaveAsPdf(const QString& path)
{
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(path);
    pdf.setPageLayout(printer_.pageLayout());
    pdf.setPageOrientation(MyPrintPreview->orientation());
    pdf.setDocName(printer_.docName());
    // Created the owner's alone before a password is written into it.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.close();
    return paint_ && paint_(pdf) > 0;
}

void PreviewForm::SavePdf_Click()
{
    const QString path = ChooseFileToSave(
        FileTools::Instance().WithFolderSeparator(DataFolder()) + GetMessage(399) + QStringLiteral(".pdf"),
        Text(PdfText, english_).remove(QStringLiteral("...")), QStringLiteral("Fichiers PDF (*.pdf)|*.pdf"),
        QStringLiteral(".pdf"));
    if (path.isEmpty())
        return;
    ShowBusy();
    const bool written = SaveAsPdf(path);
    EndBusy();
    if (!written)
        ReportError(GetMessage(284) + path, {}, true,
            ErrorRecord::Make(ErrorRecord::FileAccess, QStringLiteral("The PDF could not be written: ") + path));
}

// ---- PrtPreview -----------------------------------------------------------

PrtPreview::PrtPreview(QWidget* parent)
    : form_(std::make_unique<PreviewForm>(parent))
{
    const QString name = QCoreApplication::applicationName();
    form_->Printer().setCreator(name.isEmpty() ? GetMessage(10000) : name);
}

PrtPreview::~PrtPreview()
{
    initialized_ = false;
    pageNumbers_ = false;
}

void PrtPreview::Init(const QString& unTitre, int lOrientation, double fntSize, const QString& fntName, bool NumeroPage)
{
    if (initialized_)
        return;
    try {
        form_->MyPrintPreview->setOrientation(lOrientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
        pageNumbers_ = NumeroPage;
        const QString language = GetMessage(0).toUpper();
        form_->SetEnglish(language == QLatin1String("UK") || language == QLatin1String("US"));
        form_->Printer().setDocName(unTitre);
        if (!fntName.isEmpty())
            font_.setFamily(fntName);
        if (fntSize != -1)
            font_.setPointSizeF(fntSize > 0 ? fntSize : 8.0);
        initialized_ = true;
    } catch (const std::exception& error) {
        ReportError(GetMessage(425), {}, true, ErrorRecord::FromException(error));
    }
}

void PrtPreview::DisplayGrid(const QTableWidget& laGrille, const QString& leTitre, const QString& leLibelle,
    int lOrientation, double fntSize, const QString& fntName)
{
    Init(leLibelle, lOrientation, fntSize, fntName, true);
    auto grid = std::make_shared<PrintedGrid>();
    grid->title = leTitre.isEmpty() ? QStringLiteral("Tableau des données") : leTitre;
    grid->label = form_->Printer().docName();
    for (int c = 0; c < laGrille.columnCount(); ++c) {
        grid->headers << (laGrille.rowCount() > 0 ? GridText(laGrille, 0, c) : QString());
        grid->widths.push_back(laGrille.columnWidth(c));
        const QTableWidgetItem* header = laGrille.rowCount() > 0 ? laGrille.item(0, c) : nullptr;
        grid->alignments.push_back(header ? Qt::Alignment(header->textAlignment()) : Qt::AlignLeft);
    }
    grid->rows.reserve(std::size_t(std::max(0, laGrille.rowCount() - GridFixedRows)));
    for (int r = GridFixedRows; r < laGrille.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < laGrille.columnCount(); ++c)
            cells << GridText(laGrille, r, c);
        grid->rows.push_back(std::move(cells));
    }
    const QFont font = font_;
    const bool numbers = pageNumbers_;
    form_->SetPaint([grid, font, numbers](QPrinter& printer) { return PaintGrid(printer, *grid, font, numbers); });
    form_->setWindowTitle(grid->title);
    form_->MyPrintPreview->updatePreview();
    form_->exec();
    form_->SetPaint({});
}

void PrtPreview::DisplayGridLandscape(const QTableWidget& laGrille, const QString& leTitre, const QString& libelle,
    double fntSize, const QString& fntName)
{
    DisplayGrid(laGrille, leTitre, libelle, 2, fntSize, fntName);
}

void PrtPreview::DisplayGridPortrait(const QTableWidget& laGrille, const QString& leTitre, const QString& libelle,
    double fntSize, const QString& fntName)
{
    DisplayGrid(laGrille, leTitre, libelle, 1, fntSize, fntName);
}

// ---- The list window's print ------------------------------------------------

void ListViewPrintPreview(const ListTable& list, const QString& title, QTableWidget* grid, bool landscape,
    double fontSize, const QString& fontName)
{
    if (list.rows.empty() || !grid)
        return;
    try {
        GridClear(*grid, QString());
        grid->setColumnCount(list.ColumnCount());
        // Rows are appended whole: one whose first cell is empty is no free
        // row to be written over.
        grid->setRowCount(GridFixedRows);
        for (int c = 0; c < list.ColumnCount(); ++c) {
            const ListColumn& column = list.columns[std::size_t(c)];
            auto* header = new QTableWidgetItem(column.header);
            header->setTextAlignment(column.alignment);
            grid->setItem(0, c, header);
            grid->setColumnWidth(c, std::max(1, column.widthTwips / 15));
        }
        // Cells go in one by one: a TAB inside a cell stays in its cell.
        for (const ListRow& row : list.rows)
            GridAppendRow(*grid, row.cells);
        PrtPreview preview(grid->window());
        if (landscape)
            preview.DisplayGridLandscape(*grid, title, QString(), fontSize, fontName);
        else
            preview.DisplayGridPortrait(*grid, title, QString(), fontSize, fontName);
        // The printed rows leave the grid with the preview.
        GridClear(*grid, QString());
    } catch (const std::exception& error) {
        ReportError(QStringLiteral("Error on ListViewPrintPreview()"), {}, true, ErrorRecord::FromException(error));
    }
}

} // namespace keyholm
