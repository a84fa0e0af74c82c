#include "search/ClipboardViewer.h"

#include "components/CipherEngine.h"
#include "search/Printing.h"
#include "services/MessagesDatabase.h"
#include "services/TraceLog.h"
#include "services/ui/DialogSupport.h"
#include "services/ui/Dialogs.h"
#include "services/ui/Messages.h"
#include "services/ui/ProtectedClipboard.h"
#include "services/ui/ToolIcons.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace keyholm {
namespace {

constexpr int TwipsPerPixel = 15;

// The text box's text overwritten before it goes.
void WipeText(QPlainTextEdit& box)
{
    QString text = box.toPlainText();
    box.clear();
    box.document()->clearUndoRedoStacks();
    CipherEngine::Wipe(text);
}

} // namespace

DataViewer::DataViewer(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    TraceLog(QStringLiteral("Loading clipboard dialog window"), QString());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setObjectName(QStringLiteral("Lib_VoirData"));
    setWindowTitle(QStringLiteral("Visualiser des données texte du Presse-Papiers Windows"));
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(7770 / TwipsPerPixel, 4200 / TwipsPerPixel);

    ZoneData = new QPlainTextEdit(this);
    ZoneData->setObjectName(QStringLiteral("ZoneData"));
    ZoneCommande = new QWidget(this);
    ZoneCommande->setObjectName(QStringLiteral("ZoneCommande"));
    PressePapier = new QToolButton(ZoneCommande);
    PressePapier->setObjectName(QStringLiteral("PressePapier"));
    PressePapier->setIcon(ToolIcon(QStringLiteral("clipboard")));
    PressePapier->setToolTip(QStringLiteral("Coller le texte à partir du Presse-Papiers"));
    VersPressePapier = new QToolButton(ZoneCommande);
    VersPressePapier->setObjectName(QStringLiteral("VersPressePapier"));
    VersPressePapier->setIcon(ToolIcon(QStringLiteral("copy")));
    VersPressePapier->setToolTip(QStringLiteral("Copier le texte vers le Presse-Papiers"));
    Imprimer = new QPushButton(GetMessage(224), ZoneCommande);
    Imprimer->setObjectName(QStringLiteral("Imprimer"));
    Fermer = new QPushButton(GetMessage(372), ZoneCommande);
    Fermer->setObjectName(QStringLiteral("Fermer"));

    auto* buttons = new QHBoxLayout(ZoneCommande);
    buttons->setContentsMargins(6, 4, 6, 4);
    buttons->addWidget(PressePapier);
    buttons->addWidget(VersPressePapier);
    buttons->addStretch(1);
    buttons->addWidget(Imprimer);
    buttons->addWidget(Fermer);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(ZoneData, 1);
    layout->addWidget(ZoneCommande);

    connect(PressePapier, &QToolButton::clicked, this, &DataViewer::PressePapier_Click);
    connect(VersPressePapier, &QToolButton::clicked, this, &DataViewer::VersPressePapier_Click);
    connect(Imprimer, &QPushButton::clicked, this, &DataViewer::Imprimer_Click);
    connect(Fermer, &QPushButton::clicked, this, &QWidget::close);
    // Ctrl+P prints and Esc closes, wherever the focus is in the window.
    auto* print = new QAction(this);
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, this, &DataViewer::Imprimer_Click);
    auto* close = new QAction(this);
    close->setShortcut(Qt::Key_Escape);
    connect(close, &QAction::triggered, this, &QWidget::close);
    addActions({ print, close });

    resize(minimumSize());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

DataViewer::~DataViewer()
{
    WipeText(*ZoneData);
}

void DataViewer::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void DataViewer::PressePapier_Click()
{
    ShowBusy(QString(), false, false, false);
    WipeText(*ZoneData);
    ZoneData->setPlainText(QGuiApplication::clipboard()->text());
    EndBusy();
}

void DataViewer::VersPressePapier_Click()
{
    ShowBusy(QString(), false, false, false);
    QGuiApplication::clipboard()->clear();
    if (const QString text = ZoneData->toPlainText(); !text.isEmpty())
        ProtectedClipboard::Copy(text);
    EndBusy();
}

void DataViewer::Imprimer_Click()
{
    const QString text = ZoneData->toPlainText();
    if (text.trimmed().isEmpty()) {
        ShowInfo(GetMessage(174));
        return;
    }
    QPrinter& printer = CurrentPrinter();
    const PrinterChoice choice = ChoosePrinter(GetMessage(224), &printer);
    if (!choice.chosen) {
        dialogs::SetDefaultPointer();
        return;
    }
    // One document a copy, each of one copy: the printer would repeat each
    // document again for its own count.
    printer.setCopyCount(1);
    for (int copy = 0; copy < std::max(1, choice.copies); ++copy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (InitPrinter(QStringLiteral("Verdana"), QStringLiteral("12"), 6, 1, 0, 9)) {
            PrintText(text, 75);
            EndPrinting(false, false, 9);
        }
        QApplication::restoreOverrideCursor();
    }
    printer.setCopyCount(std::max(1, choice.copies));
    dialogs::SetDefaultPointer();
}

// ---- The area -------------------------------------------------------------

ClipboardViewer::ClipboardViewer(MainWindowUi& ui, MainState& state, MainProcedures& procedures)
    : MainArea(ui, state, procedures)
{
    closing_ = QObject::connect(&state, &MainState::DatabaseClosed, [this] { CloseClipboardViewer(); });
}

ClipboardViewer::~ClipboardViewer()
{
    QObject::disconnect(closing_);
    CloseClipboardViewer();
}

void ClipboardViewer::ShowClipboardViewer()
{
    if (!viewer_)
        viewer_ = new DataViewer(ui_.Window);
    const QString text = viewer_->ZoneData->toPlainText();
    if (!text.trimmed().isEmpty())
        ProtectedClipboard::Copy(text);
    else
        viewer_->ZoneData->setPlainText(QGuiApplication::clipboard()->text());
    viewer_->show();
    viewer_->raise();
    viewer_->activateWindow();
}

void ClipboardViewer::CloseClipboardViewer()
{
    if (viewer_)
        delete viewer_.data();
}

} // namespace keyholm
