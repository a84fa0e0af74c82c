#include "services/ui/StrengthMeter.h"

#include "components/PasswordGenerator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace keyholm {

namespace {

// From red to green, one colour a step.
const char* const StepColors[] = { "#c62828", "#ef6c00", "#f9a825", "#7cb342", "#2e7d32" };

} // namespace

StrengthMeter::StrengthMeter(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("StrengthMeter"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    StrengthBar = new QProgressBar(this);
    StrengthBar->setObjectName(QStringLiteral("StrengthBar"));
    StrengthBar->setRange(0, 5);
    StrengthBar->setValue(0);
    StrengthBar->setTextVisible(false);
    StrengthBar->setFixedHeight(6);
    LabelStrength = new QLabel(this);
    LabelStrength->setObjectName(QStringLiteral("LabelStrength"));
    LabelStrength->setMinimumWidth(70);
    layout->addWidget(StrengthBar, 1);
    layout->addWidget(LabelStrength);
    Show(QString());
}

void StrengthMeter::Follow(QLineEdit* field)
{
    connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { Show(text); });
    Show(field->text());
}

void StrengthMeter::Show(const QString& password)
{
    if (password.isEmpty()) {
        level_ = -1;
        StrengthBar->setValue(0);
        LabelStrength->clear();
        StrengthBar->setToolTip(QString());
        return;
    }
    const PasswordStrength strength = PasswordStrength::Of(password);
    level_ = strength.level;
    StrengthBar->setValue(level_ + 1);
    StrengthBar->setStyleSheet(QStringLiteral("QProgressBar { border: none; background: #e3e7ec; border-radius: 3px; }"
                                              "QProgressBar::chunk { background: %1; border-radius: 3px; }")
                                   .arg(QLatin1String(StepColors[level_])));
    LabelStrength->setText(Word());
    StrengthBar->setToolTip(QStringLiteral("Robustesse estimée : %1 bits").arg(qRound(strength.bits)));
}

QString StrengthMeter::Word() const
{
    return level_ < 0 ? QString() : PasswordStrength::Word(level_);
}

} // namespace keyholm
