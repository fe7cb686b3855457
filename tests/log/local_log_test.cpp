#include "log/local_log.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/file_io.h"
#include "log/extract_field.h"
#include "log/local_log_file.h"
#include "log/local_log_record.h"
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

TEST(LocalLog, CatchUpAddsTheContactsTheLocalLogLacks) {
    LogLines local = create_new_local_log(WsjtxLines(7), kStation);
    local.Set(0, "hand-made line");  // WSJT-X's first contact is no longer there
    const StationDetails now{"W9XYZ", "EN37", "FT-991", "Yagi"};
    const WsjtxMerge merge = update_local_with_new(local, WsjtxLines(10), now);
    EXPECT_EQ(merge.appended, 4u);
    EXPECT_EQ(merge.skipped, 0u);
    ASSERT_EQ(local.size(), 11u);
    EXPECT_EQ(local[0], "hand-made line");
    EXPECT_EQ(ExtractField(local[6], ',', 16), "IC-7300");
    EXPECT_EQ(local[7], WsjtxLineFields13(WsjtxLine(0)) + ",W9XYZ,EN37,FT-991,Yagi,");
    EXPECT_EQ(ExtractField(local[10], ',', 16), "FT-991");
    EXPECT_EQ(update_local_with_new(local, WsjtxLines(10), now).appended, 0u);
    EXPECT_EQ(update_local_with_new(local, WsjtxLines(4), now).appended, 0u);
}

// Every contact of the log, each exactly once.
void ExpectEachContactOnce(const LogLines& local, const LogLines& wsjtx) {
    ContactIndex seen;
    for (std::string_view line : local) EXPECT_TRUE(seen.Add(line)) << "twice: " << line;
    for (std::string_view line : wsjtx) EXPECT_TRUE(seen.Contains(line)) << "missing: " << line;
}

TEST(LocalLog, CatchUpWithRealLogsByIdentityNotPosition) {
    VANTREL_REQUIRE_TESTDATA();
    for (const char* name : {"wsjtx-logs/dl8obf_wsjtx.log", "wsjtx-logs/wsjtxlog2adif_wsjtx.log"}) {
        auto loaded = LoadLogLines(test::TestDataFolder() / name);
        ASSERT_TRUE(loaded.has_value()) << name;
        LogLines wsjtx = std::move(*loaded);
        wsjtx.RemoveEmpty();
        ASSERT_GT(wsjtx.size(), 150u) << name;

        // A contact X dropped from the middle of the local log, which also holds imported
        // contacts and is longer than the WSJT-X log; WSJT-X logged two more since.
        const std::size_t x = wsjtx.size() / 2;
        const std::size_t logged = wsjtx.size() - 2;
        // (wsjtxlog2adif's log holds a contact logged twice a second apart: the local log holds
        // it once.)
        LogLines local;
        ContactIndex made;
        for (std::size_t i = 0; i < logged; ++i)
            if (i != x && made.Add(wsjtx[i])) local.push_back(LocalLineFromWsjtx(wsjtx[i], kStation));
        for (int i = 0; i < 6; ++i)
            local.push_back("2001-01-01,00:0" + std::to_string(i) +
                            ":00,2001-01-01,00:10:00,QQ1AA,,7.074,FT8,,,,imported,,,,,,");
        ASSERT_GT(local.size(), wsjtx.size()) << name;
        const std::size_t before = local.size();

        ContactIndex index(local);
        const WsjtxMerge merge = update_local_with_new(local, index, wsjtx, kStation);
        EXPECT_EQ(merge.appended, 3u) << name;
        ASSERT_EQ(local.size(), before + 3) << name;
        // In WSJT-X's order: X first, then the two newest.
        EXPECT_EQ(ContactIdentityOf(local[before]), ContactIdentityOf(wsjtx[x])) << name;
        EXPECT_EQ(ContactIdentityOf(local[before + 2]), ContactIdentityOf(wsjtx.back())) << name;
        ExpectEachContactOnce(local, wsjtx);
        EXPECT_EQ(index.IndexedLines(), local.size());
        EXPECT_TRUE(LocalLogHasContact(index, local.back()));

        // Nothing more on the next start, with the index kept or made anew.
        EXPECT_EQ(update_local_with_new(local, index, wsjtx, kStation).appended, 0u) << name;
        EXPECT_EQ(update_local_with_new(local, wsjtx, kStation).appended, 0u) << name;
    }
}

TEST(LocalLog, CatchUpSkipsLinesThatHoldNoContact) {
    VANTREL_REQUIRE_TESTDATA();
    // The real 2.6.1 lines (commas in comment and name) among junk: binary bytes, a line without
    // any comma, one cut short, and a contact after a run of NUL bytes that a crash left.
    std::string bytes = test::ReadFile(test::TestDataFolder() / "wsjtx-2.6.1/wsjtx.log");
    bytes += std::string("\x7f" "ELF\x02\x01\x01\x00\x00,\xff\xfe\n", 13);
    bytes += "garbage without commas\n";
    bytes += "2026-12-09,10:00:00,2026-12-09,10:00:30,K3ABC,FN42\n";
    bytes += std::string(6, '\0') + "2026-12-09,11:00:00,2026-12-09,11:00:30,K4A\x01" "BC,FN42,"
             "14.075500,FT8,-15,-12,100,,,\n";
    bytes += test::ReadFile(test::TestDataFolder() / "wsjtx-2.6.1/wsjtx-comment-name.log");
    bytes += test::ReadFile(test::TestDataFolder() / "wsjtx-2.6.1/wsjtx.log");  // logged twice
    const LogLines wsjtx = LogLines::FromBytes(bytes);
    ASSERT_EQ(wsjtx.size(), 7u);

    WsjtxMerge merge;
    LogLines local = create_new_local_log(wsjtx, kStation, &merge);
    EXPECT_EQ(merge.appended, 3u);
    EXPECT_EQ(merge.skipped, 3u);
    EXPECT_EQ(merge.skippedLines, (std::vector<std::size_t>{2, 3, 4}));
    ASSERT_EQ(local.size(), 3u);
    EXPECT_EQ(local[0],
              "2026-12-08,14:06:36,2026-12-08,14:06:36,QZ9ZZ,FN42,14.075500,FT8,-15,-12,100,abc "
              "caf\xc3\xa9Jo, Smith,W9XYZ,EN37,IC-7300,Dipole,");
    EXPECT_EQ(local[1],
              "2026-12-09,11:00:00,2026-12-09,11:00:30,K4ABC,FN42,14.075500,FT8,-15,-12,100,,,"
              "W9XYZ,EN37,IC-7300,Dipole,");
    EXPECT_EQ(ExtractField(local[2], ',', 5), "K1ABC");
    const std::string trace = SkippedLinesTrace(merge);
    EXPECT_NE(trace.find("3 lines hold no contact"), std::string::npos) << trace;
    EXPECT_NE(trace.find("lines 2, 3, 4"), std::string::npos) << trace;
    EXPECT_EQ(trace.find('\0'), std::string::npos);
    EXPECT_TRUE(SkippedLinesTrace(WsjtxMerge{}).empty());

    // The same WSJT-X log again: nothing added, the cleaned line is recognised.
    EXPECT_EQ(update_local_with_new(local, wsjtx, kStation).appended, 0u);
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
    EXPECT_FALSE(LocalLogHasContact(LogLines{}, complete));

    // The index answers the same for a contact: a different station tail is the same contact.
    const ContactIndex index(local);
    EXPECT_TRUE(LocalLogHasContact(index, complete));
    EXPECT_TRUE(LocalLogHasContact(index, eleven + ",,,QQ0XYZ,JO62,,,"));
    EXPECT_FALSE(LocalLogHasContact(index, "2026-12-08,14:00:00,2026-12-08,14:00:30,K1ABD,FN42,14.0755"));
    EXPECT_TRUE(LocalLogHasContact(index, ""));
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

TEST(LocalLogFile, AppendsNewLinesAndMergesWhenTheFileChangedUnderneath) {
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

    // Someone else replaced the file: its line that this writer never read is kept, first in
    // the file as it was there first, and at the end of the list, which only grows.
    test::WriteFile(file.File(), "edited\r\n");
    lines.push_back("four");
    const LocalLogSave saved = file.SaveGrown(lines, 3);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved.keptFromFile, 1u);
    EXPECT_EQ(lines, (LogLines{"one", "two", "three", "four", "edited"}));
    EXPECT_EQ(test::ReadFile(file.File()), "edited\r\none\r\ntwo\r\nthree\r\nfour\r\n");
    lines.push_back("five");
    ASSERT_TRUE(file.SaveGrown(lines, 5));
    EXPECT_EQ(test::ReadFile(file.File()), "edited\r\none\r\ntwo\r\nthree\r\nfour\r\nfive\r\n");
}

std::string Contact(int i) {
    char line[128];
    std::snprintf(line, sizeof line,
                  "2026-12-%02d,%02d:%02d:%02d,2026-12-01,10:00:30,K%dABC,FN42,14.075500,FT8,-10,"
                  "-12,100,,,W9XYZ,EN37,IC-7300,Dipole,",
                  1 + i / 86400 % 28, i / 3600 % 24, i / 60 % 60, i % 60, i % 10);
    return line;
}

TEST(LocalLogFile, TwoWritersOnOneFileLoseNoContact) {
    test::TempFolder folder;
    const auto path = folder / "Viewer_local_log.csv";
    LogLines start;
    for (int i = 0; i < 10; ++i) start.push_back(Contact(i));
    ASSERT_TRUE(LocalLogFile(path).Save(start));

    // Two programs keep the same file; each logs 400 contacts, in runs of one to three.
    LocalLogFile a(path), b(path);
    LogLines la = *a.Load(), lb = *b.Load();
    EXPECT_EQ(a.Known().IndexedLines(), 10u);
    EXPECT_TRUE(a.Known().Contains(Contact(9)));
    EXPECT_FALSE(a.Known().Contains(Contact(10)));
    std::size_t kept = 0;
    for (int i = 10; i < 810; ++i) {
        const bool first = (i / 3 + i / 7) % 2 == 0;
        LogLines& lines = first ? la : lb;
        lines.push_back(Contact(i));
        const std::size_t before = lines.size();
        std::string error;
        const LocalLogSave saved = (first ? a : b).SaveGrown(lines, before - 1, &error);
        ASSERT_TRUE(saved) << error;
        EXPECT_EQ(lines.size(), before + saved.keptFromFile);
        kept += saved.keptFromFile;
    }
    EXPECT_GT(kept, 300u);
    // Each catches up with the other's last contacts at its next save.
    ASSERT_TRUE(a.SaveGrown(la, la.size()));
    ASSERT_TRUE(b.SaveGrown(lb, lb.size()));

    LogLines all;
    for (int i = 0; i < 810; ++i) all.push_back(Contact(i));
    const LogLines onDisk = *LocalLogFile(path).Load();
    EXPECT_EQ(onDisk.size(), 810u);
    ExpectEachContactOnce(onDisk, all);
    ExpectEachContactOnce(la, all);
    ExpectEachContactOnce(lb, all);
}

TEST(LocalLogFile, ARewriteKeepsWhatAnotherWriterAddedButNotWhatItRemoved) {
    test::TempFolder folder;
    const auto path = folder / "Viewer_local_log.csv";
    LocalLogFile a(path), b(path);
    LogLines la = {Contact(0), Contact(1), Contact(2), "junk - MOD"};
    ASSERT_TRUE(a.Save(la));
    LogLines lb = *b.Load();
    lb.push_back(Contact(3));
    ASSERT_TRUE(b.SaveGrown(lb, 4));

    // A repair removes the junk line and rewrites the whole log.
    la = {Contact(0), Contact(1), Contact(2)};
    const LocalLogSave saved = a.Save(la);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved.keptFromFile, 1u);
    EXPECT_EQ(la, (LogLines{Contact(0), Contact(1), Contact(2), Contact(3)}));
    EXPECT_EQ(*LocalLogFile(path).Load(), la);
}

TEST(LocalLogFile, AFullDiskLeavesNoPartOfALineAndTheLinesAreWrittenWhenSpaceReturns) {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
    test::TempFolder folder;
    const auto disk = folder / "disk";
    std::filesystem::create_directory(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    struct Unmount {
        std::filesystem::path at;
        ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
    } unmount{disk};

    LocalLogFile file(disk / "Viewer_local_log.csv");
    LogLines lines;
    for (int i = 0; i < 10; ++i) lines.push_back(Contact(i));
    ASSERT_TRUE(file.Save(lines));
    {
        // Fill the rest of the disk.
        std::FILE* filler = std::fopen((disk / "filler").c_str(), "wb");
        ASSERT_NE(filler, nullptr);
        const std::string block(4096, 'x');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
               std::fflush(filler) == 0) {
        }
        std::fclose(filler);
    }
    const std::string before = test::ReadFile(file.File());
    for (int i = 10; i < 70; ++i) lines.push_back(Contact(i));  // more than a page
    std::string error;
    EXPECT_FALSE(file.SaveGrown(lines, 10, &error));
    EXPECT_NE(error.find("disk full"), std::string::npos) << error;
    EXPECT_EQ(test::ReadFile(file.File()), before);

    std::filesystem::remove(disk / "filler");
    ASSERT_TRUE(file.SaveGrown(lines, 10, &error)) << error;
    EXPECT_EQ(*LocalLogFile(file.File()).Load(), lines);
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
