#include "log/local_log.h"

#include <algorithm>
#include <cstring>

#include "log/extract_field.h"

namespace vantrel {

namespace {

bool IsControlByte(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }

// The line without the control bytes before its first field (a run of NUL bytes that a crash
// left where a line was lost runs into the next line).
std::string_view WithoutLeadingControlBytes(std::string_view line) {
    std::size_t start = 0;
    while (start < line.size() && IsControlByte(line[start])) ++start;
    return line.substr(start);
}

// Eight bytes at a time: a byte below 0x20 leaves the top bit of (its low seven bits + 0x60)
// and its own top bit clear; DEL becomes a zero byte when XORed with 0x7f.
bool HasControlByte(std::string_view text) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kLow7 = 0x7f7f7f7f7f7f7f7fULL;
    constexpr std::uint64_t kTop = kOnes * 0x80;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        const std::uint64_t below = ~(((word & kLow7) + kOnes * 0x60) | word) & kTop;
        const std::uint64_t del = word ^ (kOnes * 0x7f);
        if ((below | ~(((del & kLow7) + kLow7) | del | kLow7)) != 0) return true;
    }
    for (; i < text.size(); ++i)
        if (IsControlByte(text[i])) return true;
    return false;
}

void RemoveControlBytes(std::string& text) {
    std::erase_if(text, IsControlByte);
}

constexpr std::size_t kSkippedLinesKept = 10;
constexpr std::size_t kSkippedTextShown = 40;

}  // namespace

std::string SkippedLinesTrace(const WsjtxMerge& merge) {
    if (merge.skipped == 0) return {};
    std::string text = "wsjtx.log: " + std::to_string(merge.skipped) +
                       (merge.skipped == 1 ? " line holds" : " lines hold") +
                       " no contact and " + (merge.skipped == 1 ? "was" : "were") +
                       " not merged (line";
    if (merge.skippedLines.size() > 1) text += 's';
    for (std::size_t i = 0; i < merge.skippedLines.size(); ++i)
        text += (i == 0 ? " " : ", ") + std::to_string(merge.skippedLines[i]);
    if (merge.skipped > merge.skippedLines.size()) text += ", ...";
    text += "): \"" + merge.firstSkipped + "\"";
    return text;
}

LogLines create_new_local_log(const LogLines& wsjtxLines, const StationDetails& station,
                              WsjtxMerge* merge) {
    LogLines local;
    if (wsjtxLines.size() < 2) return local;
    WsjtxMerge result = update_local_with_new(local, wsjtxLines, station);
    if (merge) *merge = std::move(result);
    return local;
}

WsjtxMerge update_local_with_new(LogLines& local, ContactIndex& index, const LogLines& wsjtxLines,
                                 const StationDetails& station) {
    WsjtxMerge merge;
    index.Extend(local);
    const std::string suffix = StationSuffix(station);
    std::string line;
    // The lines are looked up in groups (ContactIndex::ContainsEach); control bytes inside a
    // line are removed before it is compared, so the line appended and the line compared hold
    // the same callsign.
    constexpr std::size_t kGroup = 16;
    std::string cleaned[kGroup];
    std::string_view texts[kGroup];
    bool contact[kGroup], held[kGroup];
    for (std::size_t first = 0; first < wsjtxLines.size(); first += kGroup) {
        const std::size_t count = std::min(kGroup, wsjtxLines.size() - first);
        for (std::size_t j = 0; j < count; ++j) {
            const std::size_t i = first + j;
            const std::string_view raw = wsjtxLines[i];
            std::string_view text = WithoutLeadingControlBytes(raw);
            contact[j] = IsWsjtxContactLine(text);
            if (!contact[j]) {
                texts[j] = {};
                if (raw.empty()) continue;
                if (merge.skipped++ == 0) {
                    merge.firstSkipped = raw.substr(0, kSkippedTextShown);
                    for (char& c : merge.firstSkipped)
                        if (IsControlByte(c)) c = '?';
                }
                if (merge.skippedLines.size() < kSkippedLinesKept) merge.skippedLines.push_back(i + 1);
                continue;
            }
            if (HasControlByte(text)) {
                cleaned[j].assign(text);
                RemoveControlBytes(cleaned[j]);
                text = cleaned[j];
            }
            texts[j] = text;
        }
        index.ContainsEach(texts, count, held);
        for (std::size_t j = 0; j < count; ++j) {
            if (!contact[j] || held[j]) continue;
            line = WsjtxLineFields13(texts[j]);
            line += suffix;
            // Not yet held, unless an earlier line of the group was the same contact.
            if (!index.Add(line)) continue;
            local.push_back(line);
            ++merge.appended;
        }
    }
    index.Extend(local, local.size());
    return merge;
}

WsjtxMerge update_local_with_new(LogLines& local, const LogLines& wsjtxLines,
                                 const StationDetails& station) {
    ContactIndex index(local);
    return update_local_with_new(local, index, wsjtxLines, station);
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

bool LocalLogHasContact(const ContactIndex& index, std::string_view line) {
    return line.empty() || index.Contains(line);
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
