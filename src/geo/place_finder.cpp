#include "geo/place_finder.h"
#include "log/line_text.h"

#include <algorithm>

#include "geo/text_find.h"
#include "log/extract_field.h"

namespace vantrel {

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool LocatorLike(const char* p) { return IsLetter(p[0]) && IsLetter(p[1]) && IsDigit(p[2]) && IsDigit(p[3]); }

std::uint32_t Key4(const char* p) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(p[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(p[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(p[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(p[3])) << 24;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

PlaceFinder::PlaceFinder(const LogLines& places) : places_(places) {
    start_.fill(-1);
    std::vector<std::pair<std::uint32_t, std::uint32_t>> found;  // (locator-like text, line)
    found.reserve(places.size() + places.size() / 8);
    for (std::size_t i = 0; i < places.size(); ++i) {
        const std::string_view line = places[i];
        if (i >= 1 && !line.empty()) {
            auto& start = start_[static_cast<unsigned char>(line[0])];
            if (start < 0) start = static_cast<std::int32_t>(i);
        }
        for (std::size_t at = 0; at + 4 <= line.size(); ++at)
            if (LocatorLike(line.data() + at)) found.emplace_back(Key4(line.data() + at), i);
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    lines_.reserve(found.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (i == 0 || found[i].first != found[i - 1].first)
            groups_[found[i].first] = {static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i)};
        groups_[found[i].first].second = static_cast<std::uint32_t>(i + 1);
        lines_.push_back(found[i].second);
    }
}

std::optional<std::size_t> PlaceFinder::StartLine(char first) const {
    const std::int32_t s = start_[static_cast<unsigned char>(first)];
    if (s < 0) return std::nullopt;
    return static_cast<std::size_t>(s);
}

bool PlaceFinder::Qualifies(std::string_view line, bool wild, std::string_view country3) const {
    if (!wild) return true;
    const std::string_view name = ExtractFieldView(line, ',', 2);
    if (name.size() < country3.size()) return false;
    for (std::size_t i = 0; i < country3.size(); ++i)
        if (Upper(name[i]) != Upper(country3[i])) return false;
    return true;
}

std::string PlaceFinder::Format(std::optional<std::string_view> line) {
    if (!line) return "Nr.  - ";
    return "Nr. " + std::string(TrimBlanks(ExtractFieldView(*line, ',', 3))) + " - " +
           std::string(ExtractFieldView(*line, ',', 2));
}

std::optional<std::string> PlaceFinder::PlaceText(std::string_view grid, bool wild,
                                                  std::string_view rememberedCountry) const {
    if (grid.size() < 4 || !LocatorLike(grid.data())) return PlaceTextByScan(grid, wild, rememberedCountry);
    if (places_.size() < 2) return std::nullopt;
    const auto group = groups_.find(Key4(grid.data()));
    if (group == groups_.end()) return std::nullopt;
    const std::string_view country3 = rememberedCountry.substr(0, 3);
    const auto start = StartLine(grid[0]);
    bool contained = false;
    for (std::uint32_t k = group->second.first; k < group->second.second; ++k) {
        const std::string_view line = places_[lines_[k]];
        if (grid.size() > 4 && line.find(grid) == std::string_view::npos) continue;
        contained = true;
        if (start && lines_[k] >= *start && Qualifies(line, wild, country3)) return Format(line);
    }
    if (!contained) return std::nullopt;
    return Format(std::nullopt);
}

std::optional<std::string> PlaceFinder::PlaceTextByScan(std::string_view grid, bool wild,
                                                        std::string_view rememberedCountry) const {
    if (grid.empty() || places_.size() < 2 || FindText(places_.Bytes(), grid) == std::string_view::npos)
        return std::nullopt;
    const auto start = StartLine(grid[0]);
    if (!start) return Format(std::nullopt);
    const std::string_view country3 = rememberedCountry.substr(0, 3);
    for (std::size_t i = *start; i < places_.size(); ++i) {
        const std::string_view line = places_[i];
        if (line.find(grid) != std::string_view::npos && Qualifies(line, wild, country3)) return Format(line);
    }
    return Format(std::nullopt);
}

}  // namespace vantrel
