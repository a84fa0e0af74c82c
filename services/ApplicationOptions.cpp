#include "services/ApplicationOptions.h"

#include "services/Preferences.h"

namespace keyholm {

bool LogOption()
{
    return GetCheckOption(QStringLiteral("Options"), QStringLiteral("LOG"), 1) != 0;
}

bool LogoOption()
{
    return GetValueOptionAt(QStringLiteral("Options_Password Logo"), 1, 0, QStringLiteral("Keyholm")) != 0;
}

QString LogoPathOption()
{
    return GetTextOptionAt(QStringLiteral("Options_Password LogoValue"), QString(), 0, QStringLiteral("Keyholm"));
}

bool WebVersionOption()
{
    return GetCheckOption(QStringLiteral("Internet"), QStringLiteral("Version"), 0) != 0;
}

} // namespace keyholm
