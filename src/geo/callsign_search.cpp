#include "geo/callsign_search.h"
#include "log/line_text.h"

#include <array>
#include <charconv>
#include <cstring>
#include <unordered_map>

#include "geo/locator.h"
#include "geo/place_finder.h"
#include "geo/text_find.h"
#include "log/extract_field.h"

namespace vantrel {

namespace {

std::string UpperTrimmed(std::string_view t) {
    std::string u(TrimBlanks(t));
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return u;
}

// Fields 1 to 8 of a log line (index 0 is field 1); missing fields are empty.
std::array<std::string_view, 8> FirstFields(std::string_view line) {
    std::array<std::string_view, 8> f{};
    for (std::size_t n = 0; n < f.size(); ++n) {
        const std::size_t comma = line.find(',');
        f[n] = line.substr(0, comma);
        if (comma == std::string_view::npos) break;
        line.remove_prefix(comma + 1);
    }
    return f;
}

constexpr const char* kHeader = "Call, Grid, Mode, Freq, Date, Time UTC";
constexpr const char* kHeaderBearing =
    "Call, Grid, Mode, Freq, Date, Time UTC, (Actual bearing/distance(KM) to gridsquare) ";

}  // namespace

void MatchList::Add(std::string_view text, int colour) {
    Line line;
    line.start = static_cast<std::uint32_t>(bytes_.size());
    line.length = static_cast<std::uint32_t>(text.size());
    line.colour = static_cast<std::uint8_t>(colour);
    bytes_.append(text);
    lines_.push_back(line);
}

void MatchList::BeginContact(std::size_t logIndex, int colour) {
    Line line;
    line.start = static_cast<std::uint32_t>(bytes_.size());
    line.logIndex = static_cast<std::uint32_t>(logIndex);
    line.colour = static_cast<std::uint8_t>(colour);
    line.contact = true;
    lines_.push_back(line);
    ++contacts;
}

void MatchList::AppendPadded(std::string_view text, std::size_t width) {
    if (text.size() >= width) {
        bytes_.append(text.substr(0, width));
    } else {
        bytes_.append(text);
        bytes_.append(width - text.size(), ' ');
    }
}

void MatchList::Reserve(std::size_t lines, std::size_t bytes) {
    lines_.reserve(lines);
    bytes_.reserve(bytes);
}

MatchList SearchLog(const LogLines& localLog, std::string_view searchBoxText, const SearchOptions& options,
                    const CountryTable& countries, const PlaceFinder* places, std::string& lastCountry) {
    MatchList list;
    const std::string t = UpperTrimmed(searchBoxText);
    list.searchText = t;
    if (!countries.empty() && !t.empty()) {
        list.country = countries.Lookup(t);
        if (!list.country.latitude.empty() && !list.country.longitude.empty()) {
            const BearingText bd =
                BearingDistance(options.homeLocator, list.country.latitude, list.country.longitude);
            list.bearing = bd.bearing;
            list.distance = bd.distance;
        }
        if (list.country.latitude.empty()) list.country.country.clear();
        if (!list.bearing.empty())
            list.bearing += " (Rev: " + std::to_string(ReverseBearing(list.bearing)) + " )";
    }
    if (t.empty() || t.find(',') != std::string::npos) return list;

    list.shown = true;
    int colour = 4;
    list.Add(t, colour);
    if (!countries.empty() && !list.country.country.empty()) {
        lastCountry = list.country.country;
        colour = 1;
        list.Add(CountryLineText(list), colour);
    }
    list.Add("", colour);
    colour = 4;
    list.Add(options.bearingDistance ? kHeaderBearing : kHeader, colour);

    const int contactColour = options.wild ? 3 : 4;
    const std::string_view tail = options.wild ? "  " : " ";
    const GreatCircle home(options.homeLocator);
    std::unordered_map<std::string, std::optional<std::string>> placeCache;

    // Only lines that hold the text anywhere can match: they are found by a vectorised search
    // of the whole log, and their callsign field is checked.
    const std::string_view bytes = localLog.Bytes();
    const char* base = bytes.data();
    std::size_t logIndex = 0;
    for (std::size_t at = FindText(bytes, t); at != std::string_view::npos; at = FindText(bytes, t, at)) {
        std::size_t begin = at;
        while (begin > 0 && base[begin - 1] != '\n') --begin;
        const void* lf = std::memchr(base + at, '\n', bytes.size() - at);
        const std::size_t end = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - base) : bytes.size();
        at = end;  // the next search starts at the next line
        std::string_view line = bytes.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        const auto f = FirstFields(line);
        const std::string_view call = TrimBlanks(f[4]);
        const bool match = options.wild ? call.find(t) != std::string_view::npos : call.starts_with(t);
        if (!match) continue;

        // The line's number: the first line at or after the last match that starts here.
        std::size_t lo = logIndex, hi = localLog.size();
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (localLog[mid].data() < base + begin) lo = mid + 1;
            else hi = mid;
        }
        logIndex = lo;

        list.BeginContact(logIndex, contactColour);
        list.AppendPadded(f[4], 10);
        list.AppendText("\t");
        list.AppendPadded(f[5], 4);
        list.AppendText("\t");
        list.AppendText(f[7]);
        list.AppendText("\t");
        list.AppendPadded(f[6], 10);
        list.AppendText("\t");
        list.AppendText(f[0]);
        list.AppendText("\t");
        list.AppendText(f[1]);
        list.AppendText("\t");
        // A grid of fewer than 4 characters names no square: no bearing for it.
        if (options.bearingDistance && f[5].size() >= 4) {
            const BearingKm r = home.To(LocatorToPosition(f[5]));
            char number[16];
            list.AppendText("(");
            // The operator's own square has no direction.
            if (r.km == 0) list.AppendText("-");
            else list.AppendText(std::string_view(number, std::to_chars(number, number + 16, r.bearing).ptr));
            list.AppendText("/");
            list.AppendText(std::string_view(number, std::to_chars(number, number + 16, r.km).ptr));
            list.AppendText(")");
        }
        list.AppendText(tail);
        const std::string_view grid = TrimBlanks(f[5]);
        if (places && options.details && !grid.empty()) {
            auto cached = placeCache.find(std::string(grid));
            if (cached == placeCache.end())
                cached = placeCache.emplace(std::string(grid), places->PlaceText(grid, options.wild, lastCountry)).first;
            if (cached->second) list.AppendText(*cached->second);
        }
        list.EndLine();
    }

    list.Add("", contactColour);
    list.Add("", contactColour);
    list.Add("CLICK anywhere on a BOLD callsign line for logged WSJTX details", 2);
    list.Add("Click anywhere else to close", 1);
    return list;
}

std::string CountryLineText(const MatchList& list) {
    return "CTY.DAT : " + list.country.country + ", Lat: " + list.country.latitude + ", Long: " +
           list.country.longitude + " @ nominally " + list.bearing + " " + list.distance;
}

std::optional<std::string> ContactKeyFromMatchLine(std::string_view line) {
    if (line.find(':') == std::string_view::npos) return std::nullopt;
    const auto parts = SplitPieces(line, '\t');
    const auto part = [&](std::size_t n) { return n < parts.size() ? TrimBlanks(parts[n]) : std::string_view(); };
    std::string key(part(0));
    for (std::size_t n : {2, 3, 4, 5}) key.append(", ").append(part(n));
    return key;
}

std::optional<std::size_t> FindContact(const LogLines& localLog, std::string_view key) {
    if (key.empty()) return std::nullopt;
    const std::string_view call = TrimBlanks(ExtractFieldView(key, ',', 1));
    const std::string_view mode = TrimBlanks(ExtractFieldView(key, ',', 2));
    const std::string_view freq = TrimBlanks(ExtractFieldView(key, ',', 3));
    const std::string_view date = TrimBlanks(ExtractFieldView(key, ',', 4));
    const std::string_view time = TrimBlanks(ExtractFieldView(key, ',', 5));
    const auto holds = [](std::string_view line, std::string_view a, std::string_view b) {
        return line.find(a) != std::string_view::npos && line.find(b) != std::string_view::npos;
    };
    const auto select = [&](bool cutCall) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < localLog.size(); ++i) {
            const std::string_view line = localLog[i];
            const std::string_view field5 = ExtractFieldView(line, ',', 5);
            if (cutCall ? !TrimBlanks(field5).starts_with(call) : field5 != call) continue;
            if (!date.empty() && !time.empty()) {
                if (holds(line, date, time)) return i;
            } else if (!mode.empty() && !freq.empty()) {
                if (holds(line, mode, freq)) return i;
            }
        }
        return std::nullopt;
    };
    if (auto found = select(false)) return found;
    // The match list cuts callsigns to 10 characters.
    if (call.size() == 10) return select(true);
    return std::nullopt;
}

std::optional<std::string> ItemAtCaret(std::string_view line, std::size_t column) {
    if (column > line.size()) return std::nullopt;
    const std::size_t first = line.find(',');
    if (first == std::string_view::npos) return std::string(TrimBlanks(line));
    // A comma at index i (position i + 1) lies before the caret when i + 1 <= column.
    if (first + 1 > column) return std::string(TrimBlanks(line.substr(0, first)));
    const std::size_t last = line.rfind(',', column - 1);
    const std::size_t next = line.find(',', last + 1);
    const std::string_view item =
        next == std::string_view::npos ? line.substr(last + 1, 30) : line.substr(last + 1, next - last - 1);
    return std::string(TrimBlanks(item));
}

}  // namespace vantrel
