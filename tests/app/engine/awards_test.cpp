// The award tables in the running engine: built after the start-up, counting a contact the feed
// logs, and confirmed by a LoTW download from a local HTTPS server; "needed" for the heard list.
#include <gtest/gtest.h>

#include "net/https_test_server.h"
#include "support/engine_station.h"
#include "support/memory_secret_store.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

class RecordingAwards : public AwardsView {
public:
    void ShowAwardTable(const AwardTable& shown) override { table = shown; }
    void ShowAwardContacts(const std::string& shownTitle, const std::vector<AwardContactRow>& shown) override {
        title = shownTitle;
        contacts = shown;
    }
    AwardTable table;
    std::string title;
    std::vector<AwardContactRow> contacts;
};

const AwardRow* Row(const AwardTable& table, const std::string& code) {
    for (const AwardRow& row : table.rows)
        if (row.code == code) return &row;
    return nullptr;
}

int Column(const char* band) { return AwardColumnOfBandRow(BandRowOfName(band)); }

TEST(AwardsEngine, TablesFollowTheLogAndTheLotwDownload) {
    test::HttpsTestServer server;
    ASSERT_TRUE(server.Listening());
    server.Set("/lotwreport.adi",
               {.body = QByteArray::fromStdString(test::ReadFile(test::TestDataFolder() / "adif" / "lotwreport.adi"))});
    test::EngineStation station;
    station.Write(0);
    // N5ILQ on 20m CW is in the LoTW report (18:20:54 there, 18:40 here: within 30 minutes); on
    // 40m it is not; Japan and Germany are worked only.
    test::WriteFile(station.wsjtx() / "wsjtx.log",
                    "2022-06-02,18:40:00,2022-06-02,18:41:00,N5ILQ,EM15,14.061000,CW,599,599,100,,,\n"
                    "2022-06-02,19:00:00,2022-06-02,19:01:00,N5ILQ,EM15,7.030000,CW,599,599,100,,,\n"
                    "2022-06-02,12:00:00,2022-06-02,12:01:00,JA1ABC,PM95,14.074000,FT8,-10,-12,100,,,\n"
                    "2022-06-02,12:10:00,2022-06-02,12:11:00,DL1ABC,JO62,14.074000,FT8,-10,-12,100,,,\n");
    fs::copy_file(test::TestDataFolder() / "cty" / "cty-wsjtx-2.6.1.dat", station.viewer() / "cty.dat");
    test::MemorySecretStore secrets;
    secrets.values = {{LotwCredentials::kLoginKey, "w9xyz"}, {LotwCredentials::kPasswordKey, "pw"}};
    EngineServices services = station.Services();
    services.secrets = &secrets;
    services.downloadAddresses.lotwReport = server.Address("/lotwreport.adi");
    services.fetchSettings = test::HttpsTestServer::ClientSettings();
    RecordingAwards awards;
    EngineViews views = station.view.Views();
    views.more.Add<AwardsView>(awards);
    StationEngine engine(services, views, {});
    engine.MainWindowActivated();
    ASSERT_TRUE(test::RunEventsUntil([&] { return engine.StartupDone(); }));
    engine.Tick();
    ASSERT_TRUE(test::RunEventsUntil([&] { return engine.Awards().Ready(); }));
    EXPECT_EQ(engine.Awards().Needed("N5ILQ", "20m"), true);  // worked, not confirmed
    EXPECT_EQ(engine.Awards().Needed("W1AW", "80m"), true);   // never worked there
    EXPECT_EQ(engine.Awards().Needed("N5ILQ", "2190m"), std::nullopt);  // no column of the tables

    engine.Call(&AwardsPart::Open);
    EXPECT_EQ(AwardSummaryText(awards.table), "DXCC: 3 worked, 0 confirmed");

    // A contact from the feed is counted as it comes.
    engine.OnDatagram(test::Datagram("VK2ABC", "14.074000"));
    ASSERT_EQ(engine.LocalLogLines().size(), 5u);
    EXPECT_EQ(AwardSummaryText(awards.table), "DXCC: 4 worked, 0 confirmed");

    engine.Call(&LotwPart::Download);
    ASSERT_TRUE(test::RunEventsUntil([&] { return !engine.Lotw().Running() && engine.Confirmations().size() > 0; }));
    ASSERT_TRUE(test::RunEventsUntil([&] { return awards.table.totals.confirmed == 1; }));
    EXPECT_EQ(AwardSummaryText(awards.table), "DXCC: 4 worked, 1 confirmed");
    const AwardRow* usa = Row(awards.table, "291");
    ASSERT_NE(usa, nullptr);
    EXPECT_EQ(usa->cells[Column("20m")], CellState::Confirmed);
    EXPECT_EQ(usa->cells[Column("40m")], CellState::Worked);
    EXPECT_EQ(awards.table.totals.confirmedOnBand[Column("20m")], 1);
    EXPECT_EQ(engine.Awards().Needed("K5EDM", "20m"), false);
    EXPECT_EQ(engine.Awards().Needed("K5EDM", "40m"), true);

    // A cell lists its contacts from the local log.
    engine.Call(&AwardsPart::CellClicked, usa->key, Column("20m"));
    ASSERT_EQ(awards.contacts.size(), 1u);
    EXPECT_EQ(awards.contacts[0].call, "N5ILQ");
    EXPECT_EQ(awards.contacts[0].time, "18:40:00");
    EXPECT_TRUE(awards.contacts[0].confirmed);
    engine.CloseMainWindow();
}

}  // namespace
}  // namespace vantrel
