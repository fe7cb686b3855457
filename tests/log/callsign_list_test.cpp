#include "log/callsign_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace vantrel {
namespace {

std::string Line(std::string_view call, std::string_view grid = "FN42") {
    return "2024-03-05,10:15:00,2024-03-05,10:16:30," + std::string(call) + "," + std::string(grid) +
           ",14.074,FT8,-10,-12,100,,,QQ0XYZ,JO62QM,IC-7300,Vertical [7,14,21],";
}

LogLines LogOf(const std::vector<std::string>& calls) {
    LogLines log;
    for (const auto& call : calls) log.push_back(Line(call));
    return log;
}

std::vector<std::string> EntriesOf(const CallsignList& list) {
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < list.size(); ++i) entries.push_back(list[i]);
    return entries;
}

TEST(CallsignList, SortedWithoutDuplicatesIgnoringCaseAndOnlyGrows) {
    CallsignList list;
    LogLines log;
    log.push_back(Line("rx3c", "KO85"));
    log.push_back(Line("QZ1A", "FN42"));
    log.push_back(Line("qz1a", "fn42"));   // same entry but for letter case: not added
    log.push_back(Line("QZ1A", "FN31"));   // same callsign, other grid: its own entry
    log.push_back(Line("QZ1AB", ""));
    EXPECT_EQ(create_callsignlist(list, log), 4u);
    EXPECT_EQ(EntriesOf(list), (std::vector<std::string>{"QZ1A,FN31", "QZ1A,FN42", "QZ1AB,", "rx3c,KO85"}));

    // A later rebuild over a different log adds to the list and never removes.
    LogLines later;
    later.push_back(Line("QZ1B", "EM10"));
    later.push_back(Line("RX3C", "ko85"));
    EXPECT_EQ(create_callsignlist(list, later), 1u);
    EXPECT_EQ(EntriesOf(list),
              (std::vector<std::string>{"QZ1A,FN31", "QZ1A,FN42", "QZ1AB,", "QZ1B,EM10", "rx3c,KO85"}));
    EXPECT_EQ(create_callsignlist(list, later), 0u);
}

TEST(CallsignList, ShortLinesAndManyNewEntriesMergeInOrder) {
    CallsignList list;
    LogLines log;
    log.push_back("2024-03-05,10:15:00,2024-03-05,10:16:30,QZ5E");  // no grid field at all
    log.push_back("junk");
    EXPECT_EQ(create_callsignlist(list, log), 2u);
    EXPECT_EQ(EntriesOf(list), (std::vector<std::string>{",", "QZ5E,"}));

    // More than a handful of new entries take the merge path; the order must still hold.
    // Two of them agree on their first eight characters, letter case aside.
    std::vector<std::string> calls{"qz1abcdef", "QZ1ABCDE"};
    for (char c = 'Z'; c >= 'A'; --c) calls.push_back(std::string("Q") + c + "1A");
    create_callsignlist(list, LogOf(calls));
    const auto entries = EntriesOf(list);
    ASSERT_EQ(entries.size(), 30u);
    EXPECT_EQ(entries[27], "QZ1ABCDE,FN42");
    EXPECT_EQ(entries[28], "qz1abcdef,FN42");
    for (std::size_t i = 1; i < entries.size(); ++i)
        EXPECT_LT(CompareNoCase(entries[i - 1], entries[i]), 0) << entries[i - 1] << " " << entries[i];
}

TEST(CallsignList, GroupsByFirstCharacterInCyclingColours) {
    CallsignList list;
    create_callsignlist(list, LogOf({"RX3C", "QZ2B", "QZ1A"}));
    EXPECT_EQ(display_callsigns(list),
              (std::vector<ColouredLine>{{"QZ1A, QZ2B, ", 2}, {"RX3C, ", 4}}));

    // The last entry joins its group's line, drawn in the colour after the one in force.
    CallsignList one;
    create_callsignlist(one, LogOf({"QZ1A", "QZ2B", "QZ3C"}));
    EXPECT_EQ(display_callsigns(one), (std::vector<ColouredLine>{{"QZ1A, QZ2B, QZ3C, ", 3}}));

    // A station logged with and without a grid, or with two grids, is listed once.
    CallsignList twice;
    LogLines grids = LogOf({"QZ1A", "QZ2B"});
    grids.push_back("2024-01-01,10:00:00,2024-01-01,10:01:00,QZ2B,,14.074,FT8,-01,-02,,,,QQ0XYZ,JO62,IC-7300,Dipole,");
    grids.push_back("2024-01-01,10:00:00,2024-01-01,10:01:00,qz2b,KO38,14.074,FT8,-01,-02,,,,QQ0XYZ,JO62,IC-7300,Dipole,");
    create_callsignlist(twice, grids);
    EXPECT_EQ(twice.size(), 4u);
    EXPECT_EQ(display_callsigns(twice), (std::vector<ColouredLine>{{"QZ1A, QZ2B, ", 3}}));

    // Five groups wrap the colours round to Colour1; letter case does not split a group.
    CallsignList many;
    create_callsignlist(many, LogOf({"AA1A", "BB1B", "cc1c", "CC2C", "DD1D", "EE1E", "EE2E"}));
    EXPECT_EQ(display_callsigns(many), (std::vector<ColouredLine>{{"AA1A, ", 2},
                                                                  {"BB1B, ", 3},
                                                                  {"cc1c, CC2C, ", 4},
                                                                  {"DD1D, ", 1},
                                                                  {"EE1E, EE2E, ", 3}}));
}

TEST(CallsignList, SingleEntryAndEmptyCallsignsShowNothing) {
    CallsignList list;
    create_callsignlist(list, LogOf({"QZ1A"}));
    EXPECT_TRUE(display_callsigns(list).empty());

    // An entry without a callsign is not drawn, so it does not make a pair with one callsign.
    create_callsignlist(list, LogOf({""}));
    EXPECT_EQ(list.size(), 2u);
    EXPECT_TRUE(display_callsigns(list).empty());
    create_callsignlist(list, LogOf({"QZ2B"}));
    EXPECT_EQ(display_callsigns(list), (std::vector<ColouredLine>{{"QZ1A, QZ2B, ", 3}}));
}

TEST(CallsignList, FilesHoldTheEntriesAndTheDistinctCallsigns) {
    test::TempFolder folder;
    CallsignList list;
    const LogLines log = LogOf({"QZ1A", " qz1a ", "RX3C", "", "   ", "QZ1A"});
    create_callsignlist(list, log);
    ASSERT_TRUE(SaveCallsignList(folder / "calls.txt", list));
    EXPECT_EQ(test::ReadFile(folder / "calls.txt"), "   ,FN42\r\n qz1a ,FN42\r\n,FN42\r\nQZ1A,FN42\r\nRX3C,FN42\r\n");

    ASSERT_TRUE(WriteCallsInLog(folder / "calls_in_log.txt", log));
    EXPECT_EQ(test::ReadFile(folder / "calls_in_log.txt"), "QZ1A,\r\nRX3C,\r\n");
}

}  // namespace
}  // namespace vantrel
