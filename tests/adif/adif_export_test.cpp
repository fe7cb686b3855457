#include "adif/adif_export.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <stdexcept>

#include "adif/adif_contact.h"
#include "adif/adif_import.h"
#include "adif/adif_modes.h"
#include "adif/adif_reader.h"
#include "base/data_folders.h"
#include "log/extract_field.h"
#include "log/local_log_record.h"
#include "support/temp_folder.h"

#include <set>
#include <tuple>

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
        // A length shorter or longer than its value leaves it followed by something else.
        if (pos + length < text.size() && std::string(" \r\n<").find(text[pos + length]) == std::string::npos)
            throw std::runtime_error("length of " + spec + " is not its value's");
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
              "<time_on:6>101500 <qso_date_off:8>20240305 <time_off:6>101630 <band:3>20m <freq:6>14.074 "
              "<station_callsign:6>QQ0XYZ <my_gridsquare:6>JO62QM <tx_pwr:3>100 <comment:0> <rig:7>IC-7300 "
              "<my_antenna:8>Vertical <eor>\r\n");
    EXPECT_EQ(check,
              "<call:5>QZ9ZZ ,<gridsquare:4>FN42 ,<mode:3>FT8 ,,<rst_sent:3>-10 ,<rst_rcvd:3>-12 ,"
              "<qso_date:8>20240305 ,<time_on:6>101500 ,<qso_date_off:8>20240305 ,<time_off:6>101630 ,<band:3>20m ,"
              "<freq:6>14.074 ,<station_callsign:6>QQ0XYZ ,<my_gridsquare:6>JO62QM ,<tx_pwr:3>100 ,<comment:0> ,"
              "<rig:7>IC-7300 ,<my_antenna:8>Vertical ,<eor>\r\n");
}

TEST(AdifExport, AbsentFieldsLeaveEmptyCheckPiecesAndOperatorFillsStation) {
    std::string adif, check;
    AppendAdifExportRecord("2024-03-05,9:05:00,,9:06:00,QZ1A,,7.074,FT4,-1,-2,,,,,,,,", "W9XYZ",
                           "EN37", adif, check);
    EXPECT_EQ(adif.find("gridsquare:"), adif.find("my_gridsquare:") + 3);
    EXPECT_EQ(adif.find("<rig:"), std::string::npos);
    EXPECT_EQ(adif.find("<my_antenna:"), std::string::npos);
    EXPECT_NE(adif.find("<time_on:6>090500 "), std::string::npos);
    EXPECT_NE(adif.find("<station_callsign:5>W9XYZ <my_gridsquare:4>EN37 "), std::string::npos);
    EXPECT_NE(adif.find("<mode:4>MFSK <submode:3>FT4 "), std::string::npos);
    EXPECT_EQ(adif.find("<qso_date_off:"), std::string::npos);  // no date off stored
    const std::string checkLine = check.substr(0, check.size() - 2);  // the pieces are views into it
    const auto pieces = SplitPieces(checkLine, ',');
    ASSERT_EQ(pieces.size(), 19u);
    EXPECT_EQ(pieces[1], "");
    EXPECT_EQ(pieces[3], "<submode:3>FT4 ");
    EXPECT_EQ(pieces[8], "");
    EXPECT_EQ(pieces[16], "");
    EXPECT_EQ(pieces[17], "");
    EXPECT_EQ(pieces[18], "<eor>");
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
    const TimePoint created = FromLocalTime(LocalTime{2026, 12, 7, 10, 0, 0, 0});
    const AdifExport past = BuildAdifExport(lines, 10, "QQ0XYZ", "JO62QM", created);
    EXPECT_EQ(past.records, 0u);
    EXPECT_EQ(past.adif, AdifExportHeader(created));
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

// What ADIF 3.1.6 defines, as far as an export of WSJT-X contacts needs it.
const std::set<std::string> kRecordFields = {
    "CALL", "GRIDSQUARE", "MODE", "SUBMODE", "RST_SENT", "RST_RCVD", "QSO_DATE", "TIME_ON", "QSO_DATE_OFF",
    "TIME_OFF", "BAND", "FREQ", "STATION_CALLSIGN", "MY_GRIDSQUARE", "TX_PWR", "COMMENT", "RIG", "MY_ANTENNA"};
const std::map<std::string, std::set<std::string>> kModes = {
    {"FT8", {}}, {"MSK144", {}}, {"WSPR", {}}, {"FSK441", {}}, {"CW", {"PCW"}}, {"SSB", {"LSB", "USB"}},
    {"MFSK", {"FST4", "FST4W", "FT4", "JS8", "JTMS", "Q65", "FSQCALL"}},
    {"JT65", {"JT65A", "JT65B", "JT65B2", "JT65C", "JT65C2"}},
    {"JT9", {"JT9A", "JT9B", "JT9C", "JT9D", "JT9E", "JT9E FAST", "JT9F", "JT9F FAST", "JT9G", "JT9G FAST",
             "JT9H", "JT9H FAST"}},
    {"JT4", {"JT4A", "JT4B", "JT4C", "JT4D", "JT4E", "JT4F", "JT4G"}},
    {"ISCAT", {"ISCAT-A", "ISCAT-B"}},
    {"QRA64", {"QRA64A", "QRA64B", "QRA64C", "QRA64D", "QRA64E"}}};
const std::set<std::string> kBands = {"2190m", "630m", "560m", "160m", "80m", "60m", "40m", "30m", "20m",
                                      "17m", "15m", "12m", "10m", "8m", "6m", "5m", "4m", "2m", "1.25m",
                                      "70cm", "33cm", "23cm", "13cm", "9cm", "6cm", "3cm", "1.25cm", "6mm",
                                      "4mm", "2.5mm", "2mm", "1mm", "submm"};
// WSJT-X 3.0 logs FT2, a mode that ADIF 3.1.6 does not list yet: it leaves as it stands.
const std::set<std::string> kModesAfterAdif316 = {"FT2"};

bool Digits(const std::string& text, std::size_t count) {
    return text.size() == count && text.find_first_not_of("0123456789") == std::string::npos;
}
bool IsAdifDate(const std::string& d) {
    if (!Digits(d, 8)) return false;
    const int month = std::stoi(d.substr(4, 2)), day = std::stoi(d.substr(6, 2));
    return d >= "19300101" && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}
bool IsAdifTime(const std::string& t) {
    return (Digits(t, 6) || Digits(t, 4)) && t.substr(0, 2) < "24" && t.substr(2, 2) < "60" &&
           (t.size() == 4 || t.substr(4, 2) < "60");
}

// Throws unless every record holds only ADIF 3.1.6 fields with values its enumerations and
// types allow.
void CheckAdif316(const StrictAdif& adif) {
    if (adif.header.at("ADIF_VER") != "3.1.6") throw std::runtime_error("ADIF_VER");
    const std::string stamp = adif.header.at("CREATED_TIMESTAMP");
    if (stamp.size() != 15 || !IsAdifDate(stamp.substr(0, 8)) || stamp[8] != ' ' || !IsAdifTime(stamp.substr(9)))
        throw std::runtime_error("CREATED_TIMESTAMP " + stamp);
    for (const auto& record : adif.records) {
        for (const auto& [name, value] : record)
            if (!kRecordFields.count(name)) throw std::runtime_error("field " + name);
        const std::string mode = record.at("MODE");
        const auto modeRow = kModes.find(mode);
        if (modeRow == kModes.end() && !kModesAfterAdif316.count(mode)) throw std::runtime_error("MODE " + mode);
        if (record.count("SUBMODE") && (modeRow == kModes.end() || !modeRow->second.count(record.at("SUBMODE"))))
            throw std::runtime_error("SUBMODE " + record.at("SUBMODE") + " of " + mode);
        if (record.count("BAND") && !kBands.count(record.at("BAND"))) throw std::runtime_error("BAND " + record.at("BAND"));
        for (const char* date : {"QSO_DATE", "QSO_DATE_OFF"})
            if (record.count(date) && !IsAdifDate(record.at(date))) throw std::runtime_error(date + (" " + record.at(date)));
        for (const char* time : {"TIME_ON", "TIME_OFF"})
            if (!IsAdifTime(record.at(time))) throw std::runtime_error(time + (" " + record.at(time)));
        const std::string freq = record.at("FREQ");
        if (freq.empty() || freq.find_first_not_of("0123456789.") != std::string::npos)
            throw std::runtime_error("FREQ " + freq);
    }
}

// The local log lines the program makes from the real WSJT-X logs and ADIF files in tests/data.
LogLines RealLocalLog() {
    const StationDetails station{"QQ0XYZ", "FN20", "IC-7300", "Vertical [7,14,21]"};
    const auto data = test::TestDataFolder();
    LogLines lines;
    for (const char* log : {"wsjtx-logs/dl8obf_wsjtx.log", "wsjtx-logs/wsjtxlog2adif_wsjtx.log",
                            "wsjtx-2.6.1/wsjtx.log", "wsjtx-2.6.1/wsjtx-comment-name.log"})
        for (std::string_view line : LogLines::FromBytes(test::ReadFile(data / log)))
            if (!line.empty()) lines.push_back(LocalLineFromWsjtx(line, station));
    for (const char* adi : {"wsjtx-logs/dl8obf_wsjtx_log.adi", "wsjtx-logs/polarplot_wsjtx_log.adi",
                            "wsjtx-2.6.1/wsjtx_log.adi", "wsjtx-2.6.1/wsjtx_log-comment-name.adi"}) {
        const std::string text = test::ReadFile(data / adi);
        for (const AdifRecord& record : ReadAdifRecords(text)) lines.push_back(AdifRecordToLine(record, station));
    }
    return lines;
}

TEST(AdifExport, ModesLeaveAsAdifEnumeratesThem) {
    struct Case {
        const char* stored;
        const char* mode;
        const char* submode;
    };
    for (const Case& c : {Case{"FT8", "FT8", ""}, Case{"FT4", "MFSK", "FT4"}, Case{"FST4", "MFSK", "FST4"},
                          Case{"FST4W", "MFSK", "FST4W"}, Case{"Q65", "MFSK", "Q65"}, Case{"JT65", "JT65", ""},
                          Case{"JT9A", "JT9", "JT9A"}, Case{"msk144", "MSK144", ""}, Case{"USB", "SSB", "USB"},
                          Case{"FT2", "FT2", ""}, Case{"", "", ""}}) {
        const AdifMode mode = AdifModeOf(c.stored);
        EXPECT_EQ(mode.mode, c.mode) << c.stored;
        EXPECT_EQ(mode.submode, c.submode) << c.stored;
    }
}

TEST(AdifExport, RealLogsPassAStrictAdif316ReaderAndImportBackWithTheirModes) {
    VANTREL_REQUIRE_TESTDATA();
    const LogLines lines = RealLocalLog();
    ASSERT_GT(lines.size(), 2000u);
    const AdifExport exported = BuildAdifExport(lines, 0, "QQ0XYZ", "FN20");
    StrictAdif adif;
    ASSERT_NO_THROW(adif = ReadStrictAdif(exported.adif));
    ASSERT_EQ(adif.records.size(), lines.size());
    EXPECT_NO_THROW(CheckAdif316(adif));
    std::map<std::string, int> modes;
    for (const auto& record : adif.records)
        ++modes[record.at("MODE") + (record.count("SUBMODE") ? "/" + record.at("SUBMODE") : "")];
    EXPECT_GT(modes["MFSK/FT4"], 100);
    EXPECT_EQ(modes["MFSK/Q65"], 1);
    EXPECT_EQ(modes.count("FT4"), 0u);
    EXPECT_EQ(modes["FT2"], 3);
    // A contact that crosses midnight reads right: its date off is written.
    std::size_t withDateOff = 0;
    for (const auto& record : adif.records) withDateOff += record.count("QSO_DATE_OFF");
    EXPECT_EQ(withDateOff, lines.size());

    // The program's own import of its export gives back every stored mode.
    using Contact = std::tuple<std::string, std::string, std::string, std::string>;
    std::set<Contact> stored, imported;
    for (std::string_view line : lines)
        stored.emplace(ExtractField(line, ',', 1), ExtractField(line, ',', 2), ExtractField(line, ',', 5),
                       ExtractField(line, ',', 8));
    for (const std::string& line : AdifImport(exported.adif).lines)
        imported.emplace(ExtractField(line, ',', 1), ExtractField(line, ',', 2), ExtractField(line, ',', 5),
                         ExtractField(line, ',', 8));
    EXPECT_EQ(imported, stored);
}

TEST(AdifExport, CommandLineExportWritesTheMenusFilesAndKeepsTheCounter) {
    test::TempFolder folder;
    const TimePoint now = std::chrono::system_clock::now();
    const LocalTime today = ToLocalTime(now);
    AdifExportRun run = ExportLocalLogAsAdif(folder.path(), true, 0, "QQ0XYZ", "JO62QM", now);
    EXPECT_FALSE(run.ok);  // no local log
    EXPECT_FALSE(run.error.empty());

    test::WriteFile(folder / kLocalLog, std::string(kWorkedLine) + "\r\n\r\n" +
                                            "2024-03-06,11:00:00,2024-03-06,11:01:00,QZ2B,,7.074,Q65,,,,,,,,,,\r\n");
    run = ExportLocalLogAsAdif(folder.path(), true, 7, "QQ0XYZ", "JO62QM", now);
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_EQ(run.written, folder / AdifExportFileName(today, 0));
    EXPECT_EQ(run.records, 2u);
    EXPECT_EQ(run.nextCounter, 1);  // the empty line is not a contact, as the window loads the log
    const StrictAdif full = ReadStrictAdif(test::ReadFile(run.written));
    EXPECT_EQ(full.records.at(1).at("SUBMODE"), "Q65");
    EXPECT_EQ(full.header.at("CREATED_TIMESTAMP"), AdifCreatedTimestamp(now));
    EXPECT_EQ(test::ReadFile(folder / kAdifCheckFileName).substr(0, 14), "<call:5>QZ9ZZ ");

    run = ExportLocalLogAsAdif(folder.path(), false, run.nextCounter, "QQ0XYZ", "JO62QM", now);
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(run.written, folder / AdifExportFileName(today, 1));
    EXPECT_EQ(run.records, 1u);
    EXPECT_EQ(ReadStrictAdif(test::ReadFile(run.written)).records.at(0).at("CALL"), "QZ2B");
}

TEST(AdifExport, StreamedExportsWriteTheSameBytesAsTheWholeExport) {
    VANTREL_REQUIRE_TESTDATA();
    // The real log repeated until it is several read and write pieces long, with empty lines
    // between and a last line without its line end, as a hand-edited log may be.
    const LogLines real = RealLocalLog();
    LogLines lines;
    std::string file;
    for (int copy = 0; copy < 8; ++copy) {
        for (std::string_view line : real) {
            lines.push_back(line);
            file.append(line).append("\r\n");
        }
        file.append("\r\n");
    }
    file.resize(file.size() - 4);  // the last line's CR LF and the empty line after it
    ASSERT_GT(file.size(), 2u << 20);
    test::TempFolder folder;
    test::WriteFile(folder / kLocalLog, file);
    const TimePoint now = std::chrono::system_clock::now();
    const LocalTime today = ToLocalTime(now);

    for (const std::size_t counter : {std::size_t{0}, lines.size() / 2 + 7}) {
        SCOPED_TRACE(counter);
        const AdifExport whole = BuildAdifExport(lines, counter, "QQ0XYZ", "FN20", now);
        const fs::path name = folder / AdifExportFileName(today, counter);

        const AdifExportRun fromFile = ExportLocalLogAsAdif(folder.path(), counter == 0,
                                                            static_cast<int>(counter), "QQ0XYZ", "FN20", now);
        ASSERT_TRUE(fromFile.ok) << fromFile.error;
        EXPECT_EQ(fromFile.written, name);
        EXPECT_EQ(fromFile.records, whole.records);
        EXPECT_EQ(fromFile.nextCounter, static_cast<int>(whole.nextCounter));
        EXPECT_TRUE(test::ReadFile(name) == whole.adif);
        EXPECT_TRUE(test::ReadFile(folder / kAdifCheckFileName) == whole.check);
        fs::remove(name);

        const AdifExportRun fromMemory =
            ExportLocalLogAsAdif(folder.path(), lines, counter == 0, static_cast<int>(counter), "QQ0XYZ", "FN20", now);
        ASSERT_TRUE(fromMemory.ok) << fromMemory.error;
        EXPECT_EQ(fromMemory.records, whole.records);
        EXPECT_TRUE(test::ReadFile(name) == whole.adif);
        EXPECT_TRUE(test::ReadFile(folder / kAdifCheckFileName) == whole.check);
    }
    // An export that fails once begun (the log gone) leaves the earlier files as they were and
    // no new file beside them.
    const std::string before = test::ReadFile(folder / kAdifCheckFileName);
    fs::remove(folder / kLocalLog);
    const AdifExportRun failed = ExportLocalLogAsAdif(folder.path(), false, 5, "QQ0XYZ", "FN20", now);
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.nextCounter, 5);
    EXPECT_EQ(test::ReadFile(folder / kAdifCheckFileName), before);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path())) ++files;
    EXPECT_EQ(files, 3u);  // the full and the new export and the check file
}

}  // namespace
}  // namespace vantrel
