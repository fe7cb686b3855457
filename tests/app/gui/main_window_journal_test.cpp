// The "Searching local ALL.TXT" panel in the main window: its text from "Places/call search:",
// the "ALL.TXT" caption, all eight columns in view in a window of the usual size, the buttons
// handed to the program, and the menu entry "Show recent RAW activity".
#include "app/gui/find_child.h"
#include "app/gui/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <cstdlib>

#include "support/temp_folder.h"

namespace vantrel {
namespace {

using test::Find;

TEST(MainWindowJournal, ThePanelSearchesThePlacesFieldsTextAndShowsEveryColumn) {
    test::TempFolder folder;
    std::string journal;
    for (int i = 0; i < 40; ++i)
        journal += "261208_12" + std::string(i < 10 ? "0" : "") + std::to_string(i) +
                   "00    14.074 Rx FT8    -10  0.1 1234 W9XYZ K1ABC -12\n";
    journal += "261208_124100    14.074 Tx FT8      0  0.0 1500 K1ABC W9XYZ R-08\n";
    journal += "261208_124200    14.074 Rx FT8    -10  0.1 1234 CQ K1ABC FN42\n";
    test::WriteFile(folder / "all.txt", journal);

    MainWindow window;
    window.show();
    OptionsModel options;
    StationDetails station{"W9XYZ", "EN37", "", ""};
    std::vector<std::string> actions;
    JournalPart part(JournalPartServices{window.Journal(), options, station, {}, {}, {}, {}, {}}, folder.path());
    // The buttons' actions go to the program, which runs them on the part in their turn.
    window.Journal().SetActionRunner([&](JournalPanel::Action action) {
        actions.push_back("action");
        action(part);
    });

    auto* field = Find<QLineEdit>(window, "Edit11");
    auto* allTxt = Find<QCheckBox>(window, "AllTxt");
    QTest::keyClicks(field, "k1abc");
    allTxt->setChecked(true);
    part.SetSearchAllTxt(true);
    EXPECT_TRUE(allTxt->font().bold());
    ASSERT_TRUE(part.PlacesSearchEntered());

    auto* panel = Find<QWidget>(window, "Panel10");
    ASSERT_EQ(panel, &window.Journal());
    ASSERT_TRUE(panel->isVisible());
    JournalTableView* table = window.Journal().Table();
    EXPECT_EQ(table->model()->rowCount(), 41);
    // Every column side by side in a window of the stored default size.
    QApplication::processEvents();
    int widths = 0;
    for (int column = 0; column < 8; ++column) widths += table->horizontalHeader()->sectionSize(column);
    EXPECT_LE(widths, table->viewport()->width());
    EXPECT_FALSE(table->horizontalScrollBar()->isVisible());
    EXPECT_GE(table->viewport()->height(), 10 * 16);  // ten rows at least

    table->selectionModel()->select(QItemSelection(table->model()->index(39, 0), table->model()->index(40, 7)),
                                    QItemSelectionModel::Select);
    QTest::mouseClick(window.Journal().findChild<QPushButton*>("MakeLogEntry"), Qt::LeftButton);
    EXPECT_EQ(actions.size(), 1u);
    EXPECT_FALSE(window.Journal().EntryLineText().empty());
    if (const char* shots = std::getenv("VANTREL_SCREENSHOT_DIR"))
        window.grab().save(QString::fromUtf8(shots) + "/main-window-journal.png");

    QTest::mouseClick(window.Journal().findChild<QPushButton*>("JournalClose"), Qt::LeftButton);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(actions.size(), 2u);
}

TEST(MainWindowJournal, RecentActivityIsAViewMenuEntry) {
    MainWindow window;
    auto* recent = Find<QAction>(window, "RecentActivityAction");
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent->text(), "Show recent RAW activity");
    EXPECT_EQ(recent->toolTip(), "Shows entriles in the WSJT-X All.txt file to match your callsign");
    EXPECT_TRUE(Find<QMenu>(window, "ViewMenu")->actions().contains(recent));
    std::vector<Command> commands;
    QObject::connect(&window, &MainWindow::commandRequested, [&](Command command) { commands.push_back(command); });
    recent->trigger();
    EXPECT_EQ(commands, std::vector<Command>{Command::RecentActivity});
}

}  // namespace
}  // namespace vantrel
