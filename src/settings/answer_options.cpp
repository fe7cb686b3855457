#include "settings/answer_options.h"

#include <optional>
#include <string_view>

#include "settings/stored_options.h"

namespace vantrel {

namespace {

constexpr const char* kColourKeys[kHighlightStatuses] = {
    "VantrelerHighlightNewCountry", "VantrelerHighlightNewBand",   "VantrelerHighlightNewGrid",
    "VantrelerHighlightNewSlot",    "VantrelerHighlightWorked",    "VantrelerHighlightNothingNew",
};

std::string BoolText(bool value) { return value ? "1" : "0"; }

std::optional<HighlightColours> ReadPair(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const auto background = TextToColour(text.substr(0, comma));
    const auto foreground = TextToColour(text.substr(comma + 1));
    if (!background || !foreground) return std::nullopt;
    return HighlightColours{*background, *foreground};
}

}  // namespace

HighlightPalette DefaultHighlightPalette() {
    // Okabe and Ito's palette for the backgrounds.
    return {{
        {{0xD5, 0x5E, 0x00}, {0x00, 0x00, 0x00}},  // new country: vermillion
        {{0xE6, 0x9F, 0x00}, {0x00, 0x00, 0x00}},  // new country on this band: orange
        {{0x56, 0xB4, 0xE9}, {0x00, 0x00, 0x00}},  // new grid: sky blue
        {{0xF0, 0xE4, 0x42}, {0x00, 0x00, 0x00}},  // new band or mode for the station: yellow
        {{0xFF, 0xFF, 0xFF}, {0x6E, 0x6E, 0x6E}},  // worked on this band and mode: grey on white
        {{0xCC, 0xE8, 0xD8}, {0x00, 0x00, 0x00}},  // nothing new: pale bluish green
    }};
}

AnswerOptions LoadAnswerOptions(SettingsStore& s) {
    const AnswerOptions defaults;
    const std::string_view own = kOwnSection;
    AnswerOptions options;
    options.highlight = s.ReadBool(own, "VantrelerHighlight", defaults.highlight);
    for (std::size_t i = 0; i < kHighlightStatuses; ++i) {
        const std::string text = s.ReadText(own, kColourKeys[i], "");
        if (const auto pair = ReadPair(text)) options.colours[i] = *pair;
    }
    options.alertNewCountry = s.ReadBool(own, "VantrelerAlertNewCountry", defaults.alertNewCountry);
    options.alertNewOnBand = s.ReadBool(own, "VantrelerAlertNewBand", defaults.alertNewOnBand);
    options.alertWanted = s.ReadBool(own, "VantrelerAlertWanted", defaults.alertWanted);
    options.alertSound = s.ReadBool(own, "VantrelerAlertSound", defaults.alertSound);
    options.wanted = s.ReadText(own, "VantrelerWanted", defaults.wanted);
    return options;
}

void AppendAnswerOptions(const AnswerOptions& o, std::vector<std::pair<std::string, std::string>>& values) {
    values.emplace_back("VantrelerHighlight", BoolText(o.highlight));
    for (std::size_t i = 0; i < kHighlightStatuses; ++i)
        values.emplace_back(kColourKeys[i],
                            ColourToText(o.colours[i].background) + "," + ColourToText(o.colours[i].foreground));
    values.emplace_back("VantrelerAlertNewCountry", BoolText(o.alertNewCountry));
    values.emplace_back("VantrelerAlertNewBand", BoolText(o.alertNewOnBand));
    values.emplace_back("VantrelerAlertWanted", BoolText(o.alertWanted));
    values.emplace_back("VantrelerAlertSound", BoolText(o.alertSound));
    values.emplace_back("VantrelerWanted", o.wanted);
}

}  // namespace vantrel
