#include "services/ui/KeyboardState.h"

#include <QDir>
#include <QFile>

namespace keyholm {
namespace {

const QString DefaultLedFolder = QStringLiteral("/sys/class/leds");

QString& LedFolder()
{
    static QString folder = DefaultLedFolder;
    return folder;
}

// On when any keyboard shows the LED on; unknown when none can be read.
std::optional<bool> ReadLed(const QString& suffix)
{
    const QDir folder(LedFolder());
    std::optional<bool> state;
    const QStringList leds = folder.entryList({ QStringLiteral("*::") + suffix }, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& led : leds) {
        QFile brightness(folder.filePath(led + QStringLiteral("/brightness")));
        if (!brightness.open(QIODevice::ReadOnly))
            continue;
        bool ok = false;
        const int value = brightness.read(16).trimmed().toInt(&ok);
        if (!ok)
            continue;
        state = state.value_or(false) || value > 0;
    }
    return state;
}

} // namespace

KeyboardState ReadKeyboardState()
{
    return { ReadLed(QStringLiteral("capslock")), ReadLed(QStringLiteral("numlock")) };
}

void SetKeyboardLedFolder(const QString& folder)
{
    LedFolder() = folder.isEmpty() ? DefaultLedFolder : folder;
}

} // namespace keyholm
