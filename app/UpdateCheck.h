#pragma once
// WebTools: the check for a newer version of the program. One asynchronous
// HTTPS request for the version text of the maker's site, started once the
// event loop runs (never holding up the start or the window), with a time-out,
// TLS errors as failures, redirects to the same origin only, no cookies and
// nothing about the user, the machine or the databases (the user agent says
// "Keyholm/x.y.z" and no more). At most 1 KiB is read; its first line must be
// a version "major.minor.revision", compared number by number. The check
// only informs: it may open the version history in the browser when the user
// says so, and never downloads or runs anything.

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <optional>

class QNetworkAccessManager;

namespace keyholm {

using Version = std::array<int, 3>;

// "major.minor.revision" of a whole line (blanks around it allowed), or nothing.
std::optional<Version> ParseVersion(const QString& line);
// The version on the first line of a version text, or nothing.
std::optional<Version> VersionOfText(const QByteArray& text);

// The address of the version text: the build's setting, unless a test put
// another one here (an empty text brings the build's back).
QString VersionTextAddress();
void SetVersionTextAddress(const QString& address);

class WebTools : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 LargestAnswer = 1024;
    static constexpr int DefaultTimeoutMs = 10000;

    enum class Outcome { Newer, UpToDate, Failed };

    explicit WebTools(QObject* parent = nullptr);
    // A pending request is aborted.
    ~WebTools() override;

    // Starts the check: the request goes out when the event loop next runs,
    // and the user is told when the answer is there (mode 1: a newer version
    // is offered with its history page; an up-to-date program is said only
    // when not at start-up). False when the address cannot be used (only
    // HTTPS, or HTTP to this machine for tests). While a check is pending a
    // second one only joins it: not at start-up wins.
    bool CheckVersion(const QString& versionAddress, const QString& currentVersion, int mode,
        const QString& historyAddress, bool atStartUp, const QString& title);

    bool Pending() const { return pending_; }
    // True once the request has been sent.
    bool Sent() const { return reply_ != nullptr || sent_; }
    // Ends a pending request quietly.
    void Abort();

    // How long the transfer may stall; tests shorten it.
    static void SetTransferTimeout(int ms);

Q_SIGNALS:
    // The check ended (after the user was told); `detail` is the version
    // found or the reason of the failure.
    void Finished(keyholm::WebTools::Outcome outcome, const QString& detail, bool atStartUp);

private:
    void Send();
    void ReadAnswer();
    void Done();
    void Fail(const QString& reason);
    void Tell(Outcome outcome, const QString& detail);

    QNetworkAccessManager* manager_ = nullptr;
    QPointer<QNetworkReply> reply_;
    QByteArray answer_;
    QString failure_; // set when the answer was refused before its end
    QString address_;
    QString current_;
    QString history_;
    QString title_;
    int mode_ = 1;
    bool atStartUp_ = true;
    bool pending_ = false;
    bool sent_ = false;
    bool aborted_ = false; // a result waiting for its box is dropped
};

} // namespace keyholm
