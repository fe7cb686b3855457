#include "log/extract_field.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(ExtractField, FieldsByPositionWithEmptyAndMissingFields) {
    EXPECT_EQ(ExtractField("a,b,c", ',', 1), "a");
    EXPECT_EQ(ExtractField("a,b,c", ',', 3), "c");
    EXPECT_EQ(ExtractField("a,b,c", ',', 4), "");
    EXPECT_EQ(ExtractField("a,b,c,", ',', 4), "");  // exists, empty
    EXPECT_EQ(ExtractField("a,b,c,", ',', 5), "");
    EXPECT_EQ(ExtractField("a,,c", ',', 2), "");
    EXPECT_EQ(ExtractField("a,,c", ',', 3), "c");
    EXPECT_EQ(ExtractField("a,b,c", ',', 0), "");
    EXPECT_EQ(ExtractField(" a , b ", ',', 2), " b ");  // not trimmed
    for (int n = 0; n < 256; ++n) EXPECT_EQ(ExtractField("", ',', static_cast<std::uint8_t>(n)), "");
}

TEST(ExtractField, OtherSeparatorsAndTheLastOfManyFields) {
    EXPECT_EQ(ExtractField("14:05:09", ':', 2), "05");
    EXPECT_EQ(ExtractField("2024-03-05", '-', 3), "05");
    std::string many;
    for (int i = 1; i <= 300; ++i) many += std::to_string(i) + ",";
    EXPECT_EQ(ExtractField(many, ',', 255), "255");
}

TEST(ExtractField, AntennaWithBandListShiftsOnlyTheLaterPieces) {
    const std::string line =
        "2024-03-05,10:15:00,2024-03-05,10:16:30,QZ9ZZ,FN42,14.074,FT8,-10,-12,100,,,QQ0XYZ,"
        "JO62QM,IC-7300,Vertical [7,14,21],";
    EXPECT_EQ(ExtractField(line, ',', 14), "QQ0XYZ");
    EXPECT_EQ(ExtractField(line, ',', 16), "IC-7300");
    EXPECT_EQ(ExtractField(line, ',', 17), "Vertical [7");
    EXPECT_EQ(ExtractField(line, ',', 18), "14");
}

TEST(SplitPieces, KeepsEmptyPieces) {
    EXPECT_EQ(SplitPieces("", ',').size(), 1u);
    const auto pieces = SplitPieces("a,,b,", ',');
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[1], "");
    EXPECT_EQ(pieces[2], "b");
}

}  // namespace
}  // namespace vantrel
