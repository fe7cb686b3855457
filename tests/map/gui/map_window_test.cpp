#include "map/gui/map_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "map/map_part.h"
#include "support/memory_store.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

const fs::path kShippedMaps = fs::path(VANTREL_SOURCE_DIR) / "data/maps";

struct MapWindowFixture {
    MapWindowFixture() : part(store, viewer.path(), kShippedMaps, window) {
        window.Attach(part);
        part.Create();
        part.SetShown(true);
        QApplication::processEvents();
        part.Activated();
    }
    test::TempFolder viewer;
    test::MemoryStore store;
    MapWindow window;
    MapPart part;
};

template <typename W>
W* Find(const QWidget& window, const char* name) {
    W* widget = window.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// The blue pixels of the rendered picture inside the rectangle.
int BluePixels(const QImage& image, QRect area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == qRgb(0, 0, 255)) ++count;
    return count;
}

TEST(MapWindow, LabelIsDrawnBlueAtItsProjectedPointAndSurvivesActivation) {
    MapWindowFixture map;
    EXPECT_EQ(map.window.windowTitle(), QStringLiteral("Vantrel: Approx position map -:- world1723x1307.png"));
    const QImage before = map.window.RenderedPicture();
    ASSERT_EQ(before.width(), map.part.Layout().imageWidth);
    EXPECT_EQ(BluePixels(before, before.rect()), 0);  // no map colour is the label blue

    map.part.FontSizeEdited("20");
    map.part.ShowStation("K1ABC", "FN42");
    // FN42 is latitude 42, longitude -71: picture pixel 520, 398, shown at the picture's scale.
    const QPointF scale = map.window.ShownScale();
    const QPoint corner(static_cast<int>(520 * scale.x()), static_cast<int>(398 * scale.y()));
    const QImage& after = map.window.RenderedPicture();
    const QRect label(corner, QSize(80, 30));
    EXPECT_GT(BluePixels(after, label), 40);
    // Nothing above or to the left of the label's corner changed.
    for (int x = corner.x() - 15; x < corner.x(); ++x) EXPECT_EQ(after.pixel(x, corner.y() + 8), before.pixel(x, corner.y() + 8)) << x;
    for (int y = corner.y() - 15; y < corner.y(); ++y) EXPECT_EQ(after.pixel(corner.x() + 10, y), before.pixel(corner.x() + 10, y)) << y;

    // Activation (a click into the window) reloads the picture and keeps the label.
    map.part.Activated();
    EXPECT_GT(BluePixels(map.window.RenderedPicture(), label), 40);
    // "Redo" starts from a clean picture: the map log has the station, so it is drawn again.
    map.part.Redo();
    EXPECT_GT(BluePixels(map.window.RenderedPicture(), label), 40);
    map.part.Clear();
    map.part.Redo();
    EXPECT_EQ(BluePixels(map.window.RenderedPicture(), label), 0);

    // A larger window shows the picture larger, with the label at the same place on the map.
    map.window.resize(800, 700);
    QApplication::processEvents();
    map.part.Tick();
    map.part.Resized(800, 700);
    map.part.ShowStation("K1ABC", "FN42");  // the square plotted last: Enter plots it again
    map.part.GridEntered();
    const QPointF larger = map.window.ShownScale();
    EXPECT_GT(larger.x(), scale.x());
    const QPoint moved(static_cast<int>(520 * larger.x()), static_cast<int>(398 * larger.y()));
    EXPECT_GT(BluePixels(map.window.RenderedPicture(), QRect(moved, QSize(80, 30))), 40);
}

TEST(MapWindow, ReplotRepaintsOnceAndTypedGridsPlot) {
    MapWindowFixture map;
    std::string calls;
    for (int i = 0; i < 2000; ++i)
        calls += "K" + std::to_string(i) + "AB," + static_cast<char>('A' + i % 18) + static_cast<char>('A' + i / 18 % 18) +
                 std::to_string(i % 10) + std::to_string(i / 10 % 10) + "\n";
    test::WriteFile(map.viewer / "calls.txt", calls);
    const int repaints = map.window.RepaintRequests();
    Find<QPushButton>(map.window, "Log")->click();
    EXPECT_EQ(map.window.RepaintRequests(), repaints + 1);
    EXPECT_EQ(map.part.Labels().size(), 2000u);

    auto* grid = Find<QLineEdit>(map.window, "Grid");
    auto* callsign = Find<QLineEdit>(map.window, "Callsign");
    QTest::keyClicks(callsign, "g4xyz");
    QTest::keyClicks(grid, "io91");
    EXPECT_EQ(grid->text(), QStringLiteral("IO91"));
    EXPECT_EQ(map.part.Labels().back().text, "G4XYZ");
    EXPECT_EQ(Find<QLineEdit>(map.window, "Latitude")->text(), QStringLiteral("51.0"));
    EXPECT_EQ(test::ReadFile(map.viewer / "maplog.txt"), "g4xyz,IO91\n");

    // "<" and ">" through the buttons; the hidden buttons exist but are never shown.
    for (int i = 0; i < 40; ++i) Find<QPushButton>(map.window, "Larger")->click();
    EXPECT_EQ(Find<QLineEdit>(map.window, "FontSize")->text(), QStringLiteral("36"));
    for (const char* name : {"W", "R", "Close"}) EXPECT_TRUE(Find<QPushButton>(map.window, name)->isHidden()) << name;
}

TEST(MapWindow, CloseIsRefusedAndStoresThePlacement) {
    MapWindowFixture map;
    map.window.move(250, 180);
    QApplication::processEvents();
    const MapGeometry where = map.window.CurrentGeometry();
    EXPECT_FALSE(map.window.close());
    EXPECT_TRUE(map.window.isVisible());
    EXPECT_EQ(map.store.Own("VantrelerMapLeft"), std::to_string(where.left));
    EXPECT_EQ(map.store.Own("VantrelerMapTop"), std::to_string(where.top));
    EXPECT_EQ(map.store.Own("VantrelerMapHeight"), std::to_string(where.height));

    Find<QCheckBox>(map.window, "KeepOnTop")->click();
    EXPECT_TRUE(map.window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(map.window.isVisible());
    map.part.SetShown(false);
    EXPECT_FALSE(map.window.isVisible());
}

}  // namespace
}  // namespace vantrel
