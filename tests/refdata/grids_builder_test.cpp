#include "refdata/grids_builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

std::string Rx(std::string_view message) {
    return "261208_120015    14.074 Rx FT8     -8  0.1 1200 " + std::string(message) + "\n";
}
std::string Tx(std::string_view message) {
    return "261208_140716    14.074 Tx FT8      0  0.0 1500 " + std::string(message) + "\n";
}

std::vector<std::string> Entries(const GridsBuild& build) {
    const auto& sorted = build.list.Sorted();
    return {sorted.begin(), sorted.end()};
}

using E = std::vector<std::string>;

TEST(GridWordOfLine, TakesCallAndLocatorOfReceivedMessages) {
    // The result's call and grid are views into the line, which must outlive them.
    const std::string cq = Rx("CQ K1ABC FN42");
    auto word = GridWordOfLine(cq);
    EXPECT_TRUE(word.accepted);
    EXPECT_EQ(word.call, "K1ABC");
    EXPECT_EQ(word.grid, "FN42");
    // A first word of more than 4 characters is the callsign; the grid word follows it.
    const std::string direct = Rx("K1ABC FN42 extra");
    word = GridWordOfLine(direct);
    EXPECT_TRUE(word.accepted);
    EXPECT_EQ(word.call, "K1ABC");
    // The unpadded Q65 mode, the short stamp and a decoder flag cut alike.
    EXPECT_TRUE(GridWordOfLine("261208_120430    14.080 Rx Q65 -29  0.0    0 CQ K1ABC FN42   q0\n").accepted);
    EXPECT_TRUE(GridWordOfLine("261208_1203      14.080 Rx JT65   -18  0.0 1200 CQ K1ABC FN42\r\n").accepted);
}

TEST(GridWordOfLine, RejectsWhatIsNoLocator) {
    for (const char* message : {"K1ABC W9XYZ RR73", "K1ABC W9XYZ -10", "K1ABC W9XYZ R+05",
                                "K1ABC W9XYZ 73", "K1AB W9XYZ RR73", "CQ K1ABC", "CQ", ""}) {
        SCOPED_TRACE(message);
        const auto word = GridWordOfLine(Rx(message));
        EXPECT_FALSE(word.candidate);
        EXPECT_FALSE(word.accepted);
    }
    // Counted as candidates, never accepted: a letter past R, a lower-case locator, a digit
    // where a letter belongs, a two-character callsign.
    for (const char* message : {"CQ K1ABC ZZ99", "CQ K1ABC fn42", "CQ K1ABC 1N42", "CQ K1ABC FNA2",
                                "CQ K1 FN42"}) {
        SCOPED_TRACE(message);
        const auto word = GridWordOfLine(Rx(message));
        EXPECT_TRUE(word.candidate);
        EXPECT_FALSE(word.accepted);
    }
    EXPECT_TRUE(GridWordOfLine(Rx("CQ K1A FN42")).accepted);  // 3 characters are enough
    // Transmitted lines and lines of another layout give nothing.
    EXPECT_FALSE(GridWordOfLine(Tx("CQ QQ0XYZ FN42")).candidate);
    EXPECT_FALSE(GridWordOfLine("120015 -8 0.1 1200 ~ CQ K1ABC FN42\n").candidate);
}

TEST(GridWordOfLine, TakesDirectedCqsAndAnswersWithoutCountingThem) {
    struct Case {
        const char* message;
        const char* call;  // nullptr: no entry
        const char* grid;
    };
    const Case cases[] = {
        {"CQ DX PA9XYZ JO22", "PA9XYZ", "JO22"},
        {"CQ POTA K1ABC FN42", "K1ABC", "FN42"},
        {"CQ TEST K1ABC FN42 a1", "K1ABC", "FN42"},  // a decoder flag after the grid
        {"K1ABC W9XYZ EN37", "W9XYZ", "EN37"},      // the answer: the sender's grid
        {"<...> K1ABC FN42", "K1ABC", "FN42"},
        {"<QQ0XYZ> G4ABC IO91", "G4ABC", "IO91"},
        {"K1ABC <W9XYZ> EN37", nullptr, nullptr},  // hash marks are no callsign
        {"CQ DX <PA9XYZ> JO22", nullptr, nullptr},
        {"K1ABC W9 EN37", nullptr, nullptr},       // too short
        {"K1ABC W9XYZ RR73", nullptr, nullptr},
        {"CQ DX PA9XYZ RR73", nullptr, nullptr},
        {"CQ DX PA9XYZ ZZ99", nullptr, nullptr},
        {"K1ABC W9XYZ R-08", nullptr, nullptr},
        {"TNX BOB 73 GL", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const std::string line = Rx(c.message);
        const JournalGridWord word = GridWordOfLine(line);
        EXPECT_FALSE(word.candidate);
        ASSERT_EQ(word.accepted, c.call != nullptr);
        if (c.call) {
            EXPECT_EQ(word.call, c.call);
            EXPECT_EQ(word.grid, c.grid);
        }
        EXPECT_FALSE(GridWordOfLine(Tx(c.message)).accepted);  // the operator's own lines
    }
}

// The build cuts lines from its read buffer with a faster cutter of its own; it must take
// exactly what the word view gives, for lines of every length around its 64-byte steps.
TEST(GridWordOfLine, BufferCutterAgreesWithTheWordView) {
    const std::vector<std::string> vocabulary{"Rx", "Tx", "CQ", "K1ABC", "FN42", "ZZ99", "RR73", "R+05",
                                              "-10", "K1", "DX", "W9XYZ", "q0", "261208_120015",
                                              "14.074", "FT8", "Q65", "EN37", "x", "ABCDEFGHIJKLMNOPQRSTU"};
    std::uint32_t seed = 99;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u, seed >> 8; };
    for (int round = 0; round < 20000; ++round) {
        // Half the lines start with a journal header of the usual columns (a short stamp, the
        // unpadded Q65 mode or a Tx line now and then).
        const char* headers[] = {"261208_120015    14.074 Rx FT8     -8  0.1 1200 ",
                                 "261208_1203      14.080 Rx JT65   -18  0.0 1200 ",
                                 "261208_120430    14.080 Rx Q65 -29  0.0    0 ",
                                 "261208_140716    14.074 Tx FT8      0  0.0 1500 ",
                                 "261208_120015    14.074 Rx FT8     -8  0.1 1200  ",
                                 "261208_120015    14.074 RxFT8      -8  0.1 1200 "};
        std::string line = next() % 2 ? std::string(headers[next() % 6]) : std::string(next() % 3, ' ');
        const std::size_t words = next() % 16;
        for (std::size_t i = 0; i < words; ++i) {
            line += i == 2 && next() % 4 ? std::string("Rx") : vocabulary[next() % vocabulary.size()];
            line += std::string(1 + (next() % 5 == 0 ? next() % 40 : 0), ' ');
        }
        if (!line.empty() && next() % 2) line.pop_back();
        line += next() % 2 ? "\r\n" : "\n";
        SCOPED_TRACE(line);
        const JournalGridWord plain = GridWordOfLine(line);
        const JournalGridWord fast = GridWordOfLineInBuffer(line);
        ASSERT_EQ(fast.candidate, plain.candidate);
        ASSERT_EQ(fast.accepted, plain.accepted);
        ASSERT_EQ(fast.call, plain.call);
        ASSERT_EQ(fast.grid, plain.grid);
    }
}

class GridsBuildTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::filesystem::path journal = folder / "all.txt";
    std::filesystem::path grids = folder / "grids.txt";
};

TEST_F(GridsBuildTest, BuildsSortedDistinctEntriesOnTopOfGridsFile) {
    test::WriteFile(journal, Rx("CQ K1ABC FN42") + Rx("CQ k9zz EM10") + Tx("CQ QQ0XYZ JO22") +
                                 Rx("K1ABC W9XYZ RR73") + Rx("CQ ZZ1ZZ ZZ99") + Rx("CQ K1ABC FN42") +
                                 Rx("CQ DX AA1AA FN31") + Rx("CQ K1 FN42"));
    const LogLines existing{"W9XYZ,EN37", "K1ABC,FN42", "", "K9ZZ,EM10"};
    const GridsBuild build = BuildGrids(journal, existing);
    ASSERT_TRUE(build.ok()) << build.error;
    // Candidates: K1ABC FN42 twice, k9zz EM10, ZZ99, K1 FN42. "CQ DX" takes DX as the call and
    // AA1AA as the grid word, which is no candidate; the directed CQ still gives AA1AA's grid.
    EXPECT_EQ(build.candidateCount, 5u);
    EXPECT_EQ(Entries(build), (E{"AA1AA,FN31", "K1ABC,FN42", "K9ZZ,EM10", "k9zz,EM10", "W9XYZ,EN37"}));
}

TEST_F(GridsBuildTest, MissingJournalIsReported) {
    EXPECT_EQ(BuildGrids(journal, {}).status, GridsBuildStatus::NoJournal);
}

TEST_F(GridsBuildTest, RebuildLeavesGridsFileUnchanged) {
    test::WriteFile(journal, Rx("CQ K1ABC FN42") + Rx("CQ W1AW FN31") + Rx("CQ w1aw FN31"));
    GridsBuild first = BuildGrids(journal, {});
    ASSERT_TRUE(SaveGrids(first.list, grids));
    const std::string once = test::ReadFile(grids);
    EXPECT_EQ(once, "K1ABC,FN42\r\nW1AW,FN31\r\nw1aw,FN31\r\n");
    GridsBuild second = BuildGrids(journal, *LoadLogLines(grids));
    ASSERT_TRUE(SaveGrids(second.list, grids));
    EXPECT_EQ(test::ReadFile(grids), once);
    EXPECT_EQ(second.candidateCount, first.candidateCount);
}

TEST_F(GridsBuildTest, ProgressSeesTheCountAndCanStop) {
    std::string text;
    while (text.size() < (20u << 20)) text += Rx("CQ K1ABC FN42");
    test::WriteFile(journal, text);
    std::vector<GridsScanProgress> seen;
    const GridsBuild build = BuildGrids(journal, {}, [&](const GridsScanProgress& p) {
        seen.push_back(p);
        return true;
    });
    ASSERT_TRUE(build.ok());
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.back().bytesDone, text.size());
    EXPECT_EQ(seen.back().candidateCount, build.candidateCount);
    EXPECT_LT(seen.front().bytesDone, seen.back().bytesDone);
    const GridsBuild stopped = BuildGrids(journal, {}, [](const GridsScanProgress&) { return false; });
    EXPECT_EQ(stopped.status, GridsBuildStatus::Stopped);
}

// The journal as a sequence of appends: after each, a refresh of the kept state must give what
// a fresh full build of the journal as it stands gives.
TEST_F(GridsBuildTest, RefreshEqualsFullBuildAtEverySplit) {
    const std::string lines = Rx("CQ K1ABC FN42") + Rx("CQ ZZ1ZZ ZZ99") + Tx("CQ QQ0XYZ JO22") +
                              Rx("CQ W1AW FN31") + Rx("K1ABC W9XYZ -10") + Rx("CQ DX PA9XYZ JO22") +
                              Rx("VK2XY K1ABC FN42") + Rx("K1ABC G4ABC IO91") + Rx("CQ VK2XY QF56");
    const LogLines existing{"N0CALL,EM00"};
    for (std::size_t split = 0; split <= lines.size(); ++split) {
        SCOPED_TRACE(split);
        test::WriteFile(journal, lines.substr(0, split));
        GridsBuild state = BuildGrids(journal, existing);
        ASSERT_TRUE(state.ok());
        const std::size_t lastLf = lines.substr(0, split).rfind('\n');
        EXPECT_EQ(state.journalOffset, lastLf == std::string::npos ? 0 : lastLf + 1);
        test::WriteFile(journal, lines);
        std::size_t added = 0;
        const GridsRefresh refresh = RefreshGrids(state, journal, &added);
        const GridsBuild full = BuildGrids(journal, existing);
        EXPECT_EQ(Entries(state), Entries(full));
        EXPECT_EQ(state.candidateCount, full.candidateCount);
        EXPECT_EQ(state.journalOffset, lines.size());
        if (split == lines.size()) EXPECT_EQ(refresh, GridsRefresh::Unchanged);
        else EXPECT_EQ(refresh, GridsRefresh::Appended);
        EXPECT_EQ(RefreshGrids(state, journal), GridsRefresh::Unchanged);
    }
}

TEST_F(GridsBuildTest, LineBeingWrittenWaitsForItsLineEnd) {
    test::WriteFile(journal, Rx("CQ K1ABC FN42") + "261208_120030    14.074 Rx FT8     -8  0.1 1200 CQ W1AW FN3");
    GridsBuild state = BuildGrids(journal, {});
    EXPECT_EQ(state.candidateCount, 1u);
    EXPECT_EQ(Entries(state), (E{"K1ABC,FN42"}));
    std::size_t added = 0;
    EXPECT_EQ(RefreshGrids(state, journal, &added), GridsRefresh::Unchanged);
    ASSERT_TRUE(AppendFileDurable(journal, "1\n"));
    EXPECT_EQ(RefreshGrids(state, journal, &added), GridsRefresh::Appended);
    EXPECT_EQ(added, 1u);
    EXPECT_EQ(state.candidateCount, 2u);
    EXPECT_EQ(Entries(state), (E{"K1ABC,FN42", "W1AW,FN31"}));
}

TEST_F(GridsBuildTest, ReplacedJournalIsScannedAgain) {
    test::WriteFile(journal, Rx("CQ K1ABC FN42") + Rx("CQ W1AW FN31") + Rx("CQ VK2XY QF56"));
    GridsBuild state = BuildGrids(journal, {});
    ASSERT_TRUE(SaveGrids(state.list, grids));
    // Erased and started again: shorter than the stored offset.
    test::WriteFile(journal, Rx("CQ G4ABC IO91"));
    EXPECT_EQ(RefreshGrids(state, journal), GridsRefresh::Rebuilt);
    GridsBuild full = BuildGrids(journal, *LoadLogLines(grids));
    EXPECT_EQ(Entries(state), Entries(full));
    EXPECT_EQ(state.candidateCount, 1u);
    // Replaced by a longer journal with other content: its start no longer matches.
    test::WriteFile(journal, Rx("CQ JA1ABC PM95") + Rx("CQ K1ABC FN42") + Rx("CQ W1AW FN31") +
                                 Rx("CQ VK2XY QF56"));
    EXPECT_EQ(RefreshGrids(state, journal), GridsRefresh::Rebuilt);
    EXPECT_EQ(state.candidateCount, 4u);
    EXPECT_TRUE(state.list.Contains("JA1ABC,PM95"));
    EXPECT_TRUE(state.list.Contains("G4ABC,IO91"));  // grids.txt keeps what it had
    // Gone altogether: the state stays.
    std::filesystem::remove(journal);
    EXPECT_EQ(RefreshGrids(state, journal), GridsRefresh::NoJournal);
    EXPECT_EQ(state.candidateCount, 4u);
}

// grids.state is used only beside the grids.txt it was written with, and only whole; continuing
// from it gives what a full build gives, also when the journal was erased and began again.
TEST_F(GridsBuildTest, KeptStateIsUsedOnlyWithItsGridsFileAndContinuesLikeAFullBuild) {
    test::WriteFile(journal, Rx("CQ K1ABC FN42") + Rx("CQ W1AW FN31") + Rx("CQ ZZ1ZZ ZZ99"));
    GridsBuild first = BuildGrids(journal, {});
    ASSERT_TRUE(SaveGrids(first.list, grids));
    ASSERT_TRUE(SaveGridsState(grids, StateOfBuild(first)));
    const auto kept = LoadGridsState(grids);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->journalOffset, first.journalOffset);
    EXPECT_EQ(kept->candidateCount, 3u);

    ASSERT_TRUE(AppendFileDurable(journal, Rx("CQ G4ABC IO91")));
    const GridsBuild continued = ContinueGrids(journal, *LoadLogLines(grids), *kept);
    ASSERT_TRUE(continued.ok());
    EXPECT_EQ(continued.candidateCount, 4u);
    EXPECT_EQ(Entries(continued), (E{"G4ABC,IO91", "K1ABC,FN42", "W1AW,FN31"}));

    test::WriteFile(journal, Rx("CQ VK2XY QF56"));  // erased and begun again
    const GridsBuild rebuilt = ContinueGrids(journal, *LoadLogLines(grids), *kept);
    EXPECT_EQ(rebuilt.candidateCount, 1u);
    EXPECT_EQ(rebuilt.journalOffset, test::ReadFile(journal).size());

    const std::string text = test::ReadFile(GridsStateFile(grids));
    test::WriteFile(GridsStateFile(grids), text.substr(0, text.size() - 10));
    EXPECT_FALSE(LoadGridsState(grids).has_value()) << "a cut state was used";
    test::WriteFile(GridsStateFile(grids), text);
    test::WriteFile(grids, test::ReadFile(grids) + "G4ABC,IO91\r\n");
    EXPECT_FALSE(LoadGridsState(grids).has_value()) << "a state of another grids.txt was used";
}

TEST_F(GridsBuildTest, VeryLongLineIsTakenWhole) {
    std::string longLine = "261208_120015    14.074 Rx FT8     -8  0.1 1200 CQ K1ABC FN42";
    longLine += std::string(3u << 20, ' ') + "x\n";
    test::WriteFile(journal, Rx("CQ W1AW FN31") + longLine + Rx("CQ VK2XY QF56"));
    const GridsBuild build = BuildGrids(journal, {});
    EXPECT_EQ(Entries(build), (E{"K1ABC,FN42", "VK2XY,QF56", "W1AW,FN31"}));
}

TEST_F(GridsBuildTest, JournalOfRealDecodesGivesEveryGridSender) {
    VANTREL_REQUIRE_TESTDATA();
    const GridsBuild build =
        BuildGrids(test::TestDataFolder() / "wsjtx-2.6.1" / "protocol" / "ALL-from-decodes.TXT", {});
    ASSERT_TRUE(build.ok());
    EXPECT_EQ(Entries(build), (E{"G4ABC,IO91", "K1ABC,FN42", "KA1ABC,FN42", "PA9XYZ,JO22",
                                 "W9XYZ,EN37", "WA9XYZ,EN37"}));
    EXPECT_EQ(build.candidateCount, 3u);  // CQ K1ABC, CQ KA1ABC, CQ WA9XYZ
}

TEST_F(GridsBuildTest, RealJournalGivesItsCallers) {
    VANTREL_REQUIRE_TESTDATA();
    const GridsBuild build = BuildGrids(test::TestDataFolder() / "wsjtx-2.6.1" / "ALL.TXT", {});
    ASSERT_TRUE(build.ok());
    // The received CQs, and W9XYZ's answer to K1ABC (the unpadded Q65 line with its flag).
    EXPECT_EQ(Entries(build), (E{"K1ABC,FN42", "W9XYZ,EN37"}));
    // Three received CQs; the transmitted CQ, the report and the answer are no candidates.
    EXPECT_EQ(build.candidateCount, 3u);
}

}  // namespace
}  // namespace vantrel
