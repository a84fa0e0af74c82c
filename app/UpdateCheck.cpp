#include "app/UpdateCheck.h"

#include "components/Version.h"
#include "services/Environment.h"
#include "services/TraceLog.h"
#include "services/ui/Messages.h"

#include <QApplication>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>

#ifndef KEYHOLM_VERSION_URL
#define KEYHOLM_VERSION_URL "https://keyholm.example/Version/Keyholm.txt"
#endif

namespace keyholm {

namespace {

QString& AddressOverride()
{
    static QString address;
    return address;
}

int& TransferTimeout()
{
    static int ms = WebTools::DefaultTimeoutMs;
    return ms;
}

QString VersionString(const Version& version)
{
    return QString::number(version[0]) + QLatin1Char('.') + QString::number(version[1]) + QLatin1Char('.')
        + QString::number(version[2]);
}

bool IsLoopback(const QUrl& url)
{
    const QHostAddress host(url.host());
    return url.host() == QLatin1String("localhost") || (!host.isNull() && host.isLoopback());
}

// HTTPS only; plain HTTP to this machine serves the tests.
bool Usable(const QUrl& url)
{
    if (!url.isValid() || url.host().isEmpty() || url.hasQuery() || !url.userInfo().isEmpty())
        return false;
    return url.scheme() == QLatin1String("https") || (url.scheme() == QLatin1String("http") && IsLoopback(url));
}

} // namespace

std::optional<Version> ParseVersion(const QString& line)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,9})\\.(\\d{1,9})\\.(\\d{1,9})$"));
    const QRegularExpressionMatch match = form.match(line.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    return Version { match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt() };
}

std::optional<Version> VersionOfText(const QByteArray& text)
{
    const qsizetype end = text.indexOf('\n');
    QByteArray first = end < 0 ? text : text.left(end);
    if (first.startsWith("\xEF\xBB\xBF"))
        first = first.mid(3);
    // Plain ASCII digits and dots only: anything else is not a version text.
    for (const char c : first) {
        if (static_cast<unsigned char>(c) > 0x7F)
            return std::nullopt;
    }
    return ParseVersion(QString::fromLatin1(first));
}

QString VersionTextAddress()
{
    return AddressOverride().isEmpty() ? QStringLiteral(KEYHOLM_VERSION_URL) : AddressOverride();
}

void SetVersionTextAddress(const QString& address)
{
    AddressOverride() = address;
}

void WebTools::SetTransferTimeout(int ms)
{
    TransferTimeout() = ms > 0 ? ms : DefaultTimeoutMs;
}

WebTools::WebTools(QObject* parent)
    : QObject(parent)
    , manager_(new QNetworkAccessManager(this))
{
}

WebTools::~WebTools()
{
    Abort();
}

bool WebTools::CheckVersion(const QString& versionAddress, const QString& currentVersion, int mode,
    const QString& historyAddress, bool atStartUp, const QString& title)
{
    if (pending_) {
        atStartUp_ = atStartUp_ && atStartUp;
        return true;
    }
    const QUrl url(versionAddress, QUrl::StrictMode);
    if (!Usable(url) || !ParseVersion(currentVersion)) {
        TraceLog(QStringLiteral("Check version refused"), versionAddress);
        return false;
    }
    address_ = versionAddress;
    current_ = currentVersion;
    mode_ = mode;
    history_ = historyAddress;
    atStartUp_ = atStartUp;
    title_ = title;
    answer_.clear();
    failure_.clear();
    aborted_ = false;
    pending_ = true;
    sent_ = false;
    // After the window shows and the start has ended.
    QTimer::singleShot(0, this, &WebTools::Send);
    return true;
}

void WebTools::Send()
{
    if (!pending_ || reply_)
        return;
    const QUrl url(address_, QUrl::StrictMode);
    QNetworkRequest request(url);
    request.setRawHeader("User-Agent", QByteArrayLiteral("Keyholm/") + QByteArray(VersionNumber));
    // Qt would send the system's language; the program speaks French anyway.
    request.setRawHeader("Accept-Language", "fr");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setTransferTimeout(TransferTimeout());
    if (IsLoopback(url))
        manager_->setProxy(QNetworkProxy::NoProxy);
    TraceLog(QStringLiteral("Check version"), address_);
    sent_ = true;
    reply_ = manager_->get(request);
    reply_->setReadBufferSize(LargestAnswer + 1);
    connect(reply_, &QNetworkReply::metaDataChanged, this, [this] {
        const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > LargestAnswer)
            Fail(QStringLiteral("The version text is too long"));
    });
    connect(reply_, &QNetworkReply::readyRead, this, &WebTools::ReadAnswer);
    connect(reply_, &QNetworkReply::finished, this, &WebTools::Done);
}

void WebTools::ReadAnswer()
{
    if (!reply_ || !failure_.isEmpty())
        return;
    answer_ += reply_->read(LargestAnswer + 1 - answer_.size());
    if (answer_.size() > LargestAnswer)
        Fail(QStringLiteral("The version text is too long"));
}

void WebTools::Fail(const QString& reason)
{
    if (!failure_.isEmpty())
        return;
    failure_ = reason;
    if (reply_)
        reply_->abort(); // finished follows, and Done ends the check
}

void WebTools::Done()
{
    QNetworkReply* reply = reply_;
    if (!reply)
        return;
    if (failure_.isEmpty()) {
        answer_ += reply->read(LargestAnswer + 1 - answer_.size());
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (answer_.size() > LargestAnswer)
            failure_ = QStringLiteral("The version text is too long");
        else if (reply->error() != QNetworkReply::NoError)
            failure_ = reply->errorString();
        else if (status != 200)
            failure_ = QStringLiteral("HTTP status ") + QString::number(status);
    }
    reply_ = nullptr;
    reply->deleteLater();
    pending_ = false;
    if (!failure_.isEmpty()) {
        Tell(Outcome::Failed, failure_);
        return;
    }
    const std::optional<Version> available = VersionOfText(answer_);
    answer_.clear();
    if (!available) {
        Tell(Outcome::Failed, QStringLiteral("The answer is no version text"));
        return;
    }
    const Version current = *ParseVersion(current_);
    Tell(*available > current ? Outcome::Newer : Outcome::UpToDate, VersionString(*available));
}

void WebTools::Tell(Outcome outcome, const QString& detail)
{
    if (aborted_)
        return;
    // A box never comes over another window's question (the master
    // password at the start): it waits for that to end.
    if (outcome != Outcome::Failed && QApplication::activeModalWidget()
        && !(outcome == Outcome::UpToDate && atStartUp_)) {
        QTimer::singleShot(250, this, [this, outcome, detail] { Tell(outcome, detail); });
        return;
    }
    TraceLog(QStringLiteral("Check version result"),
        outcome == Outcome::Failed ? detail : detail + QStringLiteral(" / ") + current_);
    if (mode_ == 1 && outcome == Outcome::Newer) {
        const Answer answer = AskQuestion(QStringLiteral("Une nouvelle version ") + detail + QStringLiteral(" de ")
                + title_ + QStringLiteral(" est disponible (version actuelle ") + current_
                + QStringLiteral(").<BR><BR>Afficher l'historique des versions ?"),
            title_);
        if (answer == Answer::Yes)
            DisplayUrl(history_);
    } else if (mode_ == 1 && outcome == Outcome::UpToDate && !atStartUp_) {
        ShowInfo(QStringLiteral("Vous utilisez la dernière version de ") + title_ + QStringLiteral(" (") + current_
                + QStringLiteral(")."),
            title_);
    }
    Q_EMIT Finished(outcome, detail, atStartUp_);
}

void WebTools::Abort()
{
    aborted_ = true;
    pending_ = false;
    if (QNetworkReply* reply = reply_) {
        reply_ = nullptr;
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
        reply->deleteLater();
    }
}

} // namespace keyholm
