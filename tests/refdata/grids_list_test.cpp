#include "refdata/grids_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace vantrel {
namespace {

using E = std::vector<std::string>;

E Lines(const LogLines& lines) { return {lines.begin(), lines.end()}; }

TEST(GridsWorkingList, SortsWithoutRegardToCaseAndDropsExactDuplicates) {
    GridsWorkingList list;
    EXPECT_TRUE(list.Add("w1aw,FN31"));
    EXPECT_TRUE(list.Add("K1ABC,FN42"));
    EXPECT_TRUE(list.Add("W1AW,FN31"));
    EXPECT_FALSE(list.Add("K1ABC,FN42"));
    EXPECT_TRUE(list.Add("K1ABC", "FN42AB"));
    EXPECT_FALSE(list.Add("K1ABC", "FN42"));
    EXPECT_TRUE(list.Add("K1ABC,"));
    EXPECT_TRUE(list.Add("[X],AA00"));  // between Z and a in byte order: after W1AW as upper case
    const E expected{"K1ABC,", "K1ABC,FN42", "K1ABC,FN42AB", "W1AW,FN31", "w1aw,FN31", "[X],AA00"};
    EXPECT_EQ(Lines(list.ToLogLines()), expected);
    // The order does not depend on the order of adding, and adding after sorting keeps it.
    GridsWorkingList reversed;
    for (auto it = expected.rbegin(); it != expected.rend(); ++it) {
        reversed.Add(*it);
        reversed.Sorted();
    }
    EXPECT_EQ(Lines(reversed.ToLogLines()), expected);
}

TEST(GridsWorkingList, ManyLinesStayDistinctAndFindable) {
    GridsWorkingList list;
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 50000; ++i) list.Add(std::to_string(i), "FN42");
    EXPECT_EQ(list.size(), 50000u);
    EXPECT_TRUE(list.Contains("49999,FN42"));
    EXPECT_FALSE(list.Contains("50000,FN42"));
    const auto& sorted = list.Sorted();
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(), GridsLess));
}

TEST(GridsForceUpdate, AddsSiblingLinesAndLocalLogGrids) {
    GridsWorkingList list;
    list.Add("K1ABC,FN42");
    EXPECT_EQ(AddMarliskGrids(list, LogLines{"G4ABC,IO91", "", "K1ABC,FN42", "odd line"}), 2u);
    const LogLines local{
        "2023-02-09,18:45:22,2023-02-09,18:45:58,7X5PFI,IM94mf,3.576650,FT4,-13,-12,100,,,",
        "2023-02-09,18:46:07,2023-02-09,18:46:35, AK5ZPI , EM04 ,3.576650,FT4,-10,-01,100,,,",
        "2023-02-09,18:46:52,2023-02-09,18:47:28,AI0OX,,3.576650,FT4,-18,-19,100,,,",
        "2023-02-09,18:46:52,2023-02-09,18:47:28,,EM00,3.576650,FT4,-18,-19,100,,,"};
    EXPECT_EQ(AddLocalLogGrids(list, local), 3u);
    EXPECT_EQ(Lines(list.ToLogLines()),
              (E{"7X5PFI,IM94mf", "AI0OX,", "AK5ZPI,EM04", "G4ABC,IO91", "K1ABC,FN42", "odd line"}));
    // A log of one line is not taken.
    GridsWorkingList single;
    EXPECT_EQ(AddLocalLogGrids(single, LogLines{local[0]}), 0u);
}

// The thinning as a plain restart-from-the-top loop.
std::vector<std::string_view> NaiveRemove(std::vector<std::string_view> list) {
    if (list.size() <= 2) return list;
    bool again = true;
    while (again) {
        again = false;
        for (std::size_t i = 0; i + 1 < list.size(); ++i) {
            if (list[i + 1].find(list[i]) != std::string_view::npos) {
                list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
                again = true;
                break;
            }
        }
    }
    return list;
}

TEST(RemoveGridDuplicates, KeepsTheLongerOfNeighbours) {
    LogLines grids{"K1ABC,", "K1ABC,FN42", "W1AW,FN31"};
    RemoveGridDuplicates(grids);
    EXPECT_EQ(Lines(grids), (E{"K1ABC,FN42", "W1AW,FN31"}));
    LogLines two{"K1ABC,", "K1ABC,FN42"};
    RemoveGridDuplicates(two);
    EXPECT_EQ(two.size(), 2u);
    // A chain collapses back to its first entry's neighbours.
    LogLines chain{"A", "AB", "ABC", "X"};
    std::vector<int> percents;
    RemoveGridDuplicates(chain, [&](int p) { percents.push_back(p); });
    EXPECT_EQ(Lines(chain), (E{"ABC", "X"}));
    EXPECT_EQ(percents.back(), 100);
}

TEST(RemoveGridDuplicates, EqualsTheRestartingProcedureOnRandomLists) {
    std::mt19937 random(2024);
    const std::vector<std::string> pieces{"", "K", "K1", "K1A", ",", "K1A,", "FN", "FN4", "FN42", "A", "B", "1"};
    for (int round = 0; round < 20000; ++round) {
        std::vector<std::string> texts(random() % 12);
        for (auto& text : texts) {
            const int parts = static_cast<int>(random() % 4);
            for (int p = 0; p < parts; ++p) text += pieces[random() % pieces.size()];
        }
        if (round % 2) std::sort(texts.begin(), texts.end(), GridsLess);
        const std::vector<std::string_view> views(texts.begin(), texts.end());
        const auto expected = NaiveRemove(views);
        ASSERT_EQ(RemoveGridDuplicates(views), expected) << "round " << round;
        LogLines lines(texts);
        RemoveGridDuplicates(lines);
        ASSERT_EQ(Lines(lines), E(expected.begin(), expected.end())) << "round " << round;
    }
}

}  // namespace
}  // namespace vantrel
