// Printing a result list: 10,000 rows of ten cells (some wrapping) at 8 pt in
// landscape, from the call to the preview showing its first page, and all
// pages written to a PDF file.

#include "BenchHome.h"
#include "BenchSupport.h"

#include "search/Grid.h"
#include "search/PrintPreview.h"
#include "services/Environment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrintPreviewWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

using namespace keyholm;
using keyholm::bench::Report;

int main(int argc, char** argv)
{
    const keyholm::bench::BenchHome home;
    if (!home.IsValid())
        return 2;
    QApplication app(argc, argv);
    PrepareFolders();

    constexpr int Rows = 10'000;
    QTableWidget grid(1, 10);
    const char* headers[]
        = { "Catégorie", "Titre", "Login", "Password", "Expiration", "Web", "Fichier", "Note", "Créé", "Modifié" };
    for (int c = 0; c < 10; ++c) {
        grid.setItem(0, c, new QTableWidgetItem(QString::fromUtf8(headers[c])));
        grid.setColumnWidth(c, c == 7 ? 150 : 100);
    }
    for (int i = 0; i < Rows; ++i) {
        const QString n = QString::number(i);
        GridAppendRow(grid,
            { QStringLiteral("Banques"), QStringLiteral("Crédit Mutuel ") + n,
                QStringLiteral("jean.dupont") + n + QStringLiteral("@example.org"),
                QStringLiteral("kX7-pQ2_") + n + QStringLiteral("!vR9.mZ"), QStringLiteral("31/12/2026"),
                QStringLiteral("https://www.example.org/banque/") + n + QStringLiteral("?lang=fr"),
                QStringLiteral("/home/jean/contrat") + n + QStringLiteral(".pdf"),
                i % 7 == 0 ? QStringLiteral("Code client à rappeler, voir le contrat signé en agence ") + n
                           : QStringLiteral("Compte joint"),
                QStringLiteral("12/03/2024"), QStringLiteral("05/11/2025") });
    }

    QElapsedTimer clock;
    double shown = -1;
    int pages = 0;
    double pdf = -1;
    QTemporaryDir folder;
    PrtPreview preview;
    QTimer::singleShot(0, [&] {
        PreviewForm& form = preview.Form();
        shown = double(clock.nsecsElapsed()) / 1e6;
        pages = form.MyPrintPreview->pageCount();
        QElapsedTimer writing;
        writing.start();
        const bool written = form.SaveAsPdf(folder.filePath(QStringLiteral("liste.pdf")));
        pdf = written ? double(writing.nsecsElapsed()) / 1e6 : -1;
        form.reject();
    });
    clock.start();
    preview.DisplayGridLandscape(
        grid, QStringLiteral("Liste des mots de passe"), QString(), 8, QStringLiteral("MS Serif"));

    Report("print.preview_first_page.10000", shown, "ms");
    Report("print.preview_pages.10000", pages, "pages");
    Report("print.pdf_all_pages.10000", pdf, "ms");
    return shown > 0 && pdf > 0 ? 0 : 1;
}
