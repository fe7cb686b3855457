// What the award tables need of cty.dat beyond the country table: each entity's CQ zone,
// continent and DXCC code, and the zones and continents the file gives single prefixes and
// callsigns ("W6(3)", "=VE2XYZ(2){NA}").
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantrel {

class CountryTable;

// The six continents of the award and Antarctica, in this order: AF AN AS EU NA OC SA.
inline constexpr int kContinents = 7;
std::string_view ContinentName(int continent);   // "AF" ...; "" for -1
int ContinentOfName(std::string_view name);      // -1 when not one of the seven

struct CountryEntity {
    std::string name;       // as cty.dat names it: "Asiatic Russia"
    int cqZone = 0;         // 0 when unknown
    int continent = -1;     // index as above
    int dxcc = 0;           // ADIF code; 0 when the name matches none
};

// Where a callsign belongs for the awards.
struct CallPlace {
    int dxcc = 0;           // 0: no entity known
    int cqZone = 0;         // 0: unknown
    int continent = -1;
    bool known = false;     // the country table has an entry for the callsign
};

class CountryEntities {
public:
    CountryEntities() = default;
    // Reads the entity lines and prefix lists of a cty.dat text.
    static CountryEntities FromCountryFile(std::string_view bytes);
    // cty.dat of a folder; nothing when it is missing or unreadable.
    static std::optional<CountryEntities> Load(const std::filesystem::path& countryFile,
                                               std::string* error = nullptr);

    const std::vector<CountryEntity>& Entities() const { return entities_; }
    // The entity of a cty.dat name; null when the file has none of that name.
    const CountryEntity* ByName(std::string_view name) const;
    // The entity that stands for a DXCC code: the one whose name is ADIF's (Italy rather than
    // Sicily, which cty.dat lists for another award), else the first; null when none has it.
    const CountryEntity* ByCode(int dxcc) const;
    // The names with no DXCC code (for the record: what the match left out).
    std::vector<std::string> Unmatched() const;

    // The place of a callsign: the country table's entry for it, then the entity of that entry's
    // name with the entry's own zone and continent where the file gives them. An entity cty.dat
    // does not list (a table from ctybasic.txt alone) still gets its continent and DXCC code
    // from the entry. Const and without caches: one object serves several threads.
    CallPlace PlaceOf(const CountryTable& table, std::string_view callsign) const;
    // The same for an entry (a ctybasic.txt line) of the table.
    CallPlace PlaceOfEntry(std::string_view entry) const;

private:
    struct Override {
        int cqZone = 0;
        int continent = -1;
    };
    std::vector<CountryEntity> entities_;
    std::unordered_map<std::string, std::uint32_t> byName_;
    std::unordered_map<int, std::uint32_t> byCode_;
    // "PREFIX,NAME" as the table line starts -> the zone and continent given to that prefix.
    std::unordered_map<std::string, Override> overrides_;
};

}  // namespace vantrel
