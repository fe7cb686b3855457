#include "log/band_table.h"
#include "log/line_text.h"

#include <array>
#include <charconv>

namespace vantrel {

namespace {

struct BandRow {
    long low, high;
    std::string_view band;
};

constexpr std::array<BandRow, 19> kBands = {{
    {0, 0, "630m"},         {1, 1, "160m"},         {3, 3, "80m"},
    {5, 5, "60m"},          {7, 7, "40m"},          {10, 10, "30m"},
    {14, 14, "20m"},        {18, 18, "17m"},        {21, 21, "15m"},
    {24, 24, "12m"},        {28, 30, "10m"},        {49, 60, "6m"},
    {140, 150, "2m"},       {420, 450, "70cm"},     {1200, 1390, "23cm"},
    {2200, 2500, "13cm"},   {3300, 3600, "9cm"},    {5600, 5900, "6cm"},
    {10000, 10500, "3cm"},
}};

}  // namespace

int BandRowOfFrequency(std::string_view frequencyMHz) {
    const std::string_view whole = TrimSpaces(frequencyMHz.substr(0, frequencyMHz.find('.')));
    long megahertz = 0;
    const char* end = whole.data() + whole.size();
    const auto [stop, error] = std::from_chars(whole.data(), end, megahertz);
    if (whole.empty() || error != std::errc() || stop != end) return -1;
    for (std::size_t row = 0; row < kBands.size(); ++row)
        if (megahertz >= kBands[row].low && megahertz <= kBands[row].high) return static_cast<int>(row);
    return -1;
}

std::string_view BandOfRow(int row) {
    if (row < 0 || row >= static_cast<int>(kBands.size())) return "0";
    return kBands[static_cast<std::size_t>(row)].band;
}

long TopOfBandTableMHz() { return kBands.back().high; }

std::string BandFromFrequency(std::string_view frequencyMHz) {
    return std::string(BandOfRow(BandRowOfFrequency(frequencyMHz)));
}

}  // namespace vantrel
