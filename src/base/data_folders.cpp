#include "base/data_folders.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <system_error>

#include "base/file_io.h"

namespace vantrel {

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string InstanceName(const std::string& rigName) {
    return rigName.empty() ? "WSJT-X" : "WSJT-X - " + rigName;
}

enum class JournalSplit { None, Yearly, Monthly };

// The journal split chosen in WSJT-X's configuration; nothing when the file cannot be read.
std::optional<JournalSplit> ReadJournalSplit(const fs::path& config) {
    const auto text = ReadWholeFile(config);
    if (!text) return std::nullopt;
    auto on = [&](std::string_view key) {
        const auto at = text->find(key);
        return at != std::string::npos && (at == 0 || (*text)[at - 1] == '\n') &&
               std::string_view(*text).substr(at + key.size(), 4) == "true";
    };
    if (on("splitAllTxtMonthly=")) return JournalSplit::Monthly;
    if (on("splitAllTxtYearly=")) return JournalSplit::Yearly;
    return JournalSplit::None;
}

fs::path ConfigHome(const FolderEnvironment& env) {
    if (!env.xdgConfigHome.empty()) return env.xdgConfigHome;
    return fs::path(env.home) / ".config";
}

}  // namespace

FolderEnvironment FolderEnvironment::FromProcess() {
    return {Env("LOCALAPPDATA"), Env("XDG_DATA_HOME"), Env("XDG_CONFIG_HOME"), Env("HOME")};
}

fs::path ResolveWsjtxFolder(const FolderEnvironment& env, const std::string& rigName) {
    const std::string instance = InstanceName(rigName);
    if (!env.localAppData.empty()) return fs::path(env.localAppData) / instance;
    if (!env.xdgDataHome.empty()) return fs::path(env.xdgDataHome) / instance;
    return fs::path(env.home) / ".local" / "share" / instance;
}

WsjtxFiles LocateWsjtxFiles(const fs::path& wsjtxFolder, const FolderEnvironment& env,
                            const std::string& rigName, const LocalTime& now) {
    auto find = [&](const fs::path& folder, const std::string& name) -> std::optional<fs::path> {
        return FindFileNoCase(folder, name);
    };
    WsjtxFiles files;
    files.log = find(wsjtxFolder, "wsjtx.log").value_or(wsjtxFolder / "wsjtx.log");
    files.adif = find(wsjtxFolder, "wsjtx_log.adi").value_or(wsjtxFolder / "wsjtx_log.adi");

    const std::string iniName = InstanceName(rigName) + ".ini";
    if (auto inFolder = find(wsjtxFolder, iniName))
        files.config = *inFolder;
    else
        files.config = find(ConfigHome(env), iniName).value_or(ConfigHome(env) / iniName);

    // A journal split per month or year: the current period's file. WSJT-X's configuration says
    // which; without one, the file written last is the journal WSJT-X uses now.
    char month[16], year[8];
    std::snprintf(month, sizeof month, "%04d-%02d-", now.year, now.month);
    std::snprintf(year, sizeof year, "%04d-", now.year);
    if (const auto split = ReadJournalSplit(files.config)) {
        const std::string name = *split == JournalSplit::Monthly  ? std::string(month) + "ALL.TXT"
                                 : *split == JournalSplit::Yearly ? std::string(year) + "ALL.TXT"
                                                                  : std::string("ALL.TXT");
        files.journal = find(wsjtxFolder, name).value_or(wsjtxFolder / name);
        return files;
    }
    files.journal = wsjtxFolder / "ALL.TXT";
    std::optional<fs::file_time_type> newest;
    for (const std::string& name : {std::string(month) + "ALL.TXT", std::string(year) + "ALL.TXT",
                                   std::string("ALL.TXT")}) {
        auto found = find(wsjtxFolder, name);
        std::error_code ec;
        if (!found || FileSize(*found) < 0) continue;
        const auto written = fs::last_write_time(*found, ec);
        if (!ec && (!newest || written > *newest)) {
            newest = written;
            files.journal = *found;
        }
    }
    return files;
}

fs::path FindShippedDataFolder(const fs::path& programFolder, const fs::path& buildFolder,
                               const fs::path& sourceDataFolder) {
    std::error_code ec;
    if (programFolder.empty()) return {};
    const fs::path installed = (programFolder / ".." / "share" / "vantrel").lexically_normal();
    if (fs::is_directory(installed, ec)) return installed;
    if (buildFolder.empty() || sourceDataFolder.empty() || !fs::is_directory(sourceDataFolder, ec)) return {};
    // A program run from its build folder reads the data of the source tree it was built from.
    const fs::path program = fs::weakly_canonical(programFolder, ec);
    const fs::path build = fs::weakly_canonical(buildFolder, ec);
    if (ec) return {};
    const auto [end, unused] = std::mismatch(build.begin(), build.end(), program.begin(), program.end());
    if (end != build.end()) return {};
    return sourceDataFolder;
}

fs::path FindShippedDataFolder(const fs::path& programFolder) {
#if defined(VANTREL_BUILD_DIR) && defined(VANTREL_SOURCE_DATA_DIR)
    return FindShippedDataFolder(programFolder, VANTREL_BUILD_DIR, VANTREL_SOURCE_DATA_DIR);
#else
    return FindShippedDataFolder(programFolder, {}, {});
#endif
}

}  // namespace vantrel
