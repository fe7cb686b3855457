#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

#include "app/gui/main_window.h"
#include "app/gui/find_child.h"
#include "app/gui/match_list_view.h"
#include "app/gui/palette_colours.h"
#include "app/gui/qt_desktop.h"

namespace vantrel {
namespace {

using test::Find;

bool ShownIn(const MainWindow& window, const char* name) { return Find<QWidget>(window, name)->isVisibleTo(&window); }

std::vector<DetailsLine> SampleDetails(int extraLines = 0) {
    std::vector<DetailsLine> lines = {{"K1ABC    <-  weblink", 1, true, true},
                                      {"", 4, true, false},
                                      {"Name: Jo", 4, true, false},
                                      {"Gridsquare: FN42", 4, true, false},
                                      {"SINGLE LEFT CLICK anywhere else to close", 3, true, false}};
    for (int i = 0; i < extraLines; ++i) lines.push_back({"Comments: line " + std::to_string(i), 4, true, false});
    return lines;
}

// The centre of line n of a text box, in its viewport's coordinates.
QPoint LineCentre(QTextEdit* box, int line, int column = 2) {
    QTextCursor cursor(box->document()->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
    return box->cursorRect(cursor).center();
}

class ShownWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    MainWindow window;
};

TEST(MainWindowSearch, SearchBoxShowsUpperCaseAndReportsOnlyTyping) {
    MainWindow window;
    auto* box = Find<QLineEdit>(window, "Edit1");
    for (const char* name : {"Edit1", "WildSearch", "ClearButton", "LookButton"})
        EXPECT_TRUE(Find<QWidget>(window, name)->isEnabled()) << name;
    QSignalSpy edits(&window, &MainWindow::searchEdited);
    QSignalSpy entered(&window, &MainWindow::searchEntered);

    window.SetSearchText("k1abc");
    EXPECT_EQ(window.SearchText(), "K1ABC");
    EXPECT_EQ(box->text(), "K1ABC");
    EXPECT_EQ(edits.size(), 0);

    box->clear();
    QTest::keyClicks(box, "dl1");
    ASSERT_EQ(edits.size(), 3);
    EXPECT_EQ(edits[0][0].toString(), "D");
    EXPECT_EQ(edits[2][0].toString(), "DL1");
    EXPECT_EQ(window.SearchText(), "DL1");
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_EQ(entered.size(), 1);
    EXPECT_EQ(entered[0][0].toString(), "DL1");

    // The automatic fill's carriage return reaches the engine again.
    window.SetSearchText("QZ9Z\r");
    EXPECT_EQ(window.SearchText(), "QZ9Z\r");
    EXPECT_EQ(edits.size(), 3);
}

TEST(MainWindowSearch, ButtonsAndMenuEntriesSendTheirCommands) {
    MainWindow window;
    std::vector<Command> sent;
    QObject::connect(&window, &MainWindow::commandRequested, &window, [&sent](Command c) { sent.push_back(c); });
    Find<QPushButton>(window, "ClearButton")->click();
    Find<QPushButton>(window, "LookButton")->click();
    const std::vector<std::pair<const char*, QString>> entries = {
        {"EditRadiosAction", "Create/edit Radios.txt"},   {"EditAntennasAction", "Create/edit Antennas.txt"},
        {"FullAdifExportAction", "Full ADIF export"},     {"NewAdifExportAction", "New ADIF export"}};
    for (const auto& [name, caption] : entries) {
        QAction* action = Find<QAction>(window, name);
        EXPECT_EQ(action->text(), caption);
        action->trigger();
    }
    EXPECT_EQ(sent, (std::vector<Command>{Command::Clear, Command::Look, Command::EditRadios, Command::EditAntennas,
                                          Command::FullAdifExport, Command::NewAdifExport}));

    QSignalSpy wild(&window, &MainWindow::wildSearchClicked);
    Find<QCheckBox>(window, "WildSearch")->click();
    Find<QCheckBox>(window, "WildSearch")->click();
    ASSERT_EQ(wild.size(), 2);
    EXPECT_TRUE(wild[0][0].toBool());
    EXPECT_FALSE(wild[1][0].toBool());
}

TEST_F(ShownWindow, MatchListShowsOverTheCallsignListAndReportsClicks) {
    EXPECT_FALSE(window.MatchListVisible());
    EXPECT_FALSE(ShownIn(window, "MatchPanel"));
    auto list = std::make_shared<MatchList>();
    list->Add("DL1", 4);
    list->Add("", 4);
    list->BeginContact(7, 4);
    list->AppendText("DL1ABC    \tJO62\tFT8");
    list->EndLine();
    window.ShowMatchList(list);
    EXPECT_TRUE(window.MatchListVisible());
    EXPECT_EQ(Find<QLabel>(window, "MatchTitle")->text(), "Matching entries list");
    auto* view = Find<MatchListView>(window, "MatchList");
    EXPECT_EQ(view->model()->rowCount(), 3);
    EXPECT_EQ(view->viewport()->palette().color(QPalette::Base), QColor(0x00, 0x00, 0x80));  // colour 5
    EXPECT_TRUE(view->font().bold());
    EXPECT_EQ(view->font().pointSize(), 11);

    QSignalSpy clicks(&window, &MainWindow::matchListClicked);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(2, 0)).center());
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, QPoint(10, view->viewport()->height() - 4));
    ASSERT_EQ(clicks.size(), 2);
    EXPECT_EQ(clicks[0], (QVariantList{2, true}));
    EXPECT_EQ(clicks[1], (QVariantList{-1, false}));

    Palette palette = DefaultPalette();
    palette[4] = Rgb{0x10, 0x20, 0x30};
    window.ApplyColours(palette);
    EXPECT_EQ(view->viewport()->palette().color(QPalette::Base), QColor(0x10, 0x20, 0x30));

    window.HideMatchList();
    EXPECT_FALSE(window.MatchListVisible());
    EXPECT_EQ(view->model()->rowCount(), 0);
}

TEST_F(ShownWindow, ContactDetailsFillTheYellowBoxAtItsTop) {
    window.ShowDisplayList("Last 50 QSOs, in reverse order", {{"[1]\tQZ9ZZ, FT8", 1}});
    window.ShowContactDetails(SampleDetails(80));
    EXPECT_TRUE(window.DetailsPanelVisible());
    EXPECT_TRUE(ShownIn(window, "RichEdit3"));
    EXPECT_FALSE(ShownIn(window, "RichEdit2"));
    EXPECT_FALSE(ShownIn(window, "Label12"));
    auto* box = Find<QTextEdit>(window, "RichEdit3");
    EXPECT_EQ(box->verticalScrollBar()->value(), 0);
    EXPECT_GT(box->verticalScrollBar()->maximum(), 0);

    EXPECT_EQ(window.ContactDetailsText(14), "K1ABC    <-  w");
    EXPECT_EQ(window.ContactDetailsText(31), "K1ABC    <-  weblink\n\nName: Jo\n");
    const QTextCharFormat top = box->document()->findBlockByNumber(0).begin().fragment().charFormat();
    EXPECT_TRUE(top.fontUnderline());
    EXPECT_EQ(top.fontWeight(), QFont::Bold);
    EXPECT_EQ(top.foreground().color(), QColor(0x00, 0x00, 0xFF));
    const QTextCharFormat hint = box->document()->findBlockByNumber(4).begin().fragment().charFormat();
    EXPECT_FALSE(hint.fontUnderline());
    // Red on yellow would hardly read: a darker red.
    EXPECT_EQ(hint.foreground().color().hue(), 0);
    EXPECT_GE(ContrastRatio(ToRgb(hint.foreground().color()), Rgb{0xFF, 0xFF, 0x00}), kReadableContrast);

    // A contact list shown later takes the panel back from the yellow box.
    window.ShowDisplayList("Last 50 QSOs, in reverse order", {{"[1]\tQZ9ZZ, FT8", 1}});
    EXPECT_FALSE(ShownIn(window, "RichEdit3"));
    EXPECT_TRUE(ShownIn(window, "RichEdit2"));
    EXPECT_TRUE(ShownIn(window, "Label12"));
    window.HideDetailsPanel();
    EXPECT_FALSE(window.DetailsPanelVisible());
}

TEST_F(ShownWindow, DetailsClicksReportTheLineAndButton) {
    window.ShowContactDetails(SampleDetails());
    auto* box = Find<QTextEdit>(window, "RichEdit3");
    QSignalSpy clicks(&window, &MainWindow::detailsClicked);
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, LineCentre(box, 0));
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, LineCentre(box, 3));
    QTest::mouseClick(box->viewport(), Qt::RightButton, {}, LineCentre(box, 2));
    ASSERT_EQ(clicks.size(), 3);
    EXPECT_EQ(clicks[0], (QVariantList{0, true}));
    EXPECT_EQ(clicks[1], (QVariantList{3, true}));
    EXPECT_EQ(clicks[2], (QVariantList{2, false}));

    // Closed after a click in it, it hands the keyboard back to the search box, not to the
    // places field that follows it.
    window.activateWindow();
    box->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return box->hasFocus(); }, 2000));
    window.HideDetailsPanel();
    EXPECT_TRUE(Find<QLineEdit>(window, "Edit1")->hasFocus());
}

TEST_F(ShownWindow, CallsignListClickGivesLineAndCaretColumn) {
    window.ShowCallsignList({{"K1ABC, K2DEF, ", 2}, {"W1XYZ, ", 4}});
    auto* list = Find<QTextEdit>(window, "richedit1");
    QSignalSpy clicks(&window, &MainWindow::callsignListClicked);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, LineCentre(list, 0, 8));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, LineCentre(list, 1, 3));
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, LineCentre(list, 1, 3));
    ASSERT_EQ(clicks.size(), 2);
    EXPECT_EQ(clicks[0], (QVariantList{"K1ABC, K2DEF, ", 8}));
    EXPECT_EQ(clicks[1], (QVariantList{"W1XYZ, ", 3}));
}

TEST_F(ShownWindow, CallsignListCaretReturnsToItsStart) {
    std::vector<ColouredLine> lines;
    for (int i = 0; i < 300; ++i) lines.push_back({"QZ" + std::to_string(i) + ", ", 1 + i % 4});
    window.ShowCallsignList(lines);
    auto* list = Find<QTextEdit>(window, "richedit1");
    list->moveCursor(QTextCursor::End);
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
    ASSERT_GT(list->verticalScrollBar()->value(), 0);
    window.ResetCallsignListCaret();
    EXPECT_EQ(list->textCursor().position(), 0);
    EXPECT_EQ(list->verticalScrollBar()->value(), 0);
}

TEST_F(ShownWindow, LastContactClickAndEquipmentEdits) {
    QSignalSpy lastClicks(&window, &MainWindow::lastContactClicked);
    QTest::mouseClick(Find<QTextEdit>(window, "Edit2")->viewport(), Qt::LeftButton);
    QTest::mouseClick(Find<QTextEdit>(window, "Edit2")->viewport(), Qt::RightButton);
    EXPECT_EQ(lastClicks.size(), 1);

    QSignalSpy rigs(&window, &MainWindow::rigEdited);
    QSignalSpy antennas(&window, &MainWindow::antennaEdited);
    QSignalSpy options(&window, &MainWindow::optionsEdited);
    // What the program shows is not an edit.
    window.ShowEquipment({"Icom IC-7300", "ICOM IC-705"}, {"Dipole", "Vertical"}, "IC-7300", "Dipole");
    window.SelectRig("icom ic-705");
    StoredOptions stored;
    stored.rig = "IC-9700";
    window.ApplyOptions(stored);
    EXPECT_EQ(rigs.size(), 0);
    EXPECT_EQ(antennas.size(), 0);

    auto* rig = Find<QComboBox>(window, "ComboBox1");
    auto* antenna = Find<QComboBox>(window, "ComboBox2");
    EXPECT_EQ(rig->toolTip(), "Rig model as currently being used");
    EXPECT_EQ(antenna->toolTip(), "Antenna model curruntly being used");
    rig->lineEdit()->clear();
    QTest::keyClicks(rig->lineEdit(), "FT");
    ASSERT_EQ(rigs.size(), 2);
    EXPECT_EQ(rigs[1][0].toString(), "FT");

    // Picking from the list: the drop-down's own choice of an entry.
    antenna->showPopup();
    QTest::keyClick(antenna->view(), Qt::Key_Down);
    QTest::keyClick(antenna->view(), Qt::Key_Return);
    ASSERT_EQ(antennas.size(), 1);
    EXPECT_EQ(antennas[0][0].toString(), antenna->currentText());
    // The box's text reaches the saved options through antennaEdited alone.
    EXPECT_EQ(options.size(), 0);
}

TEST_F(ShownWindow, PanelsFollowTheWindowWidth) {
    QSignalSpy resized(&window, &MainWindow::resized);
    window.SetRegionVisible(Region::N1mm, true);
    window.SetRegionVisible(Region::RadioGear, true);
    struct Case {
        int width;
        bool n1mm, radio, loggedAs;
    };
    for (const Case& c : {Case{440, false, false, false}, Case{600, false, true, true}, Case{700, true, true, true},
                          Case{470, false, false, true}}) {
        window.resize(c.width, 600);
        QCoreApplication::processEvents();
        ASSERT_EQ(window.width(), c.width);
        EXPECT_EQ(ShownIn(window, "Panel3"), c.n1mm) << c.width;
        EXPECT_EQ(ShownIn(window, "Panel4"), c.radio) << c.width;
        EXPECT_EQ(ShownIn(window, "Panel2"), c.loggedAs) << c.width;
    }
    EXPECT_GE(resized.size(), 4);

    // A panel that the engine hides stays hidden whatever the width.
    window.SetRegionVisible(Region::RadioGear, false);
    window.resize(720, 600);
    QCoreApplication::processEvents();
    EXPECT_FALSE(ShownIn(window, "Panel4"));
    EXPECT_TRUE(ShownIn(window, "Panel3"));
}

TEST(MainWindowSearch, CountryFileAgeTurnsRedWhenTooOld) {
    MainWindow window;
    auto* label = Find<QLabel>(window, "CountryFileAge");
    const QColor normal = label->palette().color(QPalette::WindowText);
    ASSERT_NE(normal, QColor(0xFF, 0x00, 0x00));
    window.ShowCountryFileAge("cty.dat: 05Jan26 (120 days old, please update)", true);
    EXPECT_EQ(label->text(), "cty.dat: 05Jan26 (120 days old, please update)");
    // Red, in the form that reads on the window's background.
    const QColor red = label->palette().color(QPalette::WindowText);
    EXPECT_EQ(red.hue(), 0);
    EXPECT_GE(ContrastRatio(ToRgb(red), ToRgb(label->palette().color(QPalette::Window))), kReadableContrast);
    window.ShowCountryFileAge("cty.dat: 01Apr26", false);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), normal);
}

TEST(MainWindowSearch, FileChoiceIsSkippedWhenModalsAreOff) {
    qputenv("VANTREL_NO_MODAL", "1");
    MainWindow window;
    bool opened = false;
    QTimer::singleShot(300, &window, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = true;
            modal->close();
        }
    });
    QSignalSpy chosen(&window, &MainWindow::adifImportChosen);
    Find<QAction>(window, "AdifImportAction")->trigger();
    EXPECT_EQ(Find<QAction>(window, "AdifImportAction")->text(), "ADIF Import\u2026");
    EXPECT_FALSE(opened);
    EXPECT_EQ(chosen.size(), 0);
    qunsetenv("VANTREL_NO_MODAL");
}

// Receives what the desktop would open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

TEST(QtDesktop, OpensOnlyWebAddressesAndCopiesText) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "Open");
    QDesktopServices::setUrlHandler("http", &catcher, "Open");
    QDesktopServices::setUrlHandler("file", &catcher, "Open");
    QtDesktop desktop;
    // What was opened says so; what was refused says so too, so that the operator can be told.
    EXPECT_TRUE(desktop.OpenUrl("https://www.qrzcq.com/call/K1ABC%2FP"));
    EXPECT_FALSE(desktop.OpenUrl("file:///etc/passwd"));
    EXPECT_FALSE(desktop.OpenUrl("javascript:alert(1)"));
    EXPECT_FALSE(desktop.OpenUrl("https://exa mple.com/"));
    EXPECT_FALSE(desktop.OpenUrl(""));
    EXPECT_TRUE(desktop.OpenFile("/tmp/Vantrel 05Jan26.ADI"));
    QDesktopServices::unsetUrlHandler("https");
    QDesktopServices::unsetUrlHandler("http");
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(catcher.urls.size(), 2);
    EXPECT_EQ(catcher.urls[0].toString(QUrl::FullyEncoded), "https://www.qrzcq.com/call/K1ABC%2FP");
    EXPECT_EQ(catcher.urls[1], QUrl::fromLocalFile("/tmp/Vantrel 05Jan26.ADI"));

    desktop.CopyText("K1ABC    <-  weblink\n\nName: Jo");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "K1ABC    <-  weblink\n\nName: Jo");
}

}  // namespace
}  // namespace vantrel

#include "main_window_search_test.moc"
