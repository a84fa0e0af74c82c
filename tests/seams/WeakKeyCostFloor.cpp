// Test programs make keys with the least cost libsodium takes, so that a
// test that sets a password does not pay a real derivation.
#include "components/FileKey.h"

#include <sodium.h>

namespace keyholm {

FileKey::Params FileKey::Params::WritingFloor()
{
    return {crypto_pwhash_argon2id_OPSLIMIT_MIN, crypto_pwhash_argon2id_MEMLIMIT_MIN};
}

} // namespace keyholm
