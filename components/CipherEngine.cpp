#include "components/CipherEngine.h"

#include "components/PasswordGenerator.h"

#include <QtEndian>

#include <sodium.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace keyholm {
namespace {

constexpr unsigned char Magic[8] = { 'K', 'e', 'y', 'h', 'o', 'l', 'm', 0x1A };
constexpr int VersionOffset = 8;
constexpr int FlagsOffset = 10;
constexpr int KdfOffset = 11;
constexpr int OpsOffset = 12;
constexpr int MemOffset = 16;
constexpr int SaltOffset = 24;
constexpr int NonceOffset = 40;
constexpr int CheckOffset = 64;
constexpr int NonceSize = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr int CheckSize = 16;
constexpr unsigned char FlagProtected = 0x01;
constexpr unsigned char KdfKeyText = 0;
constexpr unsigned char KdfArgon2id = 1;
static_assert(CheckOffset + CheckSize == CipherEngine::HeaderSize);
static_assert(NonceOffset + NonceSize == CheckOffset);
static_assert(SaltOffset + FileKey::SaltSize == NonceOffset);
static_assert(crypto_aead_xchacha20poly1305_ietf_ABYTES == CipherEngine::TagSize);
static_assert(crypto_pwhash_SALTBYTES == FileKey::SaltSize);

// Upper bounds for what a header may ask: a damaged or hostile file must not
// make the program run for minutes or take all the memory.
constexpr quint32 MaxOpsLimit = 16;
constexpr quint64 MaxMemLimit = quint64(1) << 30;

// Domain texts keep the field key, the file key and the key check apart.
constexpr char FieldDomain[] = "Keyholm field coding 1";
constexpr char FileDomain[] = "Keyholm file key 1";
constexpr char CheckDomain[] = "Keyholm key check 1";

constexpr char Capitals[] = "ABCDEFGHJKLMNPQRSTUVWXYZ";
constexpr char Smalls[] = "abcdefghijkmnopqrstuvwxyz";
constexpr char Digits[] = "23456789";
constexpr char Signs[] = "-_.!";
constexpr int PasswordEntropyBits = 80;
constexpr int LongestPassword = 256;

const unsigned char* Bytes(const QByteArray& data)
{
    return reinterpret_cast<const unsigned char*>(data.constData());
}
unsigned char* Bytes(QByteArray& data)
{
    return reinterpret_cast<unsigned char*>(data.data());
}

// UTF-8 form of a secret text, wiped when it goes.
struct SecretUtf8 {
    explicit SecretUtf8(const QString& text)
        : bytes(text.toUtf8())
    {
    }
    ~SecretUtf8() { CipherEngine::Wipe(bytes); }
    SecretUtf8(const SecretUtf8&) = delete;
    SecretUtf8& operator=(const SecretUtf8&) = delete;
    QByteArray bytes;
};

// A BLAKE2b hash over length-prefixed parts, so that no two different lists
// of parts hash the same.
class PartsHash {
public:
    PartsHash() { crypto_generichash_init(&state_, nullptr, 0, crypto_generichash_BYTES_MAX); }
    ~PartsHash() { sodium_memzero(&state_, sizeof state_); }
    PartsHash(const PartsHash&) = delete;
    PartsHash& operator=(const PartsHash&) = delete;
    void Add(const void* data, size_t size)
    {
        unsigned char length[8];
        qToLittleEndian<quint64>(size, length);
        crypto_generichash_update(&state_, length, sizeof length);
        if (size > 0)
            crypto_generichash_update(&state_, static_cast<const unsigned char*>(data), size);
    }
    void Add(const QByteArray& data) { Add(data.constData(), size_t(data.size())); }
    void Add(const char* text) { Add(text, std::strlen(text)); }
    void Final(unsigned char (&out)[crypto_generichash_BYTES_MAX])
    {
        crypto_generichash_final(&state_, out, sizeof out);
    }

private:
    crypto_generichash_state state_;
};

struct FieldKeys {
    unsigned char nonceKey[32];
    unsigned char encryption[32];
    FieldKeys(const QString& keyText, const QString& numericText)
    {
        SecretUtf8 key(keyText);
        SecretUtf8 numeric(numericText);
        PartsHash hash;
        hash.Add(FieldDomain);
        hash.Add(key.bytes);
        hash.Add(numeric.bytes);
        unsigned char master[crypto_generichash_BYTES_MAX];
        hash.Final(master);
        std::memcpy(nonceKey, master, 32);
        std::memcpy(encryption, master + 32, 32);
        sodium_memzero(master, sizeof master);
    }
    ~FieldKeys() { sodium_memzero(this, sizeof *this); }
    FieldKeys(const FieldKeys&) = delete;
    FieldKeys& operator=(const FieldKeys&) = delete;
};

bool ParamsInBounds(const FileKey::Params& params)
{
    return params.opsLimit >= crypto_pwhash_argon2id_OPSLIMIT_MIN && params.opsLimit <= MaxOpsLimit
        && params.memLimit >= crypto_pwhash_argon2id_MEMLIMIT_MIN && params.memLimit <= MaxMemLimit;
}

void KeyCheck(const unsigned char (&checkKey)[32], unsigned char* out)
{
    crypto_generichash(out, CheckSize, reinterpret_cast<const unsigned char*>(CheckDomain), sizeof CheckDomain - 1,
        checkKey, sizeof checkKey);
}

} // namespace

CipherEngine::CipherEngine()
    : ready_(sodium_init() >= 0)
{
}

QString CipherEngine::CodeText(const QString& text, const QString& keyText, const QString& numericText) const
{
    if (!ready_ || text.isEmpty())
        return {};
    const FieldKeys keys(keyText, numericText);
    const SecretUtf8 plain(text);
    QByteArray coded(NonceSize + plain.bytes.size() + TagSize, Qt::Uninitialized);
    unsigned char* nonce = Bytes(coded);
    // The nonce is a keyed hash of the text: the same text and key give the
    // same coded text, and different texts never share a nonce.
    crypto_generichash(
        nonce, NonceSize, Bytes(plain.bytes), size_t(plain.bytes.size()), keys.nonceKey, sizeof keys.nonceKey);
    unsigned long long codedSize = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(nonce + NonceSize, &codedSize, Bytes(plain.bytes),
        size_t(plain.bytes.size()), nullptr, 0, nullptr, nonce, keys.encryption);
    return QString::fromLatin1(coded.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

QString CipherEngine::DecodeText(const QString& codedText, const QString& keyText, const QString& numericText) const
{
    if (!ready_ || codedText.isEmpty())
        return {};
    return TextDecoder(keyText, numericText).Decode(codedText);
}

CipherEngine::TextDecoder::TextDecoder(const QString& keyText, const QString& numericText)
{
    const FieldKeys keys(keyText, numericText);
    std::memcpy(nonceKey_, keys.nonceKey, sizeof nonceKey_);
    std::memcpy(encryption_, keys.encryption, sizeof encryption_);
}

CipherEngine::TextDecoder::~TextDecoder()
{
    sodium_memzero(nonceKey_, sizeof nonceKey_);
    sodium_memzero(encryption_, sizeof encryption_);
}

QString CipherEngine::TextDecoder::Decode(const QString& codedText) const
{
    if (codedText.isEmpty() || !Instance().IsReady())
        return {};
    const QByteArray ascii = codedText.toLatin1();
    QByteArray coded(ascii.size() * 3 / 4 + 1, Qt::Uninitialized);
    size_t codedSize = 0;
    const char* end = nullptr;
    // Strict: any sign outside the alphabet or stray bits at the end fail.
    if (sodium_base642bin(Bytes(coded), size_t(coded.size()), ascii.constData(), size_t(ascii.size()), nullptr,
            &codedSize, &end, sodium_base64_VARIANT_URLSAFE_NO_PADDING)
            != 0
        || end != ascii.constData() + ascii.size() || codedText.size() != ascii.size()
        || codedSize < size_t(NonceSize + TagSize))
        return {};
    const unsigned char* nonce = Bytes(coded);
    QByteArray plain(qsizetype(codedSize) - NonceSize - TagSize, Qt::Uninitialized);
    unsigned long long plainSize = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            Bytes(plain), &plainSize, nullptr, nonce + NonceSize, codedSize - NonceSize, nullptr, 0, nonce, encryption_)
        != 0) {
        Wipe(plain);
        return {};
    }
    unsigned char expected[NonceSize];
    crypto_generichash(expected, NonceSize, Bytes(plain), size_t(plain.size()), nonceKey_, sizeof nonceKey_);
    const bool sound = sodium_memcmp(expected, nonce, NonceSize) == 0;
    QString text = sound ? QString::fromUtf8(plain) : QString();
    Wipe(plain);
    return text;
}

std::optional<FileKey> CipherEngine::MakeFileKey(const QString& keyText, const QString& numericText,
    const QString& masterPassword, const FileKey::Params& params) const
{
    if (!ready_)
        return std::nullopt;
    const bool isProtected = !masterPassword.isEmpty();
    if (isProtected && (!ParamsInBounds(params) || !params.AtLeast(FileKey::Params::WritingFloor())))
        return std::nullopt;
    FileKey::Salt salt;
    randombytes_buf(salt.data(), salt.size());
    return DeriveKey(keyText, numericText, masterPassword, isProtected ? params : FileKey::Params {}, salt);
}

std::optional<FileKey> CipherEngine::DeriveKey(const QString& keyText, const QString& numericText,
    const QString& masterPassword, const FileKey::Params& params, const FileKey::Salt& salt) const
{
    const bool isProtected = !masterPassword.isEmpty();
    FileKey key(isProtected, params, salt);
    if (!key.IsValid())
        return std::nullopt;
    unsigned char stretched[32] = {};
    if (isProtected) {
        const SecretUtf8 password(masterPassword);
        if (crypto_pwhash(stretched, sizeof stretched, password.bytes.constData(),
                static_cast<unsigned long long>(password.bytes.size()), salt.data(), params.opsLimit,
                size_t(params.memLimit), crypto_pwhash_ALG_ARGON2ID13)
            != 0)
            return std::nullopt;
    }
    const SecretUtf8 key8(keyText);
    const SecretUtf8 numeric8(numericText);
    const unsigned char flag = isProtected ? 1 : 0;
    PartsHash hash;
    hash.Add(FileDomain);
    hash.Add(key8.bytes);
    hash.Add(numeric8.bytes);
    hash.Add(&flag, 1);
    hash.Add(stretched, isProtected ? sizeof stretched : 0);
    hash.Add(salt.data(), salt.size());
    unsigned char master[crypto_generichash_BYTES_MAX];
    hash.Final(master);
    sodium_memzero(stretched, sizeof stretched);
    FileKey::Secret* secret = key.Writable();
    std::memcpy(secret->encryption, master, 32);
    std::memcpy(secret->check, master + 32, 32);
    key.Seal();
    sodium_memzero(master, sizeof master);
    return key;
}

QByteArray CipherEngine::CodeFile(const QByteArray& plain, const FileKey& key) const
{
    if (!ready_ || !key.IsValid())
        return {};
    QByteArray container(HeaderSize + plain.size() + TagSize, Qt::Uninitialized);
    unsigned char* header = Bytes(container);
    std::memcpy(header, Magic, sizeof Magic);
    qToLittleEndian<quint16>(FormatVersion, header + VersionOffset);
    header[FlagsOffset] = key.IsProtected() ? FlagProtected : 0;
    header[KdfOffset] = key.IsProtected() ? KdfArgon2id : KdfKeyText;
    qToLittleEndian<quint32>(key.KdfParams().opsLimit, header + OpsOffset);
    qToLittleEndian<quint64>(key.KdfParams().memLimit, header + MemOffset);
    std::memcpy(header + SaltOffset, key.SaltBytes().data(), FileKey::SaltSize);
    // A fresh nonce for every save, so that the key can be kept across saves.
    randombytes_buf(header + NonceOffset, NonceSize);
    const FileKey::Access secret(key);
    KeyCheck(secret->check, header + CheckOffset);
    unsigned long long codedSize = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(header + HeaderSize, &codedSize, Bytes(plain), size_t(plain.size()),
        header, HeaderSize, nullptr, header + NonceOffset, secret->encryption);
    return container;
}

CipherEngine::FileHeader CipherEngine::InspectFile(const QByteArray& container) const
{
    FileHeader header;
    const unsigned char* data = Bytes(container);
    if (container.size() < qsizetype(sizeof Magic) || std::memcmp(data, Magic, sizeof Magic) != 0)
        return header;
    header.status = FileStatus::Damaged;
    if (container.size() < VersionOffset + 2)
        return header;
    header.version = qFromLittleEndian<quint16>(data + VersionOffset);
    if (header.version > FormatVersion) {
        header.status = FileStatus::NewerVersion;
        return header;
    }
    if (header.version != FormatVersion || container.size() < HeaderSize + TagSize)
        return header;
    const unsigned char flags = data[FlagsOffset];
    const unsigned char kdf = data[KdfOffset];
    const FileKey::Params params { qFromLittleEndian<quint32>(data + OpsOffset),
        qFromLittleEndian<quint64>(data + MemOffset) };
    const bool isProtected = (flags & FlagProtected) != 0;
    if ((flags & ~FlagProtected) != 0)
        return header;
    if (isProtected ? (kdf != KdfArgon2id || !ParamsInBounds(params))
                    : (kdf != KdfKeyText || params != FileKey::Params {}))
        return header;
    header.isProtected = isProtected;
    header.params = params;
    std::memcpy(header.salt.data(), data + SaltOffset, header.salt.size());
    header.status = FileStatus::Ok;
    return header;
}

CipherEngine::DecodedFile CipherEngine::DecodeFile(const QByteArray& container, const QString& keyText,
    const QString& numericText, const QString& masterPassword) const
{
    const FileHeader header = InspectFile(container);
    if (header.status != FileStatus::Ok)
        return { header.status, {}, std::nullopt };
    if (!ready_)
        return { FileStatus::Failed, {}, std::nullopt };
    if (header.isProtected && masterPassword.isEmpty())
        return { FileStatus::WrongKey, {}, std::nullopt };
    std::optional<FileKey> key
        = DeriveKey(keyText, numericText, header.isProtected ? masterPassword : QString(), header.params, header.salt);
    if (!key)
        return { FileStatus::Failed, {}, std::nullopt };
    DecodedFile decoded = DecodeFile(container, *key);
    if (decoded.status == FileStatus::Ok)
        decoded.key = std::move(key);
    return decoded;
}

CipherEngine::DecodedFile CipherEngine::DecodeFile(const QByteArray& container, const FileKey& key) const
{
    const FileHeader header = InspectFile(container);
    if (header.status != FileStatus::Ok)
        return { header.status, {}, std::nullopt };
    if (!ready_ || !key.IsValid())
        return { FileStatus::Failed, {}, std::nullopt };
    const unsigned char* data = Bytes(container);
    if (header.isProtected != key.IsProtected() || header.params != key.KdfParams() || header.salt != key.SaltBytes())
        return { FileStatus::WrongKey, {}, std::nullopt };
    const FileKey::Access secret(key);
    unsigned char check[CheckSize];
    KeyCheck(secret->check, check);
    const bool checkDamaged = sodium_memcmp(check, data + CheckOffset, CheckSize) != 0;
    // A wrong check is a wrong key, or damage to the check alone: the header
    // as this key would have written it tells them apart, since the whole
    // header is authenticated.
    unsigned char associated[HeaderSize];
    std::memcpy(associated, data, HeaderSize);
    std::memcpy(associated + CheckOffset, check, CheckSize);
    const size_t codedSize = size_t(container.size()) - HeaderSize;
    QByteArray plain(qsizetype(codedSize) - TagSize, Qt::Uninitialized);
    unsigned long long plainSize = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(Bytes(plain), &plainSize, nullptr, data + HeaderSize, codedSize,
            associated, HeaderSize, data + NonceOffset, secret->encryption)
        != 0) {
        Wipe(plain);
        return { checkDamaged ? FileStatus::WrongKey : FileStatus::Damaged, {}, std::nullopt };
    }
    DecodedFile decoded { FileStatus::Ok, std::move(plain), std::nullopt };
    decoded.checkDamaged = checkDamaged;
    return decoded;
}

bool CipherEngine::VerifyMasterPassword(
    const FileKey& key, const QString& keyText, const QString& numericText, const QString& masterPassword) const
{
    if (!ready_ || !key.IsValid() || !key.IsProtected() || masterPassword.isEmpty())
        return false;
    const std::optional<FileKey> derived
        = DeriveKey(keyText, numericText, masterPassword, key.KdfParams(), key.SaltBytes());
    if (!derived || !derived->IsValid())
        return false;
    const FileKey::Access expected(key);
    const FileKey::Access given(*derived);
    return sodium_memcmp(expected->check, given->check, sizeof expected->check) == 0
        && sodium_memcmp(expected->encryption, given->encryption, sizeof expected->encryption) == 0;
}

QString CipherEngine::PasswordAlphabet()
{
    return QString::fromLatin1(Capitals) + QLatin1String(Smalls) + QLatin1String(Digits) + QLatin1String(Signs);
}

int CipherEngine::MinimumPasswordLength()
{
    // Entropy of a uniform draw among the passwords that hold every class:
    // log2 of their number, counted by inclusion and exclusion.
    static const int length = [] {
        const int classes[]
            = { int(sizeof Capitals - 1), int(sizeof Smalls - 1), int(sizeof Digits - 1), int(sizeof Signs - 1) };
        int all = 0;
        for (int size : classes)
            all += size;
        for (int candidate = 1; candidate <= LongestPassword; ++candidate) {
            double share = 0;
            for (int subset = 0; subset < 16; ++subset) {
                int missing = 0;
                int count = 0;
                for (int c = 0; c < 4; ++c) {
                    if (subset & (1 << c)) {
                        missing += classes[c];
                        ++count;
                    }
                }
                const double term = std::pow(double(all - missing) / all, candidate);
                share += (count % 2 == 0) ? term : -term;
            }
            if (share > 0 && candidate * std::log2(double(all)) + std::log2(share) >= PasswordEntropyBits)
                return candidate;
        }
        return LongestPassword;
    }();
    return length;
}

QString CipherEngine::GeneratePassword(int minimumLength, int maximumLength) const
{
    if (!ready_)
        return {};
    const int low = std::clamp(minimumLength, MinimumPasswordLength(), LongestPassword);
    const int high = std::clamp(maximumLength, low, LongestPassword);
    const int length = low + int(randombytes_uniform(uint32_t(high - low + 1)));
    static const std::string alphabet = PasswordAlphabet().toStdString();
    const auto holds
        = [](const std::string& text, const char* set) { return text.find_first_of(set) != std::string::npos; };
    std::string password(size_t(length), ' ');
    std::vector<unsigned char> drawn(size_t(length), 0);
    // Drawing again until every class is present keeps the draw uniform
    // over the passwords that qualify.
    do {
        PasswordGenerator::DrawIndexes(drawn, unsigned(alphabet.size()));
        for (size_t i = 0; i < password.size(); ++i)
            password[i] = alphabet[drawn[i]];
    } while (
        !holds(password, Capitals) || !holds(password, Smalls) || !holds(password, Digits) || !holds(password, Signs));
    QString result = QString::fromLatin1(password.data(), qsizetype(password.size()));
    sodium_memzero(password.data(), password.size());
    sodium_memzero(drawn.data(), drawn.size());
    return result;
}

QString CipherEngine::GenerateNickname(int syllables, bool withDigits) const
{
    if (!ready_)
        return {};
    static constexpr char Consonants[] = "bcdfghjklmnprstvz";
    static constexpr char Vowels[] = "aeiou";
    QString nickname;
    const int count = std::clamp(syllables, 1, 6);
    for (int i = 0; i < count; ++i) {
        nickname += QLatin1Char(Consonants[randombytes_uniform(sizeof Consonants - 1)]);
        nickname += QLatin1Char(Vowels[randombytes_uniform(sizeof Vowels - 1)]);
    }
    nickname[0] = nickname[0].toUpper();
    if (withDigits)
        nickname += QString::number(10 + randombytes_uniform(90));
    return nickname;
}

bool CipherEngine::Wipe(QByteArray& bytes)
{
    // Writing to a shared buffer would only wipe a fresh copy of it.
    const bool alone = bytes.isEmpty() || bytes.isDetached();
    if (!bytes.isEmpty() && alone)
        sodium_memzero(bytes.data(), size_t(bytes.size()));
    bytes.clear();
    return alone;
}

bool CipherEngine::Wipe(QString& text)
{
    const bool alone = text.isEmpty() || text.isDetached();
    if (!text.isEmpty() && alone)
        sodium_memzero(text.data(), size_t(text.size()) * sizeof(QChar));
    text.clear();
    return alone;
}

} // namespace keyholm
