#include "services/ui/PasswordAsk.h"

#include "services/TraceLog.h"
#include "services/ui/ControlTag.h"
#include "services/ui/DialogSupport.h"
#include "services/ui/KeyboardState.h"
#include "services/ui/StrengthMeter.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace keyholm {

using namespace dialogs;

namespace {

QLabel* Panel(QStatusBar* bar, const QString& key, const QString& text, const QString& toolTip)
{
    auto* panel = new QLabel(text, bar);
    panel->setObjectName(key);
    panel->setToolTip(toolTip);
    panel->setAlignment(Qt::AlignCenter);
    panel->setMinimumWidth(46);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    bar->addPermanentWidget(panel);
    return panel;
}

void ShowPanel(QLabel* panel, std::optional<bool> on)
{
    panel->setVisible(on.has_value());
    panel->setEnabled(on.value_or(false));
}

} // namespace

PasswordAsk::PasswordAsk(QWidget* parent)
    : AnswerDialog(parent, QStringLiteral("Lib_PasswordAsk"), Caption)
{
    TraceLog(QStringLiteral("Ask password"), QStringLiteral("..."));

    LabelInfo = new QLabel(DefaultInfo, this);
    LabelInfo->setObjectName(QStringLiteral("LabelInfo"));
    LabelInfo->setTextFormat(Qt::PlainText);
    LabelInfo->setWordWrap(true);
    T_Find = new QLineEdit(this);
    T_Find->setObjectName(QStringLiteral("T_Find"));
    T_Find->setEchoMode(QLineEdit::Password);
    T_Find->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    T_Find->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText);
    LabelInfo->setBuddy(T_Find);
    MakeAnswerButtons({ QStringLiteral("Valider"), QStringLiteral("&Valider") },
        { QStringLiteral("Annuler"), QStringLiteral("&Annuler") }, OutcomeHolder::ConfirmButton);
    Valider = confirm_;
    Valider->setEnabled(false);
    Annuler = cancel_;
    Annuler->setAutoDefault(false);

    StatusKeyboard = new QStatusBar(this);
    StatusKeyboard->setObjectName(QStringLiteral("StatusKeyboard"));
    StatusKeyboard->setSizeGripEnabled(false);
    caps_ = Panel(
        StatusKeyboard, QStringLiteral("Caps"), QStringLiteral("Maj"), QStringLiteral("Mode Majuscule actif ou non"));
    num_ = Panel(StatusKeyboard, QStringLiteral("Num"), QStringLiteral("Num"),
        QStringLiteral("Pavé numérique en direct ou non"));
    insert_ = Panel(
        StatusKeyboard, QStringLiteral("Ins"), QStringLiteral("INSER"), QStringLiteral("Mode Insertion activé ou pas"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelInfo);
    layout->addWidget(T_Find);
    Strength = new StrengthMeter(this);
    Strength->Follow(T_Find);
    Strength->setVisible(false);
    layout->addWidget(Strength);
    layout->addLayout(AnswerRow());
    layout->addWidget(StatusKeyboard);
    setMinimumWidth(380);

    connect(T_Find, &QLineEdit::textChanged, this, &PasswordAsk::UpdateValider);
    T_Find->installEventFilter(this);

    // The lock keys can change while the window is up.
    keyboardTimer_.setInterval(400);
    connect(&keyboardTimer_, &QTimer::timeout, this, &PasswordAsk::ShowKeyboardState);
    ShowKeyboardState();
}

PasswordAsk::~PasswordAsk()
{
    // Leave as little of the password behind as the line edit allows.
    T_Find->clear();
}

bool PasswordAsk::Ask()
{
    SetControlTag(Valider, QStringLiteral("0"));
    keyboardTimer_.start();
    exec();
    keyboardTimer_.stop();
    return Outcome().toInt() == 1;
}

QString PasswordAsk::Text() const
{
    return T_Find->text();
}

void PasswordAsk::ShowStrength(bool shown)
{
    Strength->setVisible(shown);
}

void PasswordAsk::SetInfo(const QString& text)
{
    LabelInfo->setText(text);
}

QString PasswordAsk::Info() const
{
    return LabelInfo->text();
}

void PasswordAsk::showEvent(QShowEvent* event)
{
    AnswerDialog::showEvent(event);
    T_Find->setFocus();
}

bool PasswordAsk::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        SetDefaultPointer();
    return QDialog::event(event);
}

bool PasswordAsk::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == T_Find && event->type() == QEvent::KeyPress) {
        // A letter typed tells the Caps Lock state: capital without Shift,
        // or small with it.
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() == 1 && text[0].isLetter() && text[0].toUpper() != text[0].toLower()) {
            const bool shift = key->modifiers().testFlag(Qt::ShiftModifier);
            typedCaps_ = text[0].isUpper() != shift;
            ShowKeyboardState();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PasswordAsk::UpdateValider()
{
    Valider->setEnabled(!T_Find->text().trimmed().isEmpty());
}

void PasswordAsk::ShowKeyboardState()
{
    const KeyboardState state = ReadKeyboardState();
    ShowPanel(caps_, state.capsLock.has_value() ? state.capsLock : typedCaps_);
    ShowPanel(num_, state.numLock);
    ShowPanel(insert_, true);
}

} // namespace keyholm
