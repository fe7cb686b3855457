#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "geo/country_file.h"
#include "adif/adif_reader.h"
#include "geo/country_lookup.h"
#include "log/extract_field.h"
#include "log/line_text.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

constexpr std::string_view kCty =
    "Brazil:                   11:  15:  SA:  -10.00:    53.00:     3.0:  PY:\n"
    "    PY,PP,=PY1AA(11)[15],ZV(11),ZW[15],\n"
    "    ZX;\n"
    "\n"
    "Conway Reef:              32:  56:  OC:  -22.00:  -175.00:   -12.0:  3D2/c:\n"
    "    =3D2C,=3D20CR;\n"
    "Juan de Nova, Europa:     39:  53:  AF:  -17.05:   -42.72:    -3.0:  FT/j:\n"
    "    FT/J,FT/E;\n"
    "Sicily:                   15:  28:  EU:   37.50:   -14.00:    -1.0:  *IT9:\n"
    "    IT9,*IG9,IW9,=IT9ABC/P<37.1/-14.5>;\n";

std::vector<std::string> Sorted(std::vector<std::string> lines) {
    SortCountryLines(lines);
    return lines;
}

TEST(CountryFileTest, PrimaryPrefixesOverridesAndMarks) {
    const auto lines = ParseCountryFile(kCty);
    const std::vector<std::string> expected = {
        "PY,Brazil,SA {-10.00^53.00}",
        "PP,Brazil,SA {-10.00^53.00}",
        "=PY1AA,Brazil,SA {-10.00^53.00}",  // an exact callsign keeps its mark
        "ZV,Brazil,SA {-10.00^53.00}",
        "ZW,Brazil,SA {-10.00^53.00}",
        "ZX,Brazil,SA {-10.00^53.00}",
        "3D2C,Conway Reef,OC {-22.00^-175.00}",
        "=3D2C,Conway Reef,OC {-22.00^-175.00}",
        "=3D20CR,Conway Reef,OC {-22.00^-175.00}",
        "FT0J,Juan de Nova, Europa,AF {-17.05^-42.72}",
        "FT/J,Juan de Nova, Europa,AF {-17.05^-42.72}",
        "FT/E,Juan de Nova, Europa,AF {-17.05^-42.72}",
        "IT9,Sicily,EU {37.50^-14.00}",
        "IG9,Sicily,EU {37.50^-14.00}",
        "IW9,Sicily,EU {37.50^-14.00}",
        "=IT9ABC/P,Sicily,EU {37.50^-14.00}",  // the whole callsign, its position mark cut
    };
    EXPECT_EQ(lines, expected);
}

TEST(CountryFileTest, LineEndsAndListLayoutDoNotMatter) {
    std::string crlf;
    for (char c : kCty) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    EXPECT_EQ(ParseCountryFile(crlf), ParseCountryFile(kCty));
    const std::string oneLine =
        "Brazil: 11: 15: SA: -10.00: 53.00: 3.0: PY:\n    PY,PP,=PY1AA(11)[15],ZV(11),ZW[15],ZX;\n";
    const std::string spread =
        "Brazil: 11: 15: SA: -10.00: 53.00: 3.0: PY:\n    PY,\n    PP,\n\n    =PY1AA(11)[15],ZV(11),\n"
        "    ZW[15],ZX;\n";
    EXPECT_EQ(ParseCountryFile(spread), ParseCountryFile(oneLine));
    // A list whose ";" is missing ends at the next entity instead of swallowing it.
    const auto unterminated = ParseCountryFile("A: 1: 1: EU: 1.0: 2.0: 0: AA:\n    AB,AC\nB: 1: 1: EU: 3.0: 4.0: 0: BB:\n    BC;\n");
    EXPECT_EQ(unterminated.size(), 5u);
    EXPECT_EQ(unterminated[3], "BB,B,EU {3.0^4.0}");
}

TEST(CountryFileTest, TableOrderIgnoresCaseAndDropsDuplicates) {
    EXPECT_EQ(Sorted({"b,x", "A,x", "a,x", "A,x", "AB,x"}),
              (std::vector<std::string>{"A,x", "a,x", "AB,x", "b,x"}));
}

TEST(CountryFileTest, LoadSavesBasicFileAndReadsItBack) {
    test::TempFolder folder;
    std::string error;
    EXPECT_FALSE(LoadCountryFile(folder.path(), &error));
    test::WriteFile(folder / "cty.dat", kCty);
    const auto table = LoadCountryFile(folder.path(), &error);
    ASSERT_TRUE(table) << error;
    EXPECT_EQ(table->size(), 16u);
    const auto back = LoadCountryBasic(folder / "ctybasic.txt");
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, *table);
    EXPECT_EQ((*back)[0], "3D2C,Conway Reef,OC {-22.00^-175.00}");
}

TEST(CountryFileTest, FirstCopyComesFromWsjtxThenInstalledCopy) {
    test::TempFolder viewer, wsjtx, installed;
    const auto installedFile = installed / "cty.dat";
    EXPECT_EQ(ChooseCountryFileSource(viewer.path(), wsjtx.path(), installedFile).kind, CountryFileSource::Missing);
    test::WriteFile(installedFile, kCty);
    auto source = ChooseCountryFileSource(viewer.path(), wsjtx.path(), installedFile);
    EXPECT_EQ(source.kind, CountryFileSource::FromInstalledCopy);
    EXPECT_EQ(source.from, installedFile);
    test::WriteFile(wsjtx / "CTY.DAT", kCty);
    source = ChooseCountryFileSource(viewer.path(), wsjtx.path(), installedFile);
    EXPECT_EQ(source.kind, CountryFileSource::FromWsjtxFolder);
    EXPECT_EQ(source.from, wsjtx / "CTY.DAT");
    test::WriteFile(viewer / "cty.dat", kCty);
    EXPECT_EQ(ChooseCountryFileSource(viewer.path(), wsjtx.path(), installedFile).kind,
              CountryFileSource::AlreadyPresent);
}

TEST(CountryFileTest, AgeWarningAfterSixtyDays) {
    const TimePoint now = FromLocalTime({2026, 12, 7, 12, 0, 0, 0});
    const auto age59 = CheckCountryFileAge(now - std::chrono::hours(24 * 59), now);
    EXPECT_FALSE(age59.tooOld);
    EXPECT_EQ(age59.text, "CTY.DAT: 09Oct26");
    const auto age61 = CheckCountryFileAge(now - std::chrono::hours(24 * 61), now);
    EXPECT_TRUE(age61.tooOld);
    EXPECT_EQ(age61.text, "CTY.DAT: 07Oct26  - TOO OLD !! Use File/Update CTY.DAT file on menu");
    EXPECT_TRUE(CheckCountryFileAge(std::nullopt, now).tooOld);
}

CountryTable Table(std::vector<std::string> lines) { return CountryTable(SortedCountryLines(std::move(lines))); }

TEST(CountryLookupTest, DesignatorsAndForeignPrefixes) {
    EXPECT_EQ(*ReduceCallsign("k1abc/qrp"), "K1ABC");
    EXPECT_EQ(*ReduceCallsign("K1ABC/LGT"), "K1ABC");
    EXPECT_EQ(*ReduceCallsign("K1ABC/MM"), "K1ABC");
    EXPECT_EQ(*ReduceCallsign("K1ABC/AM"), "K1ABC");
    EXPECT_EQ(*ReduceCallsign("K1ABC/P"), "K1ABC/P");
    EXPECT_EQ(*ReduceCallsign("K1ABC/VE3"), "VE3ABC");
    EXPECT_EQ(*ReduceCallsign("VE3/K1ABC"), "VE3ABC");
    EXPECT_EQ(*ReduceCallsign("DL1ABC/K1ABC"), "DL1ABC/K1ABC");  // a long designator after it
    EXPECT_FALSE(ReduceCallsign("K1ABC/ V"));
    EXPECT_EQ(*ReduceCallsign("/ABC"), "");
}

TEST(CountryLookupTest, LongestPrefixTypedTextAndOutputs) {
    const CountryTable table = Table({"XYZB,Second,EU {1.0^2.0}", "XYZA,First,EU {1.0^2.0}",
                                      "VE2A,Alpha,NA {45.00^75.5}", "VE2,Beta,NA {46.00^-71.25}",
                                      "PY,Brazil,SA {-10.00^53.00}", "FT0J,Juan de Nova, Europa,AF {-17.05^-42.72}"});
    EXPECT_EQ(table.Lookup("VE2").country, "Beta (NA )");      // equals a prefix
    EXPECT_EQ(table.Lookup("ve2abc").country, "Alpha (NA )");  // the longer prefix wins
    EXPECT_EQ(table.Lookup("VE2XYZ").country, "Beta (NA )");
    EXPECT_EQ(table.Lookup("XYZ").country, "First (EU )");     // typed so far: the first it begins
    EXPECT_TRUE(table.Lookup("XYZ1").country.empty());        // no PREFIX it begins with
    const CountryResult brazil = table.Lookup("PY2XYZ/P");
    EXPECT_EQ(brazil.country, "Brazil (SA )");
    EXPECT_EQ(brazil.latitude, "-10.00");
    EXPECT_EQ(brazil.longitude, "-53");
    EXPECT_EQ(table.Lookup("VE2/PY1XY").longitude, "71.25");
    const CountryResult nova = table.Lookup("FT0JA");
    EXPECT_EQ(nova.country, "Juan de Nova, Europa (AF )");
    EXPECT_EQ(nova.longitude, "42.72");
    EXPECT_TRUE(table.Lookup("QQ1AA").country.empty());
    EXPECT_TRUE(table.Lookup("").country.empty());
    EXPECT_TRUE(table.Lookup("/").country.empty());
    EXPECT_TRUE(CountryTable().Lookup("PY1AA").country.empty());
}

std::optional<LogLines> RealTable(const char* name) {
    const auto bytes = test::ReadFile(test::TestDataFolder() / "cty" / name);
    if (bytes.empty()) return std::nullopt;
    return SortedCountryLines(ParseCountryFile(bytes));
}

TEST(CountryLookupTest, RealFilesIndexedLookupEqualsTheWalk) {
    VANTREL_REQUIRE_TESTDATA();
    for (const char* name : {"cty-wsjtx-2.6.1.dat", "cty-debian-hamradio-files.dat"}) {
        auto lines = RealTable(name);
        ASSERT_TRUE(lines) << name;
        EXPECT_GT(lines->size(), 20000u) << name;
        const CountryTable table(*lines);
        // Calls whose first four characters are no exact callsign of the file.
        EXPECT_EQ(table.Lookup("K1ZZZ/VE7").country, "Canada (NA )");
        EXPECT_EQ(table.Lookup("dl1qrs/p").country, "Fed. Rep. of Germany (EU )");
        EXPECT_EQ(table.Lookup("JA").longitude, "138.38");
        EXPECT_EQ(table.Lookup("3D2C").country, "Conway Reef (OC )");

        std::vector<std::string> calls = {"", "/", "//", "A", "K", "VE3/", "/VE3", "K1ABC/QRP/P", "W1AW/4"};
        std::mt19937 random(7);
        const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/";
        for (std::size_t i = 0; i < table.size(); i += 40) {
            std::string prefix(table.Lines()[i].substr(0, table.Lines()[i].find(',')));
            calls.push_back(prefix);
            calls.push_back(prefix + "XY");
            calls.push_back(prefix.substr(0, prefix.size() / 2 + 1) + "9Z");
            calls.push_back("K1ABC/" + prefix.substr(0, 3));
        }
        for (int i = 0; i < 1000; ++i) {
            std::string call;
            for (std::size_t n = 1 + random() % 9; n > 0; --n) call += alphabet[random() % alphabet.size()];
            calls.push_back(call);
        }
        for (const std::string& call : calls)
            ASSERT_EQ(table.FindEntry(call), LookupCountryByWalk(*lines, call)) << name << " " << call;
    }
}

TEST(CountryFileTest, RealFileWithLoneCarriageReturnsReadsAsWithLineFeeds) {
    VANTREL_REQUIRE_TESTDATA();
    // Line ends of an old Macintosh editor: a lone CR ends each line, none holds a CR any more.
    std::string bytes = test::ReadFile(test::TestDataFolder() / "cty" / "cty-debian-hamradio-files.dat");
    ASSERT_FALSE(bytes.empty());
    const std::vector<std::string> withLf = ParseCountryFile(bytes);
    std::replace(bytes.begin(), bytes.end(), '\n', '\r');
    const std::vector<std::string> withCr = ParseCountryFile(bytes);
    EXPECT_EQ(withCr, withLf);
    for (const std::string& line : withCr) ASSERT_EQ(line.find('\r'), std::string::npos) << line;
}

}  // namespace
}  // namespace vantrel

namespace vantrel {
namespace {

TEST(CountryLookupExact, AnExactCallsignEntryNamesOnlyThatStation) {
    const CountryTable table(LogLines({"=KD0ZAK,Alaska,NA {61.40^148.87}", "K,United States,NA {37.53^91.67}",
                                       "KL,Alaska,NA {61.40^148.87}"}));
    EXPECT_EQ(table.Lookup("KD0ZAK").country, "Alaska (NA )");
    EXPECT_EQ(table.Lookup("kd0zak").country, "Alaska (NA )");
    EXPECT_EQ(table.Lookup("KD0ZA").country, "United States (NA )");   // no prefix of it
    EXPECT_EQ(table.Lookup("KD0ZAKX").country, "United States (NA )");
    EXPECT_EQ(LookupCountryByWalk(table.Lines(), "KD0ZAK"), table.FindEntry("KD0ZAK"));
    EXPECT_EQ(LookupCountryByWalk(table.Lines(), "KD0ZAKX"), table.FindEntry("KD0ZAKX"));
}

TEST(CountryLookupExact, RealFileNamesOrdinaryCallsByTheirPrefix) {
    VANTREL_REQUIRE_TESTDATA();
    for (const char* name : {"cty-wsjtx-2.6.1.dat", "cty-debian-hamradio-files.dat"}) {
        const auto bytes = test::ReadFile(test::TestDataFolder() / "cty" / name);
        const auto lines = ParseCountryFile(bytes);
        const CountryTable table(SortedCountryLines(lines));
        // Exact-callsign entries of other countries no longer capture ordinary US calls.
        EXPECT_EQ(table.Lookup("K1ZZZ").country.substr(0, 13), "United States") << name;
        EXPECT_EQ(table.Lookup("W9XYZ").country.substr(0, 13), "United States") << name;
    }
}

}  // namespace
}  // namespace vantrel

namespace vantrel {
namespace {

// The country file read on its own, as other programs read it: a record is "NAME: ... :PRIMARY:"
// and its list up to ";"; "=" marks a whole callsign; (), [], <>, {} and ~~ are overrides.
struct PlainCountryFile {
    std::map<std::string, std::string> exact, prefix;  // text -> NAME, first record wins
    std::string Country(const std::string& call, const std::string& reduced) const {
        if (auto it = exact.find(call); it != exact.end()) return it->second;
        for (std::size_t n = reduced.size(); n > 0; --n)
            if (auto it = prefix.find(reduced.substr(0, n)); it != prefix.end()) return it->second;
        return "";
    }
};

PlainCountryFile ReadPlainCountryFile(std::string bytes) {
    PlainCountryFile file;
    std::erase_if(bytes, [](char c) { return c == '\r' || c == '\n'; });
    for (std::string_view record : SplitPieces(bytes, ';')) {
        const auto fields = SplitPieces(record, ':');
        if (fields.size() < 9) continue;
        const std::string name(TrimBlanks(fields[0]));
        std::string primary(TrimBlanks(fields[7]));
        std::erase(primary, '*');
        // The flattened table names a primary prefix such as "3D2/c" as "3D2C" and "FT/j" as "FT0J".
        if (const auto slash = primary.find('/'); slash != std::string::npos) {
            std::string after = primary.substr(slash + 1);
            for (char& c : after) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            const bool digit = slash > 0 && std::isdigit(static_cast<unsigned char>(primary[slash - 1]));
            primary = primary.substr(0, slash) + (digit ? "" : "0") + after;
        }
        file.prefix.emplace(primary, name);
        for (std::string_view item : SplitPieces(fields[8], ',')) {
            std::string text(TrimBlanks(item));
            text = text.substr(0, text.find_first_of("([<{~"));
            if (text.starts_with('=')) file.exact.emplace(text.substr(1), name);
            else if (!text.empty()) file.prefix.emplace(text, name);
        }
    }
    return file;
}

// Every callsign of the real logs kept with the tests.
std::set<std::string> RealLogCallsigns() {
    std::set<std::string> calls;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(test::TestDataFolder())) {
        const std::string bytes = test::ReadFile(entry.path());
        if (entry.path().extension() == ".adi") {
            for (const AdifRecord& record : ReadAdifRecords(bytes))
                if (auto call = record.Value("call"); !call.empty()) calls.insert(UpperCase(call));
        } else if (entry.path().extension() == ".log") {
            for (std::string_view line : SplitPieces(bytes, '\n'))
                if (auto call = TrimBlanks(ExtractFieldView(line, ',', 5)); !call.empty()) calls.insert(UpperCase(call));
        }
    }
    return calls;
}

TEST(CountryLookupRealLogs, EveryCallNamesTheCountryOfItsLongestPrefix) {
    VANTREL_REQUIRE_TESTDATA();
    const std::string bytes = test::ReadFile(test::TestDataFolder() / "cty" / "cty-wsjtx-2.6.1.dat");
    const CountryTable table(SortedCountryLines(ParseCountryFile(bytes)));
    const PlainCountryFile plain = ReadPlainCountryFile(bytes);
    const std::set<std::string> calls = RealLogCallsigns();
    ASSERT_GT(calls.size(), 6000u);
    std::size_t named = 0;
    for (const std::string& call : calls) {
        const auto reduced = ReduceCallsign(call);
        const std::string expected = reduced ? plain.Country(call, *reduced) : "";
        // "NAME (CONTINENT )"
        const std::string found = table.Lookup(call).country;
        EXPECT_EQ(found.substr(0, found.rfind(" (")), expected) << call;
        named += !found.empty();
    }
    EXPECT_GT(named, calls.size() * 9 / 10);

    const auto country = [&](const char* call) { return table.Lookup(call).country; };
    EXPECT_EQ(country("RA3AV"), "European Russia (EU )");
    EXPECT_EQ(country("UA9CDC"), "Asiatic Russia (AS )");
    EXPECT_EQ(country("R2FAB"), "Kaliningrad (EU )");
    EXPECT_EQ(country("BV9P"), "Pratas Island (AS )");
    EXPECT_EQ(country("BV2AB"), "Taiwan (AS )");
    EXPECT_EQ(country("IU6VE"), "Italy (EU )");
    EXPECT_EQ(country("IT9ABC"), "Sicily (EU )");
    EXPECT_EQ(country("R"), "European Russia (EU )");  // typed so far
}

TEST(CountryLookupRealLogs, DemoStationsItalianCallsAreItalian) {
    const std::string bytes = test::ReadFile(std::filesystem::path(VANTREL_SOURCE_DIR) / "data/demo/WSJT-X/cty.dat");
    const CountryTable table(SortedCountryLines(ParseCountryFile(bytes)));
    EXPECT_EQ(table.Lookup("IU6VE").country, "Italy (EU )");
    EXPECT_EQ(table.Lookup("IW7SYW").country, "Italy (EU )");
}

}  // namespace
}  // namespace vantrel
