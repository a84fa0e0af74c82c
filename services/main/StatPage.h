#pragma once
// Page 3 of the detail pages, " Quelques chiffres sur la Base ": the counts
// of the open database, read only.

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;

namespace keyholm {

class StatPage : public QWidget {
public:
    explicit StatPage(QWidget* parent = nullptr);

    // 9 is the heading of the counts 3 to 10; labels 10 and 11 caption the
    // boxes 9 and 10.
    std::array<QLabel*, 12> LabelStat {};
    std::array<QLineEdit*, 11> TextStat {};
};

} // namespace keyholm
