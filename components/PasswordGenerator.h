#pragma once
// Passwords and passphrases drawn to the user's choice (the generator
// window): a length and character classes, or a number of words from a list.
// Every draw comes from libsodium. Also the strength of a typed password, as
// zxcvbn estimates it.

#include <QString>
#include <QStringList>

#include <span>

namespace keyholm {

struct GeneratorOptions {
    static constexpr int ShortestLength = 8;
    static constexpr int LongestLength = 128;
    static constexpr int FewestWords = 3;
    static constexpr int MostWords = 12;

    bool passphrase = false;
    int length = 20;
    bool capitals = true;
    bool smalls = true;
    bool digits = true;
    bool signs = true;
    bool excludeLookAlikes = true; // no I O l 0 1
    int words = 7;
    QString separator = QStringLiteral("-");

    bool operator==(const GeneratorOptions&) const = default;
};

class PasswordGenerator {
public:
    // The characters a password is drawn from; empty when no class is chosen.
    static QString Alphabet(const GeneratorOptions& options);
    // A password with at least one character of each chosen class (when it
    // is long enough for that), or words of the list joined by the
    // separator. Empty when nothing can be drawn (no class, no word).
    static QString Generate(const GeneratorOptions& options, const QStringList& words);
    // Bits of entropy of a draw: for words, count × log2(list size); for
    // characters, log2 of the number of passwords that hold every class.
    static double EntropyBits(const GeneratorOptions& options, qsizetype wordCount);
    // Fills `out` with uniform indexes below `size` (2 to 256) from
    // libsodium, a buffer of random bytes at a time: one system call for a
    // whole password, not one a character.
    static void DrawIndexes(std::span<unsigned char> out, unsigned size);
    // The words of a list, one a line: trimmed, blank lines and repeats left out.
    static QStringList ReadWordList(const QByteArray& utf8);
};

// Strength of a password, from zxcvbn's estimate of its entropy.
struct PasswordStrength {
    int level = 0; // 0 "très faible" to 4 "très fort"
    double bits = 0;
    static PasswordStrength Of(const QString& password);
    // "très faible", "faible", "moyen", "fort", "très fort".
    static QString Word(int level);
};

} // namespace keyholm
