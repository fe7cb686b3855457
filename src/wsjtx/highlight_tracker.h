// The colours WSJT-X shows for the callsigns in one instance's Band Activity list, as we set them:
// which calls are coloured and how, so that a highlight is sent only when its colours change, the
// oldest give way beyond 100, a call not decoded for ten minutes is cleared, and at the close each
// call we coloured is cleared again (WSJT-X's "CLEARALL!" forgets the colouring but leaves the
// lines painted).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "settings/answer_options.h"
#include "wsjtx/worked_before.h"

namespace vantrel::wsjtx {

// The status a decoded call is coloured by, in the order of the colour options.
enum class HighlightStatus { NewCountry, NewCountryOnBand, NewGrid, NewSlot, WorkedSlot, NothingNew };

// From the local log: the country never worked, or never on this band; else the grid square the
// message carries never worked; else a station worked before but never on this band in this
// mode, or worked on them; else nothing new.
HighlightStatus HighlightStatusOf(const WorkedIndex& worked, std::string_view call, std::string_view grid,
                                  std::string_view band, std::string_view mode);
// "New country", "New country on band", "New grid", "New band/mode", "Worked", "Not worked".
std::string_view HighlightStatusText(HighlightStatus status);

inline constexpr std::size_t kMaxHighlights = 100;
inline constexpr std::int64_t kHighlightIdleMs = 10 * 60 * 1000;

// A decoded call with what its status is computed from.
struct HighlightSubject {
    std::string call, grid, band, mode;
};

// One HighlightCallsign to send: the call's colours, or none to clear it.
struct HighlightCommand {
    std::string call;
    std::optional<HighlightColours> colours;
    friend bool operator==(const HighlightCommand&, const HighlightCommand&) = default;
};

class HighlightTracker {
public:
    // The call was decoded: its colours when they are not what WSJT-X shows already, and the
    // clearing of the call decoded longest ago when more than 100 would be coloured.
    void Decoded(const HighlightSubject& subject, const HighlightColours& colours, std::int64_t nowMs,
                 std::vector<HighlightCommand>& out);
    // The statuses may have changed (a contact logged, new options): every coloured call whose
    // colours differ now.
    void Recolour(const std::function<HighlightColours(const HighlightSubject&)>& coloursOf,
                  std::vector<HighlightCommand>& out);
    // Clears the calls not decoded for ten minutes.
    void Expire(std::int64_t nowMs, std::vector<HighlightCommand>& out);
    // Clears every call we coloured.
    void ClearAll(std::vector<HighlightCommand>& out);
    std::size_t Active() const { return calls_.size(); }
    const HighlightColours* ColoursOf(const std::string& call) const;
    // The grid square the call was last heard with; empty when none.
    std::string_view GridOf(const std::string& call) const;

private:
    struct Entry {
        HighlightSubject subject;
        HighlightColours colours;
        std::int64_t lastDecodedMs = 0;
        std::uint64_t order = 0;  // of the latest decode among all
    };
    std::uint64_t decodes_ = 0;
    std::unordered_map<std::string, Entry> calls_;
};

}  // namespace vantrel::wsjtx
