#include "log/log_maintenance.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "log/extract_field.h"
#include "log/line_text.h"

namespace vantrel {

namespace {

// Reports progress at the start, every few thousand lines and at the end.
class ProgressTicker {
public:
    ProgressTicker(const RepairProgress& progress, std::size_t total) : progress_(progress), total_(total) {
        if (progress_) progress_(0, total_);
    }
    void Line(std::size_t index) const {
        if (progress_ && index != 0 && index % kRepairProgressStep == 0) progress_(index, total_);
    }
    void Done() const {
        if (progress_) progress_(total_, total_);
    }

private:
    const RepairProgress& progress_;
    std::size_t total_;
};

LogLines WithRoomFor(const LogLines& like) {
    LogLines lines;
    lines.reserve(like.size(), like.Bytes().size() + like.size() * 2 + 64);
    return lines;
}

// The text with a "0" in front when it has `width` - 1 characters.
std::string PadToWidth(std::string_view text, std::size_t width) {
    std::string out;
    if (text.size() + 1 == width) out.push_back('0');
    out.append(text);
    return out;
}

std::string PadTwo(std::string_view part) { return PadToWidth(part, 2); }

// Field 5 to the end of the line, or nothing when the line has no callsign.
std::string_view FromCallsign(std::string_view line) {
    const FieldSpan call = FindField(line, 5);
    if (!call.found || call.length == 0) return {};
    return line.substr(call.start);
}

}  // namespace

RepairResult check_grids_in_log(const LogLines& localLog, const LogLines& gridsList,
                                const RepairProgress& progress) {
    // The callsigns whose grid is missing, then the first usable grids-list entry of each: the
    // same entry a search from the top of the list finds, in one pass over the list.
    std::unordered_map<std::string_view, std::string_view> grids;
    for (const std::string_view line : localLog) {
        const std::string_view call = ExtractFieldView(line, ',', 5);
        if (!call.empty() && ExtractFieldView(line, ',', 6).empty()) grids.emplace(call, std::string_view());
    }
    std::size_t missing = grids.size();
    for (std::size_t i = 0; i < gridsList.size() && missing != 0; ++i) {
        const std::string_view entry = gridsList[i];
        const std::string_view grid = ExtractFieldView(entry, ',', 2);
        if (grid.empty()) continue;
        const auto found = grids.find(ExtractFieldView(entry, ',', 1));
        if (found == grids.end() || !found->second.empty()) continue;
        found->second = grid;
        --missing;
    }

    RepairResult result{WithRoomFor(localLog), 0};
    const ProgressTicker ticker(progress, localLog.size());
    for (std::size_t i = 0; i < localLog.size(); ++i) {
        ticker.Line(i);
        const std::string_view line = localLog[i];
        const std::string_view call = ExtractFieldView(line, ',', 5);
        const auto found = call.empty() ? grids.end() : grids.find(call);
        if (found == grids.end() || found->second.empty() || !ExtractFieldView(line, ',', 6).empty()) {
            result.lines.push_back(line);
            continue;
        }
        result.lines.push_back(TrimBlanks(ReplaceField(line, 6, found->second)));
        ++result.changed;
    }
    ticker.Done();
    return result;
}

std::string ConvertDate(std::string_view text) {
    if (text.find('/') != std::string_view::npos) {
        const std::string slashed = std::string(text) + "/";
        const std::string day = PadTwo(ExtractFieldView(slashed, '/', 1));
        const std::string month = PadTwo(ExtractFieldView(slashed, '/', 2));
        return std::string(ExtractFieldView(slashed, '/', 3)) + "-" + month + "-" + day;
    }
    const std::string second = PadTwo(ExtractFieldView(text, '-', 2));
    const std::string third = PadTwo(ExtractFieldView(text, '-', 3));
    return third + "/" + second + "/" + std::string(ExtractFieldView(text, '-', 1));
}

std::string PadTime(std::string_view text) {
    return PadToWidth(text, 8);
}

RepairResult check_dates_in_log(const LogLines& localLog, const RepairProgress& progress) {
    RepairResult result{WithRoomFor(localLog), 0};
    const ProgressTicker ticker(progress, localLog.size());
    std::string text;
    for (std::size_t i = 0; i < localLog.size(); ++i) {
        ticker.Line(i);
        const std::string_view line = localLog[i];
        const std::string_view start = ExtractFieldView(line, ',', 1);
        const std::string_view rest = FromCallsign(line);
        if (start.find('/') == std::string_view::npos || rest.empty()) {
            result.lines.push_back(line);
            continue;
        }
        // Only dates still in the old form are converted: an end date already written as
        // yyyy-mm-dd must not be turned back into dd/mm/yyyy.
        const std::string_view end = ExtractFieldView(line, ',', 3);
        text = ConvertDate(start);
        text.append(",").append(PadTime(ExtractFieldView(line, ',', 2)));
        text.append(",").append(end.find('/') != std::string_view::npos ? ConvertDate(end) : std::string(end));
        text.append(",").append(PadTime(ExtractFieldView(line, ',', 4)));
        text.append(",").append(TrimBlanks(rest));
        result.lines.push_back(text);
        ++result.changed;
    }
    ticker.Done();
    return result;
}

LogLines RemoveLogJunk(const LogLines& fileLines, const RepairProgress& progress) {
    LogLines out = WithRoomFor(fileLines);
    const ProgressTicker ticker(progress, fileLines.size());
    std::string text;
    for (std::size_t i = 0; i < fileLines.size(); ++i) {
        ticker.Line(i);
        const std::string_view line = fileLines[i];
        if (line.empty()) continue;
        // The bracket that counts is the antenna's: a "]" typed into the comment must not cut
        // the line short.
        const FieldSpan antenna = FindField(line, 17);
        const auto bracket = antenna.found ? line.find(']', antenna.start) : std::string_view::npos;
        if (bracket != std::string_view::npos) {
            text.assign(line.substr(0, bracket + 1)).push_back(',');
        } else {
            text.clear();
            for (std::uint8_t n = 1; n <= 16; ++n) {
                if (n > 1) text.push_back(',');
                text.append(ExtractFieldView(line, ',', n));
            }
        }
        out.push_back(text);
    }
    ticker.Done();
    return out;
}

RepairResult ZapUserField(const LogLines& localLog, const RepairProgress& progress) {
    RepairResult result{WithRoomFor(localLog), 0};
    const ProgressTicker ticker(progress, localLog.size());
    for (std::size_t i = 0; i < localLog.size(); ++i) {
        ticker.Line(i);
        const std::string_view line = localLog[i];
        const FieldSpan comment = FindField(line, 12);
        if (!comment.found || comment.length == 0) {
            result.lines.push_back(line);
            continue;
        }
        result.lines.push_back(ReplaceField(line, 12, ""));
        ++result.changed;
    }
    ticker.Done();
    return result;
}

namespace {

constexpr std::string_view kMakerCall = "QQ0XYZ";
constexpr std::string_view kEventCall = "QX0XYZ";
constexpr std::string_view kMakerGrid = "RR99XX";

// The line with every "," between a "[" and the "]" that follows it turned into ";" (the same
// length, so positions carry over to the line).
std::string BracketsShielded(std::string_view line) {
    std::string copy(line);
    std::size_t open = copy.find('[');
    while (open != std::string::npos) {
        const std::size_t close = copy.find(']', open);
        if (close == std::string::npos) break;
        std::replace(copy.begin() + static_cast<std::ptrdiff_t>(open),
                     copy.begin() + static_cast<std::ptrdiff_t>(close), ',', ';');
        open = copy.find('[', close);
    }
    return copy;
}

// The repaired line, or nothing when the line needs no repair.
std::optional<std::string> RepairMyGridLine(std::string_view line) {
    const std::string mc = UpperCase(ExtractFieldView(line, ',', 14));
    const std::string mg = UpperCase(ExtractFieldView(line, ',', 15));
    const bool makerCall = mc == kMakerCall || mc == kEventCall;
    const bool completeGrid = makerCall && (mg == "RR99" || mg == "GRID" || mg.empty());
    const bool shortenCall = mg == kMakerGrid && mc.size() > 6;

    // Pieces beyond the antenna, whose band list in brackets may hold commas.
    const bool brackets = line.find('[') != std::string_view::npos;
    const std::string shielded = brackets ? BracketsShielded(line) : std::string();
    const std::string_view pieces = brackets ? std::string_view(shielded) : line;
    const bool extra = !ExtractFieldView(pieces, ',', 18).empty() || !ExtractFieldView(pieces, ',', 19).empty() ||
                       !ExtractFieldView(pieces, ',', 20).empty();
    if (!extra && !completeGrid && !shortenCall) return std::nullopt;

    std::string text(line);
    if (extra) {
        // Fields 1 to 17, each followed by ",", with the antenna's band list kept whole.
        const FieldSpan antenna = FindField(pieces, 17);
        text.assign(line.substr(0, antenna.start + antenna.length)).push_back(',');
    }
    if (completeGrid) text = ReplaceField(text, 15, kMakerGrid);
    if (shortenCall)
        text = ReplaceField(text, 14, mc.compare(0, 2, kEventCall.substr(0, 2)) == 0 ? kEventCall : kMakerCall);
    if (text == line) return std::nullopt;
    return text;
}

}  // namespace

MyGridResult CheckMyGrid(const LogLines& localLog, std::string_view operatorCallsign,
                         const RepairProgress& progress) {
    MyGridResult result;
    if (operatorCallsign.substr(0, kMakerCall.size()) != kMakerCall) {
        result.lines = localLog;
        return result;
    }
    result.applicable = true;
    // Changed lines move to the end before the sort, which keeps lines equal but for letter case
    // in that order.
    std::vector<std::string_view> kept;
    std::deque<std::string> changed;
    kept.reserve(localLog.size());
    const ProgressTicker ticker(progress, localLog.size());
    for (std::size_t i = 0; i < localLog.size(); ++i) {
        ticker.Line(i);
        const std::string_view line = localLog[i];
        if (auto repaired = RepairMyGridLine(line)) changed.push_back(std::move(*repaired));
        else kept.push_back(line);
    }
    result.changed = changed.size();
    // A log in time order needs only the changed lines sorted into it.
    const bool inOrder = std::is_sorted(kept.begin(), kept.end(), LessNoCase{});
    const auto firstChanged = static_cast<std::ptrdiff_t>(kept.size());
    for (const std::string& line : changed) kept.push_back(line);
    if (inOrder) {
        std::stable_sort(kept.begin() + firstChanged, kept.end(), LessNoCase{});
        std::inplace_merge(kept.begin(), kept.begin() + firstChanged, kept.end(), LessNoCase{});
    } else {
        std::stable_sort(kept.begin(), kept.end(), LessNoCase{});
    }
    result.lines = WithRoomFor(localLog);
    for (const std::string_view line : kept) result.lines.push_back(line);
    ticker.Done();
    return result;
}

std::string MyGridBackupName(const LocalTime& now) {
    char text[64];
    std::snprintf(text, sizeof text, "Viewer_local_log %02d%02d%02d %02d%02d%02d.txt", now.day, now.month,
                  now.year % 100, now.hour, now.minute, now.second);
    return text;
}

}  // namespace vantrel
