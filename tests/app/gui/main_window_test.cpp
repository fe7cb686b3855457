#include "app/gui/main_window.h"
#include "app/gui/find_child.h"

#include <gtest/gtest.h>

#include <QTest>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QSlider>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <tuple>
#include <utility>
#include <vector>

namespace vantrel {

namespace {

using test::Find;

QAction* FindAction(const MainWindow& window, const char* name) {
    return Find<QAction>(window, name);
}

// Counts the emissions of a signal without arguments.
template <typename Signal>
std::shared_ptr<int> Count(MainWindow& window, Signal signal) {
    auto count = std::make_shared<int>(0);
    QObject::connect(&window, signal, &window, [count] { ++*count; });
    return count;
}

// The values that the option controls hold.
auto OptionFields(const StoredOptions& o) {
    return std::tie(o.brDist, o.autoShow, o.showDetails, o.searchAllTxt, o.mapShow, o.antWarning,
                    o.antAutoChange, o.always50, o.showHeard, o.showCount, o.searches, o.rig, o.ant);
}

// What the option controls show, read off the widgets.
StoredOptions Shown(MainWindow& window) {
    StoredOptions o;
    auto ticked = [&](const char* name) { return Find<QCheckBox>(window, name)->isChecked(); };
    o.brDist = ticked("BrDist");
    o.autoShow = ticked("AutoShow");
    o.showDetails = ticked("ShowDetails");
    o.searchAllTxt = ticked("AllTxt");
    o.mapShow = ticked("CheckBox3");
    o.antWarning = ticked("CheckBox5");
    o.antAutoChange = ticked("CheckBox10");
    o.always50 = Find<QAction>(window, "Always50Action")->isChecked();
    o.showHeard = Find<QAction>(window, "HeardAction")->isChecked();
    o.showCount = Find<QSlider>(window, "CountSlider")->value();
    o.searches = Find<QComboBox>(window, "ComboBox3")->currentText().toStdString();
    o.rig = Find<QComboBox>(window, "ComboBox1")->currentText().toStdString();
    o.ant = Find<QComboBox>(window, "ComboBox2")->currentText().toStdString();
    return o;
}

TEST(MainWindow, StationViewTextsReachTheirBoxes) {
    MainWindow window;
    window.SetCaption("Vantrel for WSJT-X - Version 1.0.0.1  Build: 07Dec26");
    window.ShowStationDetails("QQ0XYZ", "JO62QM");
    window.ShowN1mm("127.0.0.1", "2333", "");
    window.ShowEntries("1234");
    window.ShowLastContact("2024-03-05,10:15:00,2024-03-05,10:16:30,QZ9ZZ,FN42,14.074,FT8");
    window.ShowStatus("UDP port 2333 could not be bound");

    EXPECT_EQ(window.windowTitle(), "Vantrel for WSJT-X - Version 1.0.0.1  Build: 07Dec26");
    EXPECT_EQ(Find<QLineEdit>(window, "Edit3")->text(), "QQ0XYZ");
    EXPECT_EQ(Find<QLineEdit>(window, "Edit4")->text(), "JO62QM");
    EXPECT_EQ(Find<QLineEdit>(window, "Edit6")->text(), "127.0.0.1");
    EXPECT_EQ(Find<QLineEdit>(window, "Edit7")->text(), "2333");
    EXPECT_EQ(Find<QLineEdit>(window, "Edit5")->text(), "1234");
    EXPECT_EQ(Find<QTextEdit>(window, "Edit2")->toPlainText(),
              "2024-03-05,10:15:00,2024-03-05,10:16:30,QZ9ZZ,FN42,14.074,FT8");
    EXPECT_EQ(window.statusBar()->currentMessage(), "UDP port 2333 could not be bound");
    // Until a receiver listens, the N1MM panel says why.
    window.ShowN1mm("127.0.0.1", "2333", "Cannot receive logged contacts on 127.0.0.1:2333: in use");
    EXPECT_EQ(Find<QLineEdit>(window, "Edit6")->toolTip(), "Cannot receive logged contacts on 127.0.0.1:2333: in use");

    // Texts from the data files may carry UTF-8; they are shown decoded.
    window.ShowStationDetails("QQ0XYZ", "Z\xC3\xBCrich");
    EXPECT_EQ(Find<QLineEdit>(window, "Edit4")->text(), QString::fromUtf8("Z\xC3\xBCrich"));
}

TEST(MainWindow, ProgressShowsPanelAndClampedBar) {
    MainWindow window;
    auto* panel = Find<QWidget>(window, "Panel5");
    auto* bar = Find<QProgressBar>(window, "ProgressBar");
    EXPECT_TRUE(panel->isHidden());
    window.ShowProgress(true, 66);
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(bar->value(), 66);
    window.ShowProgress(true, 250);
    EXPECT_EQ(bar->value(), 100);
    window.ShowProgress(false, 100);
    EXPECT_TRUE(panel->isHidden());
}

TEST(MainWindow, EveryRegionSwitchesItsControls) {
    MainWindow window;
    const std::vector<std::pair<Region, std::vector<const char*>>> widgets = {
        {Region::CallsignList, {"richedit1"}},    {Region::SearchOptions, {"Panel1"}},
        {Region::LoggedAs, {"Panel2"}},           {Region::N1mm, {"Panel3"}},
        {Region::RadioGear, {"Panel4"}},          {Region::LastButtons, {"Last50", "Today"}},
        {Region::MapCheck, {"CheckBox3"}},        {Region::MapButton, {"Button5"}},
        {Region::DetailsPanel, {"Panel6"}},       {Region::ProgressPanel, {"Panel5"}},
        {Region::PlacesRow, {"PlacesRow"}},       {Region::ExtendedCheck, {"CheckBox6"}},
        {Region::GridInfoPanel, {"Panel7"}},      {Region::PlacesPanel, {"Panel9"}},
        {Region::AntennaWarning, {"Panel8"}},     {Region::AntWarningLabel, {"AntWarningLabel"}},
        {Region::EnabledCheck, {"CheckBox5"}},    {Region::AutochngCheck, {"CheckBox10"}},
        {Region::AllTxtCheck, {"AllTxt"}},        {Region::AllTxtPanel, {"Panel10"}},
    };
    for (const auto& [region, names] : widgets) {
        for (bool visible : {true, false, true}) {
            window.SetRegionVisible(region, visible);
            for (const char* name : names) {
                auto* widget = Find<QWidget>(window, name);
                ASSERT_NE(widget, nullptr);
                EXPECT_EQ(widget->isHidden(), !visible) << name;
            }
        }
    }

    QAction* checkMyGrid = FindAction(window, "CheckMyGridAction");
    QAction* colourMenu = Find<QMenu>(window, "ColourSetupMenu")->menuAction();
    for (bool visible : {true, false}) {
        window.SetRegionVisible(Region::CheckMyGridMenu, visible);
        window.SetRegionVisible(Region::ColourSetupMenu, visible);
        EXPECT_EQ(checkMyGrid->isVisible(), visible);
        EXPECT_EQ(colourMenu->isVisible(), visible);
    }
}

TEST(MainWindow, StartsWithTheLaterPanelsHidden) {
    MainWindow window;
    for (const char* name : {"Panel3", "Panel4", "Panel5", "Panel6", "Panel7", "Panel8", "Panel9",
                             "Panel10", "Button5", "CheckBox6"})
        EXPECT_TRUE(Find<QWidget>(window, name)->isHidden()) << name;
    for (const char* name : {"richedit1", "Panel1", "Panel2", "CheckBox3", "AllTxt", "PlacesRow"})
        EXPECT_FALSE(Find<QWidget>(window, name)->isHidden()) << name;
    EXPECT_EQ(window.width(), 660);
    EXPECT_EQ(window.height(), 600);
}

TEST(MainWindow, OptionsRoundTripWithoutReportingAnEdit) {
    MainWindow window;
    auto edited = Count(window, &MainWindow::optionsEdited);
    StoredOptions all;
    all.brDist = all.showDetails = all.searchAllTxt = all.mapShow = all.antWarning = true;
    all.autoShow = false;
    all.showCount = 5;
    all.rig = "IC-7300";
    all.ant = "Vertical [7,14,21]";
    all.searches = "HamQTH";
    StoredOptions other;
    other.showCount = 2;
    other.antAutoChange = true;
    other.searches = "QRZCQ";
    StoredOptions unlisted;
    unlisted.searches = "MyLookup";  // a service this build does not list is kept, not replaced
    const StoredOptions samples[] = {all, other, unlisted, StoredOptions{}};
    for (const StoredOptions& applied : samples) {
        window.ApplyOptions(applied);
        const StoredOptions shown = Shown(window);
        EXPECT_EQ(OptionFields(shown), OptionFields(applied)) << applied.searches;
        EXPECT_EQ(Find<QLabel>(window, "CountLabel")->text(), QStringLiteral("%1ch").arg(applied.showCount));
    }
    EXPECT_EQ(*edited, 0);
}

TEST(MainWindow, CharacterCountIsHeldWithinTwoToSix) {
    MainWindow window;
    auto* label = Find<QLabel>(window, "CountLabel");
    StoredOptions options;
    options.showCount = 9;
    window.ApplyOptions(options);
    EXPECT_EQ(Shown(window).showCount, 6);
    EXPECT_EQ(label->text(), "6ch");

    auto* down = Find<QToolButton>(window, "CountDown");
    for (int i = 0; i < 6; ++i) down->click();
    EXPECT_EQ(Shown(window).showCount, 2);
    EXPECT_EQ(label->text(), "2ch");
    Find<QToolButton>(window, "CountUp")->click();
    EXPECT_EQ(label->text(), "3ch");
}

TEST(MainWindow, OperatorChangesReportAnEdit) {
    MainWindow window;
    auto edited = Count(window, &MainWindow::optionsEdited);
    // The edits, applied to the options in their order, give what the controls show.
    StoredOptions edits;
    QObject::connect(&window, &MainWindow::optionsEdited, &window, [&](const OptionsEdit& edit) { edit(edits); });
    int expected = 0;
    for (const char* name : {"BrDist", "AutoShow", "ShowDetails", "AllTxt", "CheckBox3", "CheckBox5", "CheckBox10"}) {
        Find<QCheckBox>(window, name)->click();
        // "Enabled" and "Autochng" move each other, which is a second edit.
        EXPECT_GT(*edited, expected) << name;
        expected = *edited;
    }
    Find<QToolButton>(window, "CountUp")->click();
    EXPECT_EQ(*edited, ++expected);
    Find<QComboBox>(window, "ComboBox3")->setCurrentIndex(1);
    EXPECT_EQ(*edited, ++expected);
    Find<QAction>(window, "Always50Action")->trigger();
    Find<QAction>(window, "HeardAction")->trigger();
    EXPECT_EQ(*edited, expected + 2);
    StoredOptions shown = Shown(window);
    shown.rig = edits.rig;  // the boxes report their texts as rigEdited and antennaEdited
    shown.ant = edits.ant;
    EXPECT_EQ(OptionFields(edits), OptionFields(shown));
    EXPECT_EQ(edits.searches, "HamQTH");
}

TEST(MainWindow, PlacementRoundTripsWithoutDrift) {
    MainWindow window;
    const Placement wanted{40, 50, 700, 640};
    window.ApplyPlacement(wanted);
    Placement got;
    ASSERT_TRUE(window.CurrentPlacement(got));
    EXPECT_EQ(got, wanted);

    window.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window.CurrentPlacement(got));
    window.ApplyPlacement(got);
    Placement again;
    window.CurrentPlacement(again);
    EXPECT_EQ(again, got);
}

TEST(MainWindow, PlacementOffEveryScreenComesBack) {
    MainWindow window;
    window.ApplyPlacement(Placement{-30000, -30000, 660, 600});
    Placement got;
    window.CurrentPlacement(got);
    const QRect shown(got.left, got.top, got.width, got.height);
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().intersects(shown));
    EXPECT_EQ(got.width, 660);
}

TEST(MainWindow, PaletteIsKeptAndColoursTheCaptions) {
    MainWindow window;
    Palette palette{};
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = Rgb{static_cast<std::uint8_t>(i * 20), 0x40, 0x80};
    window.ApplyColours(palette);
    EXPECT_EQ(window.palette(), palette);

    const QLabel* loggedAs = nullptr;
    for (QLabel* label : window.findChildren<QLabel*>())
        if (label->text() == "Logged as:") loggedAs = label;
    ASSERT_NE(loggedAs, nullptr);
    EXPECT_EQ(loggedAs->palette().color(QPalette::WindowText), QColor(80, 0x40, 0x80));
}

TEST(MainWindow, ColourMenuListsTwelveEntriesAndIsHiddenAtFirst) {
    MainWindow window;
    auto* menu = Find<QMenu>(window, "ColourSetupMenu");
    EXPECT_FALSE(menu->menuAction()->isVisible());
    QStringList captions;
    for (QAction* action : menu->actions()) {
        captions << action->text();
        EXPECT_FALSE(action->statusTip().isEmpty()) << action->text().toStdString();  // what the colour draws
    }
    // Each entry opens the colour chooser, so its caption ends in an ellipsis.
    EXPECT_EQ(captions, QStringList({"Colour1…", "Colour2…", "Colour3…", "Colour4…", "Colour5…", "Colour6…",
                                     "Colour7…", "Colour8…", "Colour9…", "Colour10…", "Colour 11…", "Colour12…"}));
}

// Finishes the colour chooser that the menu entry opens, checking the colour it was preset to.
void FinishChooser(bool accept, QColor choose, QColor* preset) {
    QTimer::singleShot(0, [=] {
        auto* chooser = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(chooser, nullptr);
        *preset = chooser->currentColor();
        if (!accept) return chooser->reject();
        chooser->setCurrentColor(choose);
        chooser->accept();
    });
}

TEST(MainWindow, ColourEntryReportsTheChooserOutcome) {
    MainWindow window;
    Palette palette{};
    palette[10] = Rgb{0x00, 0xFF, 0xFF};
    window.ApplyColours(palette);
    struct Choice {
        int index0;
        bool accepted;
        QColor colour;
    };
    std::vector<Choice> chosen;
    QObject::connect(&window, &MainWindow::colourChosen, &window,
                     [&chosen](int index0, bool accepted, QColor colour) { chosen.push_back({index0, accepted, colour}); });
    QAction* colour11 = FindAction(window, "ColourAction11");

    QColor preset;
    FinishChooser(true, QColor(0x12, 0x34, 0x56), &preset);
    colour11->trigger();  // the chooser opens without a loop of its own
    ASSERT_TRUE(QTest::qWaitFor([&] { return chosen.size() == 1u; }, 2000));
    EXPECT_EQ(preset, QColor(0x00, 0xFF, 0xFF));
    EXPECT_EQ(chosen[0].index0, 10);
    EXPECT_TRUE(chosen[0].accepted);
    EXPECT_EQ(chosen[0].colour, QColor(0x12, 0x34, 0x56));

    FinishChooser(false, QColor(), &preset);
    colour11->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return chosen.size() == 2u; }, 2000));
    EXPECT_FALSE(chosen[1].accepted);
    EXPECT_EQ(chosen[1].colour, QColor(0x00, 0xFF, 0xFF));
}

TEST(MainWindow, LifecycleSignals) {
    MainWindow window;
    auto first = Count(window, &MainWindow::firstActivated);
    auto shown = Count(window, &MainWindow::shown);
    auto closing = Count(window, &MainWindow::closing);
    auto reset = Count(window, &MainWindow::resetRegistryRequested);

    QCoreApplication::processEvents();
    EXPECT_EQ(*first, 0);
    window.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(*first, 1);
    window.hide();
    window.show();
    window.activateWindow();
    QCoreApplication::processEvents();
    EXPECT_EQ(*first, 1);
    EXPECT_EQ(*shown, 2);

    FindAction(window, "ResetRegistryAction")->trigger();
    EXPECT_EQ(*reset, 1);
    // The window asks for the close and stays until the engine has closed and quits.
    FindAction(window, "QuitAction")->trigger();
    EXPECT_EQ(*closing, 1);
    EXPECT_TRUE(window.isVisible());
    window.Quit();
    window.close();
    EXPECT_EQ(*closing, 1);
    EXPECT_FALSE(window.isVisible());
}

TEST(MainWindow, MessagesDoNotHoldTheCaller) {
    MainWindow window;
    window.show();
    window.ShowMessage("Error", "The local log could not be written: disk full");
    // The call has returned with the box on the screen.
    auto* box = window.findChild<QMessageBox*>("MessageBox");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->text(), "The local log could not be written: disk full");
    box->accept();
    QCoreApplication::processEvents();
}

TEST(MainWindow, MessagesAreSkippedWhenModalsAreOff) {
    qputenv("VANTREL_NO_MODAL", "1");
    MainWindow window;
    // Should a box open after all, close it so the failure is reported instead of a hang.
    bool opened = false;
    QTimer guard(&window);
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = true;
            modal->close();
        }
    });
    guard.start(500);
    window.ShowMessage("Version error", "This Vantrel version is not the latest release..");
    EXPECT_FALSE(opened);
    qunsetenv("VANTREL_NO_MODAL");
}

}  // namespace
}  // namespace vantrel

namespace vantrel {
namespace {

TEST(MainWindowAntennaBoxes, ClickingOneSetsTheOtherToItsOpposite) {
    MainWindow window;
    auto* enabled = window.findChild<QCheckBox*>("CheckBox5");
    auto* autochng = window.findChild<QCheckBox*>("CheckBox10");
    ASSERT_TRUE(enabled && autochng);
    enabled->click();
    EXPECT_TRUE(enabled->isChecked());
    EXPECT_FALSE(autochng->isChecked());
    autochng->click();
    EXPECT_TRUE(autochng->isChecked());
    EXPECT_FALSE(enabled->isChecked());
}

}  // namespace
}  // namespace vantrel
