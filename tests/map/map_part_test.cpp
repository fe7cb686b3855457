#include "map/map_part.h"

#include <gtest/gtest.h>

#include "map/map_sources.h"
#include "map/recording_map_view.h"
#include "map/test_png.h"
#include "support/memory_store.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

const fs::path kShippedMaps = fs::path(VANTREL_SOURCE_DIR) / "data/maps";

// A map part over a fresh viewer folder with the shipped images, its window shown and active.
struct MapFixture {
    explicit MapFixture(fs::path shipped = kShippedMaps)
        : part(store, viewer.path(), std::move(shipped), view,
               {[this] { ++mapBoxUnchecked; }, [this] { ++wildSearchUnchecked; },
                [this](std::function<void(const LogLines&)> work) { work(localLog); }}) {}
    void Open() {
        part.Create();
        part.SetShown(true);
        part.Activated();
    }
    test::TempFolder viewer;
    test::MemoryStore store;
    test::RecordingMapView view;
    int mapBoxUnchecked = 0, wildSearchUnchecked = 0;
    LogLines localLog;  // the engine's local log
    MapPart part;
};

TEST(MapPart, ActivationChoosesTheLargestImageAndLaysOutTheWindow) {
    MapFixture map;
    EXPECT_TRUE(map.part.MapAvailable());
    map.Open();
    EXPECT_EQ(map.view.caption, "Vantrel: Approx position map -:- world1723x1307.png");
    ASSERT_TRUE(map.view.picture);
    EXPECT_EQ(map.view.picture->width, 1723);
    EXPECT_TRUE(map.view.messages.empty());
    // Shown at the main window's placement (100, 100, 660 x 375): picture 275 high, 363 wide
    // (362.53 rounded), centred in the window, which keeps its size.
    EXPECT_EQ(map.view.layout.window, (MapGeometry{100, 100, 660, 375}));
    EXPECT_EQ(map.view.layout.imageHeight, 275);
    EXPECT_EQ(map.view.layout.imageWidth, 363);
    EXPECT_EQ(map.view.layout.imageLeft, 148);
    EXPECT_EQ(map.part.ScalePercent(), 21);
    EXPECT_EQ(map.part.QuietSeconds(), 0);

    // A tall narrow window: the whole picture at the width there is, in its proportions.
    map.part.Tick();
    map.view.layout.window = {100, 100, 600, 600};
    map.part.Resized(600, 600);
    EXPECT_EQ(map.view.layout.window, (MapGeometry{100, 100, 600, 600}));
    EXPECT_EQ(map.view.layout.imageWidth, 540);
    EXPECT_EQ(map.view.layout.imageHeight, 410);  // 409.6
    EXPECT_EQ(map.view.layout.imageLeft, 30);
    // A wide one: as high as the window allows.
    map.view.layout.window = {100, 100, 1600, 600};
    map.part.Resized(1600, 600);
    EXPECT_EQ(map.view.layout.imageHeight, 500);
    EXPECT_EQ(map.view.layout.imageWidth, 659);  // 659.14
    EXPECT_EQ(map.view.layout.imageLeft, 470);
}

TEST(MapPart, ImagesAreFoundInTheViewerFolderFirstAndTheirAbsenceIsReported) {
    MapFixture map;
    test::PngSpec tiny;
    tiny.width = 4;
    tiny.height = 2;
    tiny.rows.assign(2, std::vector<unsigned char>(12, 200));
    test::WritePng(map.viewer / "world1723x1307.png", tiny);
    map.Open();
    ASSERT_TRUE(map.view.picture);
    EXPECT_EQ(map.view.picture->width, 4);

    // A damaged image: the error is shown and the picture stays as it was.
    const auto shown = map.view.picture;
    WriteFile(map.viewer / "world1723x1307.png", "not a picture");
    map.part.Activated();
    EXPECT_EQ(map.view.messages, std::vector<std::string>{"Error: Error Reading File! " +
                                                          (map.viewer / "world1723x1307.png").string() +
                                                          ": Not a PNG file"});
    EXPECT_EQ(map.view.picture, shown);

    test::TempFolder empty;
    MapFixture none(empty.path());
    EXPECT_FALSE(none.part.MapAvailable());
    none.Open();
    EXPECT_EQ(none.view.caption, "Vantrel: Approx position map -:- world600x300.png");
    EXPECT_EQ(none.view.messages, std::vector<std::string>{"Mapping error: No map files located..."});
    EXPECT_EQ(none.mapBoxUnchecked, 1);
    EXPECT_FALSE(none.view.picture);
}

TEST(MapPart, GridFieldPlotsEachNewSquareOnceAndLogsIt) {
    MapFixture map;
    map.Open();
    map.part.ShowStation("k1abc", "FN4");  // three characters: never plotted
    map.part.ShowStation("k1abc", "ZZ99");  // not a locator: never plotted, nor logged
    map.part.GridEdited("HELLO");
    EXPECT_TRUE(map.view.labels.empty());
    map.part.GridEntered();  // Enter on it says so
    EXPECT_EQ(map.view.messages, std::vector<std::string>{"Grid: Not a grid locator: HELLO"});

    map.part.ShowStation("k1abc", "fn42\r");
    ASSERT_EQ(map.view.labels.size(), 1u);
    EXPECT_EQ(map.view.labels[0].text, "K1ABC");
    EXPECT_EQ(map.view.labels[0].x, 520);  // 860 - 71 * 1723 / 360 = 520.19
    EXPECT_EQ(map.view.labels[0].y, 398);  // 660 - 42 * 560 / 90 = 398.67
    EXPECT_EQ(map.view.labels[0].fontName, "Courier New");
    EXPECT_EQ(map.view.labels[0].fontSize, 12);
    EXPECT_EQ(map.view.fields.grid, "FN42");
    EXPECT_EQ(map.view.fields.latitude, "42.0");
    EXPECT_EQ(map.view.fields.longitude, "-71.0");

    map.part.ShowStation("K1ABC", "FN42");  // the same square again
    EXPECT_EQ(map.view.labels.size(), 1u);
    map.part.GridEntered();  // Enter plots it whatever was plotted last
    EXPECT_EQ(map.view.labels.size(), 2u);

    map.part.LabelKindChosen(false);  // "Grids"
    map.part.ShowStation("", "jn58td");
    ASSERT_EQ(map.view.labels.size(), 3u);
    EXPECT_EQ(map.view.labels[2].text, "JN58");
    EXPECT_EQ(map.view.repaints, 1 + 3);  // the picture, then one repaint per label

    map.part.ExploreClicked(true);  // Explore plots nothing
    map.part.ShowStation("G4XYZ", "IO91");
    EXPECT_EQ(map.view.labels.size(), 3u);
    EXPECT_EQ(ReadFile(map.viewer / "maplog.txt"), "k1abc,FN42\n");  // the callsign field as it was
}

TEST(MapPart, QuietSecondsEmptyTheFieldsFiveSecondsAfterTheLastChange) {
    MapFixture map;
    map.Open();
    map.part.ShowStation("K1ABC", "FN42");
    for (int i = 0; i < 4; ++i) map.part.Tick();
    EXPECT_EQ(map.view.fields.grid, "FN42");
    map.part.Tick();
    EXPECT_EQ(map.view.fields.grid, "");
    EXPECT_EQ(map.view.fields.callsign, "");
    EXPECT_EQ(map.part.QuietSeconds(), 2);

    // In Explore mode too, which is then left; the read-out stays.
    map.part.ExploreClicked(true);
    map.part.PointerMoved(110, 84);
    EXPECT_EQ(map.view.fields.longitude, "-70.6");
    EXPECT_EQ(map.view.fields.latitude, "42.0");
    EXPECT_EQ(map.view.fields.grid, "FN41");
    EXPECT_EQ(map.view.labels.size(), 1u);
    for (int i = 0; i < 5; ++i) map.part.Tick();
    EXPECT_EQ(map.view.fields.grid, "");
    EXPECT_FALSE(map.view.fields.explore);
    EXPECT_EQ(map.view.fields.latitude, "42.0");
}

TEST(MapPart, ClickLabelsAndLabelsKeptOverAReloadedPicture) {
    MapFixture map;
    map.Open();
    map.part.ExploreClicked(true);
    map.part.PointerMoved(110, 84);
    map.part.Clicked(110, 84);
    ASSERT_EQ(map.view.labels.size(), 1u);
    EXPECT_EQ(map.view.labels[0].text, "FN41");
    EXPECT_EQ(map.view.labels[0].x, 522);  // 110 / (363 / 1723)
    EXPECT_EQ(map.view.labels[0].y, 398);
    map.part.Clicked(362, 84);  // near the right edge the dot stays where the click was
    EXPECT_EQ(map.view.labels[1].x, 1718);
    EXPECT_TRUE(map.view.labels[1].always);

    // Activation reloads the picture and draws the labels again over it.
    map.part.ExploreClicked(false);
    map.part.ShowStation("K1ABC", "FN42");
    map.part.Activated();
    EXPECT_EQ(map.view.pictureLoads, 2);
    ASSERT_EQ(map.view.labels.size(), 3u);
    EXPECT_EQ(map.view.labels[2].text, "K1ABC");
}

TEST(MapPart, ReplotsFromTheMapLogTheCallsignListAndTheDaysContacts) {
    MapFixture map;
    map.Open();
    WriteFile(map.viewer / "maplog.txt", "K1ABC,FN42\r\n,JN58\nW1AW,\n");
    map.part.Redo();
    ASSERT_EQ(map.view.labels.size(), 2u);  // the line without a callsign has no label text
    EXPECT_EQ(map.view.labels[1].text, "W1AW");
    EXPECT_EQ(map.view.labels[1].x, 860);  // an empty grid is latitude 0, longitude 0
    EXPECT_EQ(map.view.labels[1].y, 660);

    // "Log" without calls.txt does nothing at all.
    const int loads = map.view.pictureLoads;
    map.part.Log();
    EXPECT_EQ(map.view.pictureLoads, loads);
    EXPECT_EQ(map.view.labels.size(), 2u);

    WriteFile(map.viewer / "calls.txt", "K1ABC,FN42\nW1AW,\nG4XYZ,IO91\n");
    const int repaints = map.view.repaints;
    map.part.Log();
    ASSERT_EQ(map.view.labels.size(), 2u);  // a clean picture; the line without a grid skipped
    EXPECT_EQ(map.view.labels[1].text, "G4XYZ");
    EXPECT_EQ(map.view.repaints, repaints + 1);

    map.localLog = LogLines::FromBytes("2026-03-04,2300,2026-03-04,2301,G4XYZ,IO91,14.074,FT8\n"
                                     "2026-03-05,0900,2026-03-05,0901,K1ABC,FN42,14.074,FT8\n"
                                     "05/03/2026,0905,05/03/2026,0906,W1AW,FN31,7.074,FT8\n"
                                     "2026-03-05,1000,2026-03-05,1001,JA1XYZ,PM95,21.074,FT8\n");
    const TimePoint now = FromLocalTime({2026, 3, 5, 12, 0, 0, 0});
    map.part.Today(now);
    ASSERT_EQ(map.view.labels.size(), 2u);
    EXPECT_EQ(map.view.labels[0].text, "K1ABC");
    EXPECT_EQ(map.view.labels[1].text, "JA1XYZ");
    map.part.Yesterday(now);
    ASSERT_EQ(map.view.labels.size(), 1u);
    EXPECT_EQ(map.view.labels[0].text, "G4XYZ");
    EXPECT_FALSE(map.view.labels[0].always);  // a replot's labels give way to each other
    // A day without contacts leaves the map as it is and says so.
    const int shownLoads = map.view.pictureLoads;
    map.part.Today(FromLocalTime({2026, 3, 9, 12, 0, 0, 0}));
    map.part.Yesterday(FromLocalTime({2026, 3, 9, 12, 0, 0, 0}));
    EXPECT_EQ(map.view.status, "No contacts yesterday");
    EXPECT_EQ(map.view.pictureLoads, shownLoads);
    EXPECT_EQ(map.view.labels.size(), 1u);
    EXPECT_EQ(LocalDateText(FromLocalTime({2024, 3, 1, 0, 30, 0, 0}), 1), "2024-02-29");

    // A replot straight after an activation (the click on its button) draws all the same.
    map.part.Activated();
    map.part.Log();
    EXPECT_EQ(map.view.labels.size(), 2u);

    // "Clear" deletes the map log and unticks the main window's wild search; "Redo" then only
    // reloads the picture.
    map.part.ShowStation("K1ABC", "FN42");
    EXPECT_TRUE(fs::exists(map.viewer / "maplog.txt"));
    map.part.Clear();
    EXPECT_FALSE(fs::exists(map.viewer / "maplog.txt"));
    EXPECT_EQ(map.wildSearchUnchecked, 1);
    EXPECT_EQ(map.view.fields.grid, "");
    EXPECT_TRUE(map.view.labels.empty());  // the labels go at once
    map.part.Redo();
    EXPECT_TRUE(map.view.labels.empty());
    ASSERT_TRUE(map.view.picture);
}

TEST(MapPart, FontSizeLimitsAndTheNineStoredKeys) {
    MapFixture map;
    map.Open();
    EXPECT_EQ(map.view.options.fontName, "Courier New");
    map.part.FontSizeEdited("4");
    map.part.FontSmaller();
    EXPECT_EQ(map.view.options.fontSize, "3");
    map.part.FontSmaller();
    EXPECT_EQ(map.view.options.fontSize, "3");
    map.part.FontSizeEdited("36");
    map.part.FontLarger();
    EXPECT_EQ(map.view.options.fontSize, "36");
    EXPECT_EQ(map.store.Own("VantrelerMapFont"), "36");

    // A field that is not a whole number keeps the last good size.
    map.part.FontSizeEdited("1x");
    EXPECT_EQ(map.part.FontSize(), 36);
    map.part.ShowStation("K1ABC", "FN42");
    EXPECT_EQ(map.view.labels.back().fontSize, 36);
    map.part.FontSmaller();
    EXPECT_EQ(map.view.options.fontSize, "35");

    // The refused close stores where the operator left the window.
    map.view.layout.window = {321, 123, 700, 500};
    map.part.KeepOnTopClicked(true);
    map.part.FontNameChanged("DejaVu Sans Mono");
    map.part.CloseRequested();
    EXPECT_EQ(map.store.Own("VantrelerMapLeft"), "321");
    EXPECT_EQ(map.store.Own("VantrelerMapTop"), "123");
    EXPECT_EQ(map.store.Own("VantrelerMapWidth"), "700");
    EXPECT_EQ(map.store.Own("VantrelerMapHeight"), "500");
    EXPECT_EQ(map.store.Own("VantrelerMapOnTop"), "1");
    EXPECT_EQ(map.store.Own("VantrelerMapClear"), "1");
    EXPECT_EQ(map.store.Own("VantrelerMapFStyle"), "DejaVu Sans Mono");
    EXPECT_TRUE(map.store.Has("VantrelerMapScale"));

    // A later run reads them back.
    MapFixture next;
    next.store.values = map.store.values;
    next.part.Create();
    EXPECT_EQ(next.view.layout.window, (MapGeometry{321, 123, 700, 500}));
    EXPECT_TRUE(next.view.options.onTop);
    EXPECT_EQ(next.view.options.fontSize, "35");
    EXPECT_EQ(next.view.options.fontName, "DejaVu Sans Mono");
}

TEST(MapPart, PlacementKeysOfTheMainWindow) {
    MapFixture map;
    map.part.Create();
    EXPECT_EQ(map.view.layout.window, (MapGeometry{200, 200, 660, 375}));  // the window's own defaults
    map.part.SetShown(true);
    EXPECT_TRUE(map.part.Visible());
    EXPECT_EQ(map.view.layout.window, (MapGeometry{100, 100, 660, 375}));  // the main window's
    // "Reset Map position and size": 600 wide and as high as the whole picture needs
    // (540 / 1.318 = 410 for the picture, 100 for the controls).
    map.view.layout.window = {400, 300, 720, 610};
    map.part.ResetMapPlacement();
    EXPECT_EQ(map.view.layout.window, (MapGeometry{100, 100, 600, 510}));
    EXPECT_FALSE(map.store.Has("VantrelerMapLeft"));  // nothing stored until saved
    map.part.SetShown(false);
    EXPECT_FALSE(map.part.Visible());
    EXPECT_EQ(map.store.Own("VantrelerMapLeft"), "100");
    EXPECT_EQ(map.store.Own("VantrelerMapHeight"), "510");

    // While hidden it takes effect when the window is next shown, over the stored place.
    map.store.values.clear();
    map.part.ResetMapPlacement();
    map.part.SetShown(true);
    map.part.Activated();
    EXPECT_EQ(map.view.layout.window, (MapGeometry{100, 100, 600, 510}));
    EXPECT_EQ(map.view.layout.imageWidth, 540);
    EXPECT_EQ(map.view.layout.imageHeight, 410);
}

}  // namespace
}  // namespace vantrel
