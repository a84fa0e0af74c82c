#include "components/TextOrder.h"

#include <QString>

#include <algorithm>

namespace keyholm {
namespace {
struct FoldTables {
    // Letter case and Latin accents, for the characters Latin texts use.
    char16_t primary[0x250];
    char16_t latin1[0x100];
    FoldTables()
    {
        for (char32_t c = 0; c < 0x250; ++c) {
            const QChar ch { char16_t(c) };
            QChar base = ch;
            if (ch.decompositionTag() == QChar::Canonical) {
                const QString d = ch.decomposition();
                if (!d.isEmpty())
                    base = d.at(0);
            }
            primary[c] = char16_t(QChar::toCaseFolded(char32_t(base.unicode())));
        }
        for (char16_t c = 0; c < 0x100; ++c)
            latin1[c] = CaseFold(c);
    }
};

const FoldTables& Tables()
{
    static const FoldTables tables;
    return tables;
}

struct PrimaryFold {
    const char16_t* table = Tables().primary;
    char16_t operator()(char16_t c) const { return c < 0x250 ? table[c] : CaseFold(c); }
};
struct SecondaryFold {
    char16_t operator()(char16_t c) const { return CaseFold(c); }
};
struct NoFold {
    char16_t operator()(char16_t c) const { return c; }
};

template <class A, class B, class Fold> int CompareFolded(A a, B b, Fold fold)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = fold(CodeUnit(a, i));
        const char16_t y = fold(CodeUnit(b, i));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

template <class Fold> int Compare(const PackedText& a, const PackedText& b, Fold fold)
{
    return a.Visit([&](auto va) { return b.Visit([&](auto vb) { return CompareFolded(va, vb, fold); }); });
}
} // namespace

int CompareTexts(const PackedText& a, const PackedText& b)
{
    if (const int r = Compare(a, b, PrimaryFold()))
        return r;
    if (const int r = Compare(a, b, SecondaryFold()))
        return r;
    return Compare(a, b, NoFold());
}

const char16_t* Latin1CaseFolds()
{
    return Tables().latin1;
}

} // namespace keyholm
