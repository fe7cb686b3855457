#include "map/map_sources.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <cerrno>

#include "base/file_io.h"
#include "log/extract_field.h"

namespace vantrel {

namespace {

// Calls take(line) for every line of the file; a line end is "\n" or "\r\n".
template <class Take>
MapSource ReadLines(const std::filesystem::path& file, Take take) {
    MapSource source;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return source;
    std::string error;
    const std::optional<std::string> text = ReadWholeFile(file, &error);
    if (!text) {
        source.state = MapSource::State::Failed;
        source.error = error;
        return source;
    }
    source.state = MapSource::State::Read;
    std::string_view rest = *text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        take(line, source.stations);
    }
    return source;
}

}  // namespace

bool AppendMapLog(const std::filesystem::path& viewerFolder, std::string_view call, std::string_view grid,
                  std::string* error) {
    const std::filesystem::path file = viewerFolder / kMapLogFile;
    std::string line;
    line.reserve(call.size() + grid.size() + 2);
    line.append(call).append(",").append(grid).append("\n");
    std::FILE* out = std::fopen(file.c_str(), "ab");
    bool ok = out != nullptr;
    if (ok) {
        ok = std::fwrite(line.data(), 1, line.size(), out) == line.size();
        ok = std::fflush(out) == 0 && ok;
        ok = std::fclose(out) == 0 && ok;
    }
    if (!ok && error) *error = "Cannot write " + file.string() + ": " + std::strerror(errno);
    return ok;
}

void DeleteMapLog(const std::filesystem::path& viewerFolder) {
    std::error_code ec;
    std::filesystem::remove(viewerFolder / kMapLogFile, ec);
}

MapSource ReadMapLog(const std::filesystem::path& viewerFolder) {
    return ReadLines(viewerFolder / kMapLogFile, [](std::string_view line, std::vector<MapStation>& out) {
        out.push_back({std::string(ExtractFieldView(line, ',', 1)), std::string(ExtractFieldView(line, ',', 2))});
    });
}

MapSource ReadCallsList(const std::filesystem::path& viewerFolder) {
    return ReadLines(viewerFolder / "calls.txt", [](std::string_view line, std::vector<MapStation>& out) {
        const std::string_view grid = ExtractFieldView(line, ',', 2);
        if (!grid.empty()) out.push_back({std::string(ExtractFieldView(line, ',', 1)), std::string(grid)});
    });
}

MapSource ContactsOfDate(const LogLines& localLog, std::string_view dateText) {
    MapSource source;
    source.state = MapSource::State::Read;
    for (const std::string_view line : localLog) {
        if (ExtractFieldView(line, ',', 1) != dateText) continue;
        source.stations.push_back({std::string(ExtractFieldView(line, ',', 5)), std::string(ExtractFieldView(line, ',', 6))});
    }
    return source;
}

std::string LocalDateText(TimePoint now, int daysBefore) {
    const LocalTime local = ToLocalTime(now);
    using namespace std::chrono;
    const year_month_day day{sys_days(year{local.year} / month{static_cast<unsigned>(local.month)} /
                                      std::chrono::day{static_cast<unsigned>(local.day)}) -
                             days{daysBefore}};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
    return text;
}

}  // namespace vantrel
