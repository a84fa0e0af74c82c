#include "cli/SecretInput.h"

#include "components/CipherEngine.h"

#include <sodium.h>

#include <cstdio>
#include <string>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace keyholm::cli {

namespace {

// One line of `fd`, byte by byte so that nothing after it is taken from the
// stream; its end of line dropped. False at the end of the input before any byte.
bool ReadLine(int fd, std::string& line)
{
    line.clear();
    char c = 0;
    bool any = false;
    for (;;) {
        const ssize_t n = ::read(fd, &c, 1);
        if (n <= 0)
            return any;
        any = true;
        if (c == '\n')
            break;
        line.push_back(c);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

QString TakeText(std::string& line)
{
    QString text = QString::fromUtf8(line.data(), qsizetype(line.size()));
    sodium_memzero(line.data(), line.size());
    line.clear();
    line.shrink_to_fit();
    return text;
}

} // namespace

std::optional<QString> SecretInput::Read(const QString& prompt)
{
    std::string line;
    line.reserve(256); // a secret of usual length is never copied by a growth
    if (fromStdin_) {
        if (!ReadLine(STDIN_FILENO, line)) {
            failure_ = QStringLiteral("Mot de passe attendu sur l'entrée standard.");
            return std::nullopt;
        }
        return TakeText(line);
    }
    const int tty = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (tty < 0) {
        failure_ = QStringLiteral("Aucun terminal pour lire le mot de passe : utilisez --password-stdin.");
        return std::nullopt;
    }
    const QByteArray shown = prompt.toUtf8();
    [[maybe_unused]] const ssize_t written = ::write(tty, shown.constData(), size_t(shown.size()));
    termios saved {};
    const bool terminal = ::tcgetattr(tty, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        quiet.c_lflag |= ECHONL;
        ::tcsetattr(tty, TCSAFLUSH, &quiet);
    }
    const bool read = ReadLine(tty, line);
    if (terminal)
        ::tcsetattr(tty, TCSAFLUSH, &saved);
    ::close(tty);
    if (!read) {
        failure_ = QStringLiteral("Saisie interrompue.");
        return std::nullopt;
    }
    return TakeText(line);
}

std::optional<QString> SecretInput::ReadConfirmed(const QString& prompt, const QString& again)
{
    std::optional<QString> first = Read(prompt);
    if (!first || fromStdin_)
        return first;
    std::optional<QString> second = Read(again);
    if (!second) {
        CipherEngine::Wipe(*first);
        return std::nullopt;
    }
    const bool same = *first == *second;
    CipherEngine::Wipe(*second);
    if (!same) {
        CipherEngine::Wipe(*first);
        failure_ = QStringLiteral("Les deux saisies ne sont pas identiques.");
        return std::nullopt;
    }
    return first;
}

} // namespace keyholm::cli
