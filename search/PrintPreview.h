#pragma once
// The print preview of a grid (a result list copied into its hidden grid):
// PrtPreview lays the rows out as a paper copy (cells wrapped inside their
// column, never cut; rows kept whole; the header row on every page; "Page
// n / N" at the foot) and shows the pages in Lib_PreviewForm, from which the
// user prints or saves a PDF. Nothing of the list is written anywhere else.

#include "components/ListTable.h"

#include <QDialog>
#include <QFont>
#include <QPrinter>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QPrintPreviewWidget;
class QTableWidget;
class QToolBar;

namespace keyholm {

// What a printed grid shows.
struct PrintedGrid {
    QString title; // above the table, on every page
    QString label; // under the title, when not empty
    QStringList headers;
    std::vector<double> widths; // screen pixels
    std::vector<Qt::Alignment> alignments;
    std::vector<QStringList> rows;
};

// Paints the grid's pages on the printer; their count (0 when the printer
// could not be painted on).
int PaintGrid(QPrinter& printer, const PrintedGrid& grid, const QFont& font, bool pageNumbers);

// The preview window: the pages, and a tool bar to print, save as PDF,
// zoom, fit the width, turn the pages, switch portrait or landscape, close.
class PreviewForm : public QDialog {
    Q_OBJECT
public:
    explicit PreviewForm(QWidget* parent = nullptr);

    // The tool bar's texts in English instead of French.
    void SetEnglish(bool english);
    void SetPaint(std::function<int(QPrinter&)> paint) { paint_ = std::move(paint); }
    QPrinter& Printer() { return printer_; }

    QPrintPreviewWidget* MyPrintPreview = nullptr;
    QToolBar* PreviewBar = nullptr;
    QLabel* PageLabel = nullptr;
    QAction* PrintAction = nullptr;
    QAction* PdfAction = nullptr;
    QAction* ZoomInAction = nullptr;
    QAction* ZoomOutAction = nullptr;
    QAction* FitWidthAction = nullptr;
    QAction* PreviousAction = nullptr;
    QAction* NextAction = nullptr;
    QAction* PortraitAction = nullptr;
    QAction* LandscapeAction = nullptr;
    QAction* CloseAction = nullptr;

    // Writes the pages to a PDF file, the owner's alone; false on failure.
    bool SaveAsPdf(const QString& path);

private:
    void PrintPages();
    void SavePdf_Click();
    void ShowPageNumber();

    QPrinter printer_;
    std::function<int(QPrinter&)> paint_;
    bool english_ = false;
};

class PrtPreview {
public:
    explicit PrtPreview(QWidget* parent = nullptr);
    ~PrtPreview();
    PrtPreview(const PrtPreview&) = delete;
    PrtPreview& operator=(const PrtPreview&) = delete;

    // Prepares the preview once: orientation (1 portrait, 2 landscape), the
    // document's title, the font (its size unless -1, its name unless
    // empty) and whether pages are numbered. Later calls change nothing.
    void Init(const QString& unTitre, int lOrientation, double fntSize, const QString& fntName, bool NumeroPage);
    // Shows the grid's pages under `leTitre` ("Tableau des données" when
    // empty), the document titled `leLibelle`, until the user closes them.
    void DisplayGrid(const QTableWidget& laGrille, const QString& leTitre, const QString& leLibelle, int lOrientation,
        double fntSize, const QString& fntName);
    void DisplayGridLandscape(const QTableWidget& laGrille, const QString& leTitre, const QString& libelle,
        double fntSize, const QString& fntName);
    void DisplayGridPortrait(const QTableWidget& laGrille, const QString& leTitre, const QString& libelle,
        double fntSize, const QString& fntName);

    bool Initialized() const { return initialized_; }
    PreviewForm& Form() { return *form_; }
    const QFont& Font() const { return font_; }

private:
    std::unique_ptr<PreviewForm> form_;
    bool initialized_ = false;
    bool pageNumbers_ = false;
    QFont font_;
};

// The list window's print: the rows copied into its grid and previewed,
// landscape or portrait, at that font.
void ListViewPrintPreview(const ListTable& list, const QString& title, QTableWidget* grid, bool landscape,
    double fontSize, const QString& fontName);

} // namespace keyholm
