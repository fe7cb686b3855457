// The main window as a Linux desktop program: menu mnemonics and ellipses, the window icon, the
// status line's path that opens its folder, the ADIF import dialog in WSJT-X's folder without a
// loop of its own, and the match list and details panel at narrow, default and wide sizes.
#include <gtest/gtest.h>

#include <cmath>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include "app/gui/find_child.h"
#include "app/gui/main_window.h"
#include "app/gui/match_list_view.h"

namespace vantrel {
namespace {

using test::Find;

TEST(DesktopConventions, MenusIconStatusPathAndImportDialog) {
    MainWindow window;
    EXPECT_EQ(Find<QMenu>(window, "FileMenu")->title(), "&File");
    EXPECT_EQ(Find<QMenu>(window, "ViewMenu")->title(), "&View");
    EXPECT_EQ(Find<QAction>(window, "AdifImportAction")->text(), "ADIF Import\u2026");
    EXPECT_EQ(Find<QAction>(window, "ResetRegistryAction")->text(), "Reset stored settings");
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_FALSE(ProgramIcon().pixmap(48, 48).isNull());

    // The path on the status line is a link to its folder.
    QSignalSpy folders(&window, &MainWindow::folderOpenRequested);
    window.ShowFileStatus("7 contacts exported to ", "/tmp/Vantrel <1>/ADIF 05Jan26.ADI");
    auto* status = Find<QLabel>(window, "StatusFile");
    EXPECT_EQ(status->text(), "7 contacts exported to <a href=\"folder\">/tmp/Vantrel &lt;1&gt;/ADIF 05Jan26.ADI</a>");
    emit status->linkActivated(QStringLiteral("folder"));
    ASSERT_EQ(folders.size(), 1);
    EXPECT_EQ(folders[0][0].toByteArray(), "/tmp/Vantrel <1>");
    window.ShowStatus("Ready");
    EXPECT_TRUE(status->text().isEmpty());

    // The import dialog opens in the folder given and the call returns at once.
    QTemporaryDir wsjtx;
    ASSERT_TRUE(wsjtx.isValid());
    window.SetAdifImportFolder(wsjtx.path());
    QSignalSpy chosen(&window, &MainWindow::adifImportChosen);
    Find<QAction>(window, "AdifImportAction")->trigger();
    auto* dialog = window.findChild<QFileDialog*>("AdifImportDialog");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->directory().absolutePath(), QDir(wsjtx.path()).absolutePath());
    dialog->reject();
    EXPECT_EQ(chosen.size(), 0);
}

// A question is answered in the window while the program goes on: "Yes" runs the work, "No" and
// closing the box do not.
TEST(DesktopConventions, QuestionsAskWithoutALoopOfTheirOwn) {
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    int done = 0;
    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        window.Ask("Zap User field", "Empty the comment field of every contact?", [&done] { ++done; });
        auto* box = window.findChild<QMessageBox*>("Question");
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        EXPECT_EQ(done, 0);
        box->button(answer)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_EQ(done, 1);
}

// A search's list as the search makes it: contact lines of seven columns and a place.
std::shared_ptr<MatchList> SearchList() {
    auto list = std::make_shared<MatchList>();
    list->Add("K1ABC", 4);
    list->Add("CTY.DAT : United States (NA ), Lat: 37.53, Long: 91.67 @ nominally 285 deg (Rev: 49 ) 6490 KM", 1);
    list->Add("", 4);
    list->Add("Call, Grid, Mode, Freq, Date, Time UTC, (Bearing/Distance) Place", 4);
    for (int i = 0; i < 30; ++i) {
        list->BeginContact(static_cast<std::size_t>(i), 3);
        list->AppendPadded("K1ABC", 10);
        list->AppendText("\t");
        list->AppendPadded("FN42", 4);
        list->AppendText("\tFT8\t");
        list->AppendPadded("14.075500", 10);
        list->AppendText("\t2026-12-08\t11:00:00\t(292/5540) Nr. Framingham - Massachusetts - United States");
        list->EndLine();
    }
    list->Add("CLICK anywhere on a BOLD callsign line for logged WSJTX details", 2);
    return list;
}

// The pixel width of the widest row of the list.
int WidestRow(const MatchListView& view) {
    int widest = 0;
    for (int row = 0; row < view.model()->rowCount(); ++row)
        widest = std::max(widest, view.fontMetrics().horizontalAdvance(view.model()->index(row, 0).data().toString()));
    return widest;
}

TEST(DesktopConventions, MatchListAndDetailsFitTheWindowWidth) {
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* list = Find<MatchListView>(window, "MatchList");
    for (const int width : {430, 660, 1600}) {
        SCOPED_TRACE(width);
        window.resize(width, 600);
        QCoreApplication::processEvents();
        ASSERT_EQ(window.width(), width);
        window.ShowMatchList(SearchList());
        QCoreApplication::processEvents();
        ASSERT_TRUE(list->isVisible());
        // Every column and the whole place are in sight without scrolling sideways from 660 up;
        // at the narrowest the columns still line up and the rest can be scrolled to.
        if (width >= 660) {
            EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
            EXPECT_LE(WidestRow(*list), list->viewport()->width());
        } else {
            EXPECT_GE(list->horizontalScrollBar()->maximum() + list->viewport()->width(), WidestRow(*list));
        }
        // Each contact line's columns stay together on its first row.
        const int first = list->Model()->FirstRowOfLine(4);
        EXPECT_TRUE(list->model()->index(first, 0).data().toString().contains("11:00:00"));
        window.HideMatchList();

        window.ShowDisplayList("Last 50 QSOs, in reverse order",
                               {{"[1]\tK1ABC, FN42, FT8, 14.075500, 2026-12-08, 11:00:00", 1},
                                {"[ 12 ]   K1ABC, FN42, FT8, 14.075500, 2026-12-08, 11:00:00", 2}});
        QCoreApplication::processEvents();
        auto* details = Find<QTextEdit>(window, "RichEdit2");
        ASSERT_TRUE(details->isVisible());
        EXPECT_EQ(details->horizontalScrollBar()->maximum(), 0);
        // At the default size and wider each line fits on one row.
        if (width >= 660) {
            for (QTextBlock block = details->document()->begin(); block.isValid(); block = block.next())
                EXPECT_EQ(block.layout()->lineCount(), 1) << block.text().toStdString();
        }
    }
}

// At the default size the last contact's whole raw line and the match list's closing hint are
// in sight: nothing runs past the window's edge or its box.
TEST(DesktopConventions, LastLineAndMatchHintReadAtTheDefaultSize) {
    MainWindow window;
    window.resize(660, 600);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.ShowLastContact("2026-12-08,11:00:00,2026-12-08,11:01:00,K1ABC,FN42,14.075500,FT8,-10,-12,100,"
                           "Nice signal,John,QQ0XYZ,JO62QM,IC-7300,Dipole 20m");
    window.ShowMatchList(SearchList());
    QCoreApplication::processEvents();
    const auto inWindow = [&window](const QWidget* widget, QRect rect) {
        return window.rect().contains(QRect(widget->mapTo(&window, rect.topLeft()), rect.size()));
    };
    auto* last = Find<QTextEdit>(window, "Edit2");
    EXPECT_TRUE(inWindow(last, last->rect()));
    EXPECT_LE(last->document()->idealWidth(), last->viewport()->width());
    EXPECT_LE(std::ceil(last->document()->size().height()), last->viewport()->height());

    auto* list = Find<MatchListView>(window, "MatchList");
    const QModelIndex hint = list->model()->index(list->model()->rowCount() - 1, 0);
    list->scrollTo(hint);
    QCoreApplication::processEvents();
    const QRect row = list->visualRect(hint);
    EXPECT_TRUE(list->viewport()->rect().contains(row));
    EXPECT_TRUE(inWindow(list->viewport(), row));
    EXPECT_LE(list->fontMetrics().horizontalAdvance(hint.data().toString()), list->viewport()->width());
}

}  // namespace
}  // namespace vantrel
