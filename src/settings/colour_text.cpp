#include "settings/stored_options.h"

namespace vantrel {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

Palette DefaultPalette() {
    return {{
        {0x00, 0x00, 0xFF},  // blue
        {0x00, 0x80, 0x00},  // green
        {0xFF, 0x00, 0x00},  // red
        {0xA6, 0xCA, 0xF0},  // sky blue
        {0x00, 0x00, 0x80},  // navy
        {0x80, 0x00, 0x80},  // purple
        {0x00, 0x00, 0x00},  // black
        {0x80, 0x80, 0x80},  // grey
        {0x00, 0xFF, 0x00},  // lime
        {0xA0, 0xA0, 0xA4},  // medium grey
        {0x00, 0xFF, 0xFF},  // aqua
        {0x80, 0x00, 0x00},  // maroon
    }};
}

std::string ColourToText(Rgb colour) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const std::uint8_t part : {colour.r, colour.g, colour.b}) {
        text += kDigits[part >> 4];
        text += kDigits[part & 0x0F];
    }
    return text;
}

std::optional<Rgb> TextToColour(std::string_view text) {
    if (text.size() < 6) return std::nullopt;
    std::uint8_t parts[3] = {};
    for (int i = 0; i < 3; ++i) {
        const int high = HexDigit(text[2 * i]);
        const int low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        parts[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return Rgb{parts[0], parts[1], parts[2]};
}

}  // namespace vantrel
