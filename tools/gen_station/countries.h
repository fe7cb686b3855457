// The countries the generated stations belong to, read from the table in countries.txt (built
// into the program): facts as the country file lists them (longitude west positive there) and
// boxes (longitude east positive) that lie inside each country and give the stations' locators.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gen_station {

struct Area {
    std::string digits;  // call-area digits used with this box ("" = the heads carry them)
    double latMin, latMax, lonMin, lonMax;
};

struct Entity {
    std::string name;
    int cq, itu;
    std::string continent;
    double lat, lonWest, utc;
    std::string primary;
    std::string prefixes;  // comma-separated, as listed after the entity line
    std::string exacts;    // comma-separated full callsigns (written with "="), may carry zones
    std::string heads;     // blank-separated letter groups that start this country's calls
    std::vector<Area> areas;
    double weight;         // share of the stations on the air
};

// The table, in the order of countries.txt. A damaged table stops the program with its line.
const std::vector<Entity>& Entities();

// The text of countries.txt.
extern const std::string_view kCountriesText;

// The callsign part of a list item: without "=" and zone overrides.
std::string BareItem(std::string_view item);

// Longest-prefix match over the table, exact calls first; -1 when nothing matches.
int LookupEntity(const std::string& call);

}  // namespace gen_station
