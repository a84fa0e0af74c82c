#pragma once
// The application-wide options (trace log, logo, update check, the style of
// the exported HTML pages) as the options window keeps them in the
// preferences. Every reader takes the stored values from here; the options
// window shows them and writes them back on OK only.

#include <QString>

#include <array>

namespace keyholm {

struct HtmlListStyle;

// "Enregistrer les traces d'exécution dans un fichier log".
bool LogOption();
// Show the logo picture in the main window (checked by default).
bool LogoOption();
// Path of the chosen logo picture; empty for the built-in one.
QString LogoPathOption();
// Look for a newer version at start-up (off by default: no network unasked).
bool WebVersionOption();

// The style of the exported HTML pages.
struct WebStyleOptions {
    static constexpr int ColorCount = 7;
    static constexpr int FontCount = 2;
    static constexpr int LargestBorder = 10;
    // Colours as stored values (0x00BBGGRR), by index: page background,
    // text, first background, second background, first row, second row,
    // header.
    static constexpr std::array<int, ColorCount> DefaultColors
        = { 0xFFFFFF, 0x000000, 0xFFFFFF, 0xC0C0C0, 0xE0E0E0, 0xFFFFFF, 0xC0C0C0 };
    static inline const QString DefaultFont = QStringLiteral("Arial");

    std::array<int, ColorCount> colors = DefaultColors;
    std::array<QString, FontCount> fonts = { DefaultFont, DefaultFont }; // title, content
    int border = 0; // 0 to LargestBorder
    bool showBackgroundPicture = false;
    QString backgroundPicture;

    bool operator==(const WebStyleOptions&) const = default;
};

// The stored style; a value missing or out of range gives its default. The
// background picture path is relocated to the data folder when its file moved.
WebStyleOptions WebStyleOption();

// The options window's values, written as one; true when every key was stored.
struct ApplicationOptionValues {
    bool log = true;
    bool webVersion = false;
    bool logo = true;
    QString logoPath;
    WebStyleOptions webStyle;
};
ApplicationOptionValues ApplicationOptionsStored();
bool SaveApplicationOptions(const ApplicationOptionValues& values);

// What an exported HTML page gets of the style.
HtmlListStyle HtmlStyleOf(const WebStyleOptions& options);

// "#RRGGBB" of a stored colour value (the HTML form of the options window).
QString ColorToHtml(int value);

} // namespace keyholm
