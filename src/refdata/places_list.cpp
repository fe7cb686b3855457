#include "refdata/places_list.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

#include "log/extract_field.h"
#include "log/line_text.h"

namespace vantrel {

LogLines SortedUniqueNoCase(LogLines lines) {
    bool ordered = true;
    for (std::size_t i = 1; i < lines.size() && ordered; ++i)
        ordered = CompareNoCase(lines[i - 1], lines[i]) < 0;
    if (ordered) return lines;

    std::vector<std::pair<std::uint64_t, std::uint32_t>> keyed;
    keyed.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        keyed.emplace_back(FoldedPrefixKey(lines[i]), static_cast<std::uint32_t>(i));
    std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        return CompareNoCase(lines[a.second], lines[b.second]) < 0;
    });
    LogLines sorted;
    sorted.reserve(lines.size(), lines.Bytes().size() + lines.size());
    std::string_view last;
    for (std::size_t k = 0; k < keyed.size(); ++k) {
        const std::string_view line = lines[keyed[k].second];
        if (k > 0 && SameTextNoCase(last, line)) continue;
        sorted.push_back(line);
        last = line;
    }
    return sorted;
}

LogLines ConvertWorldCities(const LogLines& csv) {
    LogLines entries;
    entries.reserve(csv.size(), csv.Bytes().size());
    std::string entry;
    for (const std::string_view line : csv) {
        entry.clear();
        bool anything = false;
        for (const std::uint8_t field : {3, 4, 5, 2}) {
            const std::string_view value = TrimBlanks(ExtractFieldView(line, ',', field));
            if (field != 3) entry += ',';
            entry += value;
            anything = anything || value.find_first_not_of("\" \t") != std::string_view::npos;
        }
        std::replace(entry.begin(), entry.end(), '"', ' ');
        if (!anything || entry.find(" lat ,") != std::string::npos) continue;
        entries.push_back(entry);
    }
    return SortedUniqueNoCase(std::move(entries));
}

bool ReadDegrees(std::string_view text, double& value) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

namespace {

constexpr std::int32_t kUnread = std::numeric_limits<std::int32_t>::min();

}  // namespace

PlacesList::PlacesList(LogLines lines) : lines_(SortedUniqueNoCase(std::move(lines))) {
    const std::size_t n = lines_.size();
    lat10_.assign(n, kUnread);
    lon10_.assign(n, kUnread);
    byLatitude_.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view line = lines_[i];
        const std::size_t comma1 = line.find(',');
        if (comma1 == std::string_view::npos) continue;
        const std::size_t comma2 = line.find(',', comma1 + 1);
        double lat = 0, lon = 0;
        if (!ReadDegrees(line.substr(0, comma1), lat) ||
            !ReadDegrees(line.substr(comma1 + 1, comma2 == std::string_view::npos ? std::string_view::npos
                                                                                   : comma2 - comma1 - 1),
                         lon) ||
            std::fabs(lat) > 90 || std::fabs(lon) > 180)
            continue;
        lat10_[i] = static_cast<std::int32_t>(std::lround(lat * 10));
        lon10_[i] = static_cast<std::int32_t>(std::lround(lon * 10));
        byLatitude_.push_back(static_cast<std::uint32_t>(i));
    }
    std::stable_sort(byLatitude_.begin(), byLatitude_.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return lat10_[a] < lat10_[b]; });
}

bool PlacesList::PositionTenths(std::size_t i, int& lat10, int& lon10) const {
    if (i >= lat10_.size() || lat10_[i] == kUnread) return false;
    lat10 = lat10_[i];
    lon10 = lon10_[i];
    return true;
}

std::vector<std::uint32_t> PlacesList::EntriesInWindow(int latLow, int latHigh, int lonLow,
                                                       int lonHigh) const {
    std::vector<std::uint32_t> inside;
    if (latLow > latHigh || lonLow > lonHigh) return inside;
    auto at = std::lower_bound(byLatitude_.begin(), byLatitude_.end(), latLow,
                               [&](std::uint32_t i, int lat) { return lat10_[i] < lat; });
    for (; at != byLatitude_.end() && lat10_[*at] <= latHigh; ++at)
        if (lon10_[*at] >= lonLow && lon10_[*at] <= lonHigh) inside.push_back(*at);
    std::sort(inside.begin(), inside.end());
    return inside;
}

PlacesListLoad LoadPlacesList(const PlacesFolders& folders, bool saveConversion) {
    PlacesListLoad load;
    LogLines entries;
    if (const auto text = FindPlacesFile(folders, kWorldCitiesText)) {
        if (auto lines = LoadLogLines(*text, &load.error)) {
            entries = std::move(*lines);
            load.source = *text;
        }
    } else if (const auto csv = FindPlacesFile(folders, kWorldCitiesCsv)) {
        if (auto lines = LoadLogLines(*csv, &load.error)) {
            entries = ConvertWorldCities(*lines);
            load.source = *csv;
            load.converted = true;
            // The list is kept for this run even when the viewer folder cannot take the file.
            if (saveConversion) SaveLogLines(folders.viewer / kWorldCitiesText, entries, &load.error);
        }
    }
    if (const auto db5 = FindPlacesFile(folders, kPlacesDb5File)) {
        entries.clear();
        load.source.clear();
        if (auto lines = LoadLogLines(*db5, &load.error)) {
            entries = std::move(*lines);
            load.source = *db5;
        }
    }
    load.list = PlacesList(std::move(entries));
    return load;
}

LogLines LoadPlacesList4(const PlacesFolders& folders, std::string* error) {
    const auto file = FindPlacesFile(folders, kPlaces4File);
    if (!file) return {};
    auto lines = LoadLogLines(*file, error);
    if (!lines) return {};
    return SortedUniqueNoCase(std::move(*lines));
}

}  // namespace vantrel
