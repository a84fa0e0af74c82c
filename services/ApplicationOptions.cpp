#include "services/ApplicationOptions.h"

#include "components/FileTools.h"
#include "components/ListTools.h"
#include "services/Preferences.h"

#include <algorithm>

namespace keyholm {

namespace {

const QString LogSection = QStringLiteral("Options");
const QString WebVersionSection = QStringLiteral("Internet");
const QString LogoSection = QStringLiteral("Options_Password Logo");
const QString LogoPathSection = QStringLiteral("Options_Password LogoValue");
const QString LogoLabel = QStringLiteral("Keyholm");
const QString WebSection = QStringLiteral("Options_Web");

QString FontKey(int index)
{
    return QStringLiteral("fontweb") + QString::number(index);
}

} // namespace

bool LogOption()
{
    return GetCheckOption(LogSection, QStringLiteral("LOG"), 1) != 0;
}

bool LogoOption()
{
    return GetValueOptionAt(LogoSection, 1, 0, LogoLabel) != 0;
}

QString LogoPathOption()
{
    return GetTextOptionAt(LogoPathSection, QString(), 0, LogoLabel);
}

bool WebVersionOption()
{
    return GetCheckOption(WebVersionSection, QStringLiteral("Version"), 0) != 0;
}

WebStyleOptions WebStyleOption()
{
    WebStyleOptions style;
    for (int i = 0; i < WebStyleOptions::ColorCount; ++i) {
        const int stored = GetColorOption(WebSection, QString::number(i), style.colors[i]);
        // The high byte is no part of a colour; a negative value is none.
        style.colors[i] = stored < 0 ? style.colors[i] : (stored & 0xFFFFFF);
    }
    for (int i = 0; i < WebStyleOptions::FontCount; ++i) {
        const QString font = GetTextOption(WebSection, FontKey(i), style.fonts[i]).trimmed();
        if (!font.isEmpty())
            style.fonts[i] = font;
    }
    style.border = std::clamp(GetValueOptionAt(WebSection, style.border, 0), 0, WebStyleOptions::LargestBorder);
    style.showBackgroundPicture = GetCheckOptionAt(WebSection, 0, 0) != 0;
    style.backgroundPicture = FileTools::Instance().RelocatePath(GetTextOptionAt(WebSection, QString(), 0));
    return style;
}

ApplicationOptionValues ApplicationOptionsStored()
{
    return { .log = LogOption(),
        .webVersion = WebVersionOption(),
        .logo = LogoOption(),
        .logoPath = LogoPathOption(),
        .webStyle = WebStyleOption() };
}

bool SaveApplicationOptions(const ApplicationOptionValues& values)
{
    bool saved = true;
    const auto keep = [&saved](bool stored) { saved = stored && saved; };
    const WebStyleOptions& style = values.webStyle;
    for (int i = 0; i < WebStyleOptions::ColorCount; ++i)
        keep(SetColorOption(WebSection, QString::number(i), style.colors[i]));
    keep(SetValueOptionAt(WebSection, style.border, 0));
    keep(SetCheckOptionAt(WebSection, style.showBackgroundPicture ? 1 : 0, 0));
    keep(SetTextOptionAt(WebSection, style.backgroundPicture, 0));
    for (int i = 0; i < WebStyleOptions::FontCount; ++i)
        keep(SetTextOption(WebSection, FontKey(i), style.fonts[i]));
    keep(SetCheckOption(WebVersionSection, QStringLiteral("Version"), values.webVersion ? 1 : 0));
    keep(SetCheckOption(LogSection, QStringLiteral("LOG"), values.log ? 1 : 0));
    keep(SetValueOptionAt(LogoSection, values.logo ? 1 : 0, 0, LogoLabel));
    keep(SetTextOptionAt(LogoPathSection, values.logoPath, 0, LogoLabel));
    return saved;
}

HtmlListStyle HtmlStyleOf(const WebStyleOptions& options)
{
    HtmlListStyle style;
    style.pageBackground = ColorToHtml(options.colors[0]);
    style.text = ColorToHtml(options.colors[1]);
    style.firstBackground = ColorToHtml(options.colors[2]);
    style.firstRow = ColorToHtml(options.colors[4]);
    style.secondRow = ColorToHtml(options.colors[5]);
    style.titleFont = options.fonts[0];
    style.contentFont = options.fonts[1];
    style.border = options.border;
    if (options.showBackgroundPicture)
        style.backgroundPicture = options.backgroundPicture.trimmed();
    return style;
}

QString ColorToHtml(int value)
{
    const auto channel = [value](int shift) {
        return QStringLiteral("%1").arg((value >> shift) & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
    };
    return QLatin1Char('#') + channel(0) + channel(8) + channel(16);
}

} // namespace keyholm
