// The grid lookup and the places search on a running station with the shipped places files: the
// panels, their 30-second timer, the clicks, the "Details" of the callsign search, "CLR".
#include <gtest/gtest.h>

#include <algorithm>

#include "support/engine_station.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

bool Holds(const std::vector<std::string>& lines, std::string_view text) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

class PlacesTest : public ::testing::Test, public test::EngineStation {
protected:
    void SetUp() override {
        VANTREL_REQUIRE_TESTDATA();
        dataFolder = fs::path(VANTREL_SOURCE_DIR) / "data";
        Write(3);
        // A contact in Berlin's square, for the "Details" of the callsign search.
        test::WriteFile(wsjtx() / "wsjtx.log",
                        test::WsjtxLog(3) + "2026-12-02,10:00:10,2026-12-02,10:01:00,DL1ABC,JO62,14.075500,"
                                            "FT8,-10,-12,100,,,\n");
        fs::copy_file(test::TestDataFolder() / "cty" / "cty-wsjtx-2.6.1.dat", wsjtx() / "cty.dat");
    }
};

// A damaged cty.dat or places file is used as far as it reads, and the file and its first bad
// line are told once.
TEST_F(PlacesTest, DamagedCountryAndPlacesFilesAreToldOnce) {
    std::string cty = test::ReadFile(wsjtx() / "cty.dat");
    cty.replace(cty.find("Monaco:                   14:"), 30, "Monaco:  fourteen:");
    test::WriteFile(wsjtx() / "cty.dat", cty);
    test::WriteFile(viewer() / "worldcities.txt", "52.52,13.40,Germany,Berlin\nnorth,east,Nowhere,Atlantis\n");
    auto engine = Start();
    ASSERT_TRUE(engine->StartupDone());
    ASSERT_TRUE(test::WaitForBackground(*engine));  // the places list loads after the start-up
    EXPECT_EQ(engine->Places().List().size(), 2u);
    const std::string trace = Trace();
    EXPECT_NE(trace.find((viewer() / "cty.dat").string() + ": 1 lines could not be read as a country and its "
                         "prefixes (the first: \"Monaco:  fourteen:"), std::string::npos) << trace;
    EXPECT_NE(trace.find((viewer() / "worldcities.txt").string() + ": 1 lines could not be read as "
                         "latitude,longitude,country,place (the first: \"north,east,Nowhere,Atlantis\")"),
              std::string::npos) << trace;
    EXPECT_NE(view.status.find("cty.dat: 1 lines could not be read"), std::string::npos) << view.status;
}

TEST_F(PlacesTest, GridLookupShowsThePanelUntilThirtyTicksOrAClick) {
    auto engine = Start();
    ASSERT_TRUE(engine->StartupDone());
    // The places list loads after the start-up: a lookup asked for meanwhile is answered from
    // the whole list once it is there, never from none.
    const bool loading = engine->Places().PlacesListLoading();
    if (loading) {
        engine->Call(&PlacesPart::LookupGrid, "JO62");
        EXPECT_FALSE(view.gridInfoShown);
    }
    ASSERT_TRUE(test::WaitForBackground(*engine));
    if (loading) {
        ASSERT_TRUE(view.gridInfoShown);
        EXPECT_TRUE(Holds(view.gridInfo.places, "Berlin"));
        engine->Call(&PlacesPart::CloseGridInfo);
        view.gridFieldEmptied = 0;
    }
    EXPECT_TRUE(view.extendedVisible);  // the shipped allplaces.txt
    EXPECT_EQ(engine->Places().List().size(), 135233u);  // worldcities.csv converted at the start
    EXPECT_TRUE(fs::exists(viewer() / "worldcities.txt"));

    engine->Call(&PlacesPart::LookupGrid, "jo6");
    EXPECT_EQ(view.gridInfo.locator, "Not a grid locator: jo6");
    engine->Call(&PlacesPart::LookupGrid, "jo62");
    ASSERT_TRUE(view.gridInfoShown);
    EXPECT_EQ(view.gridInfo.locator, "JO62");
    EXPECT_EQ(view.gridInfo.centre, "Lat: 52.50    Long: 13.00 (centre)");
    EXPECT_EQ(view.gridInfo.from, "(from EN37)");
    EXPECT_EQ(view.gridInfo.country, "Country: Fed. Rep. of Germany");
    EXPECT_TRUE(Holds(view.gridInfo.places, "Berlin"));
    for (int tick = 1; tick < 30; ++tick) engine->Tick();
    EXPECT_TRUE(view.gridInfoShown);
    engine->Tick();
    EXPECT_FALSE(view.gridInfoShown);
    EXPECT_EQ(view.gridFieldEmptied, 0);  // the timer leaves the field as it is

    // A press on the list holds the panel; its release gives a fresh 30 seconds.
    engine->Call(&PlacesPart::LookupGrid, "JO62");
    engine->Call(&PlacesPart::BearingDoubleClicked);
    EXPECT_EQ(desktop.copied, view.gridInfo.bearingNumber);
    EXPECT_FALSE(desktop.copied.empty());
    engine->Call(&PlacesPart::GridListPressed);
    for (int tick = 0; tick < 40; ++tick) engine->Tick();
    EXPECT_TRUE(view.gridInfoShown);
    engine->Call(&PlacesPart::GridListReleased);
    for (int tick = 0; tick < 29; ++tick) engine->Tick();
    EXPECT_TRUE(view.gridInfoShown);
    engine->Call(&PlacesPart::CloseGridInfo);
    EXPECT_FALSE(view.gridInfoShown);
    EXPECT_EQ(view.gridFieldEmptied, 1);

    // The viewer folder's own SomePlaces.txt comes before the shipped one.
    test::WriteFile(viewer() / "SomePlaces.txt", "JO62QM,Testland,Here\r\n");
    engine->Call(&PlacesPart::LookupGrid, "JO62");
    EXPECT_EQ(view.gridInfo.places, (std::vector<std::string>{"JO62QM # Testland # Here", "No data found"}));
}

TEST_F(PlacesTest, PlacesSearchListsMatchesAndPrefixes) {
    auto engine = Start();
    engine->Call(&PlacesPart::PlacesTextEdited);
    EXPECT_EQ(view.placesWidened, 1);
    engine->PlacesSearchEntered("berlin", false);
    ASSERT_TRUE(view.placesShown);
    EXPECT_EQ(view.places.lines[0], "Searched for berlin ...");
    EXPECT_TRUE(Holds(view.places.lines, "JO62"));
    EXPECT_EQ(view.places.matchLabel, "Matches : " + std::to_string(view.places.matches));
    EXPECT_GE(view.places.matches, 10u);

    // Country names beginning with the text give their prefixes.
    engine->PlacesSearchEntered("Fed. Rep", false);
    ASSERT_FALSE(view.places.prefixLines.empty());
    EXPECT_NE(view.places.prefixLines[0].find("DA"), std::string::npos) << view.places.prefixLines[0];

    // "Extended" searches allplaces.txt (the ISO country code is one of its fields).
    engine->PlacesSearchEntered("Berlin", true);
    EXPECT_TRUE(Holds(view.places.lines, "\t\tDE\t\t"));

    engine->Call(&PlacesPart::CopyPlacesToClipboard);
    EXPECT_NE(desktop.copied.find("Berlin"), std::string::npos);
    EXPECT_EQ(view.messages.back(), "Clipboard copied: Displayed data now in clipboard");
    engine->Call(&PlacesPart::ClosePlaces);
    EXPECT_FALSE(view.placesShown);

    // With "ALL.TXT" ticked, Enter belongs to the journal search.
    engine->OptionsEdited([](StoredOptions& options) { options.searchAllTxt = true; });
    engine->PlacesSearchEntered("Berlin", false);
    EXPECT_FALSE(view.placesShown);

    engine->Run(Command::Clear);
    EXPECT_EQ(view.placesFieldEmptied, 1);
}

TEST_F(PlacesTest, DetailsOfTheCallsignSearchNameTheTownOfTheSquare) {
    auto engine = Start();
    test::WaitForBackground(*engine);
    engine->OptionsEdited([](StoredOptions& options) { options.showDetails = true; });
    view.searchText = "DL1ABC";
    engine->Call(&SearchPart::SearchLog);
    ASSERT_TRUE(view.matchListVisible);
    bool named = false;
    for (std::size_t i = 0; i < view.matchList->size(); ++i)
        named = named || view.matchList->Text(i).find("Nr. Berlin - Fed. Rep. of Germany") != std::string_view::npos;
    EXPECT_TRUE(named);
}

}  // namespace
}  // namespace vantrel
