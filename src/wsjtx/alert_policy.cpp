#include "wsjtx/alert_policy.h"

#include "log/line_text.h"

namespace vantrel::wsjtx {

bool OnWantedList(std::string_view wanted, std::string_view call) {
    const std::string upperCall = UpperCase(call);
    std::size_t i = 0;
    while (i < wanted.size()) {
        const std::size_t end = wanted.find_first_of(" ,;\t", i);
        const std::string_view word = wanted.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i);
        if (!word.empty() && UpperCase(word) == upperCall) return true;
        if (end == std::string_view::npos) break;
        i = end + 1;
    }
    return false;
}

std::string AlertText(AlertKind kind, std::string_view call, std::string_view country, std::string_view band) {
    std::string text;
    switch (kind) {
    case AlertKind::Wanted: text = "Wanted: "; break;
    case AlertKind::NewCountry: text = "New country: "; break;
    case AlertKind::NewCountryOnBand: text = "New country on " + std::string(band) + ": "; break;
    }
    text += call;
    if (!country.empty()) text += " (" + std::string(country) + ")";
    if (!band.empty() && kind != AlertKind::NewCountryOnBand) text += " on " + std::string(band);
    return text;
}

std::optional<AlertKind> AlertPolicy::Decide(const AnswerOptions& options, std::string_view call,
                                             std::string_view band, HighlightStatus status, std::int64_t nowMs) {
    std::optional<AlertKind> kind;
    if (options.alertWanted && OnWantedList(options.wanted, call))
        kind = AlertKind::Wanted;
    else if (options.alertNewCountry && status == HighlightStatus::NewCountry)
        kind = AlertKind::NewCountry;
    else if (options.alertNewOnBand && status == HighlightStatus::NewCountryOnBand)
        kind = AlertKind::NewCountryOnBand;
    if (!kind) return std::nullopt;
    const std::string key = UpperCase(call) + " " + std::string(band);
    const auto [it, inserted] = lastAlertMs_.try_emplace(key, nowMs);
    if (!inserted) {
        if (nowMs - it->second < kAlertRepeatMs) return std::nullopt;
        it->second = nowMs;
    }
    return kind;
}

}  // namespace vantrel::wsjtx
