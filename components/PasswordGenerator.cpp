#include "components/PasswordGenerator.h"

#include <QSet>

#include <sodium.h>
#include <zxcvbn.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace keyholm {

namespace {

struct CharClass {
    bool GeneratorOptions::*chosen;
    const char* all;
    const char* lookAlikes;
};

const CharClass Classes[] = {
    { &GeneratorOptions::capitals, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "IO" },
    { &GeneratorOptions::smalls, "abcdefghijklmnopqrstuvwxyz", "l" },
    { &GeneratorOptions::digits, "0123456789", "01" },
    // Nothing that breaks a quoted field, a web address query or a shell line.
    { &GeneratorOptions::signs, "!#$%&*+-.=?@_~", "" },
};

std::vector<QString> ChosenSets(const GeneratorOptions& options)
{
    std::vector<QString> sets;
    for (const CharClass& c : Classes) {
        if (!(options.*c.chosen))
            continue;
        QString set = QString::fromLatin1(c.all);
        if (options.excludeLookAlikes)
            for (const char* x = c.lookAlikes; *x; ++x)
                set.remove(QLatin1Char(*x));
        sets.push_back(set);
    }
    return sets;
}

int Length(const GeneratorOptions& options)
{
    return std::clamp(options.length, GeneratorOptions::ShortestLength, GeneratorOptions::LongestLength);
}

int WordCount(const GeneratorOptions& options)
{
    return std::clamp(options.words, GeneratorOptions::FewestWords, GeneratorOptions::MostWords);
}

} // namespace

QString PasswordGenerator::Alphabet(const GeneratorOptions& options)
{
    QString alphabet;
    for (const QString& set : ChosenSets(options))
        alphabet += set;
    return alphabet;
}

QString PasswordGenerator::Generate(const GeneratorOptions& options, const QStringList& words)
{
    if (sodium_init() < 0)
        return {};
    if (options.passphrase) {
        if (words.isEmpty())
            return {};
        QStringList drawn;
        for (int i = 0; i < WordCount(options); ++i)
            drawn << words.at(qsizetype(randombytes_uniform(uint32_t(words.size()))));
        return drawn.join(options.separator);
    }
    const std::vector<QString> sets = ChosenSets(options);
    const QString alphabet = Alphabet(options);
    if (alphabet.isEmpty())
        return {};
    const int length = Length(options);
    const bool everyClass = length >= int(sets.size());
    QString password(length, QLatin1Char(' '));
    std::vector<unsigned char> drawn(size_t(length), 0);
    // Drawing again until every class is present keeps the draw uniform
    // over the passwords that qualify.
    bool complete = false;
    while (!complete) {
        DrawIndexes(drawn, unsigned(alphabet.size()));
        for (int i = 0; i < length; ++i)
            password[i] = alphabet.at(drawn[size_t(i)]);
        complete = !everyClass || std::all_of(sets.begin(), sets.end(), [&password](const QString& set) {
            return std::any_of(password.begin(), password.end(), [&set](QChar c) { return set.contains(c); });
        });
    }
    sodium_memzero(drawn.data(), drawn.size());
    return password;
}

void PasswordGenerator::DrawIndexes(std::span<unsigned char> out, unsigned size)
{
    size = std::clamp(size, 2u, 256u);
    // Bytes at or above the last whole multiple of size would favour the
    // first indexes: they are drawn again.
    const unsigned limit = 256 - 256 % size;
    std::array<unsigned char, 96> pool {};
    size_t used = pool.size();
    for (unsigned char& index : out) {
        unsigned byte = 0;
        do {
            if (used == pool.size()) {
                randombytes_buf(pool.data(), pool.size());
                used = 0;
            }
            byte = pool[used++];
        } while (byte >= limit);
        index = static_cast<unsigned char>(byte % size);
    }
    sodium_memzero(pool.data(), pool.size());
}

double PasswordGenerator::EntropyBits(const GeneratorOptions& options, qsizetype wordCount)
{
    if (options.passphrase)
        return wordCount > 1 ? WordCount(options) * std::log2(double(wordCount)) : 0.0;
    const std::vector<QString> sets = ChosenSets(options);
    const int length = Length(options);
    int all = 0;
    for (const QString& set : sets)
        all += int(set.size());
    if (all < 2)
        return 0.0;
    if (length < int(sets.size()))
        return length * std::log2(double(all));
    // Share of the draws that hold every class, by inclusion and exclusion.
    const int n = int(sets.size());
    double share = 0;
    for (int subset = 0; subset < (1 << n); ++subset) {
        int missing = 0;
        int count = 0;
        for (int c = 0; c < n; ++c) {
            if (subset & (1 << c)) {
                missing += int(sets[size_t(c)].size());
                ++count;
            }
        }
        const double term = std::pow(double(all - missing) / all, length);
        share += (count % 2 == 0) ? term : -term;
    }
    return length * std::log2(double(all)) + (share > 0 ? std::log2(share) : 0.0);
}

QStringList PasswordGenerator::ReadWordList(const QByteArray& utf8)
{
    QStringList words;
    QSet<QString> seen;
    for (const QString& line : QString::fromUtf8(utf8).split(QLatin1Char('\n'))) {
        const QString word = line.trimmed();
        if (word.isEmpty() || word.startsWith(QLatin1Char('#')) || seen.contains(word))
            continue;
        seen.insert(word);
        words << word;
    }
    return words;
}

PasswordStrength PasswordStrength::Of(const QString& password)
{
    PasswordStrength strength;
    if (password.isEmpty())
        return strength;
    QByteArray utf8 = password.toUtf8();
    strength.bits = ZxcvbnMatch(utf8.constData(), nullptr, nullptr);
    sodium_memzero(utf8.data(), size_t(utf8.size()));
    // The steps of the usual advice: under 28 bits a password falls to an
    // online guess, 80 bits and more stand against an offline search.
    const double steps[] = { 28, 36, 60, 80 };
    strength.level
        = int(std::count_if(std::begin(steps), std::end(steps), [&](double s) { return strength.bits >= s; }));
    return strength;
}

QString PasswordStrength::Word(int level)
{
    switch (std::clamp(level, 0, 4)) {
    case 0:
        return QStringLiteral("très faible");
    case 1:
        return QStringLiteral("faible");
    case 2:
        return QStringLiteral("moyen");
    case 3:
        return QStringLiteral("fort");
    default:
        return QStringLiteral("très fort");
    }
}

} // namespace keyholm
