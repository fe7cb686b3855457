// The station a benchmark reads: WSJT-X's folder of a generated heavy station and the country
// file, taken from the first two arguments that are no benchmark options (which stay for the
// benchmark library), else the defaults.
#pragma once

#include <filesystem>

struct StationArguments {
    std::filesystem::path folder = "/tmp/vantrel-heavy-ro/WSJT-X";
    std::filesystem::path cty = std::filesystem::path(VANTREL_SOURCE_DIR) / "tests" / "data" / "cty" / "cty-wsjtx-2.6.1.dat";
};

inline StationArguments TakeStationArguments(int& argc, char**& argv) {
    StationArguments taken;
    for (std::filesystem::path* slot : {&taken.folder, &taken.cty}) {
        if (argc <= 1 || argv[1][0] == '-') break;
        *slot = argv[1];
        --argc;
        ++argv;
    }
    return taken;
}
