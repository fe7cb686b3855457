#include "app/gui/map_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include <set>

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
    // A dot there, the text to its right.
    const QPointF scale = map.window.ShownScale();
    const QPoint corner(static_cast<int>(520 * scale.x()), static_cast<int>(398 * scale.y()));
    const QImage& after = map.window.RenderedPicture();
    EXPECT_EQ(after.pixel(corner), qRgb(0, 0, 255));
    const QRect label(corner - QPoint(0, 15), QSize(80, 30));
    EXPECT_GT(BluePixels(after, label), 40);
    // Nothing to the left of the dot or well above it changed.
    for (int x = corner.x() - 15; x < corner.x() - 3; ++x) EXPECT_EQ(after.pixel(x, corner.y()), before.pixel(x, corner.y())) << x;
    for (int y = corner.y() - 30; y < corner.y() - 16; ++y) EXPECT_EQ(after.pixel(corner.x() + 10, y), before.pixel(corner.x() + 10, y)) << y;
    EXPECT_EQ(map.window.StatusText(), QStringLiteral("1 station, 1 labelled"));

    // Activation (a click into the window) reloads the picture and keeps the label.
    map.part.Activated();
    EXPECT_GT(BluePixels(map.window.RenderedPicture(), label), 40);
    // "Redo" starts from a clean picture: the map log has the station, so it is drawn again.
    map.part.Redo();
    EXPECT_GT(BluePixels(map.window.RenderedPicture(), label), 40);
    // "Clear" takes everything off the map; the map log is gone, so "Redo" draws nothing.
    map.part.Clear();
    EXPECT_EQ(BluePixels(map.window.RenderedPicture(), label), 0);
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
    EXPECT_GT(BluePixels(map.window.RenderedPicture(), QRect(moved - QPoint(0, 15), QSize(80, 30))), 40);
}

TEST(MapWindow, ReplotRepaintsOnceAndTypedGridsPlot) {
    MapWindowFixture map;
    std::string calls;
    std::set<std::string> squares;
    for (int i = 0; i < 2000; ++i) {
        const std::string grid = std::string{static_cast<char>('A' + i % 18), static_cast<char>('A' + i / 18 % 18)} +
                                 std::to_string(i % 10) + std::to_string(i / 10 % 10);
        calls += "K" + std::to_string(i) + "AB," + grid + "\n";
        squares.insert(grid);
    }
    test::WriteFile(map.viewer / "calls.txt", calls);
    const int repaints = map.window.RepaintRequests();
    Find<QPushButton>(map.window, "Log")->click();
    EXPECT_EQ(map.window.RepaintRequests(), repaints + 1);
    EXPECT_EQ(map.part.Labels().size(), 2000u);
    // Every station has its dot; labels that would overlap are left out and counted.
    const QRegularExpression counts(QStringLiteral("^2,000 stations, ([0-9,]+) labelled$"));
    const QRegularExpressionMatch match = counts.match(map.window.StatusText());
    ASSERT_TRUE(match.hasMatch()) << map.window.StatusText().toStdString();
    const int labelled = match.captured(1).remove(',').toInt();
    EXPECT_GT(labelled, 20);
    EXPECT_LT(labelled, 1000);

    auto* grid = Find<QLineEdit>(map.window, "Grid");
    auto* callsign = Find<QLineEdit>(map.window, "Callsign");
    QTest::keyClicks(callsign, "g4xyz");
    QTest::keyClicks(grid, "io91");
    EXPECT_EQ(grid->text(), QStringLiteral("IO91"));
    EXPECT_EQ(map.part.Labels().back().text, "G4XYZ");
    EXPECT_EQ(Find<QLineEdit>(map.window, "Latitude")->text(), QStringLiteral("51.0"));
    EXPECT_EQ(test::ReadFile(map.viewer / "maplog.txt"), "g4xyz,IO91\n");
    // The station typed is labelled whatever it lands on.
    EXPECT_EQ(map.window.StatusText(), QStringLiteral("2,001 stations, %1 labelled").arg(labelled + 1));

    // With nothing logged today the map stays and says so.
    Find<QPushButton>(map.window, "Today")->click();
    EXPECT_EQ(map.window.StatusText(), QStringLiteral("No contacts today"));
    EXPECT_EQ(map.part.Labels().size(), 2001u);

    // With "Grids", "Log" shades the worked squares instead of writing them.
    Find<QRadioButton>(map.window, "Grids")->click();
    Find<QPushButton>(map.window, "Log")->click();
    EXPECT_TRUE(map.part.Labels().empty());
    ASSERT_EQ(squares.size(), 2000u);  // each callsign in a square of its own
    EXPECT_EQ(map.part.Squares().size(), 2000u);
    EXPECT_EQ(map.window.StatusText(), QStringLiteral("2,000 stations in 2,000 grid squares"));
    // A worked square is shaded blue at its centre.
    const std::string& worked = *squares.rbegin();
    const double longitude = (worked[0] - 'A') * 20 - 180 + (worked[2] - '0') * 2 + 1;
    const double latitude = (worked[1] - 'A') * 10 - 90 + (worked[3] - '0') + 0.5;
    const QPointF scale = map.window.ShownScale();
    const QRgb centre = map.window.RenderedPicture().pixel(static_cast<int>((860 + longitude * 1723 / 360) * scale.x()),
                                                           static_cast<int>((660 - latitude * 560 / 90) * scale.y()));
    EXPECT_GT(qBlue(centre), qRed(centre) + 40);

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
