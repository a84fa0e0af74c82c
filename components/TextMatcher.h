#pragma once
// Finds a text inside node texts, prepared once for a whole search. Letter
// case is folded as QString folds it (see TextOrder.h), and accents can be
// left aside too ("societe" finds "Société"); most texts are Latin-1 and are
// searched without conversion.

#include "components/PackedText.h"

#include <QString>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace keyholm {

class TextMatcher {
public:
    TextMatcher(const QString& needle, Qt::CaseSensitivity cs, bool ignoreAccents = false);

    bool Matches(const PackedText& text) const
    {
        if (text.IsWide())
            return ignoreAccents_ ? MatchesFolded(text.Utf16()) : text.Utf16().contains(needle_, cs_);
        return latin1Possible_ && MatchesLatin1(text.Latin1());
    }
    bool Matches(QStringView text) const { return ignoreAccents_ ? MatchesFolded(text) : text.contains(needle_, cs_); }

private:
    bool MatchesLatin1(QLatin1StringView text) const;
    bool MatchesFolded(QStringView text) const;
    char16_t Fold(char16_t c) const;

    QString needle_;
    Qt::CaseSensitivity cs_;
    bool ignoreAccents_ = false;
    std::vector<char16_t> folded_;
    char16_t fold_[256];
    // The bytes a match may start with.
    std::string first_;
    bool latin1Possible_ = false;
};

// Inline: a search calls it once a node.
inline bool TextMatcher::MatchesLatin1(QLatin1StringView text) const
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
