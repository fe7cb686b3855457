// The map window as the running station drives it: the "Map" box from the stored settings and
// from the operator, the stations that the search, the details and the feed send to it, its
// file of plotted stations, its "Clear" and the placement keys.
#include <gtest/gtest.h>

#include "base/file_io.h"
#include "log/extract_field.h"
#include "support/engine_station.h"

namespace vantrel {
namespace {

class MapTest : public ::testing::Test, public test::EngineStation {
protected:
    std::unique_ptr<StationEngine> StartWithMaps(bool mapShown) {
        dataFolder = std::filesystem::path(VANTREL_SOURCE_DIR) / "data";
        store.WriteBool(kOwnSection, "VantrelerMapShow", mapShown);
        store.WriteBool(kOwnSection, "VantrelerAutoShow", true);
        Write(8);
        test::WriteFile(viewer() / "maplog.txt", "OLD1XX,AA00\n");  // from the last run
        auto engine = Start();
        test::WaitForBackground(*engine);
        engine->Map().Activated();  // the window, once shown, is activated
        for (int second = 5; second < 8; ++second) {
            clock.Set({2026, 12, 8, 12, 1, second, 0});
            engine->Tick();
        }
        return engine;
    }
    bool Labelled(const std::string& text) const {
        for (const MapLabel& label : view.mapLabels)
            if (label.text == text) return true;
        return false;
    }
};

TEST_F(MapTest, StoredMapBoxShowsTheWindowAndEveryStationLookedAtIsPlotted) {
    auto engine = StartWithMaps(true);
    EXPECT_TRUE(view.regions[Region::MapCheck]);  // the shipped maps are found
    EXPECT_TRUE(view.mapVisible);
    EXPECT_EQ(test::ReadFile(viewer() / "maplog.txt"), "");  // the last run's file is gone

    // A callsign typed in full labels its station; a click on a contact in the match list
    // labels it and logs it to maplog.txt.
    const std::string call(ExtractFieldView(engine->LocalLogLines()[3], ',', 5));
    EXPECT_FALSE(Labelled(call));
    view.searchText = call;
    engine->Call(&SearchPart::SearchEdited, call);
    ASSERT_TRUE(view.MatchListVisible());
    EXPECT_TRUE(Labelled(call));
    std::size_t row = 0;
    while (row < view.matchList->size() && !view.matchList->At(row).contact) ++row;
    engine->Call(&SearchPart::MatchListClicked, static_cast<int>(row), true);
    ASSERT_FALSE(view.contactDetails.empty());
    EXPECT_TRUE(Labelled(call));
    EXPECT_EQ(view.mapFields.grid, "FN42");
    EXPECT_EQ(view.mapFields.callsign, call);
    EXPECT_NE(test::ReadFile(viewer() / "maplog.txt").find(call + ",FN42"), std::string::npos);

    // A contact from WSJT-X is labelled at once.
    std::string datagram = test::Datagram("W1NEW", "14.074000");
    datagram.replace(datagram.find("FN42"), 4, "JO62");
    engine->OnDatagram(datagram);
    EXPECT_TRUE(Labelled("W1NEW"));
    EXPECT_EQ(view.mapFields.grid, "JO62");
    // "Today" plots the day's contacts from the log the engine holds, not from the file (which a
    // job may be rewriting at that moment).
    std::filesystem::remove(viewer() / "Viewer_local_log.csv");
    engine->Map().Today(clock.Now());
    ASSERT_EQ(view.mapLabels.size(), 1u);
    EXPECT_EQ(view.mapLabels[0].text, "W1NEW");

    // The map's "Clear" clears "Wild Search" in the main window.
    view.wildSearchTicked = true;
    engine->Call(&SearchPart::SetWildSearch, true);
    engine->Map().Clear();
    EXPECT_FALSE(view.wildSearchTicked);
    EXPECT_FALSE(std::filesystem::exists(viewer() / "maplog.txt"));

    // The operator clears "Map": the placement is stored and the window hidden; the settings
    // saved at close carry the map's own boxes.
    engine->OptionsEdited([](StoredOptions& options) { options.mapShow = false; });
    EXPECT_FALSE(view.mapVisible);
    EXPECT_EQ(store.ReadText(kOwnSection, "VantrelerMapScale", ""), std::to_string(engine->Map().ScalePercent()));
    engine->Map().AutoClearClicked(false);
    engine->CloseMainWindow();
    ASSERT_TRUE(test::RunEventsUntil([&] { return view.quitCalls > 0; }));
    EXPECT_EQ(store.ReadText(kOwnSection, "VantrelerMapShow", ""), "0");
    EXPECT_EQ(store.ReadText(kOwnSection, "VantrelerMapClear", ""), "0");
}

TEST_F(MapTest, WithoutMapImagesTheBoxIsHiddenAndNothingIsPlotted) {
    Write(4);
    auto engine = Start();
    test::WaitForBackground(*engine);
    EXPECT_FALSE(view.regions[Region::MapCheck]);
    EXPECT_FALSE(view.regions[Region::MapButton]);

    // "Map" ticked with no image: the box is cleared again and the operator told.
    engine->OptionsEdited([](StoredOptions& options) { options.mapShow = true; });
    engine->Map().Activated();
    EXPECT_FALSE(view.options.mapShow);
    EXPECT_FALSE(view.mapVisible);
    ASSERT_FALSE(view.messages.empty());
    EXPECT_EQ(view.messages.back(), "Mapping error: No map files located...");
}

}  // namespace
}  // namespace vantrel
