#include "wsjtx/highlight_tracker.h"

#include <algorithm>

namespace vantrel::wsjtx {

HighlightStatus HighlightStatusOf(const WorkedIndex& worked, std::string_view call, std::string_view grid,
                                  std::string_view band, std::string_view mode) {
    const WorkedStatus status = worked.Status(call, band, mode);
    if (status.kind == WorkedKind::NewCountry) return HighlightStatus::NewCountry;
    if (status.kind == WorkedKind::NewOnBand) return HighlightStatus::NewCountryOnBand;
    if (grid.size() >= 4 && !worked.GridWorked(grid)) return HighlightStatus::NewGrid;
    if (status.count > 0)
        return worked.WorkedOn(call, band, mode) ? HighlightStatus::WorkedSlot : HighlightStatus::NewSlot;
    return HighlightStatus::NothingNew;
}

std::string_view HighlightStatusText(HighlightStatus status) {
    switch (status) {
    case HighlightStatus::NewCountry: return "New country";
    case HighlightStatus::NewCountryOnBand: return "New country on band";
    case HighlightStatus::NewGrid: return "New grid";
    case HighlightStatus::NewSlot: return "New band/mode";
    case HighlightStatus::WorkedSlot: return "Worked";
    case HighlightStatus::NothingNew: break;
    }
    return "Not worked";
}

void HighlightTracker::Decoded(const HighlightSubject& subject, const HighlightColours& colours,
                               std::int64_t nowMs, std::vector<HighlightCommand>& out) {
    const std::string& call = subject.call;
    auto [it, inserted] = calls_.try_emplace(call);
    // The latest decode's grid, band and mode count; an earlier grid stays when this one has none.
    const std::string grid = subject.grid.empty() ? it->second.subject.grid : subject.grid;
    it->second.subject = subject;
    it->second.subject.grid = grid;
    it->second.lastDecodedMs = nowMs;
    it->second.order = ++decodes_;
    if (!inserted && it->second.colours == colours) return;
    it->second.colours = colours;
    out.push_back({call, colours});
    if (calls_.size() <= kMaxHighlights) return;
    const auto oldest = std::min_element(calls_.begin(), calls_.end(), [](const auto& a, const auto& b) {
        return a.second.order < b.second.order;
    });
    out.push_back({oldest->first, std::nullopt});
    calls_.erase(oldest);
}

void HighlightTracker::Recolour(const std::function<HighlightColours(const HighlightSubject&)>& coloursOf,
                                std::vector<HighlightCommand>& out) {
    for (auto& [call, entry] : calls_) {
        const HighlightColours now = coloursOf(entry.subject);
        if (now == entry.colours) continue;
        entry.colours = now;
        out.push_back({call, now});
    }
}

void HighlightTracker::Expire(std::int64_t nowMs, std::vector<HighlightCommand>& out) {
    for (auto it = calls_.begin(); it != calls_.end();) {
        if (nowMs - it->second.lastDecodedMs >= kHighlightIdleMs) {
            out.push_back({it->first, std::nullopt});
            it = calls_.erase(it);
        } else {
            ++it;
        }
    }
}

void HighlightTracker::ClearAll(std::vector<HighlightCommand>& out) {
    for (const auto& [call, entry] : calls_) out.push_back({call, std::nullopt});
    calls_.clear();
}

const HighlightColours* HighlightTracker::ColoursOf(const std::string& call) const {
    const auto it = calls_.find(call);
    return it == calls_.end() ? nullptr : &it->second.colours;
}

std::string_view HighlightTracker::GridOf(const std::string& call) const {
    const auto it = calls_.find(call);
    return it == calls_.end() ? std::string_view() : std::string_view(it->second.subject.grid);
}

}  // namespace vantrel::wsjtx
