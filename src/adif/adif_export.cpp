#include "adif/adif_export.h"
#include "log/line_text.h"

#include <array>
#include <charconv>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "adif/adif_modes.h"
#include "base/data_folders.h"
#include "base/file_io.h"
#include "log/band_table.h"
#include "log/local_log_file.h"

namespace vantrel {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The first 17 comma-separated fields of a local log line (missing ones empty).
std::array<std::string_view, 17> LineFields(std::string_view line) {
    std::array<std::string_view, 17> fields{};
    for (std::size_t n = 0; n < fields.size(); ++n) {
        const std::size_t comma = line.find(',');
        fields[n] = line.substr(0, comma);
        if (comma == std::string_view::npos) break;
        line.remove_prefix(comma + 1);
    }
    return fields;
}

std::string Without(std::string_view text, char drop) {
    std::string kept;
    kept.reserve(text.size());
    for (char c : text)
        if (c != drop) kept.push_back(c);
    return kept;
}

// hh:mm:ss to hhmmss; a one-digit hour (9:05:00) gets its leading zero.
std::string AdifTime(std::string_view time) {
    if (time.size() == 8 && time[2] == ':' && time[5] == ':') {
        std::string text;
        text.append(time.substr(0, 2)).append(time.substr(3, 2)).append(time.substr(6, 2));
        return text;
    }
    std::string text = Without(time, ':');
    if (text.size() == 5) text.insert(text.begin(), '0');
    return text;
}

class RecordWriter {
public:
    RecordWriter(std::string& adif, std::string& check) : adif_(adif), check_(check) {}

    void Field(std::string_view name, std::string_view value) {
        const std::size_t from = adif_.size();
        char digits[24];
        const auto length = std::to_chars(digits, digits + sizeof digits, value.size()).ptr;
        adif_.append("<").append(name).append(":").append(digits, length).append(">");
        adif_.append(value).append(" ");
        check_.append(adif_, from, std::string::npos);
        check_.push_back(',');
    }
    void Skip() { check_.push_back(','); }
    void End() {
        adif_.append("<eor>").append(kLineEnd);
        check_.append("<eor>").append(kLineEnd);
    }

private:
    std::string& adif_;
    std::string& check_;
};

}  // namespace

std::string AdifExportFileName(const LocalTime& today, std::size_t counter) {
    return std::string(counter == 0 ? "Vantrel " : "Vantrel NEW ") + FormatDdMmmYy(today) + ".ADI";
}

std::string AdifCreatedTimestamp(TimePoint created) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(created);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d %02d%02d%02d", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

std::string AdifExportHeader(TimePoint created) {
    std::string header;
    for (std::string_view line : {"Vantrel ADIF export", "<ADIF_VERS:1>3", "<PROGRAMID:17>WSJT-X Vantrelian",
                                  "<ADIF_VER:5>3.1.6"})
        header.append(line).append(kLineEnd);
    header.append("<CREATED_TIMESTAMP:15>").append(AdifCreatedTimestamp(created)).append(kLineEnd);
    header.append("<EOH>").append(kLineEnd).append(kLineEnd);
    return header;
}

void AppendAdifExportRecord(std::string_view localLine, std::string_view operatorCall,
                            std::string_view operatorGrid, std::string& adif, std::string& check) {
    const auto f = LineFields(localLine);
    const auto field = [&f](int n) { return f[static_cast<std::size_t>(n - 1)]; };
    RecordWriter out(adif, check);
    out.Field("call", field(5));
    if (!field(6).empty()) out.Field("gridsquare", field(6)); else out.Skip();
    const AdifMode mode = AdifModeOf(field(8));
    out.Field("mode", mode.mode);
    if (!mode.submode.empty()) out.Field("submode", mode.submode); else out.Skip();
    out.Field("rst_sent", field(9));
    out.Field("rst_rcvd", field(10));
    out.Field("qso_date", Without(field(1), '-'));
    out.Field("time_on", AdifTime(field(2)));
    if (!field(3).empty()) out.Field("qso_date_off", Without(field(3), '-')); else out.Skip();
    out.Field("time_off", AdifTime(field(4)));
    // "0" names no band; a reader would refuse it, and the frequency alone is valid ADIF.
    const std::string band = BandFromFrequency(field(7));
    if (band != "0") out.Field("band", band); else out.Skip();
    out.Field("freq", field(7));
    out.Field("station_callsign", field(14).empty() ? operatorCall : field(14));
    out.Field("my_gridsquare", field(15).empty() ? operatorGrid : field(15));
    out.Field("tx_pwr", field(11));
    out.Field("comment", field(12));  // a field of the line never holds a comma
    if (!field(16).empty()) out.Field("rig", field(16)); else out.Skip();
    if (!field(17).empty()) {
        const std::string_view antenna = field(17);
        out.Field("my_antenna", TrimSpaces(antenna.substr(0, antenna.find('['))));
    } else {
        out.Skip();
    }
    out.End();
}

AdifExport BuildAdifExport(const LogLines& lines, std::size_t counter, std::string_view operatorCall,
                           std::string_view operatorGrid, const std::function<void(int percent)>& progress) {
    return BuildAdifExport(lines, counter, operatorCall, operatorGrid, std::chrono::system_clock::now(), progress);
}

AdifExport BuildAdifExport(const LogLines& lines, std::size_t counter, std::string_view operatorCall,
                           std::string_view operatorGrid, TimePoint created,
                           const std::function<void(int percent)>& progress) {
    AdifExport exported;
    exported.adif = AdifExportHeader(created);
    const std::size_t count = lines.size();
    if (counter < count) {
        const std::size_t bytes = lines.BytesFrom(counter).size();
        exported.adif.reserve(exported.adif.size() + bytes * 3);
        exported.check.reserve(bytes * 3);
    }
    int shown = -1;
    for (std::size_t i = counter; i < count; ++i) {
        const std::string_view line = lines[i];
        if (!line.empty()) {
            AppendAdifExportRecord(line, operatorCall, operatorGrid, exported.adif, exported.check);
            ++exported.records;
        }
        const int percent = static_cast<int>((i + 1) * 100 / count);
        if (progress && percent != shown) progress(shown = percent);
    }
    exported.nextCounter = count == 0 ? 0 : count - 1;
    return exported;
}

bool WriteAdifExport(const std::filesystem::path& folder, const LocalTime& today, std::size_t counter,
                     const AdifExport& exported, std::filesystem::path* written, std::string* error) {
    const std::filesystem::path file = folder / AdifExportFileName(today, counter);
    if (!WriteFileAtomic(file, exported.adif, error)) return false;
    if (!WriteFileAtomic(folder / kAdifCheckFileName, exported.check, error)) return false;
    if (written) *written = file;
    return true;
}

AdifExportRun ExportLocalLogAsAdif(const std::filesystem::path& viewerFolder, const LogLines& localLines,
                                   bool full, int storedCounter, std::string_view operatorCall,
                                   std::string_view operatorGrid, TimePoint now,
                                   const std::function<void(int percent)>& progress) {
    AdifExportRun run;
    const std::size_t counter = full ? 0 : static_cast<std::size_t>(std::max(0, storedCounter));
    const AdifExport exported = BuildAdifExport(localLines, counter, operatorCall, operatorGrid, now, progress);
    run.ok = WriteAdifExport(viewerFolder, ToLocalTime(now), counter, exported, &run.written, &run.error);
    run.records = exported.records;
    run.nextCounter = run.ok ? static_cast<int>(exported.nextCounter) : storedCounter;
    return run;
}

AdifExportRun ExportLocalLogAsAdif(const std::filesystem::path& viewerFolder, bool full, int storedCounter,
                                   std::string_view operatorCall, std::string_view operatorGrid, TimePoint now) {
    LocalLogFile file(viewerFolder / kLocalLog);
    AdifExportRun run;
    const std::optional<LogLines> lines = file.Load(&run.error);
    if (!lines) {
        run.nextCounter = storedCounter;
        return run;
    }
    return ExportLocalLogAsAdif(viewerFolder, *lines, full, storedCounter, operatorCall, operatorGrid, now);
}

}  // namespace vantrel
