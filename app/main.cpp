#include "app/Display.h"
#include "app/StartUp.h"
#include "components/ProcessGuard.h"
#include "components/Version.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstring>

namespace {

struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption help;
    QCommandLineOption version;
    CommandLine()
        : help(parser.addHelpOption())
        , version(parser.addVersionOption())
    {
        parser.setApplicationDescription(QStringLiteral("Keyholm, le gestionnaire de mots de passe."));
        parser.addPositionalArgument(
            QStringLiteral("FICHIER"), QStringLiteral("La base à ouvrir (.khm)."), QStringLiteral("[FICHIER]"));
    }
};

bool Asks(int argc, char** argv, std::initializer_list<const char*> names)
{
    for (int i = 1; i < argc; ++i)
        for (const char* name : names)
            if (std::strcmp(argv[i], name) == 0)
                return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    // First of all, so that even Qt's own start makes its files under it.
    keyholm::ProcessGuard::Harden();

    // Help and version need no display: answered before any window.
    if (Asks(argc, argv, { "-v", "--version" })) {
        std::printf("keyholm %s\n", keyholm::VersionNumber);
        return 0;
    }
    if (Asks(argc, argv, { "-h", "--help", "-?" })) {
        CommandLine line;
        QString text = line.parser.helpText();
        text.replace(0, text.indexOf(QLatin1Char('\n')), QStringLiteral("Usage : keyholm [options] [FICHIER]"));
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!keyholm::DisplayAvailable()) {
        std::fprintf(stderr, "keyholm: no display available (set DISPLAY, or run it under xvfb-run)\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Keyholm"));
    QApplication::setApplicationVersion(QLatin1String(keyholm::VersionNumber));
    QApplication::setDesktopFileName(QStringLiteral("keyholm"));
    // Qt has taken its own options (-platform, -style ...) out by now.
    CommandLine line;
    if (!line.parser.parse(QApplication::arguments()) || line.parser.positionalArguments().size() > 1) {
        const QString why
            = line.parser.errorText().isEmpty() ? QStringLiteral("un seul fichier à la fois") : line.parser.errorText();
        std::fprintf(stderr, "keyholm: %s\n", why.toLocal8Bit().constData());
        return 2;
    }
    keyholm::ApplyApplicationLook(app);
    return keyholm::StartUp(app, line.parser.positionalArguments().value(0));
}
