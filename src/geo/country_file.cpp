#include "geo/country_file.h"
#include "log/line_text.h"

#include <algorithm>
#include <system_error>

#include "base/file_io.h"
#include "log/extract_field.h"

namespace vantrel {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Upper(std::string_view t) {
    std::string u(t);
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return u;
}

// The text after the first `mark`, at most 10 characters; the text itself without the mark.
std::string_view AfterMark(std::string_view t, char mark) {
    const std::size_t at = t.find(mark);
    return at == std::string_view::npos ? t : t.substr(at + 1, 10);
}

std::string_view CutAt(std::string_view t, char mark) { return t.substr(0, t.find(mark)); }

struct Entity {
    std::string name, continent, latitude, longitude, primary;
};

std::string CountryLine(std::string_view prefix, const Entity& e) {
    std::string line;
    line.reserve(prefix.size() + e.name.size() + e.continent.size() + e.latitude.size() +
                 e.longitude.size() + 8);
    line.append(prefix).append(",").append(e.name).append(",").append(e.continent);
    line.append(" {").append(e.latitude).append("^").append(e.longitude).append("}");
    return line;
}

Entity ReadEntity(std::string_view line) {
    Entity e;
    e.name = TrimBlanks(ExtractFieldView(line, ':', 1));
    e.continent = TrimBlanks(ExtractFieldView(line, ':', 4));
    e.latitude = TrimBlanks(ExtractFieldView(line, ':', 5));
    e.longitude = TrimBlanks(ExtractFieldView(line, ':', 6));
    std::string_view primary = AfterMark(TrimBlanks(ExtractFieldView(line, ':', 8)), '*');
    const std::size_t slash = primary.find('/');
    if (slash == std::string_view::npos) {
        e.primary = primary;
    } else {
        // 3D2/c becomes 3D2C, FO/a becomes FO0A.
        const bool digitBefore = slash > 0 && primary[slash - 1] >= '0' && primary[slash - 1] <= '9';
        e.primary = std::string(primary.substr(0, slash)) + (digitBefore ? "" : "0") +
                    Upper(primary.substr(slash + 1, 10));
    }
    return e;
}

void AddPrefixList(std::string_view joined, const Entity& e, std::vector<std::string>& out) {
    for (;;) {
        const std::size_t comma = joined.find(',');
        std::string_view item = joined.substr(0, comma);
        const std::size_t end = item.find(';');
        const bool last = end != std::string_view::npos || comma == std::string_view::npos;
        item = item.substr(0, end);
        item = CutAt(item, '[');
        item = CutAt(item, '(');
        item = TrimBlanks(item);
        if (item.starts_with('=')) {
            // An exact callsign keeps its "=": it names this one station, it is no prefix.
            std::string_view call = item.substr(1);
            call = call.substr(0, call.find_first_of("<{~"));  // position, continent, offset marks
            std::string exact("=");
            exact += Upper(TrimBlanks(call));
            out.push_back(CountryLine(exact, e));
        } else {
            item = TrimBlanks(AfterMark(item, '*'));
            if (item != e.primary) out.push_back(CountryLine(item, e));
        }
        if (last) return;
        joined.remove_prefix(comma + 1);
    }
}

bool IsWholeNumber(std::string_view t) {
    if (t.starts_with('-') || t.starts_with('+')) t.remove_prefix(1);
    return !t.empty() && t.find_first_not_of("0123456789") == std::string_view::npos;
}

bool IsDecimalNumber(std::string_view t) {
    if (t.starts_with('-') || t.starts_with('+')) t.remove_prefix(1);
    const std::size_t point = t.find('.');
    if (point == std::string_view::npos) return IsWholeNumber(t);
    const std::string_view whole = t.substr(0, point), fraction = t.substr(point + 1);
    return (!whole.empty() || !fraction.empty()) &&
           (whole.empty() || IsWholeNumber(whole)) && (fraction.empty() || IsWholeNumber(fraction));
}

// An entity line holds name, CQ zone, ITU zone, continent, latitude, longitude, UTC offset and
// primary prefix, each followed by ":".
bool IsEntityLine(std::string_view line) {
    const auto field = [&](int n) { return TrimBlanks(ExtractFieldView(line, ':', n)); };
    static constexpr std::string_view kContinents[] = {"AF", "AN", "AS", "EU", "NA", "OC", "SA"};
    const std::string_view continent = field(4);
    return std::count(line.begin(), line.end(), ':') >= 8 && !field(1).empty() &&
           IsWholeNumber(field(2)) && IsWholeNumber(field(3)) &&
           std::find(std::begin(kContinents), std::end(kContinents), continent) !=
               std::end(kContinents) &&
           IsDecimalNumber(field(5)) && IsDecimalNumber(field(6)) && IsDecimalNumber(field(7)) &&
           !field(8).empty();
}

void NoteProblem(CountryFileShape& shape, std::string_view line) {
    if (shape.firstProblem.empty()) shape.firstProblem = line.substr(0, 60);
}

}  // namespace

std::vector<std::string> ParseCountryFile(std::string_view bytes, CountryFileShape* shape) {
    std::vector<std::string> out;
    Entity entity;
    std::string joined;
    std::string_view entityLine;
    bool listOpen = false;
    bool listClosed = true;  // the current entity's list ended with ";" (none before the first)
    const auto closeList = [&] {
        if (listOpen) AddPrefixList(joined, entity, out);
        joined.clear();
        listOpen = false;
    };
    const auto checkListClosed = [&] {
        if (shape && !listClosed) {
            ++shape->openLists;
            NoteProblem(*shape, entityLine);
        }
    };
    while (!bytes.empty()) {
        // Lines end in CR LF, LF or a lone CR (the CR of a CR LF ends the line; the empty line
        // before its LF is skipped).
        const std::size_t end = bytes.find_first_of("\r\n");
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.empty()) continue;
        if (!IsBlank(line.front())) {
            // A list left without its ";" ends at the next entity.
            closeList();
            checkListClosed();
            entityLine = line;
            listClosed = false;
            if (shape) {
                ++shape->entities;
                if (!IsEntityLine(line)) {
                    ++shape->badEntities;
                    NoteProblem(*shape, line);
                }
            }
            entity = ReadEntity(line);
            out.push_back(CountryLine(entity.primary, entity));
            continue;
        }
        listOpen = true;
        joined.append(TrimBlanks(line));
        if (joined.find(';') != std::string::npos) {
            closeList();
            listClosed = true;
        }
    }
    closeList();
    checkListClosed();
    return out;
}

void SortCountryLines(std::vector<std::string>& lines) {
    const auto upper = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; };
    std::sort(lines.begin(), lines.end(), [&](const std::string& a, const std::string& b) {
        const std::size_t n = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < n; ++i) {
            const int ca = upper(static_cast<unsigned char>(a[i]));
            const int cb = upper(static_cast<unsigned char>(b[i]));
            if (ca != cb) return ca < cb;
        }
        if (a.size() != b.size()) return a.size() < b.size();
        return a < b;
    });
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
}

LogLines SortedCountryLines(std::vector<std::string> lines) {
    SortCountryLines(lines);
    return LogLines(lines);
}

std::optional<LogLines> LoadCountryFile(const std::filesystem::path& viewerFolder,
                                        std::string* error, CountryFileShape* shape) {
    const auto bytes = ReadWholeFile(viewerFolder / kCountryFile, error);
    if (!bytes) return std::nullopt;
    LogLines table = SortedCountryLines(ParseCountryFile(*bytes, shape));
    if (!SaveLogLines(viewerFolder / kCountryBasicFile, table, error)) return std::nullopt;
    return table;
}

std::optional<LogLines> LoadCountryBasic(const std::filesystem::path& file, std::string* error) {
    auto lines = LoadLogLines(file, error);
    if (!lines) return std::nullopt;
    std::vector<std::string> copy;
    copy.reserve(lines->size());
    for (std::string_view line : *lines)
        if (!line.empty()) copy.emplace_back(line);
    return SortedCountryLines(std::move(copy));
}

CountryFileSource ChooseCountryFileSource(const std::filesystem::path& viewerFolder,
                                          const std::filesystem::path& wsjtxFolder,
                                          const std::filesystem::path& installedCopy) {
    if (FileSize(viewerFolder / kCountryFile) >= 0) return {CountryFileSource::AlreadyPresent, {}};
    if (!wsjtxFolder.empty()) {
        if (auto found = FindFileNoCase(wsjtxFolder, kCountryFile); found && FileSize(*found) > 0)
            return {CountryFileSource::FromWsjtxFolder, *found};
    }
    if (FileSize(installedCopy) > 0) return {CountryFileSource::FromInstalledCopy, installedCopy};
    return {CountryFileSource::Missing, {}};
}

CountryFileAge CheckCountryFileAge(std::optional<TimePoint> fileTime, TimePoint now) {
    if (!fileTime) return {"CTY.DAT: not found  - Use File/Update CTY.DAT file on menu", true};
    CountryFileAge age;
    age.text = "CTY.DAT: " + FormatDdMmmYy(ToLocalTime(*fileTime));
    if (now - *fileTime > std::chrono::hours(24 * 60)) {
        age.text += "  - TOO OLD !! Use File/Update CTY.DAT file on menu";
        age.tooOld = true;
    }
    return age;
}

std::optional<TimePoint> FileModificationTime(const std::filesystem::path& file) {
    std::error_code ec;
    const auto written = std::filesystem::last_write_time(file, ec);
    if (ec) return std::nullopt;
    return std::chrono::time_point_cast<TimePoint::duration>(
        std::chrono::file_clock::to_sys(written));
}

}  // namespace vantrel
