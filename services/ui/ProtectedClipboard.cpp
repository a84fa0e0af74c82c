#include "services/ui/ProtectedClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPointer>
#include <QTimer>

#include <sodium.h>

#include <array>

namespace keyholm {
namespace {

using Digest = std::array<unsigned char, crypto_generichash_BYTES>;

struct Remembered {
    std::array<unsigned char, crypto_generichash_KEYBYTES> key {};
    Digest digest {};
    bool held = false;
    int delay = ProtectedClipboard::DefaultClearDelay;
    int left = 0;
    QPointer<QTimer> timer;
    QPointer<QLabel> label;
    bool watching = false;
    Remembered()
    {
        if (sodium_init() >= 0)
            randombytes_buf(key.data(), key.size());
    }
};

Remembered& Last()
{
    static Remembered last;
    return last;
}

Digest DigestOf(const QString& text)
{
    Digest digest {};
    crypto_generichash(digest.data(), digest.size(), reinterpret_cast<const unsigned char*>(text.constData()),
        size_t(text.size()) * sizeof(QChar), Last().key.data(), Last().key.size());
    return digest;
}

void ShowLeft()
{
    Remembered& last = Last();
    if (!last.label)
        return;
    last.label->setVisible(last.left > 0);
    last.label->setText(last.left > 0 ? QStringLiteral("Presse-papiers vidé dans %1 s").arg(last.left) : QString());
}

void StopCountdown()
{
    Remembered& last = Last();
    last.left = 0;
    if (last.timer)
        last.timer->stop();
    ShowLeft();
}

void StartCountdown()
{
    Remembered& last = Last();
    if (last.delay <= 0) {
        StopCountdown();
        return;
    }
    if (!last.timer) {
        // Owned by the application, so that it goes before Qt does.
        last.timer = new QTimer(QCoreApplication::instance());
        last.timer->setInterval(1000);
        QObject::connect(last.timer, &QTimer::timeout, [] { ProtectedClipboard::CountDown(); });
    }
    last.left = last.delay;
    last.timer->start();
    ShowLeft();
}

} // namespace

void ProtectedClipboard::Copy(const QString& text)
{
    Remembered& last = Last();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!last.watching) {
        // Another program's copy ends the countdown at once.
        QObject::connect(clipboard, &QClipboard::dataChanged, [] {
            if (Last().left > 0 && !HoldsOwnText())
                StopCountdown();
        });
        last.watching = true;
    }
    // Remembered before the clipboard tells its change.
    last.digest = DigestOf(text);
    last.held = true;
    auto* data = new QMimeData;
    data->setText(text);
    // Read by the KDE and other clipboard histories: do not keep this one.
    data->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
    clipboard->setMimeData(data, QClipboard::Clipboard);
    StartCountdown();
}

bool ProtectedClipboard::HoldsOwnText()
{
    if (!Last().held)
        return false;
    QString current = QGuiApplication::clipboard()->text();
    const bool same = !current.isEmpty()
        && sodium_memcmp(DigestOf(current).data(), Last().digest.data(), Last().digest.size()) == 0;
    if (current.isDetached())
        sodium_memzero(current.data(), size_t(current.size()) * sizeof(QChar));
    return same;
}

void ProtectedClipboard::ClearOwnText()
{
    if (HoldsOwnText())
        QGuiApplication::clipboard()->clear();
    Last().held = false;
    StopCountdown();
}

void ProtectedClipboard::SetClearDelay(int seconds)
{
    Last().delay = seconds;
}

int ProtectedClipboard::ClearDelay()
{
    return Last().delay;
}

int ProtectedClipboard::SecondsLeft()
{
    return Last().left;
}

void ProtectedClipboard::CountDown()
{
    Remembered& last = Last();
    if (last.left <= 0)
        return;
    if (!HoldsOwnText()) {
        last.held = false;
        StopCountdown();
        return;
    }
    if (--last.left == 0)
        ClearOwnText();
    else
        ShowLeft();
}

void ProtectedClipboard::SetCountdownLabel(QLabel* label)
{
    Last().label = label;
    ShowLeft();
}

} // namespace keyholm
