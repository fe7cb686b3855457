#include <gtest/gtest.h>

#include "adif/adif_import.h"
#include "awards/confirmation_store.h"
#include "awards/confirmations.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

Confirmation At(std::string call, std::string band, std::string mode, std::string time) {
    Confirmation c;
    c.call = std::move(call);
    c.band = std::move(band);
    c.mode = std::move(mode);
    c.qsoDate = "20240305";
    c.timeOn = std::move(time);
    c.source = std::string(kSourceLotw);
    return c;
}

std::string RealReport() { return test::ReadFile(test::TestDataFolder() / "adif" / "lotwreport.adi"); }

TEST(ConfirmationsTest, MatchNeedsCallBandModeGroupAndThirtyMinutes) {
    ConfirmationIndex index;
    ASSERT_TRUE(index.Add(At("K1ABC", "20m", "FT8", "100000")));
    const auto seconds = [](const char* hhmmss) { return *UtcSeconds("20240305", hhmmss); };
    const int band20 = BandRowOfName("20m");
    EXPECT_TRUE(index.Match("k1abc", band20, ModeGroup::Data, seconds("102900")));
    EXPECT_TRUE(index.Match("K1ABC", band20, ModeGroup::Data, seconds("093100")));
    EXPECT_TRUE(index.Match("K1ABC", band20, ModeGroup::Data, seconds("103000")));
    EXPECT_FALSE(index.Match("K1ABC", band20, ModeGroup::Data, seconds("103100")));
    EXPECT_FALSE(index.Match("K1ABC", band20, ModeGroup::Data, seconds("092900")));
    EXPECT_FALSE(index.Match("K1ABC", BandRowOfName("40m"), ModeGroup::Data, seconds("100000")));
    EXPECT_FALSE(index.Match("K1ABC", band20, ModeGroup::Phone, seconds("100000")));
    EXPECT_FALSE(index.Match("K1ABD", band20, ModeGroup::Data, seconds("100000")));
    // FT4 (MFSK) is data as FT8 is: the same confirmation; one 31 minutes later is another.
    EXPECT_TRUE(index.Match(At("K1ABC", "20m", "MFSK", "101500")));
    EXPECT_EQ(ModeGroupOf("MFSK", "FT4"), ModeGroup::Data);
    EXPECT_EQ(ModeGroupOf("USB"), ModeGroup::Phone);
    EXPECT_EQ(ModeGroupOf("CW"), ModeGroup::Cw);
    EXPECT_EQ(ModeGroupOf("SSTV"), ModeGroup::Image);
    // The same record again is held once; another record minutes later is kept beside it.
    EXPECT_FALSE(index.Add(At("K1ABC", "20m", "FT8", "100000")));
    EXPECT_TRUE(index.Add(At("K1ABC", "20m", "FT4", "102900")));
    EXPECT_TRUE(index.Add(At("K1ABC", "20m", "FT8", "103100")));
    EXPECT_TRUE(index.Add(At("K1ABC", "20m", "CW", "100000")));
    EXPECT_EQ(index.size(), 4u);
    // A midnight between them does not part them.
    Confirmation late = At("K1ABC", "20m", "FT8", "235500");
    EXPECT_TRUE(index.Add(late));
    EXPECT_TRUE(index.Match("K1ABC", band20, ModeGroup::Data, *UtcSeconds("20240306", "001000")));
}

TEST(ConfirmationsTest, RealLotwReportIsReadWholeAndBadAnswersAreToldApart) {
    VANTREL_REQUIRE_TESTDATA();
    const std::string bytes = RealReport();
    const LotwReport report = ParseLotwReport(bytes);
    ASSERT_TRUE(report.Ok()) << report.problem;
    EXPECT_EQ(report.numRec, 438);
    EXPECT_EQ(report.records, 438u);
    EXPECT_EQ(report.confirmations.size(), 438u);
    EXPECT_EQ(report.lastQsl, "2022-06-02 23:31:22");
    const Confirmation& first = report.confirmations.front();
    EXPECT_EQ(first.call, "N5ILQ");
    EXPECT_EQ(first.band, "20m");
    EXPECT_EQ(first.dxcc, 291);
    EXPECT_EQ(first.cqZone, 4);
    EXPECT_EQ(first.lotwRxQsl, "2022-06-02 23:31:22");  // the comment after it is not part of it
    EXPECT_EQ(first.Group(), ModeGroup::Cw);

    EXPECT_EQ(ParseLotwReport(bytes.substr(0, bytes.size() / 2)).status, LotwReport::Status::Truncated);
    const std::size_t lastEor = bytes.rfind("<eor>");
    EXPECT_EQ(ParseLotwReport(bytes.substr(0, lastEor + 5)).status, LotwReport::Status::Truncated);
    std::string miscounted = bytes;
    miscounted.replace(miscounted.find("<APP_LoTW_NUMREC:3>438"), 22, "<APP_LoTW_NUMREC:3>439");
    EXPECT_EQ(ParseLotwReport(miscounted).status, LotwReport::Status::Truncated);
    const LotwReport page = ParseLotwReport(
        "<!DOCTYPE html>\n<html><head><title>LoTW</title></head><body>Username/password incorrect</body></html>\n");
    EXPECT_EQ(page.status, LotwReport::Status::HtmlPage);
    EXPECT_TRUE(page.confirmations.empty());
    EXPECT_EQ(ParseLotwReport("Service temporarily unavailable\n").status, LotwReport::Status::NotAdif);
}

TEST(ConfirmationsTest, StoreAddsOnlyWhatIsNewAndReadsItBack) {
    VANTREL_REQUIRE_TESTDATA();
    test::TempFolder folder;
    const LotwReport report = ParseLotwReport(RealReport());
    ConfirmationStore store(folder.path());
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(store.LastLotwQsl(), "");
    const auto before = store.Index();
    const ConfirmationMerge first = store.Merge(report.confirmations);
    ASSERT_TRUE(first.ok) << first.error;
    // Every record is kept, the two pairs made minutes apart (KP4JRS, WB9ONU) included.
    EXPECT_EQ(first.added, 438u);
    EXPECT_EQ(before->size(), 0u);  // an index handed out earlier is left as it was
    EXPECT_EQ(store.Merge(report.confirmations).added, 0u);
    const std::string written = test::ReadFile(folder / kConfirmationsFileName);

    ConfirmationStore again(folder.path());
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.size(), 438u);
    EXPECT_EQ(again.LastLotwQsl(), "2022-06-02 23:31:22");
    EXPECT_EQ(again.Merge(report.confirmations).added, 0u);
    EXPECT_EQ(test::ReadFile(folder / kConfirmationsFileName), written);
    const Confirmation* n5ilq = again.Index()->Match(report.confirmations.front());
    ASSERT_NE(n5ilq, nullptr);
    EXPECT_EQ(n5ilq->source, kSourceLotw);
    EXPECT_EQ(n5ilq->dxcc, 291);
    EXPECT_EQ(n5ilq->qslrDate, "20220602");

    // A store that cannot be written takes nothing in.
    ConfirmationStore nowhere(folder / "missing" / "folder");
    const ConfirmationMerge failed = nowhere.Merge(report.confirmations);
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.added, 0u);
    EXPECT_EQ(nowhere.size(), 0u);
}

TEST(ConfirmationsTest, AdifImportHandsOnTheConfirmedRecords) {
    const AdifImportResult result = AdifImport(
        "<ADIF_VER:5>3.1.6 <EOH>\n"
        "<call:5>K1ABC <qso_date:8>20240305 <time_on:4>1000 <band:3>20m <mode:3>FT8 <qsl_rcvd:1>Y <eor>\n"
        "<call:5>K1ABD <qso_date:8>20240305 <time_on:4>1000 <freq:6>14.074 <mode:3>FT8 <eqsl_qsl_rcvd:1>y <eor>\n"
        "<call:5>K1ABE <qso_date:8>20240305 <time_on:4>1000 <band:3>20m <mode:3>FT8 <qsl_rcvd:1>N <eor>\n");
    EXPECT_EQ(result.lines.size(), 3u);
    ASSERT_EQ(result.confirmations.size(), 2u);
    EXPECT_EQ(result.confirmations[1].band, "20m");
    EXPECT_EQ(result.confirmations[1].source, kSourceAdif);
}

}  // namespace
}  // namespace vantrel
