#include "components/FileKey.h"

#include <sodium.h>

#include <utility>

namespace keyholm {

FileKey::Params FileKey::Params::Moderate()
{
    return {crypto_pwhash_argon2id_OPSLIMIT_MODERATE, crypto_pwhash_argon2id_MEMLIMIT_MODERATE};
}

FileKey::FileKey(bool isProtected, const Params& params, const Salt& salt)
    : secret_(static_cast<Secret*>(sodium_malloc(sizeof(Secret))))
    , protected_(isProtected)
    , params_(params)
    , salt_(salt)
{
    if (secret_)
        sodium_memzero(secret_, sizeof(Secret));
}

FileKey::FileKey(FileKey&& other) noexcept
    : secret_(std::exchange(other.secret_, nullptr))
    , openAccesses_(std::exchange(other.openAccesses_, 0))
    , protected_(other.protected_)
    , params_(other.params_)
    , salt_(other.salt_)
{
}

FileKey& FileKey::operator=(FileKey&& other) noexcept
{
    if (this != &other) {
        if (secret_)
            sodium_free(secret_); // sodium_free wipes before it unmaps
        secret_ = std::exchange(other.secret_, nullptr);
        openAccesses_ = std::exchange(other.openAccesses_, 0);
        protected_ = other.protected_;
        params_ = other.params_;
        salt_ = other.salt_;
    }
    return *this;
}

FileKey::~FileKey()
{
    if (secret_)
        sodium_free(secret_);
}

FileKey::Secret* FileKey::Writable()
{
    if (secret_)
        sodium_mprotect_readwrite(secret_);
    return secret_;
}

void FileKey::Seal()
{
    if (secret_)
        sodium_mprotect_noaccess(secret_);
}

FileKey::Access::Access(const FileKey& key)
    : key_(key)
{
    if (key_.secret_ && key_.openAccesses_++ == 0)
        sodium_mprotect_readonly(key_.secret_);
}

FileKey::Access::~Access()
{
    if (key_.secret_ && --key_.openAccesses_ == 0)
        sodium_mprotect_noaccess(key_.secret_);
}

} // namespace keyholm
