#pragma once
// Page 5 of the detail pages, " Corbeille de la Base des Mots de Passe ":
// what the trash does and how to empty it.

#include <QWidget>

class QLabel;

namespace keyholm {

class TrashPage : public QWidget {
public:
    // The picture is drawn for the window's pixel ratio.
    explicit TrashPage(qreal pixelRatio, QWidget* parent = nullptr);

    QLabel* TextPasswordOption0 = nullptr; // TextPasswordOption_0, the trash explanation
    QLabel* TextPasswordOption2 = nullptr; // TextPasswordOption_2, how to empty it
};

} // namespace keyholm
