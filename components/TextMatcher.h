#pragma once
// Finds a text inside node texts, prepared once for a whole search. Letter
// case is folded as QString folds it (see TextOrder.h); most texts are
// Latin-1 and are searched without conversion.

#include "components/PackedText.h"

#include <QString>

#include <string>
#include <vector>

namespace keyholm {

class TextMatcher {
public:
    TextMatcher(const QString& needle, Qt::CaseSensitivity cs);

    bool Matches(const PackedText& text) const
    {
        if (text.IsWide())
            return text.Utf16().contains(needle_, cs_);
        return latin1Possible_ && MatchesLatin1(text.Latin1());
    }

private:
    bool MatchesLatin1(QLatin1StringView text) const;

    QString needle_;
    Qt::CaseSensitivity cs_;
    std::vector<char16_t> folded_;
    char16_t fold_[256];
    // The bytes a match may start with.
    std::string first_;
    bool latin1Possible_ = false;
};

} // namespace keyholm
