#include "adif/adif_import.h"

#include <gtest/gtest.h>

#include "log/extract_field.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

TEST(AdifImport, SingleLineRecordsSortedOnceEach) {
    const std::string record =
        "<call:5>QZ9ZZ <gridsquare:4>FN42 <mode:3>FT8 <rst_sent:3>-10 <rst_rcvd:3>-12 <qso_date:8>20240305 "
        "<time_on:6>101500 <qso_date_off:8>20240305 <time_off:6>101630 <band:3>20m <freq:6>14.074 "
        "<station_callsign:6>QQ0XYZ <my_gridsquare:6>JO62QM <tx_pwr:3>100 <comment:0> <rig:7>IC-7300 "
        "<my_antenna:18>Vertical [7,14,21] <eor>";
    const std::string file = "ADIF Export\n<adif_ver:5>3.1.1\n<eoh>\n" + record + "\n" +
                             "<call:4>AB1C <qso_date:8>20240101 <eor>\n" + record + "\n";
    const AdifImportResult result = AdifImport(file);
    EXPECT_EQ(result.records, 3u);
    ASSERT_EQ(result.lines.size(), 2u);
    EXPECT_EQ(result.lines[0], "2024-01-01,,,,AB1C,,,,,,,,,,,,");
    EXPECT_EQ(result.lines[1],
              "2024-03-05,10:15:00,2024-03-05,10:16:30,QZ9ZZ,FN42,14.074,FT8,-10,-12,100,,QQ0XYZ,JO62QM,IC-7300,"
              "Vertical [7,14,21],");
}

TEST(AdifImport, MultiLineRecordsWithUpperCaseTagsAndTypes) {
    const std::string file =
        "Exported\r\n<PROGRAMID:4>Test\r\n<EOH>\r\n\r\n"
        "<CALL:6:S>VE3AAA\r\n<QSO_DATE:8:D>20250627\r\n<TIME_ON:4>0005\r\n<MODE:4>MFSK\r\n<SUBMODE:4>FST4\r\n"
        "<COMMENT:14>line one,\r\ntwo\r\n<EOR>\r\n"
        "<QSO_DATE:8>20250628\r\n<PROGRAMID_ONLY:1>x\r\n<EOR>\r\n";  // no callsign: not imported
    const AdifImportResult result = AdifImport(file);
    EXPECT_EQ(result.records, 2u);
    ASSERT_EQ(result.lines.size(), 1u);
    EXPECT_EQ(result.lines[0], "2025-06-27,00:05:00,,,VE3AAA,,,FST4,,,,line one  two,,,,,");
}

TEST(AdifImport, LinesDifferingOnlyInCaseAreOneLine) {
    const AdifImportResult result = AdifImport("<call:4>qz1a <eor>\n<CALL:4>QZ1A <EOR>\n<call:4>QZ0B <eor>");
    ASSERT_EQ(result.lines.size(), 2u);
    EXPECT_EQ(ExtractField(result.lines[0], ',', 5), "QZ0B");
    EXPECT_EQ(result.distinctFileLines, 2u);
}

TEST(AdifImport, RealFilesImportWhole) {
    VANTREL_REQUIRE_TESTDATA();
    const auto data = test::TestDataFolder();
    const auto conformance = AdifImportFile(data / "adif" / "ADIF_316_test_QSOs_2025_08_27.adi");
    ASSERT_TRUE(conformance);
    EXPECT_EQ(conformance->records, 6191u);
    EXPECT_GT(conformance->lines.size(), 6000u);
    for (const std::string& line : conformance->lines) {
        ASSERT_EQ(SplitPieces(line, ',').size(), 17u) << line;
        ASSERT_NE(ExtractField(line, ',', 5), "") << line;
    }
    struct Expect { const char* file; std::size_t records; };
    for (const Expect& expect : {Expect{"adif/N3FJP-AClogAdif.adi", 0}, {"adif/lotwreport.adi", 0},
                                 {"adif/skcc-logger.adi", 15}, {"wsjtx-logs/polarplot_wsjtx_log.adi", 1700},
                                 {"wsjtx-logs/dl8obf_wsjtx_log.adi", 0}}) {
        const auto result = AdifImportFile(data / expect.file);
        ASSERT_TRUE(result) << expect.file;
        const std::string bytes = test::ReadFile(data / expect.file);
        std::size_t eors = 0;
        for (std::size_t at = 0; (at = bytes.find("<eor>", at)) != std::string::npos; ++at) ++eors;
        for (std::size_t at = 0; (at = bytes.find("<EOR>", at)) != std::string::npos; ++at) ++eors;
        EXPECT_EQ(result->records, eors) << expect.file;
        if (expect.records != 0) {
            EXPECT_EQ(result->records, expect.records) << expect.file;
        }
        EXPECT_FALSE(result->lines.empty()) << expect.file;
    }
}

TEST(AdifImport, WsjtxAdifLogKeepsItsUtf8Comment) {
    VANTREL_REQUIRE_TESTDATA();
    const auto result = AdifImportFile(test::TestDataFolder() / "wsjtx-2.6.1" / "wsjtx_log-comment-name.adi");
    ASSERT_TRUE(result);
    ASSERT_EQ(result->lines.size(), 1u);
    EXPECT_EQ(result->lines[0], "2026-12-08,14:19:19,2026-12-08,14:19:19,K1ABC,FN42,14.075500,FT8,-15,-12,100,"
                                "abc caf\xEF\xBF\xBD,W9XYZ,EN37,,,");
}

}  // namespace
}  // namespace vantrel
