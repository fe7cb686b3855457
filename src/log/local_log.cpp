#include "log/local_log.h"

#include <algorithm>
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
    const std::string_view newLines = wsjtxLines.BytesFrom(start);
    local.reserve(wsjtxLines.size(), local.Bytes().size() + newLines.size() +
                                         (wsjtxLines.size() - start) * (suffix.size() + 1));
    std::string line;
    for (std::string_view wsjtx : LogLines::FromBytes(newLines)) {
        line = WsjtxLineFields13(wsjtx);
        line += suffix;
        local.push_back(line);
    }
    return wsjtxLines.size() - start;
}

std::string CompleteLastContact(std::string text, const StationDetails& station) {
    // A line with all seventeen fields already carries its station (a received contact logged
    // under another callsign than the configured one); only shorter lines get the suffix.
    const bool complete = std::count(text.begin(), text.end(), ',') >= 16;
    if (!complete && (station.call.empty() || text.find(station.call) == std::string::npos)) {
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
    // one line: a search over the whole block answers it. The latest contacts are looked at
    // first, where a repeated contact is found at once.
    const std::string_view bytes = local.Bytes();
    if (bytes.empty()) return false;
    const std::string_view recent = bytes.substr(bytes.size() - std::min<std::size_t>(bytes.size(), 65536));
    auto contains = [&](std::string_view where) {
        return ::memmem(where.data(), where.size(), prefix.data(), prefix.size()) != nullptr;
    };
    return contains(recent) || contains(bytes);
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
