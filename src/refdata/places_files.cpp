#include "refdata/places_files.h"

#include <string>
#include <system_error>

namespace vantrel {

namespace {

bool IsFile(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::is_regular_file(file, error);
}

}  // namespace

std::optional<std::filesystem::path> FindPlacesFile(const PlacesFolders& folders, std::string_view name) {
    for (const auto* folder : {&folders.viewer, &folders.installed}) {
        if (folder->empty()) continue;
        auto file = *folder / std::string(name);
        if (IsFile(file)) return file;
    }
    return std::nullopt;
}

std::filesystem::path FindInstalledPlacesFolder(const std::filesystem::path& programFolder) {
    for (const char* relative : {"../share/vantrel/places", "../data/places"}) {
        const auto folder = (programFolder / relative).lexically_normal();
        if (IsFile(folder / kSomePlacesFile) || IsFile(folder / kWorldCitiesCsv)) return folder;
    }
    return {};
}

}  // namespace vantrel
