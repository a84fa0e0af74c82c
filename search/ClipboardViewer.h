#pragma once
// The clipboard viewer Lib_VoirData: a window beside the main one to look
// at, edit, copy and print plain text passing through the clipboard. It is
// emptied and closed when the database closes: what it shows is often a
// password.

#include "services/main/MainArea.h"

#include <QPointer>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace keyholm {

class DataViewer : public QWidget {
    Q_OBJECT
public:
    explicit DataViewer(QWidget* parent = nullptr);
    ~DataViewer() override;

    QPlainTextEdit* ZoneData = nullptr;
    QWidget* ZoneCommande = nullptr;
    QToolButton* PressePapier = nullptr;
    QToolButton* VersPressePapier = nullptr;
    QPushButton* Imprimer = nullptr;
    QPushButton* Fermer = nullptr;

    void PressePapier_Click();
    void VersPressePapier_Click();
    void Imprimer_Click();

protected:
    void showEvent(QShowEvent* event) override;
};

class ClipboardViewer : public MainArea {
public:
    ClipboardViewer(MainWindowUi& ui, MainState& state, MainProcedures& procedures);
    ~ClipboardViewer();

    // The tree toolbar's "Clipboard": the viewer's text goes to the
    // clipboard when it holds one, else it takes the clipboard's; then it
    // shows.
    void ShowClipboardViewer();
    // Empties and closes the viewer.
    void CloseClipboardViewer();
    DataViewer* Viewer() const { return viewer_; }

private:
    QPointer<DataViewer> viewer_;
    QMetaObject::Connection closing_;
};

} // namespace keyholm
