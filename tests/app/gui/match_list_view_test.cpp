#include "app/gui/match_list_view.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <cstdio>
#include <memory>
#include <string>

#include "app/gui/main_window.h"
#include "app/gui/palette_colours.h"

namespace vantrel {
namespace {

// A match list shaped like a search's: the text, the country line, a gap, the header, the
// contacts and the closing hints.
std::shared_ptr<MatchList> MakeList(int contacts) {
    auto list = std::make_shared<MatchList>();
    list->Reserve(static_cast<std::size_t>(contacts) + 8, static_cast<std::size_t>(contacts) * 64);
    list->Add("QZ", 4);
    list->Add("CTY.DAT : Ruritania (EU ), Lat: 50.00, Long: -10 @ nominally 35 deg (Rev: 215 ) 812 KM", 1);
    list->Add("", 4);
    list->Add("Call, Grid, Mode, Freq, Date, Time UTC", 4);
    for (int i = 0; i < contacts; ++i) {
        list->BeginContact(static_cast<std::size_t>(i), 3);
        list->AppendPadded("QZ" + std::to_string(i), 10);
        list->AppendText("\t");
        list->AppendPadded("JO62", 4);
        list->AppendText("\tFT8\t");
        list->AppendPadded("14.074", 10);
        list->AppendText("\t2024-03-05\t10:15:00\t(35/812) Nr. Oakham - Ruritania");
        list->EndLine();
    }
    list->Add("", 4);
    list->Add("", 4);
    list->Add("CLICK anywhere on a BOLD callsign line for logged WSJTX details", 2);
    list->Add("Click anywhere else to close", 1);
    return list;
}

TEST(MatchListModel, PassesTheModelTesterAcrossResetsAndRecolouring) {
    MatchListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.rowCount(), 0);
    model.SetList(MakeList(20));
    EXPECT_EQ(model.rowCount(), 28);
    Palette palette = DefaultPalette();
    palette[2] = Rgb{1, 2, 3};
    model.SetPalette(palette);
    model.SetList(MakeList(0));
    model.SetList(nullptr);
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(MatchListModel, ExpandsTabsToColumnsAndColoursByPaletteNumber) {
    MatchListModel model;
    model.SetList(MakeList(2));
    const QString contact = model.index(4).data().toString();
    // The columns are lined up one blank apart, each as wide as its widest entry.
    EXPECT_TRUE(contact.startsWith("QZ0        JO62"));
    for (const auto& [text, column] : {std::pair{"JO62", 11}, {"FT8", 16}, {"14.074", 20}, {"2024-03-05", 31},
                                       {"10:15:00", 42}, {"(35/812) Nr.", 51}})
        EXPECT_EQ(contact.indexOf(QLatin1String(text)), column) << text;
    EXPECT_FALSE(contact.contains('\t'));
    EXPECT_EQ(model.index(4).data(MatchListModel::kRawTextRole).toString(),
              "QZ0       \tJO62\tFT8\t14.074    \t2024-03-05\t10:15:00\t(35/812) Nr. Oakham - Ruritania");
    // The country line is the widest here.
    EXPECT_EQ(model.WidestLine(), model.index(1).data().toString().size());
    EXPECT_GT(model.WidestLine(), contact.size());

    // Each line in its palette colour, in the form that reads on the list's background (colour 5).
    Palette palette = DefaultPalette();
    palette[0] = Rgb{0x11, 0x22, 0x33};
    palette[2] = Rgb{0xAA, 0x00, 0x01};
    model.SetPalette(palette);
    auto colourOf = [&](int row) { return model.index(row).data(Qt::ForegroundRole).value<QColor>(); };
    EXPECT_EQ(colourOf(0), QColor(0xA6, 0xCA, 0xF0));  // colour 4 reads on navy as it is
    for (const auto& [row, number] : {std::pair{1, 1}, {5, 3}, {8, 2}}) {
        const QColor own = ToQColor(palette[static_cast<std::size_t>(number - 1)]);
        EXPECT_NE(colourOf(row), own) << number;  // too dark on navy
        EXPECT_NEAR(colourOf(row).hue(), own.hue(), 2) << number;
        EXPECT_GE(ContrastRatio(ToRgb(colourOf(row)), palette[4]), kReadableContrast) << number;
        EXPECT_LT(ContrastRatio(ToRgb(colourOf(row)), palette[4]), kReadableContrast + 0.5) << number;
    }
    EXPECT_EQ(ExpandTabs("\tA\tBC"), "        A       BC");
    EXPECT_EQ(ExpandTabs("Z\xC3\xBCrich\tX"), QString::fromUtf8("Z\xC3\xBCrich  X"));
}

TEST(MatchListView, ReportsTheClickedRowAndButton) {
    MatchListView view;
    view.resize(500, 400);
    view.Model()->SetList(MakeList(3));
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QSignalSpy clicks(&view, &MatchListView::rowClicked);

    // Rows report the search's line they show, also when a long line is wrapped onto two rows.
    MatchListModel* model = view.Model();
    ASSERT_GT(model->rowCount(), 11);
    const QPoint row5 = view.visualRect(model->index(model->FirstRowOfLine(5) + 1)).center();
    ASSERT_EQ(model->LineOfRow(model->FirstRowOfLine(5) + 1), 5);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, row5);
    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, row5);
    QTest::mouseClick(view.viewport(), Qt::MiddleButton, {}, view.visualRect(view.Model()->index(0)).center());
    // Below the last row.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(20, view.viewport()->height() - 3));

    ASSERT_EQ(clicks.size(), 4);
    EXPECT_EQ(clicks[0], (QVariantList{5, true}));
    EXPECT_EQ(clicks[1], (QVariantList{5, false}));
    EXPECT_EQ(clicks[2], (QVariantList{0, false}));
    EXPECT_EQ(clicks[3], (QVariantList{-1, true}));
}

TEST(MatchListView, LongLinesScrollSidewaysInsteadOfBeingCut) {
    MatchListView view;
    view.resize(200, 300);
    view.Model()->SetList(MakeList(3));  // the first line is short, the contacts are long
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const QFontMetrics metrics(view.font());
    EXPECT_GE(view.horizontalScrollBar()->maximum() + view.viewport()->width(),
              metrics.horizontalAdvance(view.Model()->index(4).data().toString()));
}

// The list of a wild search matching 100,000 contacts fills and draws at once: only the rows in
// sight are asked for their text.
TEST(MatchListView, HundredThousandLinesFillAndDrawQuickly) {
    const auto list = MakeList(100000);
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* view = window.findChild<MatchListView*>("MatchList");
    ASSERT_NE(view, nullptr);

    qint64 best = -1;
    for (int round = 0; round < 3; ++round) {
        window.HideMatchList();
        QElapsedTimer timer;
        timer.start();
        window.ShowMatchList(list);
        const QPixmap drawn = view->grab();
        const qint64 elapsed = timer.elapsed();
        if (best < 0 || elapsed < best) best = elapsed;
        EXPECT_FALSE(drawn.isNull());
    }
    std::printf("match list of 100,008 lines shown and drawn in %lld ms\n", static_cast<long long>(best));
    // At the window's default width each contact's place goes on below its columns, and the
    // country line takes two rows.
    ASSERT_EQ(view->model()->rowCount(), 8 + 2 * 100000 + 1);
    EXPECT_EQ(view->model()->index(view->model()->rowCount() - 1, 0).data(MatchListModel::kLineRole), 100007);
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(best, 1500);  // the address-checked build runs this path more than ten times slower
#else
    EXPECT_LT(best, 150);
#endif
    // The drawn rows are the first ones.
    EXPECT_EQ(view->indexAt(QPoint(5, 5)).row(), 0);
}

}  // namespace
}  // namespace vantrel
