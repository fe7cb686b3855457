// When a decoded call raises an alert: a new country, a country new on this band, or a call on
// the operator's wanted list, each kind switched on or off in the options; the same call on the
// same band alerts at most once an hour.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "settings/answer_options.h"
#include "wsjtx/highlight_tracker.h"

namespace vantrel::wsjtx {

enum class AlertKind { Wanted, NewCountry, NewCountryOnBand };

inline constexpr std::int64_t kAlertRepeatMs = 60 * 60 * 1000;

// True when the list (callsigns separated by blanks, commas or semicolons; letter case ignored)
// holds the call.
bool OnWantedList(std::string_view wanted, std::string_view call);

// "Wanted: K1ABC on 20m", "New country: Brazil (SA ) PY2XX on 20m", ...
std::string AlertText(AlertKind kind, std::string_view call, std::string_view country, std::string_view band);

class AlertPolicy {
public:
    std::optional<AlertKind> Decide(const AnswerOptions& options, std::string_view call, std::string_view band,
                                    HighlightStatus status, std::int64_t nowMs);

private:
    std::unordered_map<std::string, std::int64_t> lastAlertMs_;  // "CALL band"
};

}  // namespace vantrel::wsjtx
