#include "adif/adif_export.h"
#include "log/line_text.h"

#include <array>
#include <charconv>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "adif/adif_modes.h"
#include "base/data_folders.h"
#include "base/file_io.h"
#include "log/band_table.h"
#include "log/local_log_file.h"

namespace vantrel {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
// The pieces an export reads and writes at a time.
constexpr std::size_t kReadChunk = 1 << 20;
constexpr std::size_t kWriteChunk = 1 << 20;

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

AdifExportWriter::AdifExportWriter(const std::filesystem::path& folder, const LocalTime& today,
                                   std::size_t counter, std::string_view operatorCall,
                                   std::string_view operatorGrid, TimePoint created)
    : file_(folder / AdifExportFileName(today, counter)),
      call_(operatorCall),
      grid_(operatorGrid),
      created_(created),
      adifFile_(file_),
      checkFile_(folder / kAdifCheckFileName) {}

bool AdifExportWriter::Open(std::string* error) {
    if (!adifFile_.Open(error) || !checkFile_.Open(error)) return false;
    adif_ = AdifExportHeader(created_);
    return true;
}

bool AdifExportWriter::Flush(std::string* error) {
    if (!adifFile_.Write(adif_, error) || !checkFile_.Write(check_, error)) return false;
    adif_.clear();
    check_.clear();
    return true;
}

bool AdifExportWriter::Add(std::string_view localLine, std::string* error) {
    if (localLine.empty()) return true;
    AppendAdifExportRecord(localLine, call_, grid_, adif_, check_);
    ++records_;
    return adif_.size() < kWriteChunk || Flush(error);
}

bool AdifExportWriter::Finish(std::filesystem::path* written, std::string* error) {
    if (!Flush(error) || !adifFile_.Commit(error) || !checkFile_.Commit(error)) return false;
    if (written) *written = file_;
    return true;
}

namespace {

AdifExportRun Finished(AdifExportWriter& writer, bool ok, std::size_t lines, int storedCounter, std::string error) {
    AdifExportRun run;
    run.ok = ok && writer.Finish(&run.written, &error);
    if (!run.ok && error.empty()) error = "unknown failure";
    run.error = std::move(error);
    run.records = writer.Records();
    run.nextCounter = run.ok ? static_cast<int>(lines == 0 ? 0 : lines - 1) : storedCounter;
    return run;
}

std::size_t FirstLine(bool full, int storedCounter) {
    return full ? 0 : static_cast<std::size_t>(std::max(0, storedCounter));
}

// Hands each line of the file, as it stood when opened, to `take`: split on LF with one CR
// before it dropped (and one at the end of a last line without its LF), as a log is loaded.
// False when the file cannot be read or `take` says stop. The file is read in pieces; a writer that replaces it meanwhile renames a new file over it,
// and one that appends adds only after the size taken at the start.
bool ForEachLineOfFile(const std::filesystem::path& file, const std::function<bool(std::string_view)>& take,
                       std::string* error) {
    UniqueFd fd;
    std::int64_t size = 0;
    {
        const UniqueFd lock = LockFileForUpdate(file);  // a write under way ends first
        fd.Reset(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
        struct stat st {};
        if (!fd || ::fstat(fd.get(), &st) != 0) {
            if (error) *error = "cannot open " + file.string() + ": " + ErrorText(errno);
            return false;
        }
        size = st.st_size;
    }
    std::string buffer(kReadChunk, '\0');
    std::string pending;  // the start of a line that the last piece cut
    while (size > 0) {
        const ssize_t n = ::read(fd.get(), buffer.data(), static_cast<std::size_t>(std::min<std::int64_t>(size, kReadChunk)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (error) *error = "cannot read " + file.string() + ": " + (n < 0 ? ErrorText(errno) : "it was cut short");
            return false;
        }
        size -= n;
        std::string_view piece(buffer.data(), static_cast<std::size_t>(n));
        for (std::size_t lf = piece.find('\n'); lf != std::string_view::npos; lf = piece.find('\n')) {
            std::string_view line = piece.substr(0, lf);
            if (!pending.empty()) {
                pending.append(line);
                line = pending;
            }
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (!take(line)) return false;
            pending.clear();
            piece.remove_prefix(lf + 1);
        }
        pending.append(piece);
    }
    std::string_view last = pending;
    if (!last.empty() && last.back() == '\r') last.remove_suffix(1);
    return pending.empty() || take(last);
}

}  // namespace

AdifExportRun ExportLocalLogAsAdif(const std::filesystem::path& viewerFolder, const LogLines& localLines,
                                   bool full, int storedCounter, std::string_view operatorCall,
                                   std::string_view operatorGrid, const LocalTime& today, TimePoint created,
                                   const std::function<void(int percent)>& progress) {
    const std::size_t counter = FirstLine(full, storedCounter);
    AdifExportWriter writer(viewerFolder, today, counter, operatorCall, operatorGrid, created);
    std::string error;
    bool ok = writer.Open(&error);
    const std::size_t count = localLines.size();
    int shown = -1;
    for (std::size_t i = counter; ok && i < count; ++i) {
        ok = writer.Add(localLines[i], &error);
        const int percent = static_cast<int>((i + 1) * 100 / count);
        if (progress && percent != shown) progress(shown = percent);
    }
    return Finished(writer, ok, count, storedCounter, std::move(error));
}

AdifExportRun ExportLocalLogAsAdif(const std::filesystem::path& viewerFolder, const LogLines& localLines,
                                   bool full, int storedCounter, std::string_view operatorCall,
                                   std::string_view operatorGrid, TimePoint now,
                                   const std::function<void(int percent)>& progress) {
    return ExportLocalLogAsAdif(viewerFolder, localLines, full, storedCounter, operatorCall, operatorGrid,
                                ToLocalTime(now), now, progress);
}

AdifExportRun ExportLocalLogAsAdif(const std::filesystem::path& viewerFolder, bool full, int storedCounter,
                                   std::string_view operatorCall, std::string_view operatorGrid, TimePoint now) {
    const std::size_t counter = FirstLine(full, storedCounter);
    AdifExportWriter writer(viewerFolder, ToLocalTime(now), counter, operatorCall, operatorGrid, now);
    std::string error;
    std::size_t lines = 0;  // contacts read: empty lines are not counted, as the window loads the log
    const bool ok = writer.Open(&error) && ForEachLineOfFile(
                                               viewerFolder / kLocalLog,
                                               [&](std::string_view line) {
                                                   if (line.empty()) return true;
                                                   return lines++ < counter || writer.Add(line, &error);
                                               },
                                               &error);
    return Finished(writer, ok, lines, storedCounter, std::move(error));
}

}  // namespace vantrel
