#include "services/ui/ProtectedClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <sodium.h>

#include <array>

namespace keyholm {
namespace {

using Digest = std::array<unsigned char, crypto_generichash_BYTES>;

struct Remembered {
    std::array<unsigned char, crypto_generichash_KEYBYTES> key {};
    Digest digest {};
    bool held = false;
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

} // namespace

void ProtectedClipboard::Copy(const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
    // Read by the KDE and other clipboard histories: do not keep this one.
    data->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
    QGuiApplication::clipboard()->setMimeData(data);
    Last().digest = DigestOf(text);
    Last().held = true;
}

bool ProtectedClipboard::HoldsOwnText()
{
    if (!Last().held)
        return false;
    QString current = QGuiApplication::clipboard()->text();
    const bool same = !current.isEmpty() && sodium_memcmp(DigestOf(current).data(), Last().digest.data(), Last().digest.size()) == 0;
    if (current.isDetached())
        sodium_memzero(current.data(), size_t(current.size()) * sizeof(QChar));
    return same;
}

void ProtectedClipboard::ClearOwnText()
{
    if (HoldsOwnText())
        QGuiApplication::clipboard()->clear();
    Last().held = false;
}

} // namespace keyholm
