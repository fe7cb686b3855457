#include "awards/award_commands.h"

#include <ostream>

#include "awards/award_model.h"
#include "awards/confirmation_store.h"
#include "awards/dxcc_entities.h"
#include "base/file_io.h"
#include "base/command_line.h"
#include "base/switches.h"
#include "geo/country_file.h"
#include "log/line_text.h"

namespace vantrel {

namespace {

constexpr std::string_view kAwardsSwitch = "--awards";
constexpr std::string_view kNeededSwitch = "--needed";
constexpr std::string_view kImportSwitch = "--import-confirmations";

// The values after `--name` (or the one of `--name=VALUE` and those after it), at most `count`.
std::vector<std::string> ValuesOf(const std::vector<std::string>& arguments, std::string_view name,
                                  std::size_t count) {
    std::vector<std::string> values;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::size_t next = i + 1;
        if (arguments[i].starts_with(std::string(name) + "=")) {
            values.push_back(arguments[i].substr(name.size() + 1));
        } else if (arguments[i] != name) {
            continue;
        }
        for (; values.size() < count && next < arguments.size() && !IsSwitchWord(arguments[next]); ++next)
            values.push_back(arguments[next]);
        break;
    }
    return values;
}

bool IsCommand(const std::string& argument, std::string_view name) {
    return argument == name || argument.starts_with(std::string(name) + "=");
}

// The band column a name asks for; -1 when it names none of the award's bands.
int BandColumnOf(std::string_view name) { return AwardColumnOfBandRow(BandRowOfName(name)); }

std::string BandNames() {
    std::string names;
    for (int c = 0; c < kAwardBands; ++c) names += (c ? ", " : "") + std::string(AwardBandName(c));
    return names;
}

struct LoadedAwards {
    std::unique_ptr<AwardModel> model;
    std::string problem;
};

LoadedAwards LoadAwards(const std::filesystem::path& viewerFolder, const FolderEnvironment& environment,
                        const std::vector<std::string>& arguments) {
    LoadedAwards loaded;
    const AwardCountryData countries =
        LoadAwardCountryData(viewerFolder, ResolveWsjtxFolder(environment, Switches(arguments).RigName()));
    if (!countries.table) {
        loaded.problem = "no country table: neither ctybasic.txt nor a cty.dat was found";
        return loaded;
    }
    std::string error;
    const std::optional<LogLines> log = LoadLogLines(viewerFolder / kLocalLog, &error);
    if (!log) {
        loaded.problem = std::string("no local log (") + kLocalLog + ") in " + viewerFolder.string();
        return loaded;
    }
    ConfirmationStore store(viewerFolder);
    if (!store.Load(&error)) {
        loaded.problem = "the confirmations (" + std::string(kConfirmationsFileName) + ") cannot be read: " + error;
        return loaded;
    }
    loaded.model = std::make_unique<AwardModel>(countries.table, countries.entities);
    loaded.model->CatchUp(*log, store.Index().get());
    return loaded;
}

int PrintTable(const std::vector<std::string>& arguments, const std::filesystem::path& viewerFolder,
               const FolderEnvironment& environment, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> which = ValuesOf(arguments, kAwardsSwitch, 1);
    const std::optional<Award> award = which.empty() ? std::nullopt : AwardFromName(which[0]);
    if (!award) {
        err << "vantrel: --awards needs dxcc, waz, wac or grids\n";
        return 2;
    }
    int column = -1;
    if (const auto band = ValuesOf(arguments, "--band", 1); !band.empty()) {
        column = BandColumnOf(band[0]);
        if (column < 0) {
            err << "vantrel: --band needs one of " << BandNames() << '\n';
            return 2;
        }
    }
    ModeFilter filter = ModeFilter::All;
    if (const auto mode = ValuesOf(arguments, "--mode", 1); !mode.empty()) {
        const auto named = ModeFilterFromName(mode[0]);
        if (!named) {
            err << "vantrel: --mode needs all, FT8, FT4, digital, phone or CW\n";
            return 2;
        }
        filter = *named;
    }
    const LoadedAwards loaded = LoadAwards(viewerFolder, environment, arguments);
    if (!loaded.model) {
        err << "vantrel: " << loaded.problem << '\n';
        return 1;
    }
    const AwardTable table = loaded.model->Table(*award, filter, column);
    const int first = column >= 0 ? column : 0, last = column >= 0 ? column : kAwardBands - 1;
    out << "Entity\tCode";
    for (int c = first; c <= last; ++c) out << '\t' << AwardBandName(c);
    out << '\n';
    for (const AwardRow& row : table.rows) {
        out << row.entity << '\t' << row.code;
        for (int c = first; c <= last; ++c) out << '\t' << CellLetter(row.cells[c]);
        out << '\n';
    }
    out << AwardSummaryText(table) << '\t';
    for (int c = first; c <= last; ++c)
        out << '\t' << table.totals.workedOnBand[c] << '/' << table.totals.confirmedOnBand[c];
    out << '\n';
    out.flush();
    return out ? 0 : 1;
}

int PrintNeeded(const std::vector<std::string>& arguments, const std::filesystem::path& viewerFolder,
                const FolderEnvironment& environment, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> values = ValuesOf(arguments, kNeededSwitch, 2);
    const int column = values.size() == 2 ? BandColumnOf(values[1]) : -1;
    if (values.size() != 2 || TrimBlanks(values[0]).empty() || column < 0) {
        err << "vantrel: --needed needs a callsign and a band (" << BandNames() << "), such as K1ABC 20m\n";
        return 2;
    }
    const LoadedAwards loaded = LoadAwards(viewerFolder, environment, arguments);
    if (!loaded.model) {
        err << "vantrel: " << loaded.problem << '\n';
        return 1;
    }
    int dxcc = 0;
    const CellState state = loaded.model->EntityStateOnBand(values[0], column, &dxcc);
    if (dxcc <= 0) {
        err << "vantrel: no DXCC entity for " << UpperCase(TrimBlanks(values[0])) << '\n';
        return 1;
    }
    out << (state == CellState::Confirmed ? "confirmed" : state == CellState::Worked ? "worked" : "needed") << '\t'
        << loaded.model->EntityName(dxcc) << '\t' << dxcc << '\n';
    out.flush();
    return out ? 0 : 1;
}

int ImportConfirmations(const std::vector<std::string>& arguments, const std::filesystem::path& viewerFolder,
                        std::ostream& out, std::ostream& err) {
    const std::vector<std::string> file = ValuesOf(arguments, kImportSwitch, 1);
    if (file.empty() || file[0].empty()) {
        err << "vantrel: --import-confirmations needs an ADIF file\n";
        return 2;
    }
    std::string error;
    const std::optional<std::string> bytes = ReadWholeFile(file[0], &error);
    if (!bytes) {
        err << "vantrel: " << file[0] << " cannot be read: " << error << '\n';
        return 1;
    }
    std::vector<Confirmation> batch;
    const bool fromLotw = [&] {
        const std::string_view head = std::string_view(*bytes).substr(0, 4096);
        return head.find("<APP_LoTW_") != std::string_view::npos || head.find("<app_lotw_") != std::string_view::npos ||
               head.find("Logbook of the World") != std::string_view::npos;
    }();
    if (fromLotw) {
        LotwReport report = ParseLotwReport(*bytes);
        if (!report.Ok()) {
            err << "vantrel: " << file[0] << ": " << report.problem << "; nothing was taken in\n";
            return 1;
        }
        batch = std::move(report.confirmations);
    } else {
        batch = ConfirmationsInAdif(*bytes, kSourceAdif);
    }
    ConfirmationStore store(viewerFolder);
    if (!store.Load(&error)) {
        err << "vantrel: " << kConfirmationsFileName << " cannot be read: " << error << '\n';
        return 1;
    }
    const ConfirmationMerge merged = store.Merge(batch);
    if (!merged.ok) {
        err << "vantrel: " << kConfirmationsFileName << " could not be written: " << merged.error << '\n';
        return 1;
    }
    out << merged.added << " new confirmations (" << merged.offered << " in the file)\n";
    out.flush();
    return out ? 0 : 1;
}

}  // namespace

AwardCommand FindAwardCommand(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (IsCommand(argument, kAwardsSwitch)) return AwardCommand::Awards;
        if (IsCommand(argument, kNeededSwitch)) return AwardCommand::Needed;
        if (IsCommand(argument, kImportSwitch)) return AwardCommand::ImportConfirmations;
    }
    return AwardCommand::None;
}

AwardCountryData LoadAwardCountryData(const std::filesystem::path& viewerFolder,
                                      const std::filesystem::path& wsjtxFolder) {
    AwardCountryData data;
    const CountryFileSource source = ChooseCountryFileSource(viewerFolder, wsjtxFolder);
    std::optional<std::string> bytes;
    if (source.kind == CountryFileSource::AlreadyPresent) bytes = ReadWholeFile(viewerFolder / kCountryFile);
    else if (source.kind != CountryFileSource::Missing) bytes = ReadWholeFile(source.from);
    if (bytes) data.entities = std::make_shared<const CountryEntities>(CountryEntities::FromCountryFile(*bytes));
    if (auto basic = LoadCountryBasic(viewerFolder / kCountryBasicFile))
        data.table = std::make_shared<const CountryTable>(std::move(*basic));
    else if (bytes)
        data.table = std::make_shared<const CountryTable>(SortedCountryLines(ParseCountryFile(*bytes)));
    return data;
}

int RunAwardCommand(AwardCommand command, const std::vector<std::string>& arguments,
                    const std::filesystem::path& viewerFolder, const FolderEnvironment& environment,
                    std::ostream& out, std::ostream& err) {
    switch (command) {
    case AwardCommand::Awards: return PrintTable(arguments, viewerFolder, environment, out, err);
    case AwardCommand::Needed: return PrintNeeded(arguments, viewerFolder, environment, out, err);
    case AwardCommand::ImportConfirmations: return ImportConfirmations(arguments, viewerFolder, out, err);
    case AwardCommand::None: break;
    }
    return 2;
}

}  // namespace vantrel
