#include "log/qso_lists.h"

#include <algorithm>
#include <cstdio>

#include "log/extract_field.h"
#include "log/line_text.h"

namespace vantrel {

namespace {

// "call, mode, frequency, date, time" of a log line.
void AppendSummary(std::string& out, std::string_view line, std::string_view frequency) {
    out.append(ExtractFieldView(line, ',', 5)).append(", ");
    out.append(ExtractFieldView(line, ',', 8)).append(", ");
    out.append(frequency).append(", ");
    out.append(ExtractFieldView(line, ',', 1)).append(", ");
    out.append(ExtractFieldView(line, ',', 2));
}

}  // namespace

QsoList ShowLast50(const LogLines& localLog) {
    QsoList list{std::string(kLast50Title), {}};
    // Every line is a contact: the last 50, or all of a shorter log.
    const long last = static_cast<long>(localLog.size()) - 1;
    const long shown = std::min(50L, last + 1);
    for (long k = 1; k <= shown; ++k) {
        const std::string_view line = localLog[static_cast<std::size_t>(last - (k - 1))];
        // "[ 9]" as wide as "[10]": a figure space is as wide as a digit, so the columns after
        // the number stay in line.
        std::string text = k < 10 ? "[\u2007" : "[";
        text.append(std::to_string(k)).append("]\t");
        AppendSummary(text, line, ExtractFieldView(line, ',', 7));
        list.lines.push_back({std::move(text), static_cast<int>((k - 1) % 3) + 1});
    }
    return list;
}

QsoList ShowLastUtcDay(const LogLines& localLog) {
    QsoList list{std::string(kLastUtcDayTitle), {}};
    if (localLog.empty()) return list;
    const std::size_t count = localLog.size();
    const std::string_view day = ExtractFieldView(localLog.back(), ',', 1);
    const std::size_t examined = count >= 101 ? 100 : count - 1;
    int colour = 1;
    int counter = 1;
    for (std::size_t j = 0; j < examined; ++j) {
        const std::string_view line = localLog[count - 1 - j];
        const std::string_view frequency = TrimBlanks(ExtractFieldView(line, ',', 7));
        const auto point = frequency.find('.');
        if (point != std::string_view::npos) colour = BandColour(frequency.substr(0, point), colour);
        if (ExtractFieldView(line, ',', 1) != day) continue;
        char number[16];
        std::snprintf(number, sizeof number, "%4d", counter++);
        std::string text = "[ ";
        text.append(number).append(" ]   ");
        AppendSummary(text, line, frequency);
        list.lines.push_back({std::move(text), colour});
    }
    return list;
}

int BandColour(std::string_view wholeMegahertz, int previous) {
    static constexpr struct {
        std::string_view text;
        int colour;
    } kBands[] = {{"0", 11},  {"1", 1},   {"3", 2},    {"5", 3},  {"7", 4},   {"10", 5},
                  {"14", 6},  {"18", 7},  {"21", 8},   {"24", 9}, {"28", 10}, {"50", 11},
                  {"144", 12}, {"220", 1}, {"432", 2}, {"1296", 3}};
    for (const auto& band : kBands)
        if (band.text == wholeMegahertz) return band.colour;
    return previous;
}

int StepSlider(int position, int step) {
    const int moved = position + step;
    return moved < kSliderMin ? kSliderMin : (moved > kSliderMax ? kSliderMax : moved);
}

std::string SliderLabel(int position) { return std::to_string(position) + "ch"; }

std::string AutoShowSearchText(std::string_view lastContact, int position) {
    std::string_view call = TrimBlanks(ExtractFieldView(lastContact, ',', 5));
    if (position < 0) position = 0;
    call = call.substr(0, static_cast<std::size_t>(position));
    std::string text(call);
    text.push_back('\r');
    return text;
}

}  // namespace vantrel
