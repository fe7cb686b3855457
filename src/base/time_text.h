// The fixed, locale-independent date and time texts of the program.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

using TimePoint = std::chrono::system_clock::time_point;

struct LocalTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0, millisecond = 0;
};

LocalTime ToLocalTime(TimePoint time);
TimePoint FromLocalTime(const LocalTime& time);

std::string FormatDdMmmYy(const LocalTime& t);      // 07Dec26
std::string FormatDdMmmYyyy(const LocalTime& t);    // 07Dec2026
std::string FormatDdMmYyyy(const LocalTime& t);     // 07122026
std::string FormatHhnnssZzz(const LocalTime& t);    // 142305.123
// The date-time text stored in settings and written to diagnostics: "2026-12-07 14:23:05".
std::string FormatDateTimeText(const LocalTime& t);
std::optional<LocalTime> ParseDateTimeText(std::string_view text);

}  // namespace vantrel
