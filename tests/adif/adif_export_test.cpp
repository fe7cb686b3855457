#include "adif/adif_export.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <stdexcept>

#include "log/extract_field.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

const char* const kWorkedLine =
    "2024-03-05,10:15:00,2024-03-05,10:16:30,QZ9ZZ,FN42,14.074,FT8,-10,-12,100,,,QQ0XYZ,JO62QM,IC-7300,"
    "Vertical [7,14,21],";

// A strict reader written from the ADIF rules alone: a header exists exactly when the file does
// not begin with "<" and ends at <EOH>; a data specifier is <NAME:LENGTH> or <NAME:LENGTH:TYPE>
// with LENGTH bytes of data; a record ends at <EOR>; anything outside specifiers is ignored.
// Throws on a malformed specifier, a length past the end, or fields left after the last <EOR>.
struct StrictAdif {
    std::map<std::string, std::string> header;
    std::vector<std::map<std::string, std::string>> records;
};

StrictAdif ReadStrictAdif(const std::string& text) {
    StrictAdif adif;
    std::map<std::string, std::string> current;
    bool inHeader = !text.empty() && text[0] != '<';
    std::size_t pos = 0;
    while ((pos = text.find('<', pos)) != std::string::npos) {
        const std::size_t close = text.find('>', pos);
        if (close == std::string::npos) throw std::runtime_error("unclosed tag");
        std::string spec = text.substr(pos + 1, close - pos - 1);
        for (char& c : spec) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        pos = close + 1;
        if (spec == "EOH") {
            if (!inHeader) throw std::runtime_error("<EOH> without a header");
            adif.header = current;
            current.clear();
            inHeader = false;
            continue;
        }
        if (spec == "EOR") {
            if (inHeader) throw std::runtime_error("<EOR> in the header");
            adif.records.push_back(current);
            current.clear();
            continue;
        }
        const std::size_t colon = spec.find(':');
        if (colon == std::string::npos || colon == 0) throw std::runtime_error("bad specifier " + spec);
        std::string lengthText = spec.substr(colon + 1);
        lengthText = lengthText.substr(0, lengthText.find(':'));
        if (lengthText.empty() || lengthText.find_first_not_of("0123456789") != std::string::npos)
            throw std::runtime_error("bad length " + spec);
        const std::size_t length = std::stoul(lengthText);
        if (pos + length > text.size()) throw std::runtime_error("data past the end");
        current[spec.substr(0, colon)] = text.substr(pos, length);
        pos += length;
    }
    if (!current.empty()) throw std::runtime_error("fields after the last <EOR>");
    return adif;
}

TEST(AdifExport, WorkedLineGivesTheRecordAndTheCheckLine) {
    std::string adif, check;
    AppendAdifExportRecord(kWorkedLine, "QQ0XYZ", "JO62QM", adif, check);
    EXPECT_EQ(adif,
              "<call:5>QZ9ZZ <gridsquare:4>FN42 <mode:3>FT8 <rst_sent:3>-10 <rst_rcvd:3>-12 <qso_date:8>20240305 "
              "<time_on:6>101500 <time_off:6>101630 <band:3>20m <freq:6>14.074 <station_callsign:6>QQ0XYZ "
              "<my_gridsquare:6>JO62QM <tx_pwr:3>100 <comment:0> <rig:7>IC-7300 <my_antenna:8>Vertical <eor>\r\n");
    EXPECT_EQ(check,
              "<call:5>QZ9ZZ ,<gridsquare:4>FN42 ,<mode:3>FT8 ,<rst_sent:3>-10 ,<rst_rcvd:3>-12 ,<qso_date:8>20240305 ,"
              "<time_on:6>101500 ,<time_off:6>101630 ,<band:3>20m ,<freq:6>14.074 ,<station_callsign:6>QQ0XYZ ,"
              "<my_gridsquare:6>JO62QM ,<tx_pwr:3>100 ,<comment:0> ,<rig:7>IC-7300 ,<my_antenna:8>Vertical ,<eor>\r\n");
}

TEST(AdifExport, AbsentFieldsLeaveEmptyCheckPiecesAndOperatorFillsStation) {
    std::string adif, check;
    AppendAdifExportRecord("2024-03-05,9:05:00,2024-03-05,9:06:00,QZ1A,,7.074,FT8,-1,-2,,,,,,,,", "W9XYZ",
                           "EN37", adif, check);
    EXPECT_EQ(adif.find("gridsquare:"), adif.find("my_gridsquare:") + 3);
    EXPECT_EQ(adif.find("<rig:"), std::string::npos);
    EXPECT_EQ(adif.find("<my_antenna:"), std::string::npos);
    EXPECT_NE(adif.find("<time_on:6>090500 "), std::string::npos);
    EXPECT_NE(adif.find("<station_callsign:5>W9XYZ <my_gridsquare:4>EN37 "), std::string::npos);
    const std::string checkLine = check.substr(0, check.size() - 2);  // the pieces are views into it
    const auto pieces = SplitPieces(checkLine, ',');
    ASSERT_EQ(pieces.size(), 17u);
    EXPECT_EQ(pieces[1], "");
    EXPECT_EQ(pieces[14], "");
    EXPECT_EQ(pieces[15], "");
    EXPECT_EQ(pieces[16], "<eor>");
}

TEST(AdifExport, FileNamesByDateAndCounter) {
    const LocalTime today{2026, 12, 7, 10, 0, 0, 0};
    EXPECT_EQ(AdifExportFileName(today, 0), "Vantrel 07Dec26.ADI");
    EXPECT_EQ(AdifExportFileName(today, 12), "Vantrel NEW 07Dec26.ADI");
}

TEST(AdifExport, NewExportsStartAtTheLastExportedContact) {
    LogLines lines;
    for (int i = 1; i <= 3; ++i)
        lines.push_back("2024-03-05,10:15:00,2024-03-05,10:16:30,QZ" + std::to_string(i) +
                        "A,FN42,14.074,FT8,-10,-12,100,,,QQ0XYZ,JO62QM,,,");
    const AdifExport full = BuildAdifExport(lines, 0, "QQ0XYZ", "JO62QM");
    EXPECT_EQ(full.records, 3u);
    EXPECT_EQ(full.nextCounter, 2u);
    const AdifExport again = BuildAdifExport(lines, full.nextCounter, "QQ0XYZ", "JO62QM");
    EXPECT_EQ(again.records, 1u);
    EXPECT_EQ(again.nextCounter, 2u);
    EXPECT_EQ(ReadStrictAdif(again.adif).records.at(0).at("CALL"), "QZ3A");
    lines.push_back(kWorkedLine);
    const AdifExport next = BuildAdifExport(lines, again.nextCounter, "QQ0XYZ", "JO62QM");
    EXPECT_EQ(next.records, 2u);
    EXPECT_EQ(next.nextCounter, 3u);
    const AdifExport past = BuildAdifExport(lines, 10, "QQ0XYZ", "JO62QM");
    EXPECT_EQ(past.records, 0u);
    EXPECT_EQ(past.adif, AdifExportHeader());
    EXPECT_EQ(BuildAdifExport(LogLines{}, 0, "", "").nextCounter, 0u);
}

TEST(AdifExport, StrictReaderReadsTheWholeExport) {
    LogLines lines{kWorkedLine, "",
                   "2024-03-06,23:59:59,2024-03-07,00:00:15,QZ2B/P,,2.5,FT4,+03,-20,5,caf\xE9 <rig:3>x,Jo,,,,,"};
    const AdifExport exported = BuildAdifExport(lines, 0, "W9XYZ", "EN37");
    EXPECT_EQ(exported.records, 2u);
    const StrictAdif adif = ReadStrictAdif(exported.adif);
    EXPECT_EQ(adif.header.at("PROGRAMID"), "WSJT-X Vantrelian");
    ASSERT_EQ(adif.records.size(), 2u);
    EXPECT_EQ(adif.records[0].at("MY_ANTENNA"), "Vertical");
    EXPECT_EQ(adif.records[0].at("BAND"), "20m");
    const auto& second = adif.records[1];
    EXPECT_EQ(second.at("CALL"), "QZ2B/P");
    EXPECT_EQ(second.at("COMMENT"), "caf\xE9 <rig:3>x");
    EXPECT_EQ(second.count("RIG"), 0u);
    EXPECT_EQ(second.count("BAND"), 0u);  // 2.5 MHz is no band
    EXPECT_EQ(second.at("STATION_CALLSIGN"), "W9XYZ");
    EXPECT_EQ(second.at("TIME_OFF"), "000015");
}

TEST(AdifExport, WritesBothFilesInTheFolder) {
    test::TempFolder folder;
    const AdifExport exported = BuildAdifExport(LogLines{kWorkedLine}, 0, "QQ0XYZ", "JO62QM");
    std::filesystem::path written;
    ASSERT_TRUE(WriteAdifExport(folder.path(), LocalTime{2026, 12, 7, 0, 0, 0, 0}, 0, exported, &written));
    EXPECT_EQ(written, folder / "Vantrel 07Dec26.ADI");
    EXPECT_EQ(test::ReadFile(written), exported.adif);
    EXPECT_EQ(test::ReadFile(folder / "ADIF check data.csv"), exported.check);
    EXPECT_FALSE(WriteAdifExport(folder / "missing", LocalTime{}, 0, exported));
}

}  // namespace
}  // namespace vantrel
