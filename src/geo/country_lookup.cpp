#include "geo/country_lookup.h"
#include "log/line_text.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "geo/locator.h"

namespace vantrel {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The position (counted from 1) of the first digit from position 2 on; without one the last
// position searched (the length, and 2 for texts shorter than 2).
std::size_t DigitPosition(std::string_view t) {
    for (std::size_t i = 1; i < t.size(); ++i)
        if (IsDigit(t[i])) return i + 1;
    return t.size() < 2 ? 2 : t.size();
}

std::string_view After(std::string_view t, std::size_t position) {
    return position >= t.size() ? std::string_view() : t.substr(position);
}

// The entry's PREFIX, trimmed (not yet upper-cased).
std::string_view EntryPrefix(std::string_view entry) { return TrimBlanks(entry.substr(0, entry.find(','))); }

std::string UpperText(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = Upper(c);
    return upper;
}

// "/AM" is aeronautical mobile only as a whole designator: at the end or before another "/".
void CutWholeDesignator(std::string& s, std::string_view designator) {
    for (std::size_t at = s.find(designator); at != std::string::npos; at = s.find(designator, at + 1)) {
        const std::size_t end = at + designator.size();
        if (end == s.size() || s[end] == '/') {
            s.erase(at);
            return;
        }
    }
}

}  // namespace

std::optional<std::string> ReduceCallsign(std::string_view callsign) {
    std::string s(callsign);
    for (char& c : s) c = Upper(c);
    for (std::string_view designator : {"/QRP", "/LGT", "/MM"}) {
        const std::size_t at = s.find(designator);
        if (at != std::string::npos) s.erase(at);
    }
    CutWholeDesignator(s, "/AM");
    const std::size_t slash = s.find('/');
    if (slash != std::string::npos && slash + 2 < s.size()) {
        const std::string_view b = TrimBlanks(std::string_view(s).substr(0, slash));
        const std::string_view a = TrimBlanks(std::string_view(s).substr(slash + 1, 20));
        if (a.size() < 2) return std::nullopt;
        if (b.size() > a.size()) {
            if (a.size() <= 4) s = std::string(a) + std::string(TrimBlanks(After(b, DigitPosition(b))));
        } else {
            s = std::string(b) + std::string(TrimBlanks(After(a, DigitPosition(a))));
        }
    }
    return s;
}

std::string ExactCallsign(std::string_view callsign) {
    std::string exact(TrimBlanks(callsign));
    for (char& c : exact) c = Upper(c);
    return exact;
}

std::optional<std::size_t> LookupCountryByWalk(const LogLines& table, std::string_view callsign) {
    if (callsign.empty()) return std::nullopt;
    // An entry for exactly this callsign ("=" in the country file) decides first.
    const std::string exact = ExactCallsign(callsign);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::string_view prefix = EntryPrefix(table[i]);
        if (prefix.starts_with('=') && prefix.substr(1) == exact) return i;
    }
    const auto reduced = ReduceCallsign(callsign);
    if (!reduced || reduced->empty()) return std::nullopt;
    std::optional<std::size_t> longest, typed;
    std::size_t longestSize = 0;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::string prefix = UpperText(EntryPrefix(table[i]));
        if (prefix.empty() || prefix.starts_with('=')) continue;
        if (reduced->starts_with(prefix) && prefix.size() > longestSize) {
            longest = i;
            longestSize = prefix.size();
        }
        if (!typed && prefix.starts_with(*reduced)) typed = i;
    }
    return longest ? longest : typed;
}

CountryResult CountryFromEntry(std::string_view entry) {
    // NAME runs from the first comma to the last: a name may hold a comma ("Juan de Nova,
    // Europa"), the continent and position never do.
    const std::size_t first = entry.find(','), last = entry.rfind(',');
    if (first == std::string_view::npos || last == first) return {};
    const std::string_view name = entry.substr(first + 1, last - first - 1);
    const std::string_view rest = entry.substr(last + 1);  // CONTINENT " {" LAT "^" LON "}"
    const std::size_t brace = rest.rfind('{');
    if (brace == std::string_view::npos) return {};
    const std::size_t caret = rest.find('^', brace);
    const std::size_t close = rest.find('}', brace);
    if (caret == std::string_view::npos) return {};
    CountryResult r;
    r.country = std::string(name) + " (" + std::string(rest.substr(0, brace)) + ")";
    r.latitude = rest.substr(brace + 1, caret - brace - 1);
    const std::string lonText(TrimBlanks(rest.substr(caret + 1, close == std::string_view::npos ? std::string_view::npos
                                                                                             : close - caret - 1)));
    r.longitude = NumberText(-std::strtod(lonText.c_str(), nullptr));
    return r;
}

CountryTable::CountryTable(LogLines lines) : lines_(std::move(lines)) {
    prefixes_.reserve(lines_.size());
    sortedPrefixes_.reserve(lines_.size());
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view prefix = EntryPrefix(lines_[i]);
        if (prefix.empty()) continue;
        const auto index = static_cast<std::uint32_t>(i);
        if (prefix.starts_with('=')) {
            exact_.try_emplace(std::string(prefix.substr(1)), index);
            continue;
        }
        std::string upper = UpperText(prefix);
        longestPrefix_ = std::max(longestPrefix_, upper.size());
        prefixes_.try_emplace(upper, index);
        sortedPrefixes_.emplace_back(std::move(upper), index);
    }
    std::sort(sortedPrefixes_.begin(), sortedPrefixes_.end());
}

std::optional<std::size_t> CountryTable::FindEntry(std::string_view callsign) const {
    if (callsign.empty()) return std::nullopt;
    if (!exact_.empty()) {
        const auto it = exact_.find(ExactCallsign(callsign));
        if (it != exact_.end()) return it->second;
    }
    const auto reduced = ReduceCallsign(callsign);
    if (!reduced || reduced->empty()) return std::nullopt;
    const std::string_view text = *reduced;
    for (std::size_t size = std::min(text.size(), longestPrefix_); size >= 1; --size) {
        const auto it = prefixes_.find(text.substr(0, size));
        if (it != prefixes_.end()) return it->second;
    }
    // A text shorter than the prefixes it begins: the first of them in table order.
    std::optional<std::size_t> first;
    auto it = std::lower_bound(sortedPrefixes_.begin(), sortedPrefixes_.end(), text,
                               [](const auto& entry, std::string_view t) { return entry.first < t; });
    for (; it != sortedPrefixes_.end() && it->first.starts_with(text); ++it)
        if (!first || it->second < *first) first = it->second;
    return first;
}

CountryResult CountryTable::Lookup(std::string_view callsign) const {
    const auto entry = FindEntry(callsign);
    return entry ? CountryFromEntry(lines_[*entry]) : CountryResult{};
}

}  // namespace vantrel
