#include <gtest/gtest.h>

#include "settings/settings_listing.h"
#include "settings/stored_options.h"
#include "support/memory_store.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

TEST(SettingsListingTest, TwentyThreeLinesFromTheStore) {
    test::MemoryStore store;
    store.WriteText(kOwnSection, "VantrelerLeft", "120");
    store.WriteText(kOwnSection, "VantrelerRuns", "17");
    store.WriteText(kOwnSection, "VantrelerAutoShow", "2");
    store.WriteText(kOwnSection, "VantrelerShowCount", "9");
    store.WriteText(kOwnSection, "VantrelerRig", "IC-7300");
    store.WriteText(kOwnSection, "VantrelerMapClear", "0");
    store.WriteText(kOwnSection, "VantrelerMapLeft", "412");
    store.WriteText(kOwnSection, "VantrelerMapScale", "50");
    store.WriteText(kOwnSection, "VantrelerMapFont", "14");
    const auto lines = SettingsListingLines(store);
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(lines[0], "Main program window sizes");
    EXPECT_EQ(lines[1], "Left position: 120");
    EXPECT_EQ(lines[2], "Top position: 30");
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], "Times software run: 17");
    EXPECT_EQ(lines[7], "Last entry count from ALL.TXT: 100");
    EXPECT_EQ(lines[9], "Autoshow checked :Yes");
    EXPECT_EQ(lines[10], "Chars show count: 6");
    EXPECT_EQ(lines[11], "Radio selected: IC-7300");
    EXPECT_EQ(lines[15], "Map Clear selected: No");
    EXPECT_EQ(lines[17], "Map Left: 412");
    EXPECT_EQ(lines[18], "Map Top : 200");
    EXPECT_EQ(lines[21], "Map Scale: 50%");
    EXPECT_EQ(lines[22], "Map Font size: 14");

    // "Reset Registry values": the window places fall back to the full load's defaults.
    store.WriteText(kOwnSection, "VantrelerTop", "90");
    store.WriteText(kOwnSection, "VantrelerWidth", "900");
    PurgeSettings(store);
    const auto reset = SettingsListingLines(store);
    EXPECT_EQ(std::vector<std::string>(reset.begin() + 1, reset.begin() + 5),
              (std::vector<std::string>{"Left position: 30", "Top position: 30", "Width: 660",
                                        "Height: 600"}));
    EXPECT_EQ(reset[9], "Autoshow checked :Yes");
    EXPECT_EQ(reset[17], "Map Left: 200");
}

}  // namespace
}  // namespace vantrel
