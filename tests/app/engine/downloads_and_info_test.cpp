// "Update CTY.DAT file" and the release check of a running station against a local HTTPS server,
// and the "View" and "About" menus.
#include <gtest/gtest.h>

#include <algorithm>

#include "net/https_test_server.h"
#include "support/engine_station.h"
#include "support/wsjtx_writer.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

// A country that only the new file knows.
constexpr const char* kNewEntity = "Testland:  14:  27:  EU:  50.00:  -10.00:  -1.0:  QZ9:\n    QZ9;\n";

class DownloadsAndInfoTest : public ::testing::Test, public test::EngineStation {
protected:
    void SetUp() override {
        VANTREL_REQUIRE_TESTDATA();
        ASSERT_TRUE(server.Listening());
        Write(3);
        dataFolder = fs::path(VANTREL_SOURCE_DIR) / "data";
        fs::copy_file(test::TestDataFolder() / "cty" / "cty-wsjtx-2.6.1.dat", wsjtx() / "cty.dat");
        // Three months old: the age line warns.
        fs::last_write_time(wsjtx() / "cty.dat", fs::file_time_type::clock::now() - std::chrono::hours(24 * 90));
        clock.now = std::chrono::time_point_cast<TimePoint::duration>(std::chrono::system_clock::now());
        newFile = test::ReadFile(test::TestDataFolder() / "cty" / "cty-debian-hamradio-files.dat") + kNewEntity;
        server.Set("/cty/cty.dat", {.body = QByteArray::fromStdString(newFile)});
        server.Set("/version.txt", {.body = "9.9.9.9\r\n"});
        downloadAddresses = {server.Address("/cty/cty.dat"), server.Address("/version.txt")};
        fetchSettings = test::HttpsTestServer::ClientSettings();
    }

    std::string CountryLineOf(StationEngine& engine, const std::string& call) {
        view.searchText = call;
        engine.Call(&SearchPart::SearchLog);
        return view.matchListVisible && view.matchList->size() > 1 ? std::string(view.matchList->Text(1)) : "";
    }

    test::HttpsTestServer server;
    std::string newFile;
};

TEST_F(DownloadsAndInfoTest, UpdatedCountryFileNamesTheNextSearch) {
    auto engine = Start({"/NVC"});
    ASSERT_TRUE(engine->StartupDone());
    EXPECT_TRUE(view.countryFileTooOld);
    EXPECT_EQ(CountryLineOf(*engine, "QZ9ABC").find("Testland"), std::string::npos);

    engine->Run(Command::UpdateCtyDat);
    ASSERT_TRUE(test::RunEventsUntil([&] { return !engine->Downloads().CtyUpdateRunning(); }, 20000));
    ASSERT_FALSE(view.messages.empty());
    EXPECT_EQ(view.messages.back(), "CTY.DAT Update: CTY.DAT updated in both the Vantrel and WSJT-X folders.");
    EXPECT_EQ(test::ReadFile(viewer() / "cty.dat"), newFile);
    EXPECT_EQ(test::ReadFile(wsjtx() / "cty.dat"), newFile);
    EXPECT_FALSE(view.countryFileTooOld);
    EXPECT_NE(CountryLineOf(*engine, "QZ9ABC").find("Testland"), std::string::npos);
    // The places search takes its prefixes from the same new table.
    engine->PlacesSearchEntered("Testland", false);
    EXPECT_EQ(view.places.prefixLines, std::vector<std::string>{"QZ9,"});
    EXPECT_NE(Trace().find(" CTY.DAT installed"), std::string::npos) << Trace();
    // "/NVC": no release check.
    EXPECT_EQ(server.Requests("/version.txt"), 0);
    EXPECT_NE(Trace().find("check skipped (/NVC)"), std::string::npos);
}

// The table is replaced while stations are decoded: the heard panel names countries from the new
// table, decodes before, during and after the download are read safely (a freed table would be
// caught by the sanitizer build).
TEST_F(DownloadsAndInfoTest, DecodesKeepArrivingWhileTheCountryFileIsReplaced) {
    auto engine = Start({"/NVC"});
    ASSERT_TRUE(engine->StartupDone());
    test::WaitForBackground(*engine);  // the worked-before index is made
    std::uint32_t period = 43200000;
    const auto decodeRound = [&] {
        period += 15000;
        engine->OnWsjtxMessages({test::DecodeMessage("CQ QZ9ABC JO60", period), test::DecodeMessage("CQ K1ABC FN42", period)});
    };
    const auto countryOf = [&](const std::string& call) {
        for (const HeardRow& row : view.heard)
            if (row.call == call) return row.country;
        return std::string("(not heard)");
    };
    decodeRound();
    EXPECT_EQ(countryOf("QZ9ABC"), "");
    EXPECT_EQ(countryOf("K1ABC").substr(0, 13), "United States");

    engine->Run(Command::UpdateCtyDat);
    while (engine->Downloads().CtyUpdateRunning()) {
        decodeRound();
        test::RunEventsUntil([] { return false; }, 20);
    }
    for (int round = 0; round < 3; ++round) decodeRound();
    EXPECT_EQ(countryOf("QZ9ABC").substr(0, 8), "Testland");
    EXPECT_EQ(countryOf("K1ABC").substr(0, 13), "United States");
    EXPECT_EQ(engine->Countries()->Lookup("QZ9ABC").country.substr(0, 8), "Testland");
}

// The worked-before index is still being made on its thread when the download replaces the
// table it started on: the job reads its own table to the end, its result follows the new one, and
// the decodes that waited for it are listed from the new table (the thread sanitizer build sees
// the job and the replacement run side by side).
TEST_F(DownloadsAndInfoTest, TheIndexJobFinishesOnItsOwnTableWhenTheTableIsReplaced) {
    auto engine = Start({"/NVC"});
    ASSERT_TRUE(engine->StartupDone());
    engine->Run(Command::UpdateCtyDat);
    std::uint32_t period = 43200000;
    const auto decodeRound = [&] {
        period += 15000;
        engine->OnWsjtxMessages({test::DecodeMessage("CQ QZ9ABC JO60", period)});
    };
    while (engine->Downloads().CtyUpdateRunning()) {
        decodeRound();
        test::RunEventsUntil([] { return false; }, 5);
    }
    test::WaitForBackground(*engine);
    decodeRound();
    ASSERT_FALSE(view.heard.empty());
    EXPECT_EQ(view.heard.front().call, "QZ9ABC");
    EXPECT_EQ(view.heard.front().country.substr(0, 8), "Testland");
    EXPECT_EQ(view.heard.front().status.kind, WorkedKind::NewCountry);
    EXPECT_EQ(engine->Heard().Rows().size(), 1u);
}

TEST_F(DownloadsAndInfoTest, StartupTellsOfANewerRelease) {
    auto engine = Start();
    ASSERT_TRUE(test::RunEventsUntil([&] { return !engine->Downloads().ReleaseCheckRunning(); }, 20000));
    EXPECT_EQ(server.Requests("/version.txt"), 1);
    EXPECT_EQ(engine->Downloads().LatestRelease(), "9.9.9.9");
    EXPECT_NE(std::find(view.messages.begin(), view.messages.end(),
                        "Version error: This Vantrel version is not the latest release.."),
              view.messages.end());
}

TEST_F(DownloadsAndInfoTest, ViewAndAboutMenus) {
    store.WriteText(kOwnSection, "VantrelerAutoShow", "1");
    auto engine = Start({"/NVC"});
    // Listing the stored values leaves the window as it is: nothing is applied to it.
    view.placement.left = 1234;
    view.options.showDetails = !view.options.showDetails;
    const StoredOptions before = view.options;
    engine->RunInfo(InfoCommand::ShowSettings);
    EXPECT_EQ(view.placement.left, 1234);
    EXPECT_EQ(view.options.showDetails, before.showDetails);
    EXPECT_EQ(view.infoPanel.heading, "Registry settings:");
    ASSERT_EQ(view.infoPanel.lines.size(), 23u);
    EXPECT_TRUE(view.DetailsPanelVisible());
    const std::string listing = test::ReadFile(viewer() / "RegValues.txt");
    EXPECT_TRUE(listing.starts_with("Main program window sizes\r\n"));
    EXPECT_NE(listing.find("\r\n\r\nTimes software run: "), std::string::npos);
    EXPECT_NE(listing.find("Autoshow checked :Yes\r\n"), std::string::npos) << listing;

    engine->RunInfo(InfoCommand::About);
    EXPECT_EQ(view.infoPanel.heading, "Vantrel source information");
    engine->RunInfo(InfoCommand::ShowLocalLog);
    engine->RunInfo(InfoCommand::ShowViewerFolder);
    EXPECT_EQ(desktop.openedFiles,
              (std::vector<std::string>{(viewer() / "Viewer_local_log.csv").string(), viewer().string()}));
}

}  // namespace
}  // namespace vantrel
