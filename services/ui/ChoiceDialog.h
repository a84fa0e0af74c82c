#pragma once
// Lib_SelectOpt: a choice among two or three options. Shown by AskChoice.

#include "services/ui/AnswerDialog.h"

#include <QList>

class QLabel;
class QRadioButton;

namespace keyholm {

class ChoiceDialog : public AnswerDialog {
    Q_OBJECT
public:
    explicit ChoiceDialog(QWidget* parent = nullptr);

    void SetPrompt(const QString& prompt, bool bold);
    // An empty third caption leaves two options.
    void SetOptions(const QString& option1, const QString& option2, const QString& option3);
    // An index that names no shown option selects the first one.
    void SelectOption(int index);
    // The index of the option selected last (kept in the tag of option 0).
    int SelectedOption() const;
    int OptionCount() const;

    // AnswerTag(): "1" after Oui, "0" after Annuler or closing.

private:
    QLabel* theLabel_;
    QList<QRadioButton*> selOptions_;
};

} // namespace keyholm
