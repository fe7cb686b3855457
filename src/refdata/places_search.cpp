#include "refdata/places_search.h"

#include <algorithm>
#include <utility>

#include "geo/text_find.h"
#include "log/extract_field.h"
#include "log/line_text.h"

namespace vantrel {

namespace {

// UTF-8 accented Latin capitals (U+00C0 to U+00DE but ×) are C3 80..9E; their small letters are
// C3 A0..BE.
bool IsAccentedCapital(unsigned char lead, unsigned char next) {
    return lead == 0xC3 && next >= 0x80 && next <= 0x9E && next != 0x97;
}
bool IsAccentedSmall(unsigned char lead, unsigned char next) {
    return lead == 0xC3 && next >= 0xA0 && next <= 0xBE && next != 0xB7;
}

// Letter case folded to small letters, in place; the length never changes.
void FoldInPlace(std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 'A' && c <= 'Z') {
            text[i] = static_cast<char>(c + 32);
        } else if (i + 1 < text.size() && IsAccentedCapital(c, static_cast<unsigned char>(text[i + 1]))) {
            text[i + 1] = static_cast<char>(text[i + 1] + 0x20);
            ++i;
        }
    }
}

}  // namespace

std::vector<std::string> CountryPrefixLines(std::string_view text, const LogLines& countryTable) {
    const std::string wanted = UpperCase(text);
    std::vector<std::string> lines;
    std::string collected, line;
    for (const std::string_view entry : countryTable) {
        const std::string_view name = ExtractFieldView(entry, ',', 2);
        if (name.size() < wanted.size() || UpperCase(name.substr(0, wanted.size())) != wanted) continue;
        const std::string_view field1 = ExtractFieldView(entry, ',', 1);
        if (!field1.empty() && field1.front() == '=') continue;
        const std::string_view prefix = TrimBlanks(field1.substr(0, 3));
        if (collected.find(prefix.substr(0, 2)) != std::string::npos) continue;
        collected.append(prefix).append(",");
        line.append(prefix).append(",");
        if (line.size() > 80) {
            lines.push_back(std::move(line));
            line.clear();
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

std::string PlacesListLine(std::string_view line) {
    const auto commas = static_cast<std::size_t>(std::count(line.begin(), line.end(), ','));
    std::string out(line.size() + commas, '\t');
    for (std::size_t from = 0, to = 0; from < line.size(); ++from, ++to) {
        if (line[from] == ',')
            ++to;  // two tabs, already there
        else
            out[to] = line[from];
    }
    for (std::size_t i = 1; i < out.size(); ++i) {
        const char before = out[i - 1];
        if (before != ' ' && before != '/' && before != '(') continue;
        const auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'a' && c <= 'z')
            out[i] = static_cast<char>(c - 32);
        else if (i + 1 < out.size() && IsAccentedSmall(c, static_cast<unsigned char>(out[i + 1])))
            out[i + 1] = static_cast<char>(out[i + 1] - 0x20);
    }
    return out;
}

PlacesText::PlacesText(std::string bytes) : bytes_(std::move(bytes)), folded_(bytes_) { FoldInPlace(folded_); }

std::vector<std::string> PlacesText::Matching(std::string_view text) const {
    std::string needle(TrimBlanks(text));
    std::vector<std::string> shown;
    if (needle.empty()) return shown;
    FoldInPlace(needle);

    std::vector<std::string_view> found;
    std::size_t from = 0;
    while (from < folded_.size()) {
        const std::size_t hit = FindText(folded_, needle, from);
        if (hit == std::string::npos) break;
        const std::size_t lf = folded_.rfind('\n', hit);
        const std::size_t start = lf == std::string::npos ? 0 : lf + 1;
        std::size_t end = folded_.find('\n', hit);
        if (end == std::string::npos) end = folded_.size();
        std::size_t stop = end;
        if (stop > start && bytes_[stop - 1] == '\r') --stop;
        found.push_back(std::string_view(bytes_).substr(start, stop - start));
        from = end + 1;
    }
    // A sorted file gives its lines in order; anything else is sorted here.
    bool ordered = true;
    for (std::size_t i = 1; i < found.size() && ordered; ++i) ordered = CompareNoCase(found[i - 1], found[i]) < 0;
    if (!ordered) {
        std::stable_sort(found.begin(), found.end(), LessNoCase());
        found.erase(std::unique(found.begin(), found.end(), SameTextNoCase), found.end());
    }
    shown.reserve(found.size());
    for (const std::string_view line : found) shown.push_back(PlacesListLine(line));
    return shown;
}

std::optional<PlacesSearchResult> SearchPlaces(std::string_view text, const PlacesText* file,
                                               const LogLines& countryTable) {
    if (TrimBlanks(text).empty() || !file) return std::nullopt;
    PlacesSearchResult result;
    // The search is done when the list is shown: its first line says what was searched for.
    result.lines.push_back("Searched for " + std::string(text) + " ...");
    result.lines.emplace_back();
    result.prefixLines = CountryPrefixLines(text, countryTable);
    std::vector<std::string> matches = file->Matching(UpperCase(text));
    result.matches = matches.size();
    for (auto& line : matches) result.lines.push_back(std::move(line));
    result.matchLabel = "Matches : " + std::to_string(result.matches);
    return result;
}

}  // namespace vantrel
