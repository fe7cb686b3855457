#include "log/local_log_record.h"

#include <algorithm>
#include <array>
#include <vector>

#include "log/extract_field.h"

namespace vantrel {

namespace {

bool IsDecimalNumber(std::string_view text) {
    if (text.empty()) return false;
    bool digit = false;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c != '.')
            return false;
    }
    return digit;
}

bool HasNoBlank(std::string_view text) { return text.find(' ') == std::string_view::npos; }

}  // namespace

bool IsPropagationMode(std::string_view text) {
    static constexpr std::array<std::string_view, 18> kModes = {
        "AS", "AUE", "AUR", "BS", "ECH", "EME", "ES",  "F2", "FAI",
        "INTERNET", "ION", "IRL", "MS", "RPT", "RS", "SAT", "TEP", "TR"};
    return std::find(kModes.begin(), kModes.end(), text) != kModes.end();
}

std::string StationSuffix(const StationDetails& station) {
    std::string suffix;
    suffix.reserve(station.call.size() + station.grid.size() + station.rig.size() +
                   station.antenna.size() + 5);
    suffix += ',';
    for (const std::string* value : {&station.call, &station.grid, &station.rig, &station.antenna}) {
        suffix += *value;
        suffix += ',';
    }
    return suffix;
}

std::string WsjtxLineFields13(std::string_view wsjtxLine) {
    std::vector<std::string_view> pieces = SplitPieces(wsjtxLine, ',');
    if (pieces.size() < 11) pieces.resize(11);

    // Free text and layout fields after the power field.
    std::vector<std::string_view> rest(pieces.begin() + 11, pieces.end());
    auto emptyOr = [](std::string_view v, auto test) { return v.empty() || test(v); };
    const std::size_t n = rest.size();
    std::size_t trailing = 0;
    if (n >= 6 && emptyOr(rest[n - 4], IsPropagationMode) && emptyOr(rest[n - 1], IsDecimalNumber) &&
        HasNoBlank(rest[n - 3]) && HasNoBlank(rest[n - 2]) &&
        (!rest[n - 1].empty() || (rest[n - 2].empty() && rest[n - 3].empty())))
        trailing = 4;  // propagation mode, satellite, satellite mode, Rx frequency
    else if (n >= 3 && emptyOr(rest[n - 1], IsPropagationMode))
        trailing = 1;  // propagation mode
    rest.resize(n - trailing);

    std::string comment, name;
    if (rest.size() == 1) {
        comment = rest[0];
    } else if (rest.size() >= 2) {
        name = rest.back();
        for (std::size_t i = 0; i + 1 < rest.size(); ++i) comment += rest[i];
    }

    std::string line;
    line.reserve(wsjtxLine.size() + 4);
    for (std::size_t i = 0; i < 11; ++i) {
        line += pieces[i];
        line += ',';
    }
    line += comment;
    line += ',';
    line += name;
    return line;
}

std::string LocalLineFromWsjtx(std::string_view wsjtxLine, const StationDetails& station) {
    return WsjtxLineFields13(wsjtxLine) + StationSuffix(station);
}

}  // namespace vantrel
