// The places row and its two panels, the settings listing and About in the details panel, and
// the menus that reach them, in a shown main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include "app/gui/find_child.h"
#include "app/gui/main_window.h"
#include "app/gui/palette_colours.h"

namespace vantrel {
namespace {

using test::Find;

class PanelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    GridInfo Berlin() const {
        GridInfo info;
        info.locator = "JO62";
        info.centre = "Lat: 52.50    Long: 13.00 (centre)";
        info.bearing = "Bearing: 34 deg Distance: 7046 KM";
        info.from = "(from EN37)";
        info.reverse = "Rev: 214";
        info.bearingNumber = "34";
        info.country = "Country: Fed. Rep. of Germany";
        info.places = {"JO62QM # Fed. Rep. of Germany # Berlin", "JO62AN # Fed. Rep. of Germany # Sch\xC3\xB6nhausen"};
        info.placesVisible = true;
        return info;
    }
    MainWindow window;
    PlacesPanels& places = window.Places();
};

TEST_F(PanelsTest, GridPanelShowsTheLookupAndReportsItsClicks) {
    QSignalSpy closes(&places, &PlacesPanels::gridInfoCloseClicked);
    QSignalSpy bearing(&places, &PlacesPanels::bearingDoubleClicked);
    QSignalSpy pressed(&places, &PlacesPanels::gridListPressed);
    QSignalSpy released(&places, &PlacesPanels::gridListReleased);
    QSignalSpy lookups(&places, &PlacesPanels::lookupRequested);

    auto* field = Find<QLineEdit>(window, "Edit10");
    QTest::mouseClick(field, Qt::LeftButton);  // a click into the field closes the panel
    EXPECT_EQ(closes.size(), 1);
    QTest::keyClicks(field, "JO62");
    QTest::keyClick(field, Qt::Key_Return);
    Find<QPushButton>(window, "LookupButton")->click();
    ASSERT_EQ(lookups.size(), 2);
    EXPECT_EQ(lookups[0][0].toString(), "JO62");

    window.Places().ShowGridInfo(Berlin());
    auto* panel = Find<QWidget>(window, "Panel7");
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(Find<QLabel>(window, "GridInfoCountry")->text(), "Country: Fed. Rep. of Germany");
    auto* list = Find<QListWidget>(window, "GridInfoPlaces");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), QString::fromUtf8("JO62AN # Fed. Rep. of Germany # Sch\xC3\xB6nhausen"));
    // Every line can be read whole.
    for (const char* name : {"GridInfoLocator", "GridInfoCentre", "GridInfoBearing", "GridInfoCountry"}) {
        auto* line = Find<QLabel>(window, name);
        EXPECT_GE(line->width(), line->sizeHint().width()) << name;
    }

    // A click on an information line does nothing; a double click on the bearing copies it.
    auto* bearingLine = Find<QLabel>(window, "GridInfoBearing");
    QTest::mouseClick(bearingLine, Qt::LeftButton);
    QTest::mouseDClick(bearingLine, Qt::LeftButton);
    EXPECT_EQ(bearing.size(), 1);
    EXPECT_EQ(closes.size(), 1);
    // A click on the list holds the timer while pressed, then closes.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(pressed.size(), 1);
    EXPECT_EQ(released.size(), 1);
    EXPECT_EQ(closes.size(), 2);
    QTest::mouseClick(Find<QLabel>(window, "GridInfoClose"), Qt::LeftButton);
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(panel->width() - 4, panel->height() - 4));
    EXPECT_EQ(closes.size(), 4);

    // Closed by the timer the field keeps its text; closed by a click it is emptied.
    window.Places().HideGridInfo(false);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(field->text(), "JO62");
    window.Places().HideGridInfo(true);
    EXPECT_TRUE(field->text().isEmpty());
    // Without places the list is not shown.
    GridInfo empty = Berlin();
    empty.placesVisible = false;
    empty.country.clear();
    window.Places().ShowGridInfo(empty);
    EXPECT_FALSE(list->isVisible());
    EXPECT_FALSE(Find<QLabel>(window, "GridInfoCountry")->isVisible());
}

TEST_F(PanelsTest, PlacesPanelListsTheSearchAcrossTheWindow) {
    QSignalSpy edited(&places, &PlacesPanels::placesTextEdited);
    QSignalSpy entered(&places, &PlacesPanels::placesEntered);
    QSignalSpy closes(&places, &PlacesPanels::placesCloseRequested);
    QSignalSpy copies(&places, &PlacesPanels::copyPlacesRequested);
    auto* field = Find<QLineEdit>(window, "Edit11");
    QTest::keyClicks(field, "new york");
    EXPECT_EQ(edited.size(), 8);
    window.Places().SetExtendedVisible(true);
    Find<QCheckBox>(window, "CheckBox6")->setChecked(true);
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_EQ(entered.size(), 1);
    EXPECT_EQ(entered[0][0].toString(), "new york");
    EXPECT_TRUE(entered[0][1].toBool());

    PlacesSearchResult result;
    result.prefixLines = {"K,KH6,KL7,"};
    result.lines = {"Searching for new york ...  Please wait..", "", "FN30AS\t\tUnited States\t\tNew York City"};
    result.matches = 1;
    result.matchLabel = "Matches : 1";
    window.Places().ShowPlaces(result);
    auto* panel = Find<QWidget>(window, "Panel9");
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->width(), window.width() - 60);
    EXPECT_EQ(Find<QLabel>(window, "PlacesMatches")->text(), "Matches : 1");
    EXPECT_EQ(Find<QPlainTextEdit>(window, "PlacesPrefixes")->toPlainText(), "K,KH6,KL7,");
    auto* list = Find<QListView>(window, "PlacesList");
    ASSERT_EQ(list->model()->rowCount(), 3);
    // The two tabs after each field line the columns up.
    EXPECT_EQ(list->model()->index(2, 0).data().toString(),
              "FN30AS" + QString(10, ' ') + "United States" + QString(11, ' ') + "New York City");
    window.resize(800, window.height());
    QTest::qWait(20);
    EXPECT_EQ(panel->width(), 800 - 60);

    Find<QPushButton>(window, "PlacesClipboard")->click();
    EXPECT_EQ(copies.size(), 1);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(2, 0)).center());
    EXPECT_EQ(closes.size(), 1);
    window.Places().HidePlaces();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(list->model()->rowCount(), 0);
    window.Places().EmptyPlacesField();
    EXPECT_TRUE(field->text().isEmpty());
}

TEST_F(PanelsTest, InfoPanelAndItsMenus) {
    EngineViews views = window.Views();
    InfoPanel listing{"Registry settings:", kSettingsListingBackground, {{"Main program window sizes"}, {"Left position: 30"}}};
    views.info.ShowInfoPanel(listing);
    ASSERT_TRUE(window.DetailsPanelVisible());
    EXPECT_EQ(Find<QLabel>(window, "Label12")->text(), "Registry settings:");
    auto* box = Find<QTextEdit>(window, "RichEdit2");
    EXPECT_EQ(box->toPlainText(), "Main program window sizes\nLeft position: 30");
    EXPECT_EQ(box->palette().color(QPalette::Base), QColor(0xC0, 0xDC, 0xC0));

    views.info.ShowInfoPanel({"Vantrel source information", std::nullopt, AboutLines("1.0.0.1")});
    EXPECT_NE(box->palette().color(QPalette::Base), QColor(0xC0, 0xDC, 0xC0));
    const QTextCharFormat first = box->document()->firstBlock().begin().fragment().charFormat();
    EXPECT_EQ(first.foreground().color(), QColor(window.palette()[0].r, window.palette()[0].g, window.palette()[0].b));
    EXPECT_EQ(first.fontWeight(), QFont::Bold);
    // Sky blue (palette colour 4) would hardly read on white: it is drawn darker, in its own hue.
    const QColor body = box->document()->findBlockByNumber(3).begin().fragment().charFormat().foreground().color();
    const QColor sky(window.palette()[3].r, window.palette()[3].g, window.palette()[3].b);
    EXPECT_GE(ContrastRatio(ToRgb(body), ToRgb(box->palette().color(QPalette::Base))), kReadableContrast);
    EXPECT_NEAR(body.hsvHue(), sky.hsvHue(), 3);

    // The menus: "Update CTY.DAT file" in "File", the listings and viewers in "View", "About".
    std::vector<Command> commands;
    std::vector<InfoCommand> infos;
    QObject::connect(&window, &MainWindow::commandRequested, &window, [&](Command c) { commands.push_back(c); });
    QObject::connect(&window, &MainWindow::infoRequested, &window, [&](InfoCommand c) { infos.push_back(c); });
    QAction* update = Find<QAction>(window, "UpdateCtyAction");
    EXPECT_EQ(update->text(), "Update CTY.DAT file");
    update->trigger();
    EXPECT_EQ(commands, std::vector<Command>{Command::UpdateCtyDat});
    QStringList viewEntries;
    for (QAction* action : Find<QMenu>(window, "ViewMenu")->actions())
        if (!action->isSeparator()) viewEntries << action->text();
    EXPECT_EQ(viewEntries, (QStringList{"Show last 50 QSOs", "Show Registry values", "Show Vantrel data file",
                                        "Show WSJTX.log file", "Show grids.txt file", "Show WSJT-X.ini file",
                                        "Show Viewer data folder", "Show recent RAW activity", "Journal audit", "Awards",
                                        "Show stations heard", "Reset Map position and size"}));
    QMenu* about = Find<QMenu>(window, "AboutMenu");
    ASSERT_EQ(about->actions().size(), 1);
    EXPECT_EQ(about->title(), "&About");
    EXPECT_EQ(about->actions()[0]->text(), "About");
    about->actions()[0]->trigger();
    Find<QAction>(window, "ShowRegistryAction")->trigger();
    EXPECT_EQ(infos, (std::vector<InfoCommand>{InfoCommand::About, InfoCommand::ShowSettings}));
}

}  // namespace
}  // namespace vantrel
