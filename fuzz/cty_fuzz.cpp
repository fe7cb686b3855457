// Feeds arbitrary bytes to the cty.dat reading as the country file, then looks callsigns up
// in the table made from it: the indexed lookup must give exactly the entry of the table walk.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "geo/country_file.h"
#include "geo/country_lookup.h"
#include "log/extract_field.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::vector<std::string> lines = ParseCountryFile(text);
    for (const std::string& line : lines) {
        // PREFIX "," NAME "," CONTINENT " {" LATITUDE "^" LONGITUDE "}", one line of text
        Check(!line.empty() && line.back() == '}');
        Check(line.find(" {") != std::string::npos && line.find('^') != std::string::npos);
        Check(line.find_first_of("\r\n") == std::string::npos);
    }
    const CountryTable table(SortedCountryLines(lines));
    for (std::size_t i = 1; i < table.size(); ++i) Check(table.Lines()[i - 1] != table.Lines()[i]);

    std::vector<std::string> calls = {"K1ABC", "VE3/K1ABC", "K1ABC/VE3", "DL1ABC/P", "K1ABC/MM",
                                      "W", "", "3D2/C", "KH6/K1ABC/P", "A/B/C"};
    // The walk looks at every entry for each callsign: some forty callsigns keep a run quick.
    const std::size_t step = std::max<std::size_t>(1, table.size() / 8);
    for (std::size_t i = 0; i < table.size(); i += step) {
        const std::string_view prefix = ExtractFieldView(table.Lines()[i], ',', 1);
        calls.emplace_back(prefix);
        calls.emplace_back(std::string(prefix) + "1AB");
        if (prefix.starts_with('=')) calls.emplace_back(prefix.substr(1));
    }
    // A few callsigns cut from the input itself.
    for (std::size_t at = 0; at < text.size() && calls.size() < 40; at += 7)
        calls.emplace_back(text.substr(at, 1 + at % 9));
    for (const std::string& call : calls) {
        const auto indexed = table.FindEntry(call);
        Check(indexed == LookupCountryByWalk(table.Lines(), call));
        const CountryResult result = table.Lookup(call);
        Check(indexed.has_value() || result.country.empty());
    }
    return 0;
}
