#include "app/gui/journal_panel.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "support/temp_folder.h"

namespace vantrel {
namespace {

std::string Line(int second, std::string_view direction, std::string_view message) {
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "2104%02d_%06d", 10 + second / 86400 % 18, second % 86400 / 3600 * 10000 + second % 3600 / 60 * 100 + second % 60);
    return std::string(stamp) + "    14.074 " + std::string(direction) + " FT8    -10  0.1 1500 " +
           std::string(message) + "\n";
}

std::shared_ptr<JournalMatches> Matches(std::initializer_list<std::string> lines) {
    auto matches = std::make_shared<JournalMatches>();
    for (const std::string& line : lines) matches->AddLine(line);
    return matches;
}

const JournalHighlight kHighlight{"W9XYZ", Rgb{0xFF, 0xFF, 0xFF}, Rgb{0x80, 0, 0}};

TEST(JournalTableModel, RowsColumnsAndHighlightThroughResetsAndGrowth) {
    JournalTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    // Headings and one empty row before anything is listed.
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.columnCount(), 8);
    EXPECT_EQ(model.data(model.index(0, 7)).toString(), QString());
    QStringList headings;
    for (int c = 0; c < 8; ++c) headings << model.headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headings, (QStringList{"Date", "Freq", "Md", "Em", "SNR", "DT", "Ofs HZ", "Details"}));
    EXPECT_EQ(model.headerData(7, Qt::Horizontal, Qt::SizeHintRole).toSize().width(), 229);

    auto rows = Matches({Line(0, "Rx", "CQ K1ABC FN42"), Line(15, "Tx", "K1ABC W9XYZ EN37")});
    model.SetRows(rows, kHighlight);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(1, 2)).toString(), "TX");
    EXPECT_EQ(model.data(model.index(1, 7)).toString(), "K1ABC W9XYZ EN37");
    EXPECT_EQ(model.data(model.index(1, 4)).toString(), "-10");  // the SNR of the dated form
    // Only the cell holding the callsign is highlighted.
    EXPECT_TRUE(model.data(model.index(1, 7), JournalTableModel::kHighlightRole).toBool());
    EXPECT_FALSE(model.data(model.index(0, 7), JournalTableModel::kHighlightRole).toBool());
    EXPECT_FALSE(model.data(model.index(1, 0), JournalTableModel::kHighlightRole).toBool());
    EXPECT_EQ(model.data(model.index(1, 7), Qt::BackgroundRole).value<QColor>(), QColor(0x80, 0, 0));
    EXPECT_EQ(model.data(model.index(1, 7), Qt::ForegroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_TRUE(model.data(model.index(0, 7), Qt::FontRole).value<QFont>().fixedPitch());
    EXPECT_FALSE(model.data(model.index(0, 6), Qt::FontRole).isValid());

    // The same list grown: rows inserted. Another callsign: the cells redrawn.
    rows->AddLine(Line(30, "Rx", "W9XYZ K1ABC -12"));
    model.SetRows(rows, kHighlight);
    EXPECT_EQ(model.rowCount(), 3);
    model.SetRows(rows, JournalHighlight{"K1ABC", kHighlight.text, kHighlight.fill});
    EXPECT_TRUE(model.data(model.index(0, 7), JournalTableModel::kHighlightRole).toBool());
    // No callsign: nothing highlighted; an empty list: one empty row again.
    model.SetRows(rows, JournalHighlight{});
    EXPECT_FALSE(model.data(model.index(1, 7), JournalTableModel::kHighlightRole).toBool());
    model.SetRows(std::make_shared<JournalMatches>(), kHighlight);
    EXPECT_EQ(model.rowCount(), 1);
    model.SetRows(nullptr, kHighlight);
    EXPECT_EQ(model.rowCount(), 1);
}

class JournalPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        places.setText("k1abc");
        panel.AttachSearchControls(&places, &allTxt);
        panel.SetPart(&part);
        panel.resize(660, 330);
    }
    QPushButton* ButtonNamed(const char* name) {
        auto* button = panel.findChild<QPushButton*>(QString::fromLatin1(name));
        EXPECT_NE(button, nullptr) << name;
        return button;
    }

    test::TempFolder folder;
    QLineEdit places;
    QCheckBox allTxt{QStringLiteral("ALL.TXT")};
    JournalPanel panel;
    OptionsModel options;
    StationDetails station{"W9XYZ", "EN37", "IC-7300", "Vertical"};
    std::vector<std::string> clipboard;
    JournalPart part{JournalPartServices{panel, options, station,
                                         [this](const std::string& text) { clipboard.push_back(text); },
                                         {}, {}, {}, {}},
                     folder.path()};
};

// A contact that only the journal holds, found, shown and made into a log line with the
// panel's own buttons; the newest rows kept in view with "Auto".
TEST_F(JournalPanelTest, SearchSelectCopyAndMakeTheEntryLine) {
    std::string journal;
    for (int i = 0; i < 100; ++i) journal += Line(i * 15, "Rx", "CQ K1ABC FN42");
    journal += Line(1500, "Tx", "K1ABC W9XYZ EN37") + Line(1515, "Rx", "W9XYZ K1ABC -12") +
               Line(1530, "Tx", "K1ABC W9XYZ R-08") + Line(1545, "Rx", "W9XYZ K1ABC RR73") +
               Line(1560, "Tx", "K1ABC W9XYZ 73") + Line(1575, "Rx", "CQ DX K1ABC FN42");
    test::WriteFile(folder / "all.txt", journal);
    part.SetSearchAllTxt(true);
    EXPECT_TRUE(allTxt.font().bold());
    QTest::mouseClick(panel.findChild<QCheckBox*>("JournalAuto"), Qt::LeftButton);
    EXPECT_TRUE(options.Get().refreshAuto);
    ASSERT_TRUE(part.PlacesSearchEntered());
    ASSERT_TRUE(panel.isVisible());
    JournalTableView* table = panel.Table();
    ASSERT_EQ(table->model()->rowCount(), 105);
    EXPECT_EQ(panel.findChild<QLabel*>("JournalCount")->text(), "Entries :105");
    EXPECT_GE(table->horizontalHeader()->sectionSize(0), 96);
    EXPECT_EQ(table->horizontalHeader()->sectionSize(7), 229);
    EXPECT_EQ(table->rowHeight(0), 16);
    // The newest ten rows (95 to 104) in view.
    for (int row : {95, 104})
        EXPECT_TRUE(table->viewport()->rect().contains(table->visualRect(table->model()->index(row, 0)))) << row;
    EXPECT_GT(table->rowAt(0), 80);

    // The contact's six rows selected across the columns.
    table->selectionModel()->select(QItemSelection(table->model()->index(100, 0), table->model()->index(104, 7)),
                                    QItemSelectionModel::Select);
    QTest::mouseClick(ButtonNamed("JournalClipboard"), Qt::LeftButton);
    ASSERT_EQ(clipboard.size(), 1u);
    EXPECT_EQ(clipboard[0].rfind("210410_002500\t14.074\tTX\tFT8\t-10\t0.1\t1500\tK1ABC W9XYZ EN37\r\n", 0), 0u);
    EXPECT_EQ(std::count(clipboard[0].begin(), clipboard[0].end(), '\n'), 4);
    EXPECT_EQ(clipboard[0].substr(clipboard[0].size() - 14), "K1ABC W9XYZ 73");
    QTest::mouseClick(ButtonNamed("MakeLogEntry"), Qt::LeftButton);
    auto* entry = panel.findChild<QLineEdit*>("EntryLine");
    EXPECT_TRUE(entry->isVisible());
    // No CQ row of K1ABC selected: no grid; the end 13 s after the operator's 73 went out.
    EXPECT_EQ(entry->text(), "2021-04-10,00:25:00,2021-04-10,00:26:13,K1ABC,,14.0755,FT8,-08,-12,,"
                             "FT8  Sent: -08  Rcvd: -12,,W9XYZ,EN37,IC-7300,Vertical,");
    QTest::mouseClick(ButtonNamed("CopyLine"), Qt::LeftButton);
    EXPECT_EQ(clipboard.back(), entry->text().toStdString());

    // Rows not sent with exactly the operator's callsign: the field stays empty and says why.
    station.call = "W9XY";
    QTest::mouseClick(ButtonNamed("MakeLogEntry"), Qt::LeftButton);
    EXPECT_EQ(entry->text(), "");
    EXPECT_EQ(entry->placeholderText(), "No message from or to W9XY in the selection");

    if (const char* shots = std::getenv("VANTREL_SCREENSHOT_DIR")) {
        station.call = "W9XYZ";
        part.SearchJournal();
        table->selectionModel()->select(QItemSelection(table->model()->index(100, 0), table->model()->index(102, 7)),
                                        QItemSelectionModel::Select);
        QTest::mouseClick(ButtonNamed("MakeLogEntry"), Qt::LeftButton);
        panel.grab().save(QString::fromUtf8(shots) + "/journal-panel.png");
    }

    QTest::mouseClick(ButtonNamed("JournalClose"), Qt::LeftButton);
    EXPECT_FALSE(panel.isVisible());
    EXPECT_FALSE(entry->isVisible());
    part.SetSearchAllTxt(false);
    EXPECT_FALSE(allTxt.font().bold());
}

}  // namespace
}  // namespace vantrel
