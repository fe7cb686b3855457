#include "log/local_log.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "log/extract_field.h"
#include "log/local_log_file.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

const StationDetails kStation{"W9XYZ", "EN37", "IC-7300", "Dipole"};

std::string WsjtxLine(int i) {
    char line[128];
    std::snprintf(line, sizeof line,
                  "2026-12-%02d,10:%02d:00,2026-12-%02d,10:%02d:30,K%dABC,FN42,14.075500,FT8,-10,"
                  "-12,100,,,",
                  1 + i % 28, i % 60, 1 + i % 28, i % 60, i % 10);
    return line;
}

LogLines WsjtxLines(int count) {
    LogLines lines;
    for (int i = 0; i < count; ++i) lines.push_back(WsjtxLine(i));
    return lines;
}

TEST(LocalLog, NewLogNeedsTwoWsjtxLines) {
    EXPECT_TRUE(create_new_local_log({}, kStation).empty());
    EXPECT_TRUE(create_new_local_log(WsjtxLines(1), kStation).empty());
    const LogLines local = create_new_local_log(WsjtxLines(3), kStation);
    ASSERT_EQ(local.size(), 3u);
    EXPECT_EQ(local[2], WsjtxLineFields13(WsjtxLine(2)) + ",W9XYZ,EN37,IC-7300,Dipole,");
}

TEST(LocalLog, CatchUpIsPositional) {
    LogLines local = create_new_local_log(WsjtxLines(7), kStation);
    local.Set(0, "hand-made line");  // positions count as merged whatever they hold
    const StationDetails now{"W9XYZ", "EN37", "FT-991", "Yagi"};
    EXPECT_EQ(update_local_with_new(local, WsjtxLines(10), now), 3u);
    ASSERT_EQ(local.size(), 10u);
    EXPECT_EQ(local[0], "hand-made line");
    EXPECT_EQ(ExtractField(local[6], ',', 16), "IC-7300");
    EXPECT_EQ(ExtractField(local[9], ',', 16), "FT-991");
    EXPECT_EQ(update_local_with_new(local, WsjtxLines(10), now), 0u);
    EXPECT_EQ(update_local_with_new(local, WsjtxLines(4), now), 0u);
}

TEST(LocalLog, LastContactCompletionAndDuplicateTest) {
    const std::string eleven = "2026-12-08,14:00:00,2026-12-08,14:00:30,K1ABC,FN42,14.0755,FT8,-1,-2,5";
    EXPECT_EQ(CompleteLastContact(eleven, kStation), eleven + ",,,W9XYZ,EN37,IC-7300,Dipole,");
    const std::string complete = eleven + ",,,W9XYZ,EN37,IC-7300,Dipole,";
    EXPECT_EQ(CompleteLastContact(complete, kStation), complete);
    // An empty callsign never occurs in a text, so the suffix is always added.
    EXPECT_EQ(CompleteLastContact("x", {}), "x,,,,,,,");

    LogLines local = {complete};
    EXPECT_TRUE(LocalLogHasContact(local, complete));
    // Only the first 60 characters count: a different tail is still the same contact.
    EXPECT_TRUE(LocalLogHasContact(local, complete.substr(0, 60) + "different tail"));
    EXPECT_FALSE(LocalLogHasContact(local, "2026-12-08,14:00:00,2026-12-08,14:00:30,K1ABD"));
    EXPECT_FALSE(LocalLogHasContact({}, complete));
}

TEST(LocalLog, OldLayoutRepairSkipsLinesAlreadyConverted) {
    const LogLines old = {
        "2019-01-02,10:00:00,2019-01-02,10:01:00,K1ABC,FN42,14.076,FT8,-10,-12,5,hi,W9XYZ,EN37,"
        "OldRig,",
        "2019-01-02,11:00:00,2019-01-02,11:01:00,K2ABC,FN42,14.076,FT8,-10,-12,5,hi,,W9XYZ,EN37,"
        "OldRig,Ant,",
    };
    EXPECT_TRUE(IsOldLayoutLine(old[0], "W9XYZ"));
    EXPECT_FALSE(IsOldLayoutLine(old[1], "W9XYZ"));
    const LogLines repaired = RepairLocalLogColumns(old, kStation);
    ASSERT_EQ(repaired.size(), 1u);
    EXPECT_EQ(repaired[0],
              "2019-01-02,10:00:00,2019-01-02,10:01:00,K1ABC,FN42,14.076,FT8,-10,-12,5,hi,,W9XYZ,"
              "EN37,IC-7300,,");
}

TEST(LocalLogFile, AppendsNewLinesAndRewritesWhenTheFileChangedUnderneath) {
    test::TempFolder folder;
    LocalLogFile file(folder / "Viewer_local_log.csv");
    LogLines lines = {"one", "two"};
    ASSERT_TRUE(file.Save(lines));
    EXPECT_EQ(test::ReadFile(file.File()), "one\r\ntwo\r\n");

    lines.push_back("three");
    ASSERT_TRUE(file.SaveGrown(lines, 2));
    EXPECT_EQ(test::ReadFile(file.File()), "one\r\ntwo\r\nthree\r\n");
    ASSERT_TRUE(file.SaveGrown(lines, 3));  // nothing new
    EXPECT_EQ(test::ReadFile(file.File()), "one\r\ntwo\r\nthree\r\n");

    // Someone else changed the file: the whole list is written instead of an append.
    test::WriteFile(file.File(), "edited\r\n");
    lines.push_back("four");
    ASSERT_TRUE(file.SaveGrown(lines, 3));
    EXPECT_EQ(test::ReadFile(file.File()), "one\r\ntwo\r\nthree\r\nfour\r\n");
}

TEST(LocalLogFile, LoadDropsEmptyLinesAndTheNextSaveWritesTheCleanList) {
    test::TempFolder folder;
    test::WriteFile(folder / "log.csv", "a\n\n\r\nb\nc");  // LF, empty lines, no final line end
    LocalLogFile file(folder / "log.csv");
    auto lines = file.Load();
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, (LogLines{"a", "b", "c"}));
    lines->push_back("d");
    ASSERT_TRUE(file.SaveGrown(*lines, 3));
    EXPECT_EQ(test::ReadFile(folder / "log.csv"), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_FALSE(file.Load(nullptr) == std::nullopt);
    EXPECT_FALSE(LocalLogFile(folder / "missing.csv").Load().has_value());
}

}  // namespace
}  // namespace vantrel
