#include "log/local_log_record.h"

#include <gtest/gtest.h>

#include "log/extract_field.h"
#include "log/log_lines.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

const StationDetails kStation{"W9XYZ", "EN37", "IC-7300", "Vertical [7,14,21]"};

TEST(LocalLogRecord, StationCallsignIsFieldFourteenForEveryLayout) {
    const char* lines[] = {
        // 11 fields (oldest), 13 fields, 14 fields (ends with a comma), 17 fields (3.0)
        "2016-01-02,10:00:00,2016-01-02,10:01:00,K1ABC,FN42,14.076,JT65,-10,-12,5",
        "2019-01-02,10:00:00,2019-01-02,10:01:00,K1ABC,FN42,14.076,FT8,-10,-12,5,nice,Bob",
        "2026-12-08,14:15:53,2026-12-08,14:15:53,K1ABC,FN42,14.081500,FT4,-15,-12,100,,,",
        "2026-12-08,14:15:53,2026-12-08,14:15:53,K1ABC,FN42,14.081500,FT4,-15,-12,100,c,Al,,,,",
        "2026-12-08,14:15:53,2026-12-08,14:15:53,K1ABC,FN42,14.081500,FT8,-15,-12,100,c,Al,EME,,,"
        "14.075500",
    };
    for (const char* wsjtx : lines) {
        const std::string local = LocalLineFromWsjtx(wsjtx, kStation);
        EXPECT_EQ(ExtractField(local, ',', 5), "K1ABC") << local;
        EXPECT_EQ(ExtractField(local, ',', 14), "W9XYZ") << local;
        EXPECT_EQ(ExtractField(local, ',', 15), "EN37") << local;
        EXPECT_EQ(ExtractField(local, ',', 16), "IC-7300") << local;
        EXPECT_EQ(ExtractField(local, ',', 17), "Vertical [7") << local;
        EXPECT_TRUE(local.ends_with("Vertical [7,14,21],")) << local;
    }
    EXPECT_EQ(WsjtxLineFields13(lines[1]),
              "2019-01-02,10:00:00,2019-01-02,10:01:00,K1ABC,FN42,14.076,FT8,-10,-12,5,nice,Bob");
    EXPECT_EQ(ExtractField(LocalLineFromWsjtx(lines[4], kStation), ',', 13), "Al");
}

TEST(LocalLogRecord, CommasTypedIntoCommentAndNameStayInTheirFields) {
    // As WSJT-X writes it: the comment "a,b,c café" and the name "Jo, Smith" raw.
    const std::string wsjtx =
        "2026-12-08,14:19:19,2026-12-08,14:19:19,K1ABC,FN42,14.075500,FT8,-15,-12,100,a,b,c "
        "café,Jo, Smith,";
    const std::string local = LocalLineFromWsjtx(wsjtx, kStation);
    EXPECT_EQ(ExtractField(local, ',', 11), "100");
    EXPECT_EQ(ExtractField(local, ',', 12), "abc caféJo");
    EXPECT_EQ(ExtractField(local, ',', 13), " Smith");
    EXPECT_EQ(ExtractField(local, ',', 14), "W9XYZ");
}

TEST(LocalLogRecord, EmptyStationValuesKeepTheirPlaces) {
    EXPECT_EQ(StationSuffix({}), ",,,,,");
    EXPECT_EQ(StationSuffix({"W9XYZ", "", "", "Dipole"}), ",W9XYZ,,,Dipole,");
}

TEST(LocalLogRecord, RealWsjtxLogsGiveEighteenFieldLines) {
    VANTREL_REQUIRE_TESTDATA();
    const auto folder = test::TestDataFolder();
    for (const char* name : {"wsjtx-logs/dl8obf_wsjtx.log", "wsjtx-logs/wsjtxlog2adif_wsjtx.log",
                             "wsjtx-2.6.1/wsjtx.log", "wsjtx-2.6.1/wsjtx-comment-name.log"}) {
        auto lines = LoadLogLines(folder / name);
        ASSERT_TRUE(lines.has_value()) << name;
        ASSERT_FALSE(lines->empty()) << name;
        for (std::string_view wsjtx : *lines) {
            const std::string local = LocalLineFromWsjtx(wsjtx, {"W9XYZ", "EN37", "", ""});
            EXPECT_EQ(SplitPieces(local, ',').size(), 18u) << name << ": " << wsjtx;
            EXPECT_EQ(ExtractField(local, ',', 14), "W9XYZ") << name << ": " << wsjtx;
            for (std::uint8_t i = 1; i <= 11; ++i)
                EXPECT_EQ(ExtractField(local, ',', i), ExtractField(wsjtx, ',', i)) << wsjtx;
            EXPECT_EQ(local.find('\r'), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace vantrel
