#pragma once
// A password's strength under its field: a bar of five steps and a French
// word, from "très faible" to "très fort", following the text as it is typed.
// Empty for an empty text.

#include <QWidget>

class QLabel;
class QLineEdit;
class QProgressBar;

namespace keyholm {

class StrengthMeter : public QWidget {
public:
    explicit StrengthMeter(QWidget* parent = nullptr);

    // Follows the field's text from now on.
    void Follow(QLineEdit* field);
    // Shows the strength of a text.
    void Show(const QString& password);

    // 0 to 4; -1 for an empty text.
    int Level() const { return level_; }
    QString Word() const;

    QProgressBar* StrengthBar = nullptr;
    QLabel* LabelStrength = nullptr;

private:
    int level_ = -1;
};

} // namespace keyholm
