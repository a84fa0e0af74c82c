#pragma once
// Lib_Search, the search window: the text to find and the options. Created
// once and then only hidden, so that it proposes the last search again.

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace keyholm {

class SearchDialog : public QDialog {
public:
    explicit SearchDialog(QWidget* parent = nullptr);

    // The confirmed text after the window closed; empty after Annuler (or
    // the close box, or Escape).
    QString ConfirmedText() const;

    QLabel* LabelInfo = nullptr;
    QLineEdit* TextaChercher = nullptr;
    QGroupBox* ZoneOption = nullptr;
    QRadioButton* AllTree = nullptr;
    QRadioButton* FirstLevel = nullptr;
    QCheckBox* CheckMaj = nullptr;
    QCheckBox* CheckOneResult = nullptr;
    QCheckBox* CheckLogin = nullptr; // the logins' values searched too
    QPushButton* Ok = nullptr;
    QPushButton* Annuler = nullptr;

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Ok_Click();
};

} // namespace keyholm
