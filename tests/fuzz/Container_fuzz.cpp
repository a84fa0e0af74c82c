// libFuzzer target: the database container. Any bytes given as a file are
// refused or decoded without crashing; any bytes given as a tree are coded
// with the built-in key, decoded back to the same bytes, and reach the tree
// loader, as a file without a master password does.

#include "components/CipherEngine.h"
#include "components/FieldCoding.h"
#include "components/TreeStore.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

using namespace keyholm;

namespace {

const FileKey& BuiltInKey()
{
    static const std::optional<FileKey> key
        = CipherEngine::Instance().MakeFileKey(FixedKeyText, NumericParameterText(), QString());
    if (!key)
        __builtin_trap();
    return *key;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CipherEngine& engine = CipherEngine::Instance();
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));

    // As a file: a key is derived only for a header without a master
    // password (a protected one would cost a real derivation an input).
    const CipherEngine::FileHeader header = engine.InspectFile(input);
    if (header.status == CipherEngine::FileStatus::Ok && !header.isProtected) {
        CipherEngine::DecodedFile decoded = engine.DecodeFile(input, FixedKeyText, NumericParameterText(), QString());
        if (decoded.status == CipherEngine::FileStatus::Ok) {
            PasswordTree tree;
            (void)TreeStore::Instance().LoadTree(tree, decoded.plain);
        }
    }

    // As a tree: through the coding and back, unchanged.
    const QByteArray coded = engine.CodeFile(input, BuiltInKey());
    if (coded.isEmpty())
        __builtin_trap();
    CipherEngine::DecodedFile back = engine.DecodeFile(coded, BuiltInKey());
    if (back.status != CipherEngine::FileStatus::Ok || back.plain != input)
        __builtin_trap();
    PasswordTree tree;
    (void)TreeStore::Instance().LoadTree(tree, back.plain);
    return 0;
}
