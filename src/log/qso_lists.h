// The two contact lists of the display panel ("Last 50" and "Today") and the search text that
// the character-count slider puts into the search box. Each list is returned as its title and
// its lines, every line with the palette colour it is drawn in.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "log/callsign_list.h"
#include "log/log_lines.h"

namespace vantrel {

struct QsoList {
    std::string title;
    std::vector<ColouredLine> lines;
};

inline constexpr std::string_view kLast50Title = "Last 50 QSOs, in reverse order";
inline constexpr std::string_view kLastUtcDayTitle =
    "Last UTC day QSOs list (max of 100, coloured by band used)";

// The last contacts, newest first: 50 of them, or all of a shorter log. Lines "[k]" TAB "call,
// mode, frequency, date, time" in Colour1, 2, 3, 1, ..., k below 10 after a figure space (U+2007).
QsoList ShowLast50(const LogLines& localLog);

// The contacts of the last line's date among the last 100 lines (all but the first when the log
// has 100 lines or fewer), newest first: "[    k ]   call, mode, frequency, date, time", each in
// the colour of its band; a frequency without a listed band keeps the colour of the line before.
QsoList ShowLastUtcDay(const LogLines& localLog);

// The palette colour (1 to 12) of a band by the whole megahertz text of its frequency, or
// `previous` when the text is not in the band-colour table.
int BandColour(std::string_view wholeMegahertz, int previous);

// The character-count slider and its "<" ">" buttons.
inline constexpr int kSliderMin = 2;
inline constexpr int kSliderMax = 6;
inline constexpr int kSliderInitial = 2;
int StepSlider(int position, int step);      // moved by step, held within 2..6
std::string SliderLabel(int position);       // "4ch"
// What AutoShow puts into the search box: the callsign (field 5) of the last-contact text,
// trimmed of blanks, cut to `position` characters, then a carriage return.
std::string AutoShowSearchText(std::string_view lastContact, int position);

}  // namespace vantrel
