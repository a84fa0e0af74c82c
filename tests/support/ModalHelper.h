#pragma once
// Answers the modal windows that the code under test opens.
//
//     ModalHelper modal;
//     modal.ExpectMessageBox().Click(QMessageBox::Yes);
//     modal.Expect("Lib_PasswordAsk").Type("TextPassword", "mot de passe é").Click("CommandOK");
//     RunTheCodeThatOpensThem();
//     modal.Wait();   // fails the test when an expected window did not come
//
// Windows are answered in the order they were expected. A modal window that
// is not expected (or stays open after its actions) is closed and fails the
// test, so that a static QMessageBox call can never hang a test. Several
// helpers may live at once: a window goes to the one that expects it, and the
// newest one closes windows that none expects. Texts are
// typed one key event per character, with the character's text, so that
// accented letters work (QTest::keyClicks stops the program on them).

#include "support/QtPrinters.h"

#include <QMessageBox>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <list>
#include <vector>

class QWidget;

namespace keyholm::test {

// What the helper saw of a window it answered or closed.
struct SeenWindow {
    QString objectName;
    QString className;
    QString title;
    QString text; // a message box's text; empty for other windows
    bool expected = false;
};

class ModalHelper : public QObject {
    Q_OBJECT
public:
    // The actions done on one expected window, in the order they are added.
    class Expectation {
    public:
        // Types the text into the child field (QLineEdit, QTextEdit,
        // QPlainTextEdit, QComboBox, QSpinBox) after clearing it.
        Expectation& Type(const QString& childName, const QString& text);
        // Sets a check box or radio button to the given state by clicking it.
        Expectation& Tick(const QString& childName, bool checked = true);
        // Clicks a button found by object name, or else by its text ("&" ignored).
        Expectation& Click(const QString& buttonNameOrText);
        // Clicks a message box's standard button.
        Expectation& Click(QMessageBox::StandardButton button);
        Expectation& Accept();
        Expectation& Reject();
        // Any other work on the window.
        Expectation& Do(std::function<void(QWidget*)> action);

    private:
        friend class ModalHelper;
        QString objectName_;
        QString className_;
        std::vector<std::function<QString(QWidget*)>> actions_; // each gives an error text or empty
    };

    // A generous wait: a loaded build machine can take seconds to show a window.
    explicit ModalHelper(int timeoutMs = 20000);
    ~ModalHelper() override; // fails the test for windows expected but never seen

    // The next modal window with this object name.
    Expectation& Expect(const QString& objectName);
    // The next modal window of this class (QMessageBox, QDialog, QFileDialog, ...).
    Expectation& ExpectType(const QString& className);
    Expectation& ExpectMessageBox() { return ExpectType(QStringLiteral("QMessageBox")); }

    // Runs the event loop until every expected window has been answered; a
    // failure names the first window that did not appear in time. True on success.
    bool Wait();

    // Every window answered or closed so far, in order.
    const std::vector<SeenWindow>& Seen() const { return seen_; }
    // Expected windows not answered yet.
    int Pending() const { return static_cast<int>(expected_.size()); }

    // Watches for modal windows opened while no helper lives: after a few
    // seconds such a window is closed and fails the test, which would
    // otherwise hang until its time-out. The test main installs it.
    static void InstallWatchdog(int graceMs = 10000);

private:
    void Poll();
    void Answer(QPointer<QWidget> window, const Expectation& expectation);
    static bool Matches(const Expectation& expectation, QWidget* window);
    static QString Describe(const Expectation& expectation);
    static SeenWindow Look(QWidget* window, bool expected);
    void CloseUnexpected(QWidget* window, const QString& why);
    bool IsActingOn(QWidget* window) const;
    bool ExpectsNext(QWidget* window) const;
    bool InGrace(QWidget* window, qint64 ms) const;

    static inline std::vector<ModalHelper*> live_;

    int timeoutMs_;
    QTimer timer_;
    std::list<Expectation> expected_;
    std::vector<SeenWindow> seen_;
    QPointer<QWidget> answered_; // the window acted on last, given a moment to go away
    QElapsedTimer answeredAt_;
    std::vector<QPointer<QWidget>> acting_; // windows whose actions are running (nested when one opens another)
    bool waited_ = false;
};

} // namespace keyholm::test
