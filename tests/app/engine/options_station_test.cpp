// The options and the station as the running program shares them: a box the operator ticks is
// what the parts act on and what the close saves; a grid changed in WSJT-X's configuration is
// what the bearings shown are measured from, without a new search or a restart.
#include <gtest/gtest.h>

#include <string>

#include "base/file_io.h"
#include "geo/locator.h"
#include "support/engine_station.h"

namespace vantrel {
namespace {

class OptionsStationTest : public ::testing::Test, public test::EngineStation {
protected:
    // The listed contact's line of the match list shown.
    std::string ContactLine() const {
        for (std::size_t i = 0; i < view.matchList->size(); ++i)
            if (view.matchList->At(i).contact) return std::string(view.matchList->Text(i));
        return "";
    }
    // "(bearing/km)" of FN42 seen from the square.
    static std::string BearingFrom(const char* home) {
        const BearingKm r = GreatCircle(std::string_view(home)).To(LocatorToPosition("FN42"));
        return "(" + std::to_string(r.bearing) + "/" + std::to_string(r.km) + ")";
    }
};

TEST_F(OptionsStationTest, TickedBoxAndNewGridReachTheSearchAndTheSave) {
    Write(3);
    auto engine = Start();
    ASSERT_TRUE(test::WaitForBackground(*engine));
    for (int second = 5; second < 8; ++second) {
        clock.Set({2026, 12, 8, 12, 1, second, 0});
        engine->Tick();
    }
    view.searchText = "K1ABC";
    engine->Call(&SearchPart::SearchLog);
    ASSERT_TRUE(view.matchListVisible);
    EXPECT_EQ(ContactLine().find('('), std::string::npos);

    // "B/D" ticked in the window: the list shown gains bearings and distances at once.
    engine->OptionsEdited([](StoredOptions& options) { options.brDist = true; });
    EXPECT_NE(ContactLine().find(BearingFrom("EN37")), std::string::npos) << ContactLine();

    // The operator moves to another square in WSJT-X (a longer locator, so the file's size
    // changes and its copy is refreshed at second 14): the boxes and the list follow.
    test::WriteFile(wsjtx() / "WSJT-X.ini",
                    "[Configuration]\nBroadcastToN1MM=true\nMyCall=W9XYZ\nMyGrid=JO62QM\nN1MMServer=127.0.0.1\n"
                    "N1MMServerPort=2334\n");
    clock.Set({2026, 12, 8, 12, 1, 14, 0});
    engine->Tick();
    EXPECT_EQ(view.grid, "JO62QM");
    EXPECT_NE(ContactLine().find(BearingFrom("JO62QM")), std::string::npos) << ContactLine();
    EXPECT_NE(BearingFrom("JO62QM"), BearingFrom("EN37"));

    // The close saves the box as ticked, with the callsign of the configuration.
    engine->CloseMainWindow();
    ASSERT_TRUE(test::RunEventsUntil([&] { return view.quitCalls > 0; }));
    EXPECT_EQ(store.ReadText(kOwnSection, "VantrelerBr_Dist", ""), "1");
    EXPECT_EQ(store.ReadText(kOwnSection, "VantrelerCall", ""), "W9XYZ");
}

}  // namespace
}  // namespace vantrel
