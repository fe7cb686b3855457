#include <gtest/gtest.h>

#include "geo/callsign_search.h"
#include "geo/contact_details.h"
#include "geo/country_file.h"
#include "geo/locator.h"
#include "geo/place_finder.h"

namespace vantrel {
namespace {

std::string Contact(const std::string& date, const std::string& time, const std::string& call,
                    const std::string& grid, const std::string& freq = "14.075500") {
    return date + "," + time + "," + date + "," + time + "," + call + "," + grid + "," + freq +
           ",FT8,-15,-12,100,nice,Hans,W9XYZ,EN37,IC-7300,Dipole,";
}

class SearchTest : public ::testing::Test {
protected:
    LogLines log{Contact("2026-12-01", "10:00:00", "DL1ABC", "JO62qm"),
                 Contact("2026-12-02", "11:00:00", "OZ1XYZ/DL1", "JO65"),
                 Contact("2026-12-03", "12:00:00", "VE3ABCDEFGH", ""),
                 Contact("2026-12-04", "13:00:00", "DL1ABC", "JO62", "7.074000"),
                 Contact("2026-12-05", "14:00:00", "DL2ZZ", "J")};
    CountryTable countries{SortedCountryLines({"DL,Fed. Rep. of Germany,EU {51.00^-10.00}",
                                               "VE,Canada,NA {44.35^78.75}"})};
    std::string lastCountry;
};

TEST_F(SearchTest, PrefixListWithHeaderCountryAndTail) {
    SearchOptions options;
    options.bearingDistance = true;
    options.homeLocator = "EN37";
    const MatchList list = SearchLog(log, "dl1\r", options, countries, nullptr, lastCountry);
    ASSERT_TRUE(list.shown);
    ASSERT_EQ(list.size(), 10u);
    EXPECT_EQ(list.Text(0), "DL1");
    const BearingText bd = BearingDistance("EN37", "51.00", "10");
    const std::string bearing = bd.bearing + " (Rev: " + std::to_string(ReverseBearing(bd.bearing)) + " )";
    EXPECT_EQ(list.Text(1), "CTY.DAT : Fed. Rep. of Germany (EU ), Lat: 51.00, Long: 10 @ nominally " +
                                bearing + " " + bd.distance);
    EXPECT_EQ(list.At(1).colour, 1);
    EXPECT_EQ(list.Text(2), "");
    EXPECT_EQ(list.Text(3), "Call, Grid, Mode, Freq, Date, Time UTC, (Actual bearing/distance(KM) to gridsquare) ");
    // Only the callsigns beginning with the text: not OZ1XYZ/DL1.
    EXPECT_EQ(list.contacts, 2u);
    const BearingKm to = GreatCircle("EN37").To(LocatorToPosition("JO62qm"));
    EXPECT_EQ(list.Text(4), "DL1ABC    \tJO62\tFT8\t14.075500 \t2026-12-01\t10:00:00\t(" +
                                std::to_string(to.bearing) + "/" + std::to_string(to.km) + ") ");
    EXPECT_TRUE(list.At(4).contact);
    EXPECT_EQ(list.At(4).logIndex, 0u);
    EXPECT_EQ(list.At(4).colour, 4);
    EXPECT_EQ(list.At(5).logIndex, 3u);
    EXPECT_EQ(list.Text(8), "CLICK anywhere on a BOLD callsign line for logged WSJTX details");
    EXPECT_EQ(list.At(8).colour, 2);
    EXPECT_EQ(list.Text(9), "Click anywhere else to close");
    EXPECT_EQ(lastCountry, "Fed. Rep. of Germany (EU )");
}

TEST_F(SearchTest, WildMatchesAnywhereAndCutsColumns) {
    SearchOptions options;
    options.wild = true;
    MatchList list = SearchLog(log, "DL1", options, countries, nullptr, lastCountry);
    EXPECT_EQ(list.contacts, 3u);
    EXPECT_EQ(list.Text(5), "OZ1XYZ/DL1\tJO65\tFT8\t14.075500 \t2026-12-02\t11:00:00\t  ");
    EXPECT_EQ(list.At(5).colour, 3);
    EXPECT_EQ(list.Text(3), "Call, Grid, Mode, Freq, Date, Time UTC");
    list = SearchLog(log, "VE3", {}, countries, nullptr, lastCountry);
    ASSERT_EQ(list.contacts, 1u);
    EXPECT_EQ(list.Text(4), "VE3ABCDEFG\t    \tFT8\t14.075500 \t2026-12-03\t12:00:00\t ");
    // A one-letter grid names no square: no bearing, rather than another contact's.
    options = {};
    options.bearingDistance = true;
    list = SearchLog(log, "DL2", options, countries, nullptr, lastCountry);
    EXPECT_EQ(list.Text(4), "DL2ZZ     \tJ   \tFT8\t14.075500 \t2026-12-05\t14:00:00\t ");
    // A contact in the operator's own square: distance 0 and no bearing.
    options.homeLocator = "jo62";
    list = SearchLog(log, "DL1ABC", options, countries, nullptr, lastCountry);
    EXPECT_EQ(list.Text(5), "DL1ABC    \tJO62\tFT8\t7.074000  \t2026-12-04\t13:00:00\t(-/0) ");
}

TEST_F(SearchTest, CommaOrEmptyTextShowsNoList) {
    const MatchList list = SearchLog(log, "DL1,X", {}, countries, nullptr, lastCountry);
    EXPECT_FALSE(list.shown);
    EXPECT_EQ(list.country.country, "Fed. Rep. of Germany (EU )");
    EXPECT_EQ(list.size(), 0u);
    EXPECT_FALSE(SearchLog(log, "  \r", {}, countries, nullptr, lastCountry).shown);
    // Without a country table there is no country line.
    const MatchList plain = SearchLog(log, "DL1", {}, CountryTable(), nullptr, lastCountry);
    EXPECT_EQ(plain.Text(1), "");
    EXPECT_EQ(plain.contacts, 2u);
}

TEST_F(SearchTest, ClickedLineFindsItsContactByDateAndTime) {
    const MatchList list = SearchLog(log, "DL1A", {}, countries, nullptr, lastCountry);
    const auto key = ContactKeyFromMatchLine(list.Text(5));
    ASSERT_TRUE(key);
    EXPECT_EQ(*key, "DL1ABC, FT8, 7.074000, 2026-12-04, 13:00:00");
    EXPECT_EQ(FindContact(log, *key), 3u);
    EXPECT_EQ(FindContact(log, "DL1ABC, FT8, 14.075500, , "), 0u);
    EXPECT_FALSE(FindContact(log, "DL1ABC, FT8, 14.075500, 2026-12-09, 13:00:00"));
    EXPECT_FALSE(ContactKeyFromMatchLine("Click anywhere else to close"));
    EXPECT_FALSE(FindContact(log, *ContactKeyFromMatchLine(list.Text(1))));  // the CTY.DAT line
    // The list cut this callsign to 10 characters.
    const MatchList ve = SearchLog(log, "VE3", {}, countries, nullptr, lastCountry);
    EXPECT_EQ(FindContact(log, *ContactKeyFromMatchLine(ve.Text(4))), 2u);
}

TEST(ItemAtCaretTest, CommaBeforeOrAfterTheCaret) {
    EXPECT_EQ(ItemAtCaret("K1ABC,FN42", 2), "K1ABC");
    EXPECT_EQ(ItemAtCaret("K1ABC,FN42", 5), "K1ABC");
    EXPECT_EQ(ItemAtCaret("K1ABC,FN42", 6), "FN42");
    EXPECT_EQ(ItemAtCaret("A, B ,C", 3), "B");
    EXPECT_EQ(ItemAtCaret("A, B ,C", 6), "C");
    EXPECT_EQ(ItemAtCaret(" K1ABC ", 0), "K1ABC");
    EXPECT_EQ(ItemAtCaret("A," + std::string(40, 'x'), 3), std::string(30, 'x'));
    EXPECT_FALSE(ItemAtCaret("K1ABC", 9));
}

TEST(PlaceFinderTest, IndexAgreesWithTheScan) {
    const LogLines places{"AA00,Nowhere,0", "FN31,United States,Hartford", "FN42,Canada,Odd",
                          "FN42,United States,Boston", "FN42,United States,Salem", "JO62,Germany,Berlin",
                          "JO65,Denmark,FN42 too", "KM72,Greece,Athens"};
    const PlaceFinder finder(places);
    EXPECT_EQ(finder.PlaceText("FN42", false, ""), "Nr. Odd - Canada");
    EXPECT_EQ(finder.PlaceText("FN42", true, "United States (NA )"), "Nr. Boston - United States");
    EXPECT_EQ(finder.PlaceText("FN42", true, "Denmark (EU )"), "Nr. FN42 too - Denmark");
    EXPECT_EQ(finder.PlaceText("AA00", false, ""), "Nr.  - ");  // only on the first line
    EXPECT_EQ(finder.PlaceText("FN42", true, "Japan (AS )"), "Nr.  - ");
    EXPECT_FALSE(finder.PlaceText("EN37", false, ""));
    for (const char* grid : {"FN42", "FN31", "JO62", "JO65", "KM72", "AA00", "FN42ab", "Bos", "n", "EN37", "fn42"})
        for (bool wild : {false, true})
            for (const char* country : {"", "United States (NA )", "Denmark (EU )", "Greece"})
                EXPECT_EQ(finder.PlaceText(grid, wild, country), finder.PlaceTextByScan(grid, wild, country))
                    << grid << " " << wild << " " << country;
}

TEST(ContactDetailsTest, LinesColoursAndLookupAddresses) {
    const auto lines = ContactDetails(Contact("2026-12-04", "13:00:00", "DL1ABC", "QF66BA"));
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[0].text, "DL1ABC    <-  weblink");
    EXPECT_TRUE(lines[0].underline);
    EXPECT_EQ(lines[0].colour, 1);
    EXPECT_EQ(lines[2].text, "Name: Hans");
    EXPECT_EQ(lines[3].text, "Gridsquare: QF66BA");
    EXPECT_EQ(lines[4].text, "Lat: -34.0  Long : 152.0");
    EXPECT_EQ(lines[15].text, "My Rig/Ant: IC-7300, Dipole");
    EXPECT_EQ(lines[17].colour, 3);
    EXPECT_EQ(lines[19].text, "RIGHT CLICK to allow copy details to clipboard");
    EXPECT_EQ(DetailsNumberText(-27), "-27.0");
    // An antenna whose band list holds commas is shown whole; empty station fields leave no ",".
    const auto antenna = ContactDetails("2026-12-04,13:00:00,2026-12-04,13:01:00,DL1ABC,,14.0755,FT8,-08,-12,,,,"
                                        ",,IC-7300,Vertical [7,14,21],");
    EXPECT_EQ(antenna[12].text, "My Call/Grid: ");
    EXPECT_EQ(antenna[13].text, "My Rig/Ant: IC-7300, Vertical [7,14,21]");
    const auto noGrid = ContactDetails(Contact("2026-12-04", "13:00:00", "DL1ABC", ""));
    EXPECT_EQ(noGrid.size(), 18u);
    EXPECT_EQ(noGrid[3].text, "QSO date: 2026-12-04 UTC");
    EXPECT_EQ(CallsignOfTopLine(lines[0].text), "DL1ABC");

    EXPECT_EQ(LookupAddress("QRZCQ", "K1ABC"), "https://www.qrzcq.com/call/K1ABC");
    EXPECT_EQ(LookupAddress("HamQTH", "K1ABC\r"), "https://www.hamqth.com/K1ABC");
    EXPECT_EQ(LookupAddress("QRZ", "K1ABC/P &x"), "https://www.qrz.com/db/K1ABC%2FP%20%26x");
    EXPECT_EQ(LookupAddress("qrz", "K1ABC"), "");
    EXPECT_EQ(LookupAddress("QRZ", "  "), "");
}

}  // namespace
}  // namespace vantrel
