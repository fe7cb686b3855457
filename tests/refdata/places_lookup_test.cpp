#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log/log_lines.h"
#include "refdata/grid_lookup.h"
#include "refdata/places_list.h"
#include "refdata/places_search.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using Lines = std::vector<std::string>;

Lines All(const LogLines& lines) { return {lines.begin(), lines.end()}; }

TEST(GridLookup, PanelLinesReverseBearingAndShortText) {
    const PlacesList none;
    EXPECT_FALSE(LookupGrid("  ", "JO62", nullptr, none));
    // Only a locator is looked up; anything else is refused as such.
    for (const char* text : {"JO6", "ZZ99", "1234", "HELLO", "JO62QZ", "JO62Q"}) {
        const auto refused = LookupGrid(text, "JO62", nullptr, none);
        ASSERT_TRUE(refused) << text;
        EXPECT_EQ(refused->locator, "Not a grid locator: " + std::string(text));
        EXPECT_EQ(refused->centre, "");
        EXPECT_FALSE(refused->placesVisible);
    }
    // The operator's own square: distance 0 and no bearing.
    const auto home = LookupGrid("jo62", "JO62", nullptr, none);
    EXPECT_EQ(home->bearing, "Bearing: - Distance: 0 KM");
    EXPECT_EQ(home->reverse, "Rev: ");
    EXPECT_EQ(home->bearingNumber, "");

    // Due south of home: bearing 180, reverse 360.
    const auto south = LookupGrid("jo61", "JO62", nullptr, none);
    ASSERT_TRUE(south);
    EXPECT_EQ(south->locator, "JO61");
    EXPECT_EQ(south->centre, "Lat: 51.50    Long: 13.00 (centre)");
    EXPECT_EQ(south->bearing, "Bearing: 180 deg Distance: 111 KM");
    EXPECT_EQ(south->from, "(from JO62)");
    EXPECT_EQ(south->reverse, "Rev: 360");
    EXPECT_EQ(south->bearingNumber, "180");
    // An empty places list: no places, no country, and the panel's timer still runs.
    EXPECT_FALSE(south->placesVisible);
    EXPECT_TRUE(south->country.empty());
    EXPECT_TRUE(south->startTimer);

    EXPECT_EQ(PanelReverseBearing(181), 1);
    EXPECT_EQ(PanelReverseBearing(0), 180);
    EXPECT_EQ(PanelReverseBearing(360), 180);
}

TEST(GridLookup, CentreOfSquaresInEveryQuarterOfTheGlobe) {
    const PlacesList none;
    // North-east, south-east (Sydney), north-west (New York), and the row just south of the
    // equator, whose corner the program's locator point moves to the equator.
    EXPECT_EQ(LookupGrid("JO62", "", nullptr, none)->centre, "Lat: 52.50    Long: 13.00 (centre)");
    EXPECT_EQ(LookupGrid("QF56", "", nullptr, none)->centre, "Lat: -33.50    Long: 151.00 (centre)");
    EXPECT_EQ(LookupGrid("FN30", "", nullptr, none)->centre, "Lat: 40.50    Long: -73.00 (centre)");
    EXPECT_EQ(LookupGrid("FI09", "", nullptr, none)->centre, "Lat: -0.50    Long: -79.00 (centre)");
    EXPECT_EQ(LookupGrid("JJ00", "", nullptr, none)->centre, "Lat: 0.50    Long: 1.00 (centre)");
    // A subsquare shows its own middle.
    EXPECT_EQ(LookupGrid("JO62QM", "", nullptr, none)->centre, "Lat: 52.52    Long: 13.38 (centre)");

    // The places window is centred on the square in both hemispheres (tenths of a degree).
    EXPECT_EQ(PlacesWindowCentre("QF56").lat10, -335);
    EXPECT_EQ(PlacesWindowCentre("QF56").lon10, 1510);
    EXPECT_EQ(PlacesWindowCentre("FN30").lat10, 405);
    EXPECT_EQ(PlacesWindowCentre("FN30").lon10, -730);
    EXPECT_EQ(PlacesWindowCentre("FN30QM").lon10, -730);
}

TEST(GridLookup, SomePlacesLinesOfTheSquare) {
    const PlacesList none;
    LogLines some{"JO62QM,Germany,Berlin", "JO62QL,Germany,Potsdam,Potsdam", "jo62qm,Germany,berlin",
                  "JO63AA,Germany,Elsewhere", "IO91WM,England,London"};
    const auto two = LookupGrid("jo62", "JO62", &some, none);
    ASSERT_TRUE(two);
    EXPECT_EQ(two->places, (Lines{"JO62QL # Germany # Potsdam", "JO62QM # Germany # Berlin"}));
    EXPECT_EQ(two->country, "Country: Germany");
    EXPECT_TRUE(two->placesVisible);

    // One line: it is listed, then "No data found"; no country is named.
    const auto one = LookupGrid("IO91", "JO62", &some, none);
    EXPECT_EQ(one->places, (Lines{"IO91WM # England # London", "No data found"}));
    EXPECT_TRUE(one->country.empty());
    EXPECT_TRUE(one->placesVisible);
    EXPECT_EQ(LookupGrid("AA00", "JO62", &some, none)->places, (Lines{"No data found"}));
}

// A square's places list: names at known tenths-of-a-degree distances from JO62's centre
// (52.5 N, 13.0 E), so the scan that reaches 5 names is known.
LogLines Around(std::vector<std::string> extra = {}) {
    LogLines lines{"lat,lng,country,city",
                   "52.5,13.0,Germany,Alpha",
                   "52.51,13.0,Germany,Alpha",  // the same name again, inside the first window
                   " 52.7 , 13.0 , Germany , Bravo ",
                   "52.5,12.7,Germany,Charlie",
                   "52.2,13.4,Germany,Delta",
                   "+53.0,13.0,Germany,",
                   "53.6,14.0,Germany,Foxtrot",  // a tenth of a degree past the widest window
                   "-52.5,13.0,Elsewhere,South"};
    for (const auto& line : extra) lines.push_back(line);
    return lines;
}

TEST(GridLookup, PlacesListWindowWidensUntilFiveNames) {
    // Four names within a degree of the centre (one entry has no name): eleven scans, then
    // nothing is shown.
    const PlacesList four(Around());
    const PlacesNearby few = FindPlacesNearby(four, "JO62");
    EXPECT_FALSE(few.found);
    EXPECT_EQ(few.scans, 11);
    EXPECT_EQ(few.names, (Lines{"Alpha", "Bravo", "Charlie", "Delta"}));
    const auto nothing = LookupGrid("JO62", "JO62", nullptr, four);
    EXPECT_FALSE(nothing->placesVisible);
    EXPECT_TRUE(nothing->country.empty());
    EXPECT_FALSE(nothing->startTimer);

    // A fifth name 0.5 degrees north: found by the sixth scan; the name one degree away is not
    // reached, and Alpha, found twice, is listed once.
    const PlacesList five(Around({"53.0,13.0,Germany,Echo"}));
    const PlacesNearby enough = FindPlacesNearby(five, "JO62");
    EXPECT_TRUE(enough.found);
    EXPECT_EQ(enough.scans, 6);
    EXPECT_EQ(enough.names, (Lines{"Alpha", "Bravo", "Charlie", "Delta", "Echo"}));
    const auto shown = LookupGrid("JO62", "JO62", nullptr, five);
    EXPECT_EQ(shown->places, enough.names);
    EXPECT_EQ(shown->country, "Country: Germany");
    EXPECT_TRUE(shown->placesVisible);
    EXPECT_TRUE(shown->startTimer);
}

TEST(GridLookup, SouthernAndWesternSquaresFindTheirPlaces) {
    const PlacesList list(LogLines{"-33.8679,151.2073,Australia,Sydney", "-33.8,151.0,Australia,Parramatta",
                                   "-34.4,150.9,Australia,Wollongong", "-33.4,151.3,Australia,Gosford",
                                   "-33.0,151.7,Australia,Newcastle", "33.8,151.2,Nowhere,Mirror",
                                   "40.7,-73.9,United States,Brooklyn", "40.8,-73.0,United States,Patchogue",
                                   "41.0,-72.3,United States,Riverhead", "40.9,-72.9,United States,Medford",
                                   "40.7,-73.5,United States,Levittown", "40.7,-74.1,United States,Jersey City"});
    const PlacesNearby sydney = FindPlacesNearby(list, "QF56");
    EXPECT_TRUE(sydney.found);
    // Nearest first: each widening adds the names it reaches, in list order.
    EXPECT_EQ(sydney.names, (Lines{"Gosford", "Parramatta", "Sydney", "Newcastle", "Wollongong"}));
    EXPECT_EQ(sydney.scans, 10);
    EXPECT_EQ(sydney.country, "Australia");
    const PlacesNearby newYork = FindPlacesNearby(list, "FN30");
    EXPECT_TRUE(newYork.found);
    // Jersey City lies west of the square (FN20) and stays out.
    EXPECT_EQ(newYork.names, (Lines{"Patchogue", "Medford", "Levittown", "Riverhead", "Brooklyn"}));
}

TEST(PlacesListFiles, WorldCitiesConvertedOnceThenReadDb5Replaces) {
    test::TempFolder viewer, installed;
    test::WriteFile(installed / "worldcities.csv",
                    "\"city\",\"city_ascii\",\"lat\",\"lng\",\"country\"\r\n"
                    "\"Zürich\",\"Zurich\",\"47.3667\",\"8.55\",\"Switzerland\"\r\n"
                    "\r\n"
                    "\"Berlin\",\"Berlin\",\"52.5244\",\"13.4105\",\"Germany\"\r\n"
                    "\"BERLIN\",\"Berlin\",\"52.5244\",\"13.4105\",\"Germany\"\r\n");
    const PlacesFolders folders{viewer.path(), installed.path()};
    PlacesListLoad load = LoadPlacesList(folders);
    EXPECT_TRUE(load.converted);
    EXPECT_EQ(load.source, installed / "worldcities.csv");
    // Field 3, 4, 5 and 2 of each line, quotes turned into blanks; header and empty line gone,
    // letter-case duplicates once.
    const Lines expected{" 47.3667 , 8.55 , Switzerland , Zurich ", " 52.5244 , 13.4105 , Germany , Berlin "};
    EXPECT_EQ(All(load.list.Lines()), expected);
    EXPECT_EQ(test::ReadFile(viewer / "worldcities.txt"), expected[0] + "\r\n" + expected[1] + "\r\n");
    int lat10 = 0, lon10 = 0;
    ASSERT_TRUE(load.list.PositionTenths(1, lat10, lon10));
    EXPECT_EQ(lat10, 525);
    EXPECT_EQ(lon10, 134);

    // The viewer's worldcities.txt is read from now on, without converting.
    test::WriteFile(viewer / "worldcities.txt", "52.5,13.4,Germany,Berlin\n47.4,8.6,Switzerland,Zurich\n");
    load = LoadPlacesList(folders);
    EXPECT_FALSE(load.converted);
    EXPECT_EQ(All(load.list.Lines()), (Lines{"47.4,8.6,Switzerland,Zurich", "52.5,13.4,Germany,Berlin"}));

    test::WriteFile(installed / "Places-db5.txt", "1.0,2.0,Ghana,Somewhere\n");
    load = LoadPlacesList(folders);
    EXPECT_EQ(All(load.list.Lines()), (Lines{"1.0,2.0,Ghana,Somewhere"}));
    EXPECT_EQ(load.source, installed / "Places-db5.txt");
}

TEST(PlacesSearch, MatchesCapitalisedOnceEachSorted) {
    const std::string file =
        "new york,usa\r\nNEW YORK,USA\r\nJO62QM,Germany,Berlin\r\nold place (new york)/x,usa\r\n"
        "JN47FJ,Switzerland,Zürich (Kreis 10) / höngg,Zurich (Kreis 10) / hongg\r\nFN30,usa,York";
    const PlacesText text(file);
    const std::string_view bytes(file);
    const LogLines table{"=W1AW,United States,NA {37.53^91.67}", "AA,United States,NA {37.53^91.67}",
                         "K,United States,NA {37.53^91.67}", "KH6,Hawaii,OC {21.12^157.48}",
                         "UA,European Russia,EU {55.75^-37.62}", "UN,Kazakhstan,AS {48.17^-65.18}"};
    const auto result = SearchPlaces("new york", &text, table);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->lines, (Lines{"Searched for new york ...", "",
                                    "new York\t\tusa", "old Place (New York)/X\t\tusa"}));
    EXPECT_EQ(result->matches, 2u);
    EXPECT_EQ(result->matchLabel, "Matches : 2");
    EXPECT_TRUE(result->prefixLines.empty());

    // Accented letters match without regard to case and are raised after a blank.
    EXPECT_EQ(MatchingPlaces("ZÜRICH", bytes), (Lines{"JN47FJ\t\tSwitzerland\t\tZürich (Kreis 10) / Höngg\t\tZurich (Kreis 10) / Hongg"}));
    EXPECT_EQ(MatchingPlaces("york", bytes).size(), 3u);
    EXPECT_EQ(PlacesListLine("a éb,(ü"), "a Éb\t\t(Ü");

    // Prefixes of the countries whose names begin with the text; "=" entries name stations.
    EXPECT_EQ(SearchPlaces("united", &text, table)->prefixLines, (Lines{"AA,K,"}));
    EXPECT_EQ(CountryPrefixLines("e", table), (Lines{"UA,"}));
    EXPECT_FALSE(SearchPlaces("   ", &text, table));
    EXPECT_FALSE(SearchPlaces("york", nullptr, table));
}

TEST(PlacesSearch, PrefixLinesWrapPastEightyCharacters) {
    LogLines table;
    for (char a = 'A'; a <= 'Z'; ++a)
        for (char b = 'A'; b <= 'Z'; b += 5) table.push_back(std::string{a, b, '1'} + ",Atlantis,EU {0^0}");
    const Lines lines = CountryPrefixLines("atl", table);
    ASSERT_GE(lines.size(), 2u);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) EXPECT_GE(lines[i].size(), 81u);
    EXPECT_EQ(lines[0].substr(0, 8), "AA1,AF1,");
    EXPECT_LE(lines.back().size(), 84u);
}

}  // namespace
}  // namespace vantrel
