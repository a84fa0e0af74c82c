#include "components/TextMatcher.h"

#include "components/TextOrder.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace keyholm {

TextMatcher::TextMatcher(const QString& needle, Qt::CaseSensitivity cs)
    : needle_(needle)
    , cs_(cs)
{
    const bool fold = cs == Qt::CaseInsensitive;
    for (QChar c : needle)
        folded_.push_back(fold ? CaseFold(c.unicode()) : c.unicode());
    const char16_t* folds = Latin1CaseFolds();
    for (int b = 0; b < 256; ++b)
        fold_[b] = fold ? folds[b] : char16_t(b);
    // A needle that no Latin-1 text can hold never matches one.
    latin1Possible_ = !folded_.empty();
    for (char16_t u : folded_) {
        if (std::find(std::begin(fold_), std::end(fold_), u) == std::end(fold_))
            latin1Possible_ = false;
    }
    if (latin1Possible_) {
        for (int b = 0; b < 256; ++b) {
            if (fold_[b] == folded_[0])
                first_.push_back(char(b));
        }
    }
}

bool TextMatcher::MatchesLatin1(QLatin1StringView text) const
{
    const auto* h = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = std::size_t(text.size());
    const std::size_t m = folded_.size();
    if (n < m)
        return false;
    const std::size_t last = n - m;
    for (std::size_t i = 0; i <= last;) {
        // The next place where the first character may match.
        std::size_t at = n;
        for (char c : first_) {
            if (const void* p = std::memchr(h + i, c, last + 1 - i))
                at = std::min(at, std::size_t(static_cast<const unsigned char*>(p) - h));
        }
        if (at > last)
            return false;
        std::size_t j = 1;
        while (j < m && fold_[h[at + j]] == folded_[j])
            ++j;
        if (j == m)
            return true;
        i = at + 1;
    }
    return false;
}

} // namespace keyholm
