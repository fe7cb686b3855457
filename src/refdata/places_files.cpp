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

std::filesystem::path ShippedPlacesFolder(const std::filesystem::path& dataFolder) {
    if (dataFolder.empty()) return {};
    return dataFolder / "places";
}

}  // namespace vantrel
