#include "adif/adif_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "support/temp_folder.h"

namespace vantrel {
namespace {

TEST(AdifReader, ReadsFieldsByTheirLengthsNotByTagSearch) {
    const std::string text = "<comment:17>see <rig:3>abc ok <call:5>QZ9ZZ <eor>";
    EXPECT_EQ(ReadAdifField(text, "<rig:"), "");
    EXPECT_EQ(ReadAdifField(text, "comment"), "see <rig:3>abc ok");
    EXPECT_EQ(ReadAdifField(text, "<call:"), "QZ9ZZ");
}

TEST(AdifReader, LengthsOfAnyDigitsTypeIndicatorsAndAnyCase) {
    const std::string comment(109, 'x');
    const std::string text = "<COMMENT:109>" + comment + " <Call:5:S>QZ9ZZ <freq:0006>14.074 <EOR>";
    const AdifRecord record = ReadFirstAdifRecord(text);
    ASSERT_EQ(record.fields.size(), 3u);
    EXPECT_TRUE(record.ended);
    EXPECT_EQ(record.Value("comment"), comment);
    EXPECT_EQ(record.Value("CALL"), "QZ9ZZ");
    EXPECT_EQ(record.fields[1].type, "S");
    EXPECT_EQ(record.Value("freq"), "14.074");
}

TEST(AdifReader, RecordsEndAtEorWhereverLinesBreakAndHeaderEndsAtEoh) {
    const std::string text =
        "Exported by a logger\r\n<ADIF_VER:5>3.1.6\r\n<EOH>\r\n"
        "<CALL:4>QZ1A\r\n<NOTES:10>two\r\nlines\r\n<eor>\r\n"
        "<call:4>QZ2B <EoR><eor>\n<call:4>QZ3C";  // the last record is cut off
    AdifRecordReader reader(text);
    AdifRecord record;
    ASSERT_TRUE(reader.Next(record));
    EXPECT_EQ(record.Value("call"), "QZ1A");
    EXPECT_EQ(record.Find("notes")->value, "two\r\nlines");
    ASSERT_EQ(reader.Header().size(), 1u);
    EXPECT_EQ(reader.Header()[0].name, "ADIF_VER");
    ASSERT_TRUE(reader.Next(record));
    EXPECT_EQ(record.Value("call"), "QZ2B");
    ASSERT_TRUE(reader.Next(record));  // the empty record between two <eor> is skipped
    EXPECT_EQ(record.Value("call"), "QZ3C");
    EXPECT_FALSE(record.ended);
    EXPECT_FALSE(reader.Next(record));
}

TEST(AdifReader, LengthsPastTheTextOrTheRecordAreCut) {
    EXPECT_EQ(ReadAdifField("<call:50>QZ9ZZ", "call"), "QZ9ZZ");
    EXPECT_EQ(ReadAdifField("<comment:40>short <eor><call:4>QZ1A <eor>", "comment"), "short");
    // The next record is not swallowed by a length that runs on.
    const auto records = ReadAdifRecords("<comment:40>short <eor>\n<call:4>QZ1A <eor>");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].Value("call"), "QZ1A");
}

TEST(AdifReader, BytesAreKeptAndUtf8CountedByCharactersIsReadWhole) {
    // The datagram is Latin-1: é is the one byte E9.
    EXPECT_EQ(ReadAdifField("<comment:4>caf\xE9 <name:2>Jo <eor>", "comment"), "caf\xE9");
    // WSJT-X's ADIF log stores a replacement character as three bytes under a length of one.
    const std::string text = "<comment:10>a,b,c caf\xEF\xBF\xBD <name:9>Jo, Smith <eor>";
    EXPECT_EQ(ReadAdifField(text, "comment"), "a,b,c caf\xEF\xBF\xBD");
    EXPECT_EQ(ReadAdifField(text, "name"), "Jo, Smith");
}

TEST(AdifReader, TextThatIsNotASpecifierIsSkipped) {
    const std::string text = "a < b <> <:3>abc <call> <x:> <y:z> <call:4:>QZ1A <eor>";
    const AdifRecord record = ReadFirstAdifRecord(text);
    ASSERT_EQ(record.fields.size(), 1u);
    EXPECT_EQ(record.Value("call"), "QZ1A");
    EXPECT_FALSE(HoldsAdifField("no fields <here> at all <eor>"));
    EXPECT_FALSE(HoldsAdifField(""));
    EXPECT_TRUE(HoldsAdifField("<gridsquare:0> <eor>"));
    EXPECT_EQ(ReadAdifField("<gridsquare:0> <mode:3>FT8 <eor>", "gridsquare"), "");
}

TEST(AdifReader, GarbageAndTruncatedFieldsNeverReadOutsideTheText) {
    std::mt19937 random(4);
    const std::string alphabet = "<>:0123456789eorEOHcall \r\n\xE9\xEF\xBF";
    for (int round = 0; round < 200; ++round) {
        std::string text(static_cast<std::size_t>(random() % 65536), '\0');
        for (char& c : text) c = round % 2 ? static_cast<char>(random()) : alphabet[random() % alphabet.size()];
        for (const AdifRecord& record : ReadAdifRecords(text))
            for (const AdifField& field : record.fields) {
                ASSERT_GE(field.value.data(), text.data());
                ASSERT_LE(field.value.data() + field.value.size(), text.data() + text.size());
            }
    }
    const std::string whole = "<call:5>QZ9ZZ <gridsquare:4>FN42 <eor>";
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        const std::string text = whole.substr(0, cut);  // the record's values are views into it
        const AdifRecord record = ReadFirstAdifRecord(text);
        EXPECT_LE(record.Value("call").size(), 5u);
        EXPECT_EQ(record.ended, false);
    }
}

}  // namespace
}  // namespace vantrel
