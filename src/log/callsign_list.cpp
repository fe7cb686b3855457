#include "log/callsign_list.h"

#include <algorithm>
#include <deque>
#include <iterator>

#include "log/extract_field.h"

namespace vantrel {

namespace {

bool PointerLess(const std::string* a, const std::string* b) { return CompareNoCase(*a, *b) < 0; }

// Field 5 through field 6 of the line when both exist (they stand side by side with their comma
// between); otherwise the entry has to be put together.
std::string_view EntryView(std::string_view line, std::string& spare) {
    const FieldSpan call = FindField(line, 5);
    if (call.found) {
        const auto comma = call.start + call.length;
        if (comma < line.size()) {
            auto end = line.find(',', comma + 1);
            if (end == std::string_view::npos) end = line.size();
            return line.substr(call.start, end - call.start);
        }
    }
    spare = CallsignEntry(line);
    return spare;
}

}  // namespace

std::string CallsignEntry(std::string_view line) {
    std::string entry(ExtractFieldView(line, ',', 5));
    entry += ',';
    entry += ExtractFieldView(line, ',', 6);
    return entry;
}

bool CallsignList::Add(std::string_view entry) {
    return AddMany(std::vector<std::string_view>{entry}) == 1;
}

std::size_t CallsignList::AddMany(const std::vector<std::string_view>& entries) {
    std::vector<const std::string*> fresh;
    for (const std::string_view entry : entries) {
        if (known_.find(entry) != known_.end()) continue;
        fresh.push_back(&*known_.emplace(entry).first);
    }
    const std::size_t added = fresh.size();
    if (added == 0) return 0;
    SortNoCase(fresh, [](const std::string* entry) { return std::string_view(*entry); });
    if (entries_.empty()) {
        entries_ = std::move(fresh);
    } else if (fresh.size() < 16) {
        for (const std::string* entry : fresh)
            entries_.insert(std::upper_bound(entries_.begin(), entries_.end(), entry, PointerLess), entry);
    } else {
        std::vector<const std::string*> merged;
        merged.reserve(entries_.size() + fresh.size());
        std::merge(entries_.begin(), entries_.end(), fresh.begin(), fresh.end(),
                   std::back_inserter(merged), PointerLess);
        entries_ = std::move(merged);
    }
    return added;
}

LogLines CallsignList::Lines() const {
    LogLines lines;
    std::size_t bytes = 0;
    for (const std::string* entry : entries_) bytes += entry->size() + 2;
    lines.reserve(entries_.size(), bytes);
    for (const std::string* entry : entries_) lines.push_back(*entry);
    return lines;
}

std::size_t create_callsignlist(CallsignList& list, const LogLines& localLog, std::size_t first) {
    // Only the entries not seen before are kept for the sorted insert; most rebuilds add one.
    std::vector<std::string_view> candidates;
    std::deque<std::string> spares;  // entries that are not a piece of their line
    std::string spare;
    for (std::size_t i = first; i < localLog.size(); ++i) {
        const std::string_view line = localLog[i];
        std::string_view entry = EntryView(line, spare);
        if (list.Contains(entry)) continue;
        if (entry.data() == spare.data()) entry = spares.emplace_back(spare);
        candidates.push_back(entry);
    }
    return list.AddMany(candidates);
}

bool SaveCallsignList(const std::filesystem::path& file, const CallsignList& list, std::string* error) {
    return SaveLogLines(file, list.Lines(), error);
}

std::vector<ColouredLine> display_callsigns(const CallsignList& list) {
    std::vector<std::string_view> calls;
    calls.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string_view call = ExtractFieldView(list[i], ',', 1);
        // A station logged with two grids (or with and without one) is shown once.
        if (call.empty() || (!calls.empty() && EqualNoCase{}(calls.back(), call))) continue;
        calls.push_back(call);
    }
    std::vector<ColouredLine> lines;
    if (calls.size() < 2) return lines;

    const auto colourOf = [](unsigned group) { return static_cast<int>(group % 4) + 1; };
    unsigned group = 1;
    std::string line;
    for (std::size_t i = 0; i + 1 < calls.size(); ++i) {
        int colour = colourOf(group);
        const std::string_view call = calls[i];
        const std::string_view next = calls[i + 1];
        line.append(call).append(", ");
        if (FoldCase(static_cast<unsigned char>(next[0])) != FoldCase(static_cast<unsigned char>(call[0]))) {
            lines.push_back({std::move(line), colour});
            line.clear();
            ++group;
        }
        if (i + 2 == calls.size()) {
            ++group;
            colour = colourOf(group);
            line.append(next).append(", ");
            lines.push_back({std::move(line), colour});
            line.clear();
        }
    }
    return lines;
}

std::size_t AddCallsInLog(CallsignList& calls, const LogLines& localLog, std::size_t first) {
    std::vector<std::string> entries;
    for (std::size_t i = first; i < localLog.size(); ++i) {
        const std::string_view call = TrimBlanks(ExtractFieldView(localLog[i], ',', 5));
        if (call.empty()) continue;
        std::string entry(call);
        entry += ',';
        if (!calls.Contains(entry)) entries.push_back(std::move(entry));
    }
    return calls.AddMany(std::vector<std::string_view>(entries.begin(), entries.end()));
}

LogLines CallsInLogLines(const LogLines& localLog) {
    std::unordered_set<std::string_view, HashNoCase, EqualNoCase> seen;
    std::vector<std::string_view> calls;
    for (const std::string_view line : localLog) {
        const std::string_view call = TrimBlanks(ExtractFieldView(line, ',', 5));
        if (call.empty() || !seen.insert(call).second) continue;
        calls.push_back(call);
    }
    SortNoCase(calls, [](std::string_view call) { return call; });
    LogLines lines;
    std::size_t bytes = 0;
    for (const auto call : calls) bytes += call.size() + 3;
    lines.reserve(calls.size(), bytes);
    std::string text;
    for (const auto call : calls) {
        text.assign(call).push_back(',');
        lines.push_back(text);
    }
    return lines;
}

bool WriteCallsInLog(const std::filesystem::path& file, const LogLines& localLog, std::string* error) {
    return SaveLogLines(file, CallsInLogLines(localLog), error);
}

}  // namespace vantrel
