#include "app/engine/query_commands.h"

#include <array>
#include <chrono>
#include <optional>
#include <ostream>

#include "adif/adif_export.h"
#include "base/file_io.h"
#include "base/switches.h"
#include "geo/callsign_search.h"
#include "geo/country_file.h"
#include "geo/locator.h"
#include "log/band_table.h"
#include "log/extract_field.h"
#include "log/line_text.h"
#include "journal/journal_commands.h"
#include "refdata/places_commands.h"
#include "settings/wsjtx_ini.h"
#include "wsjtx/highlight_tracker.h"
#include "wsjtx/worked_before.h"

namespace vantrel {

namespace {

constexpr const char* kGridSwitch = "--grid";
constexpr const char* kPlacesSwitch = "--places";
constexpr const char* kCallSwitch = "--call";
constexpr const char* kUpdateCtySwitch = "--update-cty";
constexpr const char* kJournalSwitch = "--journal";
constexpr const char* kRecentSwitch = "--recent";
constexpr const char* kAuditSwitch = "--audit";
constexpr const char* kSinceSwitch = "--since";
constexpr const char* kExportAdifSwitch = "--export-adif";
constexpr const char* kWorkedSwitch = "--worked";

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

// The operator's callsign and grid as the window would take them.
WsjtxConfig OperatorStation(const std::filesystem::path& viewerFolder, const FolderEnvironment& environment,
                            const std::string& rigName) {
    const fs::path wsjtx = ResolveWsjtxFolder(environment, rigName);
    const WsjtxFiles files =
        LocateWsjtxFiles(wsjtx, environment, rigName, ToLocalTime(std::chrono::system_clock::now()));
    // WSJT-X's own configuration is the current one; the viewer's copy stands in without it.
    for (const fs::path& file : {files.config, viewerFolder / kConfigCopy}) {
        if (auto lines = LoadLogLines(file)) return ReadWsjtxConfigLines(*lines, 2333, false);
    }
    return {};
}

std::string OperatorGrid(const std::filesystem::path& viewerFolder, const FolderEnvironment& environment,
                         const std::string& rigName) {
    return OperatorStation(viewerFolder, environment, rigName).grid;
}

bool HasArgument(const std::vector<std::string>& arguments, std::string_view name) {
    for (const std::string& argument : arguments)
        if (argument == name) return true;
    return false;
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
        if (argument == kCallSwitch || argument.starts_with(std::string(kCallSwitch) + "="))
            return OneShotCommand::Call;
        if (argument == kUpdateCtySwitch) return OneShotCommand::UpdateCty;
        if (argument == kJournalSwitch || argument.starts_with(std::string(kJournalSwitch) + "="))
            return OneShotCommand::Journal;
        if (argument == kRecentSwitch) return OneShotCommand::Recent;
        if (argument == kAuditSwitch) return OneShotCommand::Audit;
        if (argument == kExportAdifSwitch) return OneShotCommand::ExportAdif;
        if (argument == kWorkedSwitch || argument.starts_with(std::string(kWorkedSwitch) + "="))
            return OneShotCommand::Worked;
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

int RunCallQuery(const std::vector<std::string>& arguments, const std::filesystem::path& viewerFolder,
                 const FolderEnvironment& environment, std::ostream& out, std::ostream& err) {
    const std::optional<std::string> value = SwitchValue(arguments, kCallSwitch);
    if (!value || TrimBlanks(*value).empty()) {
        err << "vantrel: --call needs a callsign, such as K1ABC\n";
        return 2;
    }
    const std::string rigName = Switches(arguments).RigName();
    const std::optional<LogLines> table = CountryTableLines(viewerFolder, environment, rigName);
    if (!table) {
        err << "vantrel: no country table: neither ctybasic.txt nor a cty.dat was found\n";
        return 1;
    }
    const std::string home = OperatorGrid(viewerFolder, environment, rigName);
    if (!IsLocator(home))
        err << "vantrel: no operator grid in WSJT-X's configuration: the bearing and distance are not from "
               "this station\n";
    const std::optional<LogLines> log = LoadLogLines(viewerFolder / kLocalLog);
    if (!log) err << "vantrel: no local log (" << kLocalLog << ") in " << viewerFolder.string() << "\n";
    SearchOptions options;
    options.homeLocator = home;
    std::string lastCountry;
    const MatchList list = SearchLog(log ? *log : LogLines(), *value, options, CountryTable(*table), nullptr, lastCountry);
    if (list.country.country.empty()) {
        err << "vantrel: no country in the country table for " << list.searchText << "\n";
        return 1;
    }
    out << CountryLineText(list) << '\n';
    // The search lists every call that begins with the text; the count is of this call only.
    std::size_t contacts = 0;
    std::array<bool, 20> bands{};
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!list.At(i).contact) continue;
        const std::string_view line = (*log)[list.At(i).logIndex];
        if (UpperCase(TrimBlanks(ExtractFieldView(line, ',', 5))) != list.searchText) continue;
        ++contacts;
        const int row = BandRowOfFrequency(TrimBlanks(ExtractFieldView(line, ',', 7)));
        bands[static_cast<std::size_t>(row + 1)] = true;
    }
    out << "Contacts: " << contacts;
    std::string names;
    for (int row = 0; row + 1 < static_cast<int>(bands.size()); ++row)
        if (bands[static_cast<std::size_t>(row + 1)]) names += (names.empty() ? "" : ", ") + std::string(BandOfRow(row));
    if (bands[0]) names += (names.empty() ? "" : ", ") + std::string("other");
    if (!names.empty()) out << " (" << names << ')';
    out << '\n';
    out.flush();
    return out ? 0 : 1;
}

int RunWorkedQuery(const std::vector<std::string>& arguments, const std::filesystem::path& viewerFolder,
                   const FolderEnvironment& environment, std::ostream& out, std::ostream& err) {
    // --worked CALL [BAND] [MODE]: the words after the call that are no switches.
    std::vector<std::string> words;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i].starts_with(std::string(kWorkedSwitch) + "=")) {
            words.push_back(arguments[i].substr(std::string(kWorkedSwitch).size() + 1));
        } else if (arguments[i] == kWorkedSwitch) {
            continue;
        } else if (!words.empty() || (i > 0 && arguments[i - 1] == kWorkedSwitch)) {
            if (arguments[i].starts_with('-') || arguments[i].starts_with('/') || words.size() == 3) break;
            words.push_back(arguments[i]);
        }
    }
    if (words.empty() || TrimBlanks(words[0]).empty()) {
        err << "vantrel: --worked needs a callsign, such as K1ABC (then a band and a mode: --worked K1ABC 20m FT8)\n";
        return 2;
    }
    const std::string call = UpperCase(TrimBlanks(words[0]));
    std::string band = words.size() > 1 ? words[1] : std::string();
    for (char& c : band) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    const std::string mode = words.size() > 2 ? UpperCase(words[2]) : std::string();
    const std::string rigName = Switches(arguments).RigName();
    std::optional<LogLines> table = CountryTableLines(viewerFolder, environment, rigName);
    if (!table) {
        err << "vantrel: no country table: neither ctybasic.txt nor a cty.dat was found\n";
        return 1;
    }
    const std::optional<LogLines> log = LoadLogLines(viewerFolder / kLocalLog);
    if (!log) {
        err << "vantrel: no local log (" << kLocalLog << ") in " << viewerFolder.string() << "\n";
        return 1;
    }
    WorkedIndex index(std::make_shared<const CountryTable>(std::move(*table)));
    index.CatchUp(*log);
    const WorkedStatus worked = index.Status(call, band, mode);
    std::string_view status;
    if (!band.empty() && !mode.empty())
        status = wsjtx::HighlightStatusText(wsjtx::HighlightStatusOf(index, call, "", band, mode));
    else if (worked.kind == WorkedKind::NewCountry)
        status = "New country";
    else
        status = worked.count > 0 ? "Worked" : "Not worked";
    out << call << '\t' << index.CountryOf(call) << '\t' << status << '\t' << worked.lastDate << '\n';
    out.flush();
    return out ? 0 : 1;
}

int RunJournalQuery(OneShotCommand command, const std::vector<std::string>& arguments,
                    const std::filesystem::path& viewerFolder, const FolderEnvironment& environment,
                    std::ostream& out, std::ostream& err) {
    if (command == OneShotCommand::Journal) {
        const std::optional<std::string> text = SwitchValue(arguments, kJournalSwitch);
        if (!text) {
            err << "vantrel: --journal needs a text to search for, such as a callsign\n";
            return 2;
        }
        return RunJournalCommand(viewerFolder, *text, out, err);
    }
    const WsjtxConfig station = OperatorStation(viewerFolder, environment, Switches(arguments).RigName());
    if (command == OneShotCommand::Audit)
        return RunAuditCommand(viewerFolder, StationDetails{station.call, station.grid, {}, {}},
                               SwitchValue(arguments, kSinceSwitch).value_or(""), out, err);
    const std::string& call = station.call;
    if (call.empty())
        err << "vantrel: no operator callsign in WSJT-X's configuration: RecentList.txt holds its header only\n";
    return RunRecentCommand(viewerFolder, call, out, err);
}

int RunExportAdifCommand(const std::vector<std::string>& arguments, const std::filesystem::path& viewerFolder,
                         const FolderEnvironment& environment, SettingsStore& store, TimePoint now,
                         std::ostream& out, std::ostream& err) {
    constexpr std::string_view kCounterKey = "VantrelerExportADIFileCount";
    const bool full = !HasArgument(arguments, "--new");
    const int counter = store.ReadInteger(kOwnSection, kCounterKey, 0);
    const WsjtxConfig station = OperatorStation(viewerFolder, environment, Switches(arguments).RigName());
    const AdifExportRun run = ExportLocalLogAsAdif(viewerFolder, full, counter, station.call, station.grid, now);
    if (!run.ok) {
        err << "vantrel: the ADIF export could not be written: " << run.error << '\n';
        return 1;
    }
    out << run.written.string() << '\n';
    out.flush();
    // The next new export starts where the menu entry's would.
    if (!store.WriteInteger(kOwnSection, kCounterKey, run.nextCounter)) {
        err << "vantrel: the export counter could not be stored in the settings; the next new export "
               "starts where this one did\n";
        return 1;
    }
    return out ? 0 : 1;
}

}  // namespace vantrel
