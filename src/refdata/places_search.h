// The places search: every line of the places file (SomePlaces.txt, or allplaces.txt with
// "Extended") that contains the typed text, and the callsign prefixes of the countries whose
// names begin with it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "log/log_lines.h"

namespace vantrel {

// The prefixes of the country table's entries (PREFIX "," NAME ...) whose name, upper-cased,
// begins with the text upper-cased: the first three characters of each prefix, one per first two
// characters, each followed by a comma, in lines of a little over 80 characters. Exact-callsign
// entries ("=" before the callsign) name a station, not a prefix, and are passed over.
std::vector<std::string> CountryPrefixLines(std::string_view text, const LogLines& countryTable);

// A places line as the list shows it: every comma two tab characters, every character directly
// after a blank, "/" or "(" in upper case ("new york,usa" reads "new York\t\tusa"). Accented
// Latin letters (UTF-8) are raised as well.
std::string PlacesListLine(std::string_view line);

// A places file held for searching: its bytes and a copy with letter case folded (ASCII and the
// accented Latin letters), kept so that repeated searches neither read nor fold it again.
class PlacesText {
public:
    PlacesText() = default;
    explicit PlacesText(std::string bytes);
    std::string_view Bytes() const { return bytes_; }

    // The lines that contain the text (trimmed), letter case ignored, in case-blind byte order,
    // each once, as PlacesListLine shows them.
    std::vector<std::string> Matching(std::string_view text) const;

private:
    std::string bytes_, folded_;
};

inline std::vector<std::string> MatchingPlaces(std::string_view text, std::string_view fileBytes) {
    return PlacesText(std::string(fileBytes)).Matching(text);
}

struct PlacesSearchResult {
    std::vector<std::string> prefixLines;
    // "Searched for TEXT ...", an empty line, then the matching lines.
    std::vector<std::string> lines;
    std::size_t matches = 0;
    std::string matchLabel;  // "Matches : 3"
};

// Nothing when the text is empty or blank or the places file is missing (`file` null).
std::optional<PlacesSearchResult> SearchPlaces(std::string_view text, const PlacesText* file,
                                               const LogLines& countryTable);

}  // namespace vantrel
