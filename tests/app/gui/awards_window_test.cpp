// The "Awards" window: the table as the part hands it, and a click on a cell asking the part
// for that row's and band's contacts.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QTableView>
#include <QTest>

#include "app/gui/awards_window.h"

namespace vantrel {
namespace {

TEST(AwardsWindow, ShowsTheTableAndAsksForTheContactsOfACell) {
    AwardsWindow window;
    QAbstractItemModelTester tester(&window.Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    std::vector<AwardsWindow::Action> asked;
    window.SetActionRunner([&](AwardsWindow::Action action) { asked.push_back(std::move(action)); });
    AwardTable table;
    table.rows.resize(2);
    table.rows[0] = {"Japan", "339", 339, {}, CellState::Worked};
    table.rows[1] = {"Germany", "230", 230, {}, CellState::Confirmed};
    table.rows[1].cells[5] = CellState::Confirmed;  // 20m
    table.totals.worked = 2;
    table.totals.confirmed = 1;
    table.totals.confirmedOnBand[5] = 1;
    window.ShowAwardTable(table);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(window.findChild<QLabel*>("AwardSummary")->text(), "DXCC: 2 worked, 1 confirmed");
    const QAbstractItemModel& model = window.Model();
    EXPECT_EQ(model.headerData(AwardTableModel::kBandColumn0 + 5, Qt::Horizontal).toString(), "20m\n0/1");
    const QModelIndex cell = model.index(1, AwardTableModel::kBandColumn0 + 5);
    EXPECT_EQ(cell.data().toString(), "C");
    EXPECT_EQ(cell.data(Qt::BackgroundRole).value<QColor>(), AwardCellColour(CellState::Confirmed));
    EXPECT_FALSE(model.index(0, AwardTableModel::kBandColumn0 + 5).data(Qt::BackgroundRole).isValid());

    auto* view = window.findChild<QTableView*>("AwardTable");
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
    ASSERT_EQ(asked.size(), 1u);
}

}  // namespace
}  // namespace vantrel
