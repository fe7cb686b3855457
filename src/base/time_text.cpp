#include "base/time_text.h"

#include <cstdio>
#include <ctime>

namespace vantrel {

namespace {

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

const char* MonthName(int month) { return kMonths[(month >= 1 && month <= 12) ? month - 1 : 0]; }

std::string Printf(const char* format, auto... values) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, values...);
    return buffer;
}

}  // namespace

LocalTime ToLocalTime(TimePoint time) {
    const auto seconds = std::chrono::time_point_cast<std::chrono::seconds>(time);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(time - seconds).count();
    const std::time_t t = std::chrono::system_clock::to_time_t(seconds);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
            tm.tm_min,         tm.tm_sec,     static_cast<int>(millis)};
}

TimePoint FromLocalTime(const LocalTime& time) {
    std::tm tm{};
    tm.tm_year = time.year - 1900;
    tm.tm_mon = time.month - 1;
    tm.tm_mday = time.day;
    tm.tm_hour = time.hour;
    tm.tm_min = time.minute;
    tm.tm_sec = time.second;
    tm.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&tm)) +
           std::chrono::milliseconds(time.millisecond);
}

std::string FormatDdMmmYy(const LocalTime& t) {
    return Printf("%02d%s%02d", t.day, MonthName(t.month), t.year % 100);
}

std::string FormatDdMmmYyyy(const LocalTime& t) {
    return Printf("%02d%s%04d", t.day, MonthName(t.month), t.year);
}

std::string FormatDdMmYyyy(const LocalTime& t) {
    return Printf("%02d%02d%04d", t.day, t.month, t.year);
}

std::string FormatHhnnssZzz(const LocalTime& t) {
    return Printf("%02d%02d%02d.%03d", t.hour, t.minute, t.second, t.millisecond);
}

std::string FormatDateTimeText(const LocalTime& t) {
    return Printf("%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
}

std::optional<LocalTime> ParseDateTimeText(std::string_view text) {
    LocalTime t;
    char tail = 0;
    const std::string copy(text);
    if (std::sscanf(copy.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &t.year, &t.month, &t.day,
                    &t.hour, &t.minute, &t.second, &tail) != 6)
        return std::nullopt;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 ||
        t.second > 60 || t.hour < 0 || t.minute < 0 || t.second < 0)
        return std::nullopt;
    return t;
}

}  // namespace vantrel
