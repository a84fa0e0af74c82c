#pragma once
// Where keyholm-cli reads its secrets: the terminal, without echo, or the
// lines of its standard input (--password-stdin), one secret a line, in the
// order the command asks them. Never the arguments or the environment,
// which other users of the machine may read.

#include <QString>

#include <optional>

namespace keyholm::cli {

class SecretInput {
public:
    explicit SecretInput(bool fromStdin)
        : fromStdin_(fromStdin)
    {
    }

    bool FromStdin() const { return fromStdin_; }
    // One secret; nothing at the end of the input or without a terminal
    // (Failure says why).
    std::optional<QString> Read(const QString& prompt);
    // Asks twice on the terminal and gives the text when both match; from
    // standard input, one line is the answer.
    std::optional<QString> ReadConfirmed(const QString& prompt, const QString& again);
    const QString& Failure() const { return failure_; }

private:
    bool fromStdin_;
    QString failure_;
};

} // namespace keyholm::cli
