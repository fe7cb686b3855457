// The place text that the callsign search adds to a contact with the "Details" option, from the
// lines of 4chplaces.txt (each: a 4-character locator, a country name, a number or label; the
// list sorted as loaded).
//
// The lookup runs only when the list has at least 2 lines and its whole text contains the grid G.
// From the first line after the first one whose first character is G's, the first line that
// contains G anywhere is taken (in wild mode it must also have a country name that, upper-cased,
// begins with the first three characters of the remembered country text). The place text is
// "Nr. " + field 3 trimmed + " - " + field 2, or "Nr.  - " when no line qualifies.
//
// Every locator-like text in the list (two letters, two digits) is indexed once with the lines
// it occurs in, so a lookup reads a handful of lines instead of scanning the list.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "log/log_lines.h"

namespace vantrel {

class PlaceFinder {
public:
    // Keeps a reference: the list must outlive the finder and not change while it is used.
    explicit PlaceFinder(const LogLines& places);

    // Nothing when the lookup does not run (the place text then stays empty).
    std::optional<std::string> PlaceText(std::string_view grid, bool wild,
                                         std::string_view rememberedCountry) const;
    // The same by a plain scan of the list: the reference the index is checked against.
    std::optional<std::string> PlaceTextByScan(std::string_view grid, bool wild,
                                               std::string_view rememberedCountry) const;

private:
    std::optional<std::size_t> StartLine(char first) const;
    bool Qualifies(std::string_view line, bool wild, std::string_view country3) const;
    static std::string Format(std::optional<std::string_view> line);

    const LogLines& places_;
    std::array<std::int32_t, 256> start_{};  // first line from the second whose first byte is b
    std::vector<std::uint32_t> lines_;       // line numbers grouped by locator-like text
    std::unordered_map<std::uint32_t, std::pair<std::uint32_t, std::uint32_t>> groups_;
};

}  // namespace vantrel
