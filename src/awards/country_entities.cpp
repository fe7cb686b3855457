#include "awards/country_entities.h"

#include <charconv>

#include "awards/dxcc_entities.h"
#include "base/file_io.h"
#include "geo/country_lookup.h"
#include "log/extract_field.h"
#include "log/line_text.h"

namespace vantrel {

namespace {

constexpr std::string_view kContinentNames[kContinents] = {"AF", "AN", "AS", "EU", "NA", "OC", "SA"};

int ToInt(std::string_view t) {
    t = TrimBlanks(t);
    int value = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    return error == std::errc() && end == t.data() + t.size() ? value : 0;
}

// The text between `open` and `close` in an item ("W6(3)[6]" gives "3" for '(' and ')').
std::string_view Between(std::string_view item, char open, char close) {
    const std::size_t from = item.find(open);
    if (from == std::string_view::npos) return {};
    const std::size_t to = item.find(close, from + 1);
    return to == std::string_view::npos ? std::string_view() : item.substr(from + 1, to - from - 1);
}

std::string_view CutAt(std::string_view t, char mark) { return t.substr(0, t.find(mark)); }

// The prefix of a list item as the country table names it (the same cuts as the table's).
std::string TablePrefix(std::string_view item) {
    item = TrimBlanks(CutAt(CutAt(item, '['), '('));
    if (item.starts_with('=')) {
        std::string_view call = item.substr(1);
        call = call.substr(0, call.find_first_of("<{~"));
        return "=" + UpperCase(TrimBlanks(call));
    }
    const std::size_t star = item.find('*');
    if (star != std::string_view::npos) item = item.substr(star + 1, 10);
    return std::string(TrimBlanks(item));
}

// The primary prefix of an entity line as the table writes it (3D2/c becomes 3D2C, FO/a FO0A).
std::string PrimaryPrefix(std::string_view field) {
    field = TrimBlanks(field);
    const std::size_t star = field.find('*');
    if (star != std::string_view::npos) field = field.substr(star + 1, 10);
    const std::size_t slash = field.find('/');
    if (slash == std::string_view::npos) return std::string(field);
    const bool digitBefore = slash > 0 && field[slash - 1] >= '0' && field[slash - 1] <= '9';
    return std::string(field.substr(0, slash)) + (digitBefore ? "" : "0") + UpperCase(field.substr(slash + 1, 10));
}

}  // namespace

std::string_view ContinentName(int continent) {
    return continent >= 0 && continent < kContinents ? kContinentNames[continent] : std::string_view();
}

int ContinentOfName(std::string_view name) {
    name = TrimBlanks(name);
    for (int i = 0; i < kContinents; ++i)
        if (SameTextNoCase(name, kContinentNames[i])) return i;
    return -1;
}

CountryEntities CountryEntities::FromCountryFile(std::string_view bytes) {
    CountryEntities out;
    std::string list;
    std::string primary;
    const auto closeList = [&] {
        if (out.entities_.empty() || list.empty()) return;
        const std::string& name = out.entities_.back().name;
        std::string_view rest = list;
        while (!rest.empty()) {
            const std::size_t comma = rest.find_first_of(",;");
            const std::string_view item = rest.substr(0, comma);
            rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
            Override o;
            o.cqZone = ToInt(Between(item, '(', ')'));
            o.continent = ContinentOfName(Between(item, '{', '}'));
            if (o.cqZone == 0 && o.continent < 0) continue;
            const std::string prefix = TablePrefix(item);
            if (prefix.empty() || prefix == primary) continue;
            out.overrides_.emplace(prefix + "," + name, o);
        }
        list.clear();
    };
    while (!bytes.empty()) {
        const std::size_t end = bytes.find_first_of("\r\n");
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.empty()) continue;
        if (line.front() != ' ' && line.front() != '\t') {
            closeList();
            CountryEntity e;
            e.name = TrimBlanks(ExtractFieldView(line, ':', 1));
            e.cqZone = ToInt(ExtractFieldView(line, ':', 2));
            e.continent = ContinentOfName(ExtractFieldView(line, ':', 4));
            e.dxcc = DxccCodeOfCountryName(e.name);
            primary = PrimaryPrefix(ExtractFieldView(line, ':', 8));
            if (e.name.empty()) continue;
            out.byName_.emplace(e.name, static_cast<std::uint32_t>(out.entities_.size()));
            out.entities_.push_back(std::move(e));
            continue;
        }
        list.append(TrimBlanks(line));
        if (list.find(';') != std::string::npos) closeList();
    }
    closeList();
    for (std::uint32_t i = 0; i < out.entities_.size(); ++i) {
        const CountryEntity& e = out.entities_[i];
        if (e.dxcc <= 0) continue;
        const auto [at, added] = out.byCode_.emplace(e.dxcc, i);
        const DxccEntity* adif = DxccEntityByCode(e.dxcc);
        if (!added && adif && NormaliseEntityName(e.name) == NormaliseEntityName(adif->name)) at->second = i;
    }
    return out;
}

const CountryEntity* CountryEntities::ByCode(int dxcc) const {
    const auto found = byCode_.find(dxcc);
    return found == byCode_.end() ? nullptr : &entities_[found->second];
}

std::optional<CountryEntities> CountryEntities::Load(const std::filesystem::path& countryFile, std::string* error) {
    const auto bytes = ReadWholeFile(countryFile, error);
    if (!bytes) return std::nullopt;
    return FromCountryFile(*bytes);
}

const CountryEntity* CountryEntities::ByName(std::string_view name) const {
    const auto found = byName_.find(std::string(name));
    return found == byName_.end() ? nullptr : &entities_[found->second];
}

std::vector<std::string> CountryEntities::Unmatched() const {
    std::vector<std::string> names;
    for (const CountryEntity& e : entities_)
        if (e.dxcc == 0) names.push_back(e.name);
    return names;
}

CallPlace CountryEntities::PlaceOfEntry(std::string_view entry) const {
    CallPlace place;
    const std::size_t firstComma = entry.find(',');
    if (firstComma == std::string_view::npos) return place;
    const std::size_t secondComma = entry.find(',', firstComma + 1);
    const std::string_view name = entry.substr(firstComma + 1, secondComma - firstComma - 1);
    place.known = true;
    if (const CountryEntity* e = ByName(name)) {
        place.dxcc = e->dxcc;
        place.cqZone = e->cqZone;
        place.continent = e->continent;
    } else {
        place.dxcc = DxccCodeOfCountryName(name);
        if (secondComma != std::string_view::npos)
            place.continent = ContinentOfName(CutAt(entry.substr(secondComma + 1), '{'));
    }
    if (secondComma != std::string_view::npos && !overrides_.empty()) {
        const auto found = overrides_.find(std::string(entry.substr(0, secondComma)));
        if (found != overrides_.end()) {
            if (found->second.cqZone > 0) place.cqZone = found->second.cqZone;
            if (found->second.continent >= 0) place.continent = found->second.continent;
        }
    }
    return place;
}

CallPlace CountryEntities::PlaceOf(const CountryTable& table, std::string_view callsign) const {
    const std::optional<std::size_t> entry = table.FindEntry(callsign);
    if (!entry) return {};
    return PlaceOfEntry(table.Lines()[*entry]);
}

}  // namespace vantrel
