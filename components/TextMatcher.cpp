#include "components/TextMatcher.h"

#include "components/TextOrder.h"

#include <algorithm>
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

} // namespace keyholm
