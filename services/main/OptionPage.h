#pragma once
// Page 4 of the detail pages, " Choix de fonctionnement ": the working
// options and the default category list.

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;
class QSpinBox;

namespace keyholm {

class OptionPage : public QWidget {
public:
    explicit OptionPage(QWidget* parent = nullptr);

    QLabel* TextPasswordOption1 = nullptr; // TextPasswordOption_1, the page's note
    QCheckBox* CheckHide = nullptr;
    QCheckBox* CheckOpen = nullptr;
    QCheckBox* CheckDateExpir = nullptr;
    QCheckBox* CheckInitFields = nullptr;
    QCheckBox* CheckTrash = nullptr;
    QCheckBox* CheckAutoSave = nullptr;
    QCheckBox* CheckDeleteDir = nullptr;
    QCheckBox* CheckSepCopy = nullptr;
    QLineEdit* TextSepCopy = nullptr;
    // Seconds before a copied login or password leaves the clipboard; 0 never.
    QSpinBox* SpinClipboard = nullptr;
    QCheckBox* CheckAutoClose = nullptr;
    QSlider* SliderAutoClose = nullptr;
    QLineEdit* TextAutoClose = nullptr;
    QCheckBox* CheckWalkAway = nullptr;
    QCheckBox* CheckPurge = nullptr;
    QSlider* SliderPurge = nullptr;
    QLineEdit* TextPurge = nullptr;
    QListWidget* ListCatDefaut = nullptr;
    QPushButton* CatDefautAdd = nullptr;
    QPushButton* CatDefautDelete = nullptr;
};

} // namespace keyholm
