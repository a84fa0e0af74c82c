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

    std::array<QLabel*, 10> LabelStat {}; // 9 is the heading of the counts 3 to 8
    std::array<QLineEdit*, 9> TextStat {};
};

} // namespace keyholm
