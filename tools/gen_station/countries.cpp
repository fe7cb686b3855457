#include "countries.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>

#include "gen_station.h"

namespace gen_station {

namespace {

[[noreturn]] void Damaged(std::size_t lineNumber, std::string_view line) {
    std::fprintf(stderr, "gen_station: countries.txt line %zu is damaged: %.*s\n", lineNumber,
                 static_cast<int>(line.size()), line.data());
    std::exit(1);
}

// A decimal number exactly as the compiler would read the same text.
template <class Number>
bool Read(const std::string& text, Number& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end;
}

std::vector<Entity> ParseCountries(std::string_view text) {
    std::vector<Entity> table;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        const std::string_view line = text.substr(0, nl);
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        ++lineNumber;
        if (line.empty() || line[0] == '#') continue;
        if (line.starts_with("  area|")) {
            const std::vector<std::string> f = SplitOn(line.substr(7), '|');
            Area a{};
            if (table.empty() || f.size() != 5 || !Read(f[1], a.latMin) || !Read(f[2], a.latMax) ||
                !Read(f[3], a.lonMin) || !Read(f[4], a.lonMax))
                Damaged(lineNumber, line);
            a.digits = f[0];
            table.back().areas.push_back(a);
            continue;
        }
        const std::vector<std::string> f = SplitOn(line, '|');
        Entity e{};
        if (f.size() != 12 || !Read(f[1], e.cq) || !Read(f[2], e.itu) || !Read(f[4], e.lat) ||
            !Read(f[5], e.lonWest) || !Read(f[6], e.utc) || !Read(f[11], e.weight))
            Damaged(lineNumber, line);
        e.name = f[0];
        e.continent = f[3];
        e.primary = f[7];
        e.prefixes = f[8];
        e.exacts = f[9];
        e.heads = f[10];
        table.push_back(std::move(e));
    }
    for (const Entity& e : table) {
        if (e.areas.empty()) {
            std::fprintf(stderr, "gen_station: countries.txt: %s has no area\n", e.name.c_str());
            std::exit(1);
        }
    }
    return table;
}

}  // namespace

const std::vector<Entity>& Entities() {
    static const std::vector<Entity> table = ParseCountries(kCountriesText);
    return table;
}

std::string BareItem(std::string_view item) {
    if (!item.empty() && item[0] == '=') item.remove_prefix(1);
    size_t cut = item.find_first_of("([");
    return std::string(item.substr(0, cut));
}

int LookupEntity(const std::string& call) {
    static std::unordered_map<std::string, int> prefixes, exacts;
    static size_t longest = 0;
    if (prefixes.empty()) {
        const auto& table = Entities();
        for (size_t e = 0; e < table.size(); ++e) {
            for (const auto& p : SplitOn(table[e].prefixes, ',')) {
                std::string bare = BareItem(p);
                prefixes.emplace(bare, static_cast<int>(e));
                longest = std::max(longest, bare.size());
            }
            for (const auto& x : SplitOn(table[e].exacts, ','))
                exacts.emplace(BareItem(x), static_cast<int>(e));
        }
    }
    if (auto it = exacts.find(call); it != exacts.end()) return it->second;
    for (size_t n = std::min(longest, call.size()); n > 0; --n)
        if (auto it = prefixes.find(call.substr(0, n)); it != prefixes.end()) return it->second;
    return -1;
}

}  // namespace gen_station
