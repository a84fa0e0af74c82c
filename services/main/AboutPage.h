#pragma once
// Page 2 of the detail pages, " A propos de... ", shown on the root: the
// program's title, its instructions and the web buttons.

#include <QWidget>

class QLabel;
class QPushButton;
class QTextBrowser;

namespace keyholm {

class AboutPage : public QWidget {
public:
    // The logo is drawn for the window's pixel ratio.
    explicit AboutPage(qreal pixelRatio, QWidget* parent = nullptr);

    QWidget* PictureTab = nullptr; // PictureTab_2, the container of the presentation
    QLabel* PictureAbout = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblDescription = nullptr;
    QTextBrowser* TextInfoAppli = nullptr;
    QPushButton* CommandWeb = nullptr;
    QPushButton* CommandHisto = nullptr;
    QPushButton* CommandVote = nullptr;
    QPushButton* CommandDon = nullptr;
};

} // namespace keyholm
