#include "settings/stored_options.h"
#include "settings_test_folder.h"

namespace vantrel {
namespace {

using Options = testing::SettingsFolderTest;
constexpr const char* kNow = "2026-12-07 14:23:05";

TEST(ColourText, ConvertsBothWays) {
    EXPECT_EQ(ColourToText({0xA6, 0xCA, 0xF0}), "A6CAF0");
    EXPECT_EQ(ColourToText({0x00, 0x08, 0xFF}), "0008FF");
    EXPECT_EQ(TextToColour("a6caF0"), (Rgb{0xA6, 0xCA, 0xF0}));
    EXPECT_EQ(TextToColour("800000 and more"), (Rgb{0x80, 0x00, 0x00}));
    for (const char* bad : {"", "A6CAF", "GG0000", "00 000", " A6CAF0", "0x1234"})
        EXPECT_FALSE(TextToColour(bad).has_value()) << bad;
    const Palette p = DefaultPalette();
    const char* stored[] = {"0000FF", "008000", "FF0000", "A6CAF0", "000080", "800080",
                            "000000", "808080", "00FF00", "A0A0A4", "00FFFF", "800000"};
    for (std::size_t i = 0; i < p.size(); ++i) EXPECT_EQ(ColourToText(p[i]), stored[i]) << i + 1;
}

TEST_F(Options, AnEmptyStoreGivesTheDefaults) {
    IniSettingsStore s(file, sink);
    EXPECT_EQ(LoadPlacement(s), (Placement{150, 150, 660, 600}));
    StoredOptions o;
    o.runs = 99;
    o.searches = "HamQTH";
    LoadAll(s, o, true, kNow);
    EXPECT_EQ(o.main, (Placement{30, 30, 660, 600}));
    EXPECT_EQ(o.runs, 0);
    EXPECT_EQ(o.allCount, 100);
    EXPECT_TRUE(o.autoShow);
    EXPECT_EQ(o.showCount, 3);
    EXPECT_EQ(o.searches, "QRZ");
    EXPECT_EQ(o.lastBackup, kNow);
    EXPECT_EQ(o.colours, DefaultPalette());
    EXPECT_TRUE(o.map.autoClear);
    EXPECT_FALSE(o.map.onTop);
    EXPECT_EQ(o.map.left, 100);
    EXPECT_EQ(o.map.height, 375);
    EXPECT_EQ(o.map.scale, 33);
    EXPECT_FALSE(std::filesystem::exists(file)) << "loading never writes";
    EXPECT_TRUE(traces.empty());
}

TEST_F(Options, OutOfRangeAndUnreadableValuesAreHeldOrDefaulted) {
    Put(file, "[QQ0XYZ]\nVantrelerShowCount=9\nVantrelerColour4=nothex\nVantrelerColour5=123456\n"
              "VantrelerLastbackup=07/12/2026 2:23 PM\nVantrelerAntWarning=1\nVantrelerAntAutoChange=0\n");
    IniSettingsStore s(file, sink);
    StoredOptions o;
    o.antAutoChange = true;
    LoadAll(s, o, false, kNow);
    EXPECT_EQ(o.showCount, 6);
    EXPECT_EQ(o.colours[3], DefaultPalette()[3]);
    EXPECT_EQ(o.colours[4], (Rgb{0x12, 0x34, 0x56}));
    EXPECT_EQ(o.lastBackup, kNow);
    EXPECT_FALSE(o.antWarning) << "read only for the author";
    EXPECT_TRUE(o.antAutoChange) << "left as it was";
    LoadAll(s, o, true, kNow);
    EXPECT_TRUE(o.antWarning);
    EXPECT_FALSE(o.antAutoChange);

    s.WriteInteger("QQ0XYZ", "VantrelerShowCount", 1);
    LoadAll(s, o, false, kNow);
    EXPECT_EQ(o.showCount, 2);
}

StoredOptions Unusual() {
    StoredOptions o;
    o.main = {-20, 40, 1024, 700};
    o.brDist = true;
    o.runs = 17;
    o.allCount = 123456;
    o.datesRun = true;
    o.autoShow = false;
    o.showCount = 5;
    o.rig = "IC-7300 main";
    o.ant = "Hex beam=20m";
    o.exportAdifCount = 4;
    o.mapShow = true;
    o.searches = "HamQTH";
    o.lastBackup = "2025-01-31 00:00:59";
    o.showDetails = o.searchAllTxt = o.refreshAuto = o.antWarning = o.antAutoChange = true;
    o.always50 = o.showRev = true;
    for (std::size_t i = 0; i < o.colours.size(); ++i)
        o.colours[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(200 + i), 0xAB};
    o.map = {5, 6, 700, 400, 50, false, true};
    return o;
}

TEST_F(Options, SaveAllThenLoadAllGivesBackEveryValue) {
    IniSettingsStore s(file, sink);
    const StoredOptions saved = Unusual();
    ASSERT_TRUE(SaveAll(s, saved, {"QQ0XYZ", "/home/op/vantrel/", true}));
    ASSERT_TRUE(SaveMapPlacement(s, saved.map));
    Put(file, Get(file) + "MarliskFolder=/data/marlisk\n[IcomOmniRig]\nRigName=IC-705\n");

    StoredOptions o;
    LoadAll(s, o, true, kNow);
    EXPECT_EQ(o.main, saved.main);
    EXPECT_EQ(o.brDist, saved.brDist);
    EXPECT_EQ(o.runs, saved.runs);
    EXPECT_EQ(o.allCount, saved.allCount);
    EXPECT_EQ(o.datesRun, saved.datesRun);
    EXPECT_EQ(o.autoShow, saved.autoShow);
    EXPECT_EQ(o.showCount, saved.showCount);
    EXPECT_EQ(o.rig, saved.rig);
    EXPECT_EQ(o.ant, saved.ant);
    EXPECT_EQ(o.exportAdifCount, saved.exportAdifCount);
    EXPECT_EQ(o.mapShow, saved.mapShow);
    EXPECT_EQ(o.searches, saved.searches);
    EXPECT_EQ(o.lastBackup, saved.lastBackup);
    EXPECT_EQ(o.showDetails, saved.showDetails);
    EXPECT_EQ(o.searchAllTxt, saved.searchAllTxt);
    EXPECT_EQ(o.refreshAuto, saved.refreshAuto);
    EXPECT_EQ(o.antWarning, saved.antWarning);
    EXPECT_EQ(o.antAutoChange, saved.antAutoChange);
    EXPECT_EQ(o.colours, saved.colours);
    EXPECT_EQ(o.always50, saved.always50);
    EXPECT_EQ(o.showRev, saved.showRev);
    EXPECT_EQ(o.marliskFolder, "/data/marlisk");
    EXPECT_EQ(o.omniRigName, "IC-705");
    EXPECT_EQ(o.map.left, 5);
    EXPECT_EQ(o.map.top, 6);
    EXPECT_EQ(o.map.width, 700);
    EXPECT_EQ(o.map.height, 400);
    EXPECT_EQ(o.map.scale, 50);
    EXPECT_FALSE(o.map.autoClear);
    EXPECT_TRUE(o.map.onTop);
    EXPECT_EQ(s.ReadText("QQ0XYZ", "VantrelerCall", ""), "QQ0XYZ");
    EXPECT_EQ(s.ReadText("QQ0XYZ", "VantrelerLocation", ""), "/home/op/vantrel/");
    EXPECT_EQ(s.ReadText("QQ0XYZ", "VantrelerActive", ""), "1");
    EXPECT_EQ(s.ReadText("QQ0XYZ", "VantrelerColour1", ""), "00C8AB");
    EXPECT_TRUE(traces.empty());
}

TEST_F(Options, PurgeDeletesOnlyTheWindowAndCounterKeys) {
    IniSettingsStore s(file, sink);
    const StoredOptions saved = Unusual();
    ASSERT_TRUE(SaveAll(s, saved, {"QQ0XYZ", "/home/op/vantrel/", false}));
    ASSERT_TRUE(SaveMapPlacement(s, saved.map));
    ASSERT_TRUE(s.WriteText("QQ0XYZ", "VantrelerMapFont", "14"));
    ASSERT_TRUE(s.WriteText("QQ0XYZ", "VantrelerMapFStyle", "Mono"));
    ASSERT_TRUE(s.WriteText("QQ0XYZ", "RotHFAntSel", "Yagi"));
    ASSERT_TRUE(PurgeSettings(s));

    for (const char* gone : {"VantrelerLeft", "VantrelerHeight", "VantrelerRuns", "VantrelerAutoShow",
                             "VantrelerShowCount", "VantrelerRig", "VantrelerMapShow", "VantrelerBr_Dist",
                             "VantrelerMapClear", "VantrelerMapOnTop", "VantrelerMapScale", "VantrelerMapFont"})
        EXPECT_FALSE(s.Read("QQ0XYZ", gone).has_value()) << gone;
    EXPECT_EQ(s.ReadText("QQ0XYZ", "VantrelerCall", ""), "QQ0XYZ");
    EXPECT_EQ(s.ReadText("QQ0XYZ", "VantrelerMapFStyle", ""), "Mono");
    EXPECT_EQ(s.ReadText("QQ0XYZ", "RotHFAntSel", ""), "Yagi");
    EXPECT_EQ(s.ReadText("QQ0XYZ", "VantrelerActive", ""), "0");

    StoredOptions o;
    LoadAll(s, o, true, kNow);
    EXPECT_EQ(o.main, (Placement{30, 30, 660, 600}));
    EXPECT_TRUE(o.autoShow);
    EXPECT_FALSE(o.brDist);
    EXPECT_FALSE(o.mapShow);
    EXPECT_TRUE(o.showDetails && o.searchAllTxt && o.refreshAuto && o.antWarning &&
                o.antAutoChange && o.always50 && o.showRev);
    EXPECT_EQ(o.searches, "HamQTH");
    EXPECT_EQ(o.lastBackup, saved.lastBackup);
    EXPECT_EQ(o.colours, saved.colours);
}

// Records the calls a store receives, to check the order the groups use.
class RecordingStore : public SettingsStore {
public:
    std::optional<std::string> Read(std::string_view, std::string_view) override { return {}; }
    bool Write(std::string_view, std::string_view key, std::string_view) override {
        calls.emplace_back(key);
        return true;
    }
    bool DeleteValue(std::string_view, std::string_view key) override {
        calls.emplace_back(key);
        return true;
    }
    std::vector<std::string> calls;
};

TEST(StoredOptionsOrder, SaveAndPurgeGoThroughTheirKeysInOrder) {
    RecordingStore store;
    SaveAll(store, StoredOptions{}, {});
    ASSERT_EQ(store.calls.size(), 53u);
    EXPECT_EQ(store.calls[0], "VantrelerLeft");
    EXPECT_EQ(store.calls[11], "VantrelerCall");
    EXPECT_EQ(store.calls[17], "VantrelerMapClear");
    EXPECT_EQ(store.calls[38], "VantrelerColour12");
    EXPECT_EQ(store.calls[39], "VantrelerActive");
    EXPECT_EQ(store.calls[40], "VantrelerShowHeard");
    EXPECT_EQ(store.calls[41], "VantrelerHighlight");  // the keys of answering WSJT-X follow
    EXPECT_EQ(store.calls[52], "VantrelerWanted");

    store.calls.clear();
    PurgeSettings(store);
    ASSERT_EQ(store.calls.size(), 22u);
    EXPECT_EQ(store.calls.front(), "VantrelerLeft");
    EXPECT_EQ(store.calls[13], "VantrelerBr_Dist");
    EXPECT_EQ(store.calls.back(), "VantrelerMapFont");
}

}  // namespace
}  // namespace vantrel
