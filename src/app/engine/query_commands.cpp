#include "app/engine/query_commands.h"

#include <chrono>
#include <optional>

#include "base/file_io.h"
#include "base/switches.h"
#include "geo/country_file.h"
#include "refdata/places_commands.h"
#include "settings/wsjtx_ini.h"

namespace vantrel {

namespace {

constexpr const char* kGridSwitch = "--grid";
constexpr const char* kPlacesSwitch = "--places";
constexpr const char* kUpdateCtySwitch = "--update-cty";

// The value of `--name VALUE` or `--name=VALUE`; nothing when the switch has none.
std::optional<std::string> SwitchValue(const std::vector<std::string>& arguments, const std::string& name) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == name) {
            if (i + 1 < arguments.size()) return arguments[i + 1];
            return std::nullopt;
        }
        if (arguments[i].starts_with(name + "=")) return arguments[i].substr(name.size() + 1);
    }
    return std::nullopt;
}

std::string OperatorGrid(const std::filesystem::path& viewerFolder, const FolderEnvironment& environment,
                         const std::string& rigName) {
    const fs::path wsjtx = ResolveWsjtxFolder(environment, rigName);
    const WsjtxFiles files =
        LocateWsjtxFiles(wsjtx, environment, rigName, ToLocalTime(std::chrono::system_clock::now()));
    // WSJT-X's own configuration is the current one; the viewer's copy stands in without it.
    for (const fs::path& file : {files.config, viewerFolder / kConfigCopy}) {
        if (auto lines = LoadLogLines(file)) return ReadWsjtxConfigLines(*lines, 2333, false).grid;
    }
    return "";
}

std::optional<LogLines> CountryTableLines(const std::filesystem::path& viewerFolder,
                                          const FolderEnvironment& environment, const std::string& rigName) {
    if (auto table = LoadCountryBasic(viewerFolder / kCountryBasicFile)) return table;
    const CountryFileSource source = ChooseCountryFileSource(viewerFolder, ResolveWsjtxFolder(environment, rigName));
    std::optional<std::string> bytes;
    if (source.kind == CountryFileSource::AlreadyPresent) bytes = ReadWholeFile(viewerFolder / kCountryFile);
    else if (source.kind != CountryFileSource::Missing) bytes = ReadWholeFile(source.from);
    if (!bytes) return std::nullopt;
    return SortedCountryLines(ParseCountryFile(*bytes));
}

}  // namespace

OneShotCommand FindOneShotCommand(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == kGridSwitch || argument.starts_with(std::string(kGridSwitch) + "="))
            return OneShotCommand::Grid;
        if (argument == kPlacesSwitch || argument.starts_with(std::string(kPlacesSwitch) + "="))
            return OneShotCommand::Places;
        if (argument == kUpdateCtySwitch) return OneShotCommand::UpdateCty;
    }
    return OneShotCommand::None;
}

int RunPlacesQuery(OneShotCommand command, const std::vector<std::string>& arguments,
                   const std::filesystem::path& viewerFolder, const std::filesystem::path& dataFolder,
                   const FolderEnvironment& environment, std::FILE* out, std::FILE* err) {
    const bool grid = command == OneShotCommand::Grid;
    const std::string name = grid ? kGridSwitch : kPlacesSwitch;
    const std::optional<std::string> value = SwitchValue(arguments, name);
    if (!value) {
        std::fprintf(err, "vantrel: %s needs %s\n", name.c_str(), grid ? "a locator, such as JO62" : "a text to search for");
        return 2;
    }
    const PlacesFolders folders = PlacesFolders::Of(viewerFolder, dataFolder);
    const std::string rigName = Switches(arguments).RigName();
    CommandOutput output;
    if (grid) {
        const std::string home = OperatorGrid(viewerFolder, environment, rigName);
        if (home.empty())
            std::fprintf(err, "vantrel: no operator grid in WSJT-X's configuration: the bearing and distance "
                              "are not from this station\n");
        output = GridCommand(*value, home, folders);
    } else {
        const std::optional<LogLines> table = CountryTableLines(viewerFolder, environment, rigName);
        bool extended = false;
        for (const std::string& argument : arguments) extended = extended || argument == "--extended";
        output = PlacesCommand(*value, extended, folders, table ? &*table : nullptr);
    }
    for (const std::string& line : output.lines) std::fprintf(out, "%s\n", line.c_str());
    if (!output.error.empty()) std::fprintf(err, "vantrel: %s\n", output.error.c_str());
    std::fflush(out);
    std::fflush(err);
    return output.status;
}

}  // namespace vantrel
