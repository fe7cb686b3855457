// Where the places files are read from: the viewer folder first, else the program's installed
// data folder (the files the program ships).
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace vantrel {

inline constexpr const char* kSomePlacesFile = "SomePlaces.txt";
inline constexpr const char* kAllPlacesFile = "allplaces.txt";
inline constexpr const char* kPlaces4File = "4chplaces.txt";
inline constexpr const char* kWorldCitiesText = "worldcities.txt";
inline constexpr const char* kWorldCitiesCsv = "worldcities.csv";
inline constexpr const char* kPlacesDb5File = "Places-db5.txt";

// The credit the program's About text and README give for the shipped places.
inline constexpr const char* kPlacesCredit = "Places: GeoNames (geonames.org), CC BY 4.0";

struct PlacesFolders {
    std::filesystem::path viewer;     // the viewer's data folder (the working folder)
    std::filesystem::path installed;  // the shipped places files; empty when there are none
};

// The file of that name in the viewer folder, else in the installed folder; nothing when neither
// holds a regular file of that name.
std::optional<std::filesystem::path> FindPlacesFile(const PlacesFolders& folders, std::string_view name);

// The shipped places files beside the program: "../share/vantrel/places" from the program's
// folder when installed, else "../data/places" (a build folder inside the source tree); empty
// when neither holds SomePlaces.txt or worldcities.csv.
std::filesystem::path FindInstalledPlacesFolder(const std::filesystem::path& programFolder);

}  // namespace vantrel
