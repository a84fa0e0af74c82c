#pragma once
// The two ways node texts are folded: the order of sorted children, and the
// letter case folding of text searches. They live together because the
// search folding is also the second level of the order.

#include "components/PackedText.h"

#include <QChar>

namespace keyholm {

// Order of sorted children: letter case and Latin accents ignored first,
// then letter case only, then nothing, so that the order is total and stable
// across runs. Negative, zero or positive.
int CompareTexts(const PackedText& a, const PackedText& b);

// Unicode simple case folding of one code unit, as QString's; surrogates
// stay as they are.
inline char16_t CaseFold(char16_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? char16_t(c + 32) : c;
    if (QChar::isSurrogate(c))
        return c;
    return char16_t(QChar::toCaseFolded(char32_t(c)));
}

// CaseFold of the 256 Latin-1 characters, so that Latin-1 texts are
// searched without conversion.
const char16_t* Latin1CaseFolds();

} // namespace keyholm
