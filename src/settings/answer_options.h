// The options of answering WSJT-X: the colours its Band Activity list gives each worked-before
// status, the switch that turns the colouring off, and which alerts are raised.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "settings/rgb.h"
#include "settings/settings_store.h"

namespace vantrel {

struct HighlightColours {
    Rgb background{255, 255, 255};
    Rgb foreground{0, 0, 0};
    friend bool operator==(const HighlightColours&, const HighlightColours&) = default;
};

// One pair per status, in the order of HighlightStatus: new country, new country on this band,
// new grid, new band or mode for a known station, worked on this band and mode, nothing new.
inline constexpr std::size_t kHighlightStatuses = 6;
using HighlightPalette = std::array<HighlightColours, kHighlightStatuses>;
// Colours told apart with every common kind of colour blindness, each readable in black or
// dark grey on WSJT-X's white list.
HighlightPalette DefaultHighlightPalette();

struct AnswerOptions {
    bool highlight = true;  // VantrelerHighlight
    HighlightPalette colours = DefaultHighlightPalette();
    bool alertNewCountry = true;   // VantrelerAlertNewCountry
    bool alertNewOnBand = true;    // VantrelerAlertNewBand
    bool alertWanted = true;       // VantrelerAlertWanted
    bool alertSound = false;       // VantrelerAlertSound
    std::string wanted;            // VantrelerWanted: callsigns separated by blanks or commas
    friend bool operator==(const AnswerOptions&, const AnswerOptions&) = default;
};

// The keys of the colours: "VantrelerHighlightNewCountry" = "RRGGBB,RRGGBB" (background,
// foreground); a value that does not read keeps the default.
AnswerOptions LoadAnswerOptions(SettingsStore& store);
void AppendAnswerOptions(const AnswerOptions& options, std::vector<std::pair<std::string, std::string>>& values);

}  // namespace vantrel
