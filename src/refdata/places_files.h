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

// The places files in the program's shipped data folder (its "places" folder); empty when the
// data folder is not known.
std::filesystem::path ShippedPlacesFolder(const std::filesystem::path& dataFolder);

struct PlacesFolders {
    std::filesystem::path viewer;     // the viewer's data folder (the working folder)
    std::filesystem::path installed;  // the shipped places files; empty when there are none

    // The viewer folder, and the places folder of the program's shipped data folder.
    static PlacesFolders Of(const std::filesystem::path& viewerFolder, const std::filesystem::path& dataFolder) {
        return {viewerFolder, ShippedPlacesFolder(dataFolder)};
    }
};

// The file of that name in the viewer folder, else in the installed folder; nothing when neither
// holds a regular file of that name.
std::optional<std::filesystem::path> FindPlacesFile(const PlacesFolders& folders, std::string_view name);

}  // namespace vantrel
