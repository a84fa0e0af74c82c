// Alone in its file so that a test program can link a floor of its own
// in its place.
#include "components/FileKey.h"

#include <sodium.h>

namespace keyholm {

FileKey::Params FileKey::Params::WritingFloor()
{
    return {crypto_pwhash_argon2id_OPSLIMIT_INTERACTIVE, crypto_pwhash_argon2id_MEMLIMIT_INTERACTIVE};
}

} // namespace keyholm
