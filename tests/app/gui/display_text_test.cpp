// Text from log files (UTF-8) and from WSJT-X's datagrams (Latin-1) shows as it was written, in
// the lists and panels as in the helper, and a name the operator leaves alone keeps its bytes.
#include "app/gui/display_text.h"

#include <gtest/gtest.h>

#include <QTextEdit>

#include "app/gui/find_child.h"
#include "app/gui/main_window.h"
#include "app/gui/match_list_view.h"

namespace vantrel {
namespace {

using test::Find;

const QString kCafe = QString::fromUtf8("caf\xC3\xA9 M\xC3\xBCller");

TEST(DisplayText, Utf8WhenValidElseLatin1) {
    EXPECT_EQ(DisplayText("caf\xC3\xA9 M\xC3\xBCller"), kCafe);  // a log file's UTF-8
    EXPECT_EQ(DisplayText("caf\xE9 M\xFCller"), kCafe);          // a datagram's Latin-1
    EXPECT_EQ(DisplayText("K1ABC"), "K1ABC");
    EXPECT_EQ(DisplayText(std::string_view("a\0b", 3)).size(), 3);
    EXPECT_FALSE(DisplayText("caf\xE9").contains(QChar::ReplacementCharacter));
    // A cut UTF-8 sequence is not valid UTF-8: Latin-1, one character per byte.
    EXPECT_EQ(DisplayText("caf\xC3"), QString::fromUtf8("caf\xC3\x83"));

    // What the operator left as shown keeps its bytes; an edit is stored as UTF-8.
    EXPECT_EQ(StoredText(kCafe, "caf\xE9 M\xFCller"), "caf\xE9 M\xFCller");
    EXPECT_EQ(StoredText(QString::fromUtf8("caf\xC3\xA9"), "caf\xE9 M\xFCller"), "caf\xC3\xA9");
}

TEST(DisplayText, ListsAndPanelsShowBothEncodings) {
    MainWindow window;
    window.ShowContactDetails({{"Comments: caf\xE9 M\xFCller", 4, true, false},
                               {"Name: caf\xC3\xA9 M\xC3\xBCller", 4, true, false}});
    EXPECT_EQ(Find<QTextEdit>(window, "RichEdit3")->toPlainText(), "Comments: " + kCafe + "\nName: " + kCafe);

    window.ShowCallsignList({{"F5ABC caf\xE9 M\xFCller", 1}, {"F6ABC caf\xC3\xA9 M\xC3\xBCller", 2}});
    EXPECT_EQ(Find<QTextEdit>(window, "richedit1")->toPlainText(), "F5ABC " + kCafe + "\nF6ABC " + kCafe);

    auto list = std::make_shared<MatchList>();
    list->Add("Nr. caf\xE9 M\xFCller", 1);
    list->Add("Nr. caf\xC3\xA9 M\xC3\xBCller", 1);
    MatchListModel model;
    model.SetList(list);
    EXPECT_EQ(model.index(0).data().toString(), "Nr. " + kCafe);
    EXPECT_EQ(model.index(1).data().toString(), "Nr. " + kCafe);
}

}  // namespace
}  // namespace vantrel
