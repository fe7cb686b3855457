#include "log/local_log.h"

#include <cstring>

#include "log/extract_field.h"

namespace vantrel {

LogLines create_new_local_log(const LogLines& wsjtxLines, const StationDetails& station) {
    LogLines local;
    if (wsjtxLines.size() < 2) return local;
    update_local_with_new(local, wsjtxLines, station);
    return local;
}

std::size_t update_local_with_new(LogLines& local, const LogLines& wsjtxLines,
                                  const StationDetails& station) {
    const std::size_t start = local.size();
    if (start >= wsjtxLines.size()) return 0;
    const std::string suffix = StationSuffix(station);
    local.reserve(wsjtxLines.size(), local.Bytes().size() + wsjtxLines.BytesFrom(start).size() +
                                         (wsjtxLines.size() - start) * suffix.size());
    std::string line;
    for (std::size_t i = start; i < wsjtxLines.size(); ++i) {
        line = WsjtxLineFields13(wsjtxLines[i]);
        line += suffix;
        local.push_back(line);
    }
    return wsjtxLines.size() - start;
}

std::string CompleteLastContact(std::string text, const StationDetails& station) {
    if (station.call.empty() || text.find(station.call) == std::string::npos) {
        text += ",,,";
        for (const std::string* value :
             {&station.call, &station.grid, &station.rig, &station.antenna}) {
            text += *value;
            text += ',';
        }
    }
    return text;
}

bool LocalLogHasContact(const LogLines& local, std::string_view line) {
    const std::string_view prefix = line.substr(0, 60);
    if (prefix.empty()) return true;
    // The prefix holds no line end, so a match in the lines joined with line ends lies within
    // one line: one search over the whole block answers it.
    const std::string& bytes = local.Bytes();
    return ::memmem(bytes.data(), bytes.size(), prefix.data(), prefix.size()) != nullptr;
}

LogLines RepairLocalLogColumns(const LogLines& oldLines, const StationDetails& station) {
    LogLines repaired;
    for (std::string_view line : oldLines) {
        const std::string_view field14 = ExtractFieldView(line, ',', 14);
        if (field14.substr(0, station.call.size()) == station.call) continue;
        std::string out;
        for (std::uint8_t i = 1; i <= 12; ++i) {
            out += ExtractFieldView(line, ',', i);
            out += ',';
        }
        out += ',';
        out += station.call + ',' + station.grid + ',' + station.rig + ',' + ',';
        repaired.push_back(out);
    }
    return repaired;
}

bool IsOldLayoutLine(std::string_view firstLine, std::string_view call) {
    return ExtractFieldView(firstLine, ',', 14) != call && ExtractFieldView(firstLine, ',', 13) == call;
}

}  // namespace vantrel
