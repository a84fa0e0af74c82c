#include "components/TextMatcher.h"

#include "components/TextOrder.h"

#include <algorithm>
#include <iterator>

namespace keyholm {

namespace {

// The letter without its accents: "é" gives "e" (canonical decompositions
// only, so that "æ" or "ß" stay as they are).
char16_t BaseLetter(char16_t c)
{
    QChar letter(c);
    while (letter.decompositionTag() == QChar::Canonical) {
        const QString parts = letter.decomposition();
        if (parts.isEmpty() || parts[0] == letter)
            break;
        letter = parts[0];
    }
    return letter.unicode();
}

} // namespace

char16_t TextMatcher::Fold(char16_t c) const
{
    if (ignoreAccents_)
        c = BaseLetter(c);
    return cs_ == Qt::CaseInsensitive ? CaseFold(c) : c;
}

bool TextMatcher::MatchesFolded(QStringView text) const
{
    QString folded(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        folded[i] = QChar(Fold(text[i].unicode()));
    return folded.contains(QStringView(folded_.data(), qsizetype(folded_.size())));
}

TextMatcher::TextMatcher(const QString& needle, Qt::CaseSensitivity cs, bool ignoreAccents)
    : needle_(needle)
    , cs_(cs)
    , ignoreAccents_(ignoreAccents)
{
    const bool fold = cs == Qt::CaseInsensitive || ignoreAccents;
    for (QChar c : needle)
        folded_.push_back(fold ? Fold(c.unicode()) : c.unicode());
    const char16_t* folds = Latin1CaseFolds();
    for (int b = 0; b < 256; ++b)
        fold_[b] = ignoreAccents ? Fold(char16_t(b)) : cs == Qt::CaseInsensitive ? folds[b] : char16_t(b);
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
