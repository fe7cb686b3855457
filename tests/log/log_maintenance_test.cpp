#include "log/log_maintenance.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log/extract_field.h"
#include "log/local_log_record.h"

namespace vantrel {
namespace {

constexpr std::string_view kTail = ",14.074,FT8,-10,-12,100,,,QQ0XYZ,JO62QM,IC-7300,Vertical [7,14,21],";

std::string Line(std::string_view call, std::string_view grid) {
    return "2024-03-05,10:15:00,2024-03-05,10:16:30," + std::string(call) + "," + std::string(grid) +
           std::string(kTail);
}

TEST(LogMaintenance, GridsFilledFromTheFirstUsableExactEntry) {
    LogLines log;
    log.push_back(Line("QZ9ZZ", ""));
    log.push_back(Line("qz9zz", ""));      // letter case must match
    log.push_back(Line("QZ9ZZ", "EM10"));  // has a grid already
    log.push_back(Line("", ""));           // no callsign: left alone
    log.push_back(Line("RX1AA", ""));      // not in the list
    log.push_back("2024-03-05,10:15:00,2024-03-05,10:16:30,QZ9ZZ");  // ends at the callsign
    const LogLines grids{"QZ9Z,AA00", "QZ9ZZ,", "QZ9ZZ,FN42", "QZ9ZZ,JO62", ",KO85"};

    const RepairResult result = check_grids_in_log(log, grids);
    EXPECT_EQ(result.changed, 2u);
    ASSERT_EQ(result.lines.size(), log.size());
    EXPECT_EQ(result.lines[0], Line("QZ9ZZ", "FN42"));
    for (std::size_t i = 1; i < 5; ++i) EXPECT_EQ(result.lines[i], log[i]) << i;
    EXPECT_EQ(result.lines[5], "2024-03-05,10:15:00,2024-03-05,10:16:30,QZ9ZZ,FN42");

    EXPECT_EQ(check_grids_in_log(log, LogLines{}).lines, log);
}

TEST(LogMaintenance, ProgressIsReportedEveryFewThousandLines) {
    LogLines log;
    for (int i = 0; i < 10000; ++i) log.push_back(Line("QZ9ZZ", "FN42"));
    std::vector<std::size_t> done;
    const RepairResult result = ZapUserField(log, [&](std::size_t at, std::size_t total) {
        EXPECT_EQ(total, 10000u);
        done.push_back(at);
    });
    EXPECT_EQ(done, (std::vector<std::size_t>{0, 4096, 8192, 10000}));
    EXPECT_EQ(result.changed, 0u);
}

TEST(LogMaintenance, OldDatesAndShortTimesAreRewritten) {
    const std::string rest = "QZ9ZZ,FN42" + std::string(kTail);
    LogLines log;
    log.push_back("5/3/2024,9:05:00,5/3/2024,9:06:30," + rest + "  ");
    log.push_back("2024-03-05,9:05:00,2024-03-05,9:06:30," + rest);  // new date form: left alone
    log.push_back("15/11/2023,19:05:00,2023-11-15,19:06:30," + rest);  // end date already new
    log.push_back("5/3/2024,9:05:00,5/3/2024,9:06:30,,FN42" + std::string(kTail));  // no callsign

    const RepairResult result = check_dates_in_log(log);
    EXPECT_EQ(result.changed, 2u);
    EXPECT_EQ(result.lines[0], "2024-03-05,09:05:00,2024-03-05,09:06:30," + rest);
    EXPECT_EQ(result.lines[1], log[1]);
    EXPECT_EQ(result.lines[2], "2023-11-15,19:05:00,2023-11-15,19:06:30," + rest);
    EXPECT_EQ(result.lines[3], log[3]);

    EXPECT_EQ(ConvertDate("5/3/2024"), "2024-03-05");
    EXPECT_EQ(ConvertDate("25/12/2023"), "2023-12-25");
    EXPECT_EQ(ConvertDate("2024-3-5"), "05/03/2024");
    EXPECT_EQ(PadTime("9:05:00"), "09:05:00");
    EXPECT_EQ(PadTime("09:05:00"), "09:05:00");
    EXPECT_EQ(PadTime("905"), "905");
}

TEST(LogMaintenance, JunkIsCutAfterTheAntennaBracketOrAfterSixteenFields) {
    const std::string head = "2024-03-05,10:15:00,2024-03-05,10:16:30,QZ9ZZ,FN42,14.074,FT8,-10,-12,100,";
    const LogLines file{
        head + ",,QQ0XYZ,JO62QM,IC-7300,Vertical [7,14,21],stray,text",
        head + ",,QQ0XYZ,JO62QM,IC-7300,Dipole,stray",
        head + "see [1],,QQ0XYZ,JO62QM,IC-7300,Vertical [7,14],",  // "]" in the comment too
        "",
        "short,line",
    };
    const LogLines mod = RemoveLogJunk(file);
    ASSERT_EQ(mod.size(), 4u);
    EXPECT_EQ(mod[0], head + ",,QQ0XYZ,JO62QM,IC-7300,Vertical [7,14,21],");
    EXPECT_EQ(mod[1], head + ",,QQ0XYZ,JO62QM,IC-7300");
    EXPECT_EQ(mod[2], head + "see [1],,QQ0XYZ,JO62QM,IC-7300,Vertical [7,14],");
    EXPECT_EQ(mod[3], "short,line,,,,,,,,,,,,,,");
}

TEST(LogMaintenance, ZapEmptiesOnlyTheCommentField) {
    const LogLines log{
        "2024-03-05,10:15:00,2024-03-05,10:16:30,QZ9ZZ,FN42,14.074,FT8,-10,-12,100,FT8,Al,QQ0XYZ,JO62QM,R,A,",
        Line("RX1AA", "KO85"),
        "2024-03-05,10:15:00,2024-03-05,10:16:30,QZ9ZZ,FN42,14.074,FT8,-10,-12,100,last",
    };
    const RepairResult result = ZapUserField(log);
    EXPECT_EQ(result.changed, 2u);
    EXPECT_EQ(result.lines[0],
              "2024-03-05,10:15:00,2024-03-05,10:16:30,QZ9ZZ,FN42,14.074,FT8,-10,-12,100,,Al,QQ0XYZ,JO62QM,R,A,");
    EXPECT_EQ(result.lines[1], log[1]);
    EXPECT_EQ(result.lines[2], "2024-03-05,10:15:00,2024-03-05,10:16:30,QZ9ZZ,FN42,14.074,FT8,-10,-12,100,");
}

TEST(LogMaintenance, MyGridRepairAppliesToTheMakerStationOnly) {
    const std::string head = "2024-03-05,10:15:00,2024-03-05,10:16:30,QZ9ZZ,FN42,14.074,FT8,-10,-12,100,,,";
    const LogLines log{
        "2024-03-06,08:00:00,2024-03-06,08:01:00,RX1AA,KO85,7.074,FT8,-1,-2,5,,,QQ0XYZ,RR99,IC-7300,Dipole,",
        "2024-03-01,08:00:00,2024-03-01,08:01:00,RX1AA,KO85,7.074,FT8,-1,-2,5,,,qx0xyz,GRID,IC-7300,Dipole,",
        "2024-03-02,08:00:00,2024-03-02,08:01:00,RX1AA,KO85,7.074,FT8,-1,-2,5,,,QX0XYZ/P,RR99XX,R,Dipole,",
        "2024-03-03,08:00:00,2024-03-03,08:01:00,RX1AA,KO85,7.074,FT8,-1,-2,5,,,QQ0XYZ/MM,RR99XX,R,Dipole,",
        head + "QQ0XYZ,RR99XX,IC-7300,Vertical [7,14,21],stray,",
        "2024-03-04,08:00:00,2024-03-04,08:01:00,RX1AA,KO85,7.074,FT8,-1,-2,5,,,QZ1OTHER,,R,Dipole,",
    };
    const MyGridResult none = CheckMyGrid(log, "W9XYZ");
    EXPECT_FALSE(none.applicable);
    EXPECT_EQ(none.lines, log);
    EXPECT_EQ(kCheckMyGridNotApplicable, "Not applicable to your use.");

    const MyGridResult result = CheckMyGrid(log, "QQ0XYZ");
    EXPECT_TRUE(result.applicable);
    EXPECT_EQ(result.changed, 5u);
    const LogLines expected{
        "2024-03-01,08:00:00,2024-03-01,08:01:00,RX1AA,KO85,7.074,FT8,-1,-2,5,,,qx0xyz,RR99XX,IC-7300,Dipole,",
        "2024-03-02,08:00:00,2024-03-02,08:01:00,RX1AA,KO85,7.074,FT8,-1,-2,5,,,QX0XYZ,RR99XX,R,Dipole,",
        "2024-03-03,08:00:00,2024-03-03,08:01:00,RX1AA,KO85,7.074,FT8,-1,-2,5,,,QQ0XYZ,RR99XX,R,Dipole,",
        "2024-03-04,08:00:00,2024-03-04,08:01:00,RX1AA,KO85,7.074,FT8,-1,-2,5,,,QZ1OTHER,,R,Dipole,",
        head + "QQ0XYZ,RR99XX,IC-7300,Vertical [7,14,21],",
        "2024-03-06,08:00:00,2024-03-06,08:01:00,RX1AA,KO85,7.074,FT8,-1,-2,5,,,QQ0XYZ,RR99XX,IC-7300,Dipole,",
    };
    EXPECT_EQ(result.lines, expected);

    EXPECT_EQ(MyGridBackupName(LocalTime{2026, 12, 7, 14, 30, 5, 0}), "Viewer_local_log 071226 143005.txt");
}

TEST(LogMaintenance, RepairsLeaveTheCleanDemoLogUnchanged) {
    const auto wsjtx = LoadLogLines(VANTREL_SOURCE_DIR "/data/demo/WSJT-X/wsjtx.log");
    ASSERT_TRUE(wsjtx.has_value());
    const StationDetails station{"W9XYZ", "EN37", "IC-7300", "Vertical [7,14,21]"};
    LogLines log;
    LogLines grids;
    for (const std::string_view line : *wsjtx) {
        log.push_back(LocalLineFromWsjtx(line, station));
        grids.push_back(std::string(ExtractFieldView(line, ',', 5)) + "," + std::string(ExtractFieldView(line, ',', 6)));
    }
    ASSERT_GT(log.size(), 300u);

    const RepairResult dates = check_dates_in_log(log);
    EXPECT_EQ(dates.changed, 0u);
    EXPECT_EQ(dates.lines, log);
    EXPECT_EQ(RemoveLogJunk(log), log);
    const MyGridResult mine = CheckMyGrid(log, "QQ0XYZ");
    EXPECT_EQ(mine.changed, 0u);
    EXPECT_EQ(mine.lines, log);

    // Grids and comments: only the field concerned may change.
    const RepairResult filled = check_grids_in_log(log, grids);
    const RepairResult zapped = ZapUserField(log);
    EXPECT_GT(zapped.changed, 0u);
    for (std::size_t i = 0; i < log.size(); ++i) {
        for (std::uint8_t n = 1; n <= 18; ++n) {
            if (n != 6) {
                EXPECT_EQ(ExtractFieldView(filled.lines[i], ',', n), ExtractFieldView(log[i], ',', n));
            }
            if (n != 12) {
                EXPECT_EQ(ExtractFieldView(zapped.lines[i], ',', n), ExtractFieldView(log[i], ',', n));
            }
        }
    }
}

}  // namespace
}  // namespace vantrel
