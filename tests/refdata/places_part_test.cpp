#include "refdata/places_part.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "geo/place_finder.h"
#include "refdata/places_commands.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using Lines = std::vector<std::string>;

const std::filesystem::path kShipped = std::filesystem::path(VANTREL_SOURCE_DIR) / "data" / "places";

struct RecordingView : PlacesView {
    void ShowGridInfo(const GridInfo& info) override { grid = info, gridShown = true; }
    void HideGridInfo(bool emptyField) override { gridShown = false, fieldEmptied = emptyField; }
    void ShowPlaces(const PlacesSearchResult& result) override { places = result, placesShown = true; }
    void HidePlaces() override { placesShown = false; }
    void WidenPlacesPanel() override { ++widened; }
    void SetExtendedVisible(bool visible) override { extended = visible; }
    void EmptyPlacesField() override {}
    void ShowMessage(const std::string& caption, const std::string& text) override { message = caption + "|" + text; }

    GridInfo grid;
    bool gridShown = false, fieldEmptied = false, placesShown = false, extended = false;
    PlacesSearchResult places;
    int widened = 0;
    std::string message;
};

struct Station {
    explicit Station(std::filesystem::path installed) {
        inputs.folders = {viewer.path(), std::move(installed)};
        inputs.homeGrid = [] { return std::string("JO62"); };
        inputs.countryTable = [this] { return table; };
        inputs.copyToClipboard = [this](const std::string& text) { clipboard.push_back(text); };
    }
    test::TempFolder viewer;
    PlacesPartInputs inputs;
    std::shared_ptr<const LogLines> table = std::make_shared<const LogLines>(
        LogLines{"DA,Fed. Rep. of Germany,EU {51.00^-10.00}", "DL,Fed. Rep. of Germany,EU {51.00^-10.00}"});
    Lines clipboard;
    RecordingView view;
};

TEST(PlacesPart, PanelTimerClicksAndClipboard) {
    test::TempFolder installed;
    test::WriteFile(installed / "SomePlaces.txt", "JO61AA,Germany,Dorf\r\nJO61BB,Germany,Stadt\r\n");
    Station station(installed.path());
    PlacesPart part(station.inputs, station.view);
    EXPECT_EQ(part.PrepareAtStart(), "");
    EXPECT_FALSE(station.view.extended);  // no allplaces.txt anywhere

    part.LookupGrid("JO6");  // not a locator: said so
    EXPECT_EQ(station.view.grid.locator, "Not a grid locator: JO6");
    part.LookupGrid("JO61");
    ASSERT_TRUE(station.view.gridShown);
    EXPECT_EQ(station.view.grid.places, (Lines{"JO61AA # Germany # Dorf", "JO61BB # Germany # Stadt"}));
    for (int second = 1; second < 30; ++second) part.Tick();
    EXPECT_TRUE(station.view.gridShown);
    part.GridListPressed();  // held: the panel stays
    for (int second = 0; second < 40; ++second) part.Tick();
    EXPECT_TRUE(station.view.gridShown);
    part.GridListReleased();  // a fresh 30 seconds
    for (int second = 1; second < 30; ++second) part.Tick();
    EXPECT_TRUE(station.view.gridShown);
    part.Tick();
    EXPECT_FALSE(station.view.gridShown);
    EXPECT_FALSE(station.view.fieldEmptied);
    EXPECT_FALSE(part.GridTimerRunning());

    part.LookupGrid("JO61");
    part.BearingDoubleClicked();
    EXPECT_EQ(station.clipboard, (Lines{"180"}));
    part.CloseGridInfo();
    EXPECT_FALSE(station.view.gridShown);
    EXPECT_TRUE(station.view.fieldEmptied);
    part.GridListReleased();  // a release after the close does not start the timer again
    EXPECT_FALSE(part.GridTimerRunning());

    // The viewer folder's file comes first.
    test::WriteFile(station.viewer / "SomePlaces.txt", "JO61CC,Germany,Eigenes\r\n");
    part.LookupGrid("JO61");
    EXPECT_EQ(station.view.grid.places, (Lines{"JO61CC # Germany # Eigenes", "No data found"}));

    part.PlacesTextEdited();
    EXPECT_EQ(station.view.widened, 1);
    part.SearchPlaces("eigenes", false);
    ASSERT_TRUE(station.view.placesShown);
    EXPECT_EQ(station.view.places.matchLabel, "Matches : 1");
    part.SearchPlaces("x", true);  // "Extended" without allplaces.txt: the list stays, a message says why
    EXPECT_EQ(station.view.places.matchLabel, "Matches : 1");
    EXPECT_EQ(station.view.message, "Places|allplaces.txt not found in the viewer folder or the program's data");
    part.CopyPlacesToClipboard();
    EXPECT_EQ(station.clipboard.back(), "Searched for eigenes ...\n\nJO61CC\t\tGermany\t\tEigenes\n");
    EXPECT_EQ(station.view.message, "Clipboard copied|Displayed data now in clipboard");
    // The file is read again once it changed.
    test::WriteFile(station.viewer / "SomePlaces.txt", "JO61CC,Germany,Eigenes\r\nJO61CD,Germany,Eigenes Dorf\r\n");
    part.SearchPlaces("eigenes", false);
    EXPECT_EQ(station.view.places.matchLabel, "Matches : 2");
    part.ClosePlaces();
    EXPECT_FALSE(station.view.placesShown);
}

// The files the program ships, as the program reads them.
class ShippedPlaces : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::is_regular_file(kShipped / "SomePlaces.txt")) << kShipped;
    }
};

TEST_F(ShippedPlaces, WellKnownSquaresAndSearches) {
    Station station(kShipped);
    PlacesPart part(station.inputs, station.view);
    part.PrepareAtStart();
    EXPECT_TRUE(station.view.extended);
    const auto lists = [&](std::string_view square, std::string_view line) {
        part.LookupGrid(square);
        const auto& places = station.view.grid.places;
        return std::find(places.begin(), places.end(), line) != places.end();
    };
    EXPECT_TRUE(lists("JO62", "JO62QM # Fed. Rep. of Germany # Berlin"));
    EXPECT_EQ(station.view.grid.country, "Country: Fed. Rep. of Germany");
    EXPECT_TRUE(lists("QF56", "QF56OD # Australia # Sydney"));
    // New York City's GeoNames point (City Hall, 74.006 W) lies in FN20; its boroughs east of
    // 74 W in FN30.
    EXPECT_TRUE(lists("FN20", "FN20XR # United States of America # New York City"));
    EXPECT_TRUE(lists("FN30", "FN30AP # United States of America # Brooklyn"));

    // The "Details" of the callsign search: the square's most populous place, also for the
    // square that sorts first.
    const PlaceFinder finder(part.List4());
    EXPECT_EQ(finder.PlaceText("JN00", false, ""), "Nr. Tortosa - Spain");
    EXPECT_EQ(finder.PlaceText("JO62", false, ""), "Nr. Berlin - Fed. Rep. of Germany");
    EXPECT_EQ(finder.PlaceText("AE16", false, ""), "Nr. Waitangi - New Zealand");

    // An ASCII spelling finds the accented name.
    part.SearchPlaces("Sao Paulo", false);
    const auto& found = station.view.places.lines;
    EXPECT_NE(std::find(found.begin(), found.end(), "GG66QK\t\tBrazil\t\tSão Paulo\t\tSao Paulo"), found.end());
    part.SearchPlaces("fed. rep", false);
    EXPECT_EQ(station.view.places.prefixLines, (Lines{"DA,DL,"}));
}

TEST_F(ShippedPlaces, EverySquareOfTheWorldLooksUp) {
    // worldcities.csv converted as at a first start; SomePlaces.txt left out so that every
    // lookup searches the places list.
    test::TempFolder installed;
    std::filesystem::copy_file(kShipped / "worldcities.csv", installed / "worldcities.csv");
    Station station(installed.path());
    PlacesPart part(station.inputs, station.view);
    EXPECT_EQ(part.LoadPlacesList(), "");
    EXPECT_GT(part.List().size(), 130000u);
    EXPECT_TRUE(std::filesystem::is_regular_file(station.viewer / "worldcities.txt"));

    int lookups = 0, withPlaces = 0;
    std::string locator = "AA00";
    for (char a = 'A'; a <= 'R'; ++a)
        for (char b = 'A'; b <= 'R'; ++b)
            for (char c = '0'; c <= '9'; ++c)
                for (char d = '0'; d <= '9'; ++d) {
                    locator = {a, b, c, d};
                    const auto info = LookupGrid(locator, "JO62", nullptr, part.List());
                    ASSERT_TRUE(info) << locator;
                    ++lookups;
                    if (!info->placesVisible) continue;
                    ++withPlaces;
                    ASSERT_GE(info->places.size(), 5u) << locator;
                    ASSERT_GT(info->country.size(), std::string("Country: ").size()) << locator;
                }
    EXPECT_EQ(lookups, 32400);
    EXPECT_GT(withPlaces, 4000);
    EXPECT_LT(withPlaces, 12000);

    const PlacesNearby berlin = FindPlacesNearby(part.List(), "JO62");
    EXPECT_TRUE(berlin.found);
    EXPECT_EQ(berlin.country, "Fed. Rep. of Germany");
    EXPECT_FALSE(FindPlacesNearby(part.List(), "AA00").found);  // the Antarctic Pacific
}

TEST_F(ShippedPlaces, CommandLineQueries) {
    const PlacesFolders folders{"/nonexistent-viewer", kShipped};
    CommandOutput grid = GridCommand("jo62", "JO65", folders);
    EXPECT_EQ(grid.status, 0);
    ASSERT_GE(grid.lines.size(), 8u);
    EXPECT_EQ(Lines(grid.lines.begin(), grid.lines.begin() + 6),
              (Lines{"JO62", "Lat: 52.50    Long: 13.00 (centre)", "Bearing: 180 deg Distance: 333 KM",
                     "(from JO65)", "Rev: 360", "Country: Fed. Rep. of Germany"}));
    EXPECT_EQ(GridCommand("JO6", "JO65", folders).status, 2);

    const CommandOutput places = PlacesCommand("tortosa", false, folders, nullptr);
    EXPECT_EQ(places.status, 0);
    EXPECT_EQ(places.lines, (Lines{"JN00GT\t\tSpain\t\tTortosa", "PK10NW\t\tPhilippines\t\tTortosa", "Matches : 2"}));
    const CommandOutput extended = PlacesCommand("tortosa", true, folders, nullptr);
    EXPECT_EQ(extended.lines, (Lines{"Tortosa\t\tPhilippines\t\tPH\t\tPK10NW\t\tpop 7048",
                                     "Tortosa\t\tSpain\t\tES\t\tJN00GT\t\tpop 35143", "Matches : 2"}));
    EXPECT_EQ(PlacesCommand("tortosa", false, {"/nonexistent-viewer", "/nonexistent"}, nullptr).status, 1);
}

}  // namespace
}  // namespace vantrel
