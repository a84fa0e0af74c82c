#pragma once
// Page 6 of the detail pages, " Informations et Propriétés ": the open
// database's dates, title, owner, custom field label and comment.

#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace keyholm {

class KeyToolBar;

class InfoPage : public QWidget {
public:
    explicit InfoPage(QWidget* parent = nullptr);

    std::array<QLabel*, 2> LabelDate {}; // hidden values: the dates as text
    QLineEdit* TextTitle = nullptr;
    QLineEdit* TextUser = nullptr;
    std::array<QCheckBox*, 1> CheckLabel {};
    std::array<QLineEdit*, 1> TextCustom {};
    KeyToolBar* ToolbarNote = nullptr; // open calendar time
    QPlainTextEdit* TextNote = nullptr;
    QPushButton* ApplyInfo = nullptr;
};

} // namespace keyholm
