// The callsign search over the local log and its match list, as data for the list widget.
//
// The list: the search text (colour 4); with a country found, the line "CTY.DAT : country, Lat:
// ..., Long: ... @ nominally BEARING DISTANCE" (colour 1); an empty line; the column header
// (colour 4); one line per matching contact (colour 4, colour 3 in wild mode); two empty lines;
// "CLICK anywhere on a BOLD callsign line for logged WSJTX details" (colour 2) and "Click
// anywhere else to close" (colour 1). Every line is bold; the list's background is colour 5 and
// its font size 11.
//
// A contact line: call (padded or cut to 10), grid (4), mode, frequency (10), date, time and
// "(bearing/km)" or nothing, separated by TABs, then a tail of one blank (two in wild mode) and
// the place text of the "Details" option.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geo/country_lookup.h"
#include "log/log_lines.h"

namespace vantrel {

class PlaceFinder;

struct SearchOptions {
    bool wild = false;             // "Wild Search": the text anywhere in the callsign
    bool bearingDistance = false;  // "B/D"
    bool details = false;          // "Details": place names from 4chplaces.txt
    std::string homeLocator;       // MyGrid of the WSJT-X configuration
};

inline constexpr int kMatchListBackgroundColour = 5;
inline constexpr int kMatchListFontSize = 11;

class MatchList {
public:
    struct Line {
        std::uint32_t start = 0, length = 0;
        std::uint32_t logIndex = 0;  // the contact's line in the local log (contact lines only)
        std::uint8_t colour = 0;     // palette number 1-12
        bool contact = false;
    };

    // False when the search stopped before the list: an empty text or one holding ",". The
    // country outputs are filled all the same.
    bool shown = false;
    std::string searchText;  // upper-cased and trimmed
    CountryResult country;   // the country is cleared when the table has no latitude for it
    std::string bearing;     // "235 deg (Rev: 55 )", or empty
    std::string distance;    // "8312 KM", or empty
    std::size_t contacts = 0;

    std::size_t size() const { return lines_.size(); }
    std::string_view Text(std::size_t i) const { return std::string_view(bytes_).substr(lines_[i].start, lines_[i].length); }
    const Line& At(std::size_t i) const { return lines_[i]; }

    void Add(std::string_view text, int colour);
    // Appends an empty line the caller fills with AppendText, then ends it with EndLine.
    void BeginContact(std::size_t logIndex, int colour);
    void AppendText(std::string_view text) { bytes_.append(text); }
    void AppendPadded(std::string_view text, std::size_t width);
    void EndLine() { lines_.back().length = static_cast<std::uint32_t>(bytes_.size() - lines_.back().start); }
    void Reserve(std::size_t lines, std::size_t bytes);

private:
    std::string bytes_;
    std::vector<Line> lines_;
};

// Runs the search for the search-box text. `lastCountry` is the remembered country text (kept
// between searches; the "Details" option in wild mode compares place names with it). `places` may
// be null (no place names).
MatchList SearchLog(const LogLines& localLog, std::string_view searchBoxText, const SearchOptions& options,
                    const CountryTable& countries, const PlaceFinder* places, std::string& lastCountry);

// The list's country line: "CTY.DAT : Brazil (SA ), Lat: -10.00, Long: -53 @ nominally 235 deg
// (Rev: 55 ) 8312 KM".
std::string CountryLineText(const MatchList& list);

// The contact key of a clicked match-list line (callsign, mode, frequency, date, time joined by
// ", "); nothing for a line without ":" (the click then closes the list).
std::optional<std::string> ContactKeyFromMatchLine(std::string_view line);

// The first local-log line of the contact: its call (field 5) equal to the key's, and the line
// holding the key's date and time (or, when either is empty, its mode and frequency). A callsign
// that the list cut to 10 characters still finds its contact. Nothing when none matches.
std::optional<std::size_t> FindContact(const LogLines& localLog, std::string_view key);

// The comma-separated item of a callsign-list line at the caret (column counted from 0),
// trimmed; nothing when the column lies past the end of the line.
std::optional<std::string> ItemAtCaret(std::string_view line, std::size_t column);

}  // namespace vantrel
