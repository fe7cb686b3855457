// The station a benchmark reads: WSJT-X's folder of a generated heavy station and the country
// file, taken from the first two arguments that are no benchmark options (which stay for the
// benchmark library), else the defaults; its log made into local log lines; and the Decode
// datagrams the benchmarks feed in.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_io.h"
#include "log/local_log_record.h"
#include "log/log_lines.h"
#include "wsjtx/wsjtx_message.h"

struct StationArguments {
    std::filesystem::path folder = "/tmp/vantrel-heavy-ro/WSJT-X";
    std::filesystem::path cty = std::filesystem::path(VANTREL_SOURCE_DIR) / "tests" / "data" / "cty" / "cty-wsjtx-2.6.1.dat";
};

inline StationArguments TakeStationArguments(int& argc, char**& argv) {
    StationArguments taken;
    for (std::filesystem::path* slot : {&taken.folder, &taken.cty}) {
        if (argc <= 1 || argv[1][0] == '-') break;
        *slot = argv[1];
        --argc;
        ++argv;
    }
    return taken;
}

// WSJT-X's wsjtx.log of the folder as local log lines of one station; nothing when unreadable.
inline std::optional<vantrel::LogLines> LoadStationLog(const std::filesystem::path& folder) {
    const auto wsjtx = vantrel::ReadWholeFile(folder / "wsjtx.log");
    if (!wsjtx) return std::nullopt;
    const vantrel::StationDetails station{"W9XYZ", "EN37", "IC-7300", "Dipole"};
    const vantrel::LogLines wsjtxLines = vantrel::LogLines::FromBytes(*wsjtx);
    vantrel::LogLines log;
    log.reserve(wsjtxLines.size(), wsjtx->size() * 3 / 2);
    for (std::string_view line : wsjtxLines) log.push_back(vantrel::LocalLineFromWsjtx(line, station));
    return log;
}

// A Decode message as WSJT-X sends it (schema 2, SNR -12, 1200 Hz, FT8).
inline std::string DecodeDatagram(std::uint32_t timeMs, const std::string& message) {
    std::string bytes;
    auto u32 = [&](std::uint32_t v) {
        for (int i = 3; i >= 0; --i) bytes.push_back(static_cast<char>(v >> (8 * i)));
    };
    auto text = [&](const std::string& t) {
        u32(static_cast<std::uint32_t>(t.size()));
        bytes += t;
    };
    u32(vantrel::wsjtx::kMagic);
    u32(3);
    u32(2);
    text("WSJT-X");
    bytes.push_back(1);  // new
    u32(timeMs);
    u32(static_cast<std::uint32_t>(-12));
    bytes.append(8, '\0');  // DT 0.0
    u32(1200);
    text("~");
    text(message);
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}
