// The stations on the air: callsigns of every country with their locators.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "countries.h"
#include "gen_station.h"

namespace gen_station {

struct Station {
    std::string call;
    std::string grid;  // 4 or 6 characters
    int entity;
};

std::string Locator(double lat, double lon, bool six);

// One callsign of a country, with the area box it belongs to.
std::string MakeCall(Rng& rng, const Entity& e, const Area** area);

// The stations on the air: the listed exact calls first, then random calls of every country.
std::vector<Station> MakePool(uint64_t seed, size_t count, const std::string& myCall);

}  // namespace gen_station
