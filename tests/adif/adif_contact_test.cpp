#include "adif/adif_contact.h"

#include <gtest/gtest.h>

#include "adif/contact_band_check.h"
#include "log/extract_field.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

const StationDetails kStation{"QQ0XYZ", "JO62QM", "IC-7300", "Vertical [7,14,21]"};

const char* const kWorkedRecord =
    "<call:5>QZ9ZZ <gridsquare:4>FN42 <mode:3>FT8 <rst_sent:3>-10 <rst_rcvd:3>-12 "
    "<qso_date:8>20240305 <time_on:6>101500 <qso_date_off:8>20240305 <time_off:6>101630 <band:3>20m "
    "<freq:6>14.074 <station_callsign:6>QQ0XYZ <my_gridsquare:6>JO62QM <tx_pwr:3>100 <comment:5>a,b,c <eor>";

TEST(AdifRecordToLine, WorkedRecordGivesTheLocalLogLine) {
    const std::string line = AdifRecordToLine(kWorkedRecord, kStation);
    EXPECT_EQ(line,
              "2024-03-05,10:15:00,2024-03-05,10:16:30,QZ9ZZ,FN42,14.074,FT8,-10,-12,100,abc,,QQ0XYZ,JO62QM,"
              "IC-7300,Vertical [7,14,21],");
    EXPECT_TRUE(ContactBandMatches(line, kStation.rig, kStation.antenna));
    // Blanks around the text do not matter.
    const std::string padded = std::string("  ").append(kWorkedRecord).append(" \r\n");
    EXPECT_EQ(AdifRecordToLine(padded, kStation), line);
}

TEST(AdifRecordToLine, StationValuesFillOnlyWhatTheRecordLeavesEmpty) {
    const StationDetails station{"W9XYZ", "EN37", "FT-991", "Dipole"};
    const std::string line = AdifRecordToLine(
        "<call:4>QZ1A <gridsquare:0> <mode:3>FT8 <station_callsign:0> <rig:8>K3, 100W <eor>", station);
    EXPECT_EQ(ExtractField(line, ',', 6), "");
    EXPECT_EQ(ExtractField(line, ',', 14), "W9XYZ");
    EXPECT_EQ(ExtractField(line, ',', 15), "EN37");
    EXPECT_EQ(ExtractField(line, ',', 16), "K3 100W");
    EXPECT_EQ(ExtractField(line, ',', 17), "Dipole");
    EXPECT_EQ(SplitPieces(line, ',').size(), 18u);
}

TEST(AdifRecordToLine, MfskTakesItsSubmode) {
    EXPECT_EQ(ExtractField(AdifRecordToLine("<mode:4>MFSK <submode:3>FT4 <eor>", kStation), ',', 8), "FT4");
    EXPECT_EQ(ExtractField(AdifRecordToLine("<mode:4>MFSK <submode:0> <eor>", kStation), ',', 8), "MFSK");
    EXPECT_EQ(ExtractField(AdifRecordToLine("<mode:4>JT65 <submode:1>A <eor>", kStation), ',', 8), "JT65");
}

TEST(AdifRecordToLine, TagLikeTextInAValueSuppliesNothing) {
    const std::string line =
        AdifRecordToLine("<call:4>QZ1A <comment:14>see <rig:3>abc <eor>", StationDetails{"", "", "", ""});
    EXPECT_EQ(ExtractField(line, ',', 12), "see <rig:3>abc");
    EXPECT_EQ(ExtractField(line, ',', 16), "");
}

TEST(AdifRecordToLine, LineBreaksInValuesDoNotSplitTheLine) {
    const std::string line = AdifRecordToLine("<call:4>QZ1A <comment:8>one\r\ntwo <eor>", kStation);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(ExtractField(line, ',', 12), "one  two");
}

TEST(AdifRecordToLine, RealDatagramsOfWsjtx261) {
    VANTREL_REQUIRE_TESTDATA();
    const auto folder = test::TestDataFolder() / "wsjtx-2.6.1";
    const StationDetails station{"W9XYZ", "EN37", "IC-7300", "Vertical [7,14,21]"};
    EXPECT_EQ(AdifRecordToLine(test::ReadFile(folder / "n1mm-ft8-comment-name.bin"), station),
              "2026-12-08,14:19:19,2026-12-08,14:19:19,K1ABC,FN42,14.075500,FT8,-15,-12,100,abc caf\xE9,"
              "Jo Smith,W9XYZ,EN37,IC-7300,Vertical [7,14,21],");
    EXPECT_EQ(AdifRecordToLine(test::ReadFile(folder / "n1mm-ft4-mfsk.bin"), station),
              "2026-12-08,14:19:38,2026-12-08,14:19:38,K1ABC,FN42,14.081500,FT4,-15,-12,100,,,W9XYZ,EN37,"
              "IC-7300,Vertical [7,14,21],");
    const std::string qz9zz = AdifRecordToLine(test::ReadFile(folder / "n1mm-ft8-qz9zz.bin"), station);
    EXPECT_EQ(qz9zz, "2026-12-08,14:06:36,2026-12-08,14:06:36,QZ9ZZ,FN42,14.075500,FT8,-15,-12,100,abc caf\xE9,"
                     "Jo Smith,QQ0XYZ,JO62QM,IC-7300,Vertical [7,14,21],");
}

TEST(AdifRecordToImportLine, SixteenFieldsWithoutNameOrDefaults) {
    const std::string line =
        AdifRecordToImportLine("<call:5>QZ9ZZ <qso_date:8>20240305 <station_callsign:6>QQ0XYZ <comment:3>a,b "
                               "<my_antenna:18>Vertical [7,14,21] <name:2>Jo <eor>");
    EXPECT_EQ(line, "2024-03-05,,,,QZ9ZZ,,,,,,,ab,QQ0XYZ,,,Vertical [7,14,21],");
    EXPECT_EQ(AdifRecordToImportLine("<call:4>QZ1A <eor>"), ",,,,QZ1A," + std::string(11, ','));
}

TEST(RawUdpFileName, TwoDigitYearMonthDay) {
    EXPECT_EQ(RawUdpFileName(LocalTime{2026, 12, 7, 23, 59, 59, 0}), "RAWUDP 261207.txt");
    EXPECT_EQ(RawUdpFileName(LocalTime{2030, 1, 2, 0, 0, 0, 0}), "RAWUDP 300102.txt");
}

TEST(BandCheck, AntennaListOrDefaultList) {
    const auto line = [](const char* freq) {
        return std::string("2024-03-05,10:15:00,2024-03-05,10:16:30,QZ9ZZ,FN42,") + freq + ",FT8,";
    };
    EXPECT_TRUE(ContactBandMatches(line("14.074"), "IC-7300", "Vertical [7,14,21]"));
    EXPECT_FALSE(ContactBandMatches(line("10.136"), "IC-7300", "Vertical [7,14,21]"));
    EXPECT_FALSE(ContactBandMatches(line("7.074"), "IC-7300", "Dipole"));
    // Without a rig the default list applies, whatever the antenna.
    EXPECT_TRUE(ContactBandMatches(line("5.357"), "", "Dipole"));
    EXPECT_TRUE(ContactBandMatches(line("0.475"), "", ""));
    EXPECT_TRUE(ContactBandMatches(line("1.840"), "", ""));
    EXPECT_TRUE(ContactBandMatches(line("3.573"), "", ""));
    EXPECT_FALSE(ContactBandMatches(line("220.100"), "", ""));
    EXPECT_FALSE(ContactBandMatches(line("4.100"), "", ""));
    // Entries are trimmed; an empty entry ends the scan.
    EXPECT_TRUE(BandListCovers(" 7 , 14 ", "14"));
    EXPECT_FALSE(BandListCovers("7,,14", "14"));
    EXPECT_EQ(BandListFor("IC-7300", "Loop [ 3.5,7 ] east"), " 3.5,7 ");
    EXPECT_EQ(BandListFor("IC-7300", "Loop ]7,14["), "Loop ]7,14[");
}

}  // namespace
}  // namespace vantrel
