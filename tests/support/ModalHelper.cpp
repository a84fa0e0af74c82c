#include "ModalHelper.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <algorithm>

namespace keyholm::test {
namespace {

constexpr int PollMs = 20;
// A window acted on may take a moment to close; before this it is not taken
// for the next expected window, after the second delay it counts as stuck.
constexpr qint64 SameWindowAgainMs = 100;
constexpr qint64 StuckAfterMs = 1000;

QString Plain(const QString& text)
{
    return QString(text).remove(QLatin1Char('&')).trimmed();
}

QString ButtonList(QWidget* window)
{
    QStringList names;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->isVisible())
            names << QStringLiteral("%1 \"%2\"").arg(button->objectName(), Plain(button->text()));
    }
    return names.join(QStringLiteral(", "));
}

QAbstractButton* FindButton(QWidget* window, const QString& nameOrText)
{
    if (auto* byName = window->findChild<QAbstractButton*>(nameOrText))
        return byName;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->isVisible() && Plain(button->text()) == Plain(nameOrText))
            return button;
    }
    return nullptr;
}

QString ClickButton(QAbstractButton* button, const QString& what)
{
    if (!button->isEnabled())
        return QStringLiteral("button %1 is disabled").arg(what);
    button->click();
    return {};
}

// The widget that takes the key events of a field, after emptying it.
QWidget* PrepareField(QWidget* field)
{
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
        line->clear();
        return line;
    }
    if (auto* text = qobject_cast<QTextEdit*>(field)) {
        text->clear();
        return text;
    }
    if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) {
        plain->clear();
        return plain;
    }
    if (auto* combo = qobject_cast<QComboBox*>(field)) {
        if (!combo->isEditable())
            return nullptr;
        combo->lineEdit()->clear();
        return combo->lineEdit();
    }
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(field)) {
        auto* line = spin->findChild<QLineEdit*>();
        if (line)
            line->selectAll();
        return spin;
    }
    return nullptr;
}

// One key event per character, carrying the character's text: QTest::keyClicks
// stops the whole program on a character outside ASCII.
void TypeText(QWidget* target, const QString& text)
{
    target->setFocus(Qt::OtherFocusReason);
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString one(text[i]);
        if (text[i].isHighSurrogate() && i + 1 < text.size())
            one += text[++i];
        const QChar c = one[0];
        Qt::Key key = Qt::Key_unknown;
        if (c == QLatin1Char('\n'))
            key = Qt::Key_Return;
        else if (c.unicode() >= 0x20 && c.unicode() <= 0xFF)
            key = static_cast<Qt::Key>(c.toUpper().unicode()); // Qt's codes follow Latin-1 there
        QTest::sendKeyEvent(QTest::Click, target, key, key == Qt::Key_Return ? QStringLiteral("\r") : one,
                            Qt::NoModifier);
    }
}

} // namespace

ModalHelper::Expectation& ModalHelper::Expectation::Type(const QString& childName, const QString& text)
{
    actions_.push_back([childName, text](QWidget* window) -> QString {
        QWidget* field = window->findChild<QWidget*>(childName);
        if (!field)
            return QStringLiteral("no field named \"%1\"").arg(childName);
        if (!field->isEnabled())
            return QStringLiteral("field \"%1\" is disabled").arg(childName);
        QWidget* target = PrepareField(field);
        if (!target)
            return QStringLiteral("\"%1\" (%2) takes no typed text").arg(childName, field->metaObject()->className());
        // Keys go to the active window's focus, as a user's do; a field
        // without the focus is rewritten by the file chooser's selection.
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window, 5000))
            return QStringLiteral("the window never became active to type into \"%1\"").arg(childName);
        target->setFocus(Qt::OtherFocusReason);
        // A completer's popup (the file chooser's) takes keys while the
        // machine is busy, and the text typed would not be the text given.
        auto* line = qobject_cast<QLineEdit*>(target);
        QCompleter* completer = line ? line->completer() : nullptr;
        if (completer)
            line->setCompleter(nullptr);
        if (line && qobject_cast<QFileDialog*>(window)) {
            // The chooser selects each folder a partly typed path names, and a
            // selection left over wins over the typed name: the path goes in
            // at once, as pasted.
            QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, text, Qt::NoModifier);
        } else {
            TypeText(target, text);
        }
        if (completer)
            line->setCompleter(completer);
        return {};
    });
    return *this;
}

ModalHelper::Expectation& ModalHelper::Expectation::Tick(const QString& childName, bool checked)
{
    actions_.push_back([childName, checked](QWidget* window) -> QString {
        auto* box = window->findChild<QAbstractButton*>(childName);
        if (!box)
            return QStringLiteral("no check box named \"%1\"").arg(childName);
        if (!box->isEnabled())
            return QStringLiteral("check box \"%1\" is disabled").arg(childName);
        if (box->isChecked() != checked)
            box->click();
        if (box->isChecked() != checked)
            return QStringLiteral("check box \"%1\" did not take the state %2").arg(childName).arg(checked);
        return {};
    });
    return *this;
}

ModalHelper::Expectation& ModalHelper::Expectation::Click(const QString& buttonNameOrText)
{
    actions_.push_back([buttonNameOrText](QWidget* window) -> QString {
        QAbstractButton* button = FindButton(window, buttonNameOrText);
        if (!button)
            return QStringLiteral("no button \"%1\"; buttons: %2").arg(buttonNameOrText, ButtonList(window));
        return ClickButton(button, QStringLiteral("\"%1\"").arg(buttonNameOrText));
    });
    return *this;
}

ModalHelper::Expectation& ModalHelper::Expectation::Click(QMessageBox::StandardButton which)
{
    actions_.push_back([which](QWidget* window) -> QString {
        QAbstractButton* button = nullptr;
        if (auto* box = qobject_cast<QMessageBox*>(window))
            button = box->button(which);
        else if (auto* buttons = window->findChild<QDialogButtonBox*>())
            button = buttons->button(static_cast<QDialogButtonBox::StandardButton>(which));
        if (!button)
            return QStringLiteral("no standard button 0x%1; buttons: %2").arg(int(which), 0, 16).arg(ButtonList(window));
        return ClickButton(button, Plain(button->text()));
    });
    return *this;
}

ModalHelper::Expectation& ModalHelper::Expectation::Accept()
{
    actions_.push_back([](QWidget* window) -> QString {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (!dialog)
            return QStringLiteral("not a dialog, cannot accept it");
        dialog->accept();
        return {};
    });
    return *this;
}

ModalHelper::Expectation& ModalHelper::Expectation::Reject()
{
    actions_.push_back([](QWidget* window) -> QString {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (!dialog)
            return QStringLiteral("not a dialog, cannot reject it");
        dialog->reject();
        return {};
    });
    return *this;
}

ModalHelper::Expectation& ModalHelper::Expectation::Do(std::function<void(QWidget*)> action)
{
    actions_.push_back([action = std::move(action)](QWidget* window) -> QString {
        action(window);
        return {};
    });
    return *this;
}

ModalHelper::ModalHelper(int timeoutMs) : timeoutMs_(timeoutMs)
{
    timer_.setInterval(PollMs);
    connect(&timer_, &QTimer::timeout, this, &ModalHelper::Poll);
    timer_.start();
    live_.push_back(this);
}

ModalHelper::~ModalHelper()
{
    timer_.stop();
    live_.erase(std::find(live_.begin(), live_.end(), this));
    if (!waited_) {
        for (const Expectation& expectation : expected_)
            ADD_FAILURE() << "Expected modal " << Describe(expectation).toStdString() << " never appeared";
    }
}

ModalHelper::Expectation& ModalHelper::Expect(const QString& objectName)
{
    waited_ = false;
    expected_.emplace_back();
    expected_.back().objectName_ = objectName;
    return expected_.back();
}

ModalHelper::Expectation& ModalHelper::ExpectType(const QString& className)
{
    waited_ = false;
    expected_.emplace_back();
    expected_.back().className_ = className;
    return expected_.back();
}

bool ModalHelper::Wait()
{
    waited_ = true;
    const bool done = QTest::qWaitFor([this] { return expected_.empty() && acting_.empty(); }, timeoutMs_);
    if (!done && !expected_.empty()) {
        ADD_FAILURE() << "Expected modal " << Describe(expected_.front()).toStdString() << " did not appear within "
                      << timeoutMs_ << " ms";
        expected_.clear();
    }
    return done;
}

bool ModalHelper::Matches(const Expectation& expectation, QWidget* window)
{
    if (!expectation.objectName_.isEmpty())
        return window->objectName() == expectation.objectName_;
    return window->inherits(expectation.className_.toLatin1().constData());
}

QString ModalHelper::Describe(const Expectation& expectation)
{
    if (!expectation.objectName_.isEmpty())
        return QStringLiteral("window \"%1\"").arg(expectation.objectName_);
    return QStringLiteral("window of type %1").arg(expectation.className_);
}

SeenWindow ModalHelper::Look(QWidget* window, bool expected)
{
    SeenWindow seen;
    seen.objectName = window->objectName();
    seen.className = QString::fromLatin1(window->metaObject()->className());
    seen.title = window->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(window))
        seen.text = box->text();
    seen.expected = expected;
    return seen;
}

void ModalHelper::CloseUnexpected(QWidget* window, const QString& why)
{
    const SeenWindow seen = Look(window, false);
    seen_.push_back(seen);
    ADD_FAILURE() << "Modal window closed by the test helper: " << seen.className.toStdString() << " \""
                  << seen.objectName.toStdString() << "\" titled \"" << seen.title.toStdString() << "\""
                  << (seen.text.isEmpty() ? std::string() : " saying \"" + seen.text.toStdString() + "\"") << " ("
                  << why.toStdString() << ")";
    answered_ = window;
    answeredAt_.start();
    if (auto* dialog = qobject_cast<QDialog*>(window))
        dialog->reject();
    if (window->isVisible())
        window->hide(); // ends the dialog's event loop too
}

bool ModalHelper::IsActingOn(QWidget* window) const
{
    return std::any_of(acting_.begin(), acting_.end(), [window](const QPointer<QWidget>& w) { return w == window; });
}

bool ModalHelper::ExpectsNext(QWidget* window) const
{
    return !expected_.empty() && Matches(expected_.front(), window);
}

bool ModalHelper::InGrace(QWidget* window, qint64 ms) const
{
    return window == answered_ && answeredAt_.isValid() && answeredAt_.elapsed() < ms;
}

void ModalHelper::Poll()
{
    QWidget* window = QApplication::activeModalWidget();
    if (!window || !window->isVisible())
        return;
    for (const ModalHelper* helper : live_) {
        if (helper->IsActingOn(window))
            return;
    }
    if (InGrace(window, SameWindowAgainMs))
        return;
    if (ExpectsNext(window)) {
        Expectation expectation = std::move(expected_.front());
        expected_.pop_front();
        seen_.push_back(Look(window, true));
        acting_.push_back(window);
        // The actions run outside this timer's slot, so that a window they open
        // in turn is still answered by the next poll.
        QTimer::singleShot(0, this, [this, target = QPointer<QWidget>(window), expectation = std::move(expectation)] {
            Answer(target, expectation);
        });
        return;
    }
    // Another helper's window, or one that only the newest helper may close.
    for (const ModalHelper* helper : live_) {
        if (helper != this && helper->ExpectsNext(window))
            return;
    }
    if (live_.back() != this)
        return;
    bool stuck = false;
    for (const ModalHelper* helper : live_) {
        if (helper->InGrace(window, StuckAfterMs))
            return;
        stuck = stuck || window == helper->answered_;
    }
    if (stuck)
        CloseUnexpected(window, QStringLiteral("still open after its actions"));
    else if (expected_.empty())
        CloseUnexpected(window, QStringLiteral("no window was expected"));
    else
        CloseUnexpected(window, QStringLiteral("expected ") + Describe(expected_.front()));
}

void ModalHelper::Answer(QPointer<QWidget> window, const Expectation& expectation)
{
    answered_ = window;
    answeredAt_.start();
    for (const auto& action : expectation.actions_) {
        if (!window) {
            ADD_FAILURE() << "Modal " << Describe(expectation).toStdString() << " closed before all its actions ran";
            break;
        }
        const QString error = action(window);
        if (!error.isEmpty()) {
            ADD_FAILURE() << "On modal " << Describe(expectation).toStdString() << ": " << error.toStdString();
            acting_.pop_back();
            if (window && window->isVisible())
                CloseUnexpected(window, QStringLiteral("its actions failed"));
            return;
        }
    }
    if (window) {
        answered_ = window;
        answeredAt_.start();
    }
    acting_.pop_back();
}

void ModalHelper::InstallWatchdog(int graceMs)
{
    static QTimer watchdog;
    static QPointer<QWidget> watched;
    static QElapsedTimer since;
    static int grace = 0;
    grace = graceMs;
    if (watchdog.isActive())
        return;
    watchdog.setInterval(100);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !live_.empty()) {
            watched = nullptr;
            return;
        }
        if (modal != watched) {
            watched = modal;
            since.start();
            return;
        }
        if (since.elapsed() < grace)
            return;
        const SeenWindow seen = Look(modal, false);
        ADD_FAILURE() << "Modal window left open with no ModalHelper to answer it: " << seen.className.toStdString()
                      << " \"" << seen.objectName.toStdString() << "\" titled \"" << seen.title.toStdString() << "\""
                      << (seen.text.isEmpty() ? std::string() : " saying \"" + seen.text.toStdString() + "\"");
        watched = nullptr;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        if (modal->isVisible())
            modal->hide();
    });
    watchdog.start();
}

} // namespace keyholm::test
