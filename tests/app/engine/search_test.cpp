// The callsign search on a running station: the country line, the match list and its clicks,
// the details panel, the web lookup and the automatic fill from a newly logged contact.
#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include "base/file_io.h"
#include "log/extract_field.h"
#include "support/engine_station.h"

namespace vantrel {
namespace {

class SearchTest : public ::testing::Test, public test::EngineStation {
protected:
    std::unique_ptr<StationEngine> StartDemo() {
        // The demo station, with its cty.dat in WSJT-X's folder.
        std::filesystem::create_directories(wsjtx());
        for (const char* name : {"wsjtx.log", "WSJT-X.ini", "ALL.TXT", "cty.dat", "wsjtx_log.adi"})
            std::filesystem::copy_file(std::filesystem::path(VANTREL_SOURCE_DIR) / "data/demo/WSJT-X" / name,
                                       wsjtx() / name);
        auto engine = Start();
        test::WaitForBackground(*engine);
        for (int second = 5; second < 8; ++second) {  // the timer has ticked: typing searches
            clock.Set({2026, 12, 8, 12, 1, second, 0});
            engine->Tick();
        }
        return engine;
    }
    std::size_t FirstContactRow() const {
        for (std::size_t i = 0; i < view.matchList->size(); ++i)
            if (view.matchList->At(i).contact) return i;
        return 0;
    }
};

TEST_F(SearchTest, CountryTableComesFromWsjtxAndItsAgeIsShown) {
    auto engine = StartDemo();
    EXPECT_TRUE(std::filesystem::exists(viewer() / "cty.dat"));
    EXPECT_TRUE(std::filesystem::exists(viewer() / "ctybasic.txt"));
    EXPECT_TRUE(view.countryFileAge.starts_with("CTY.DAT"));
    EXPECT_EQ(engine->Countries()->Lookup("K1ABC").country.substr(0, 13), "United States");
}

TEST_F(SearchTest, TypingSearchesFromTheSecondCharacter) {
    auto engine = StartDemo();
    const std::string call(ExtractFieldView(engine->LocalLogLines()[10], ',', 5));
    view.searchText = call.substr(0, 1);
    engine->Call(&SearchPart::SearchEdited, view.searchText);
    EXPECT_FALSE(view.MatchListVisible());
    view.searchText = call.substr(0, 2);
    engine->Call(&SearchPart::SearchEdited, view.searchText);
    ASSERT_TRUE(view.MatchListVisible());
    EXPECT_EQ(view.matchList->Text(0), call.substr(0, 2));
    EXPECT_TRUE(view.matchList->Text(1).starts_with("CTY.DAT : "));
    EXPECT_GE(view.matchList->contacts, 1u);
    view.searchText.clear();
    engine->Call(&SearchPart::SearchEdited, "");
    EXPECT_FALSE(view.MatchListVisible());
}

TEST_F(SearchTest, ClickingAContactShowsItsDetailsAndTheTopLineOpensTheLookup) {
    auto engine = StartDemo();
    const std::string call(ExtractFieldView(engine->LocalLogLines()[20], ',', 5));
    view.searchText = call;
    engine->Call(&SearchPart::SearchEdited, call);
    ASSERT_TRUE(view.MatchListVisible());
    engine->Call(&SearchPart::MatchListClicked, static_cast<int>(FirstContactRow()), true);
    ASSERT_FALSE(view.contactDetails.empty());
    EXPECT_EQ(view.contactDetails[0].text, call + "    <-  weblink");
    engine->Call(&SearchPart::DetailsClicked, 0, true);
    ASSERT_EQ(desktop.openedUrls.size(), 1u);
    EXPECT_EQ(desktop.openedUrls[0], "https://www.qrz.com/db/" + call);
    engine->Call(&SearchPart::DetailsClicked, 3, false);  // right click: copied
    EXPECT_TRUE(desktop.copied.starts_with(call));
    EXPECT_EQ(view.messages.back(), "Clipboard copied: Displayed log data now in clipboard");
    engine->Call(&SearchPart::DetailsClicked, 3, true);  // any other line closes
    EXPECT_FALSE(view.detailsPanel);
    EXPECT_FALSE(view.MatchListVisible());
    // A click on a line that is no contact closes the list.
    engine->Call(&SearchPart::SearchEdited, call);
    engine->Call(&SearchPart::MatchListClicked, 0, true);
    EXPECT_FALSE(view.MatchListVisible());
}

TEST_F(SearchTest, ANewContactFillsTheSearchWithItsFirstCharacters) {
    auto engine = StartDemo();
    engine->Call(&FeedPart::SetLastContact, "2026-12-08,12:01:00,2026-12-08,12:01:30,W1AW,FN31,14.075500,FT8,-5,-7,100,,,W9XYZ,EN37,,,");
    EXPECT_EQ(view.searchText, "W1A");  // the slider's default of 3 characters
    ASSERT_TRUE(view.MatchListVisible());
    EXPECT_EQ(view.matchList->Text(0), "W1A");
    EXPECT_TRUE(engine->Callsigns().Contains("W1AW,FN31"));
}

TEST_F(SearchTest, CallsignListClickAndLook) {
    auto engine = StartDemo();
    engine->Call(&SearchPart::CallsignListClicked, "K1ABC,FN42", 2);
    EXPECT_EQ(view.searchText, "K1ABC");
    engine->Run(Command::Look);
    ASSERT_FALSE(desktop.openedUrls.empty());
    EXPECT_EQ(desktop.openedUrls.back(), "https://www.qrz.com/db/K1ABC");
    engine->Call(&SearchPart::CallsignListClicked, "K1ABC,FN42", 6);
    EXPECT_EQ(view.searchText, "FN42");
}

TEST_F(SearchTest, GridsFileIsBuiltFromTheJournalAndKeptCurrent) {
    auto engine = StartDemo();
    const auto grids = LoadLogLines(viewer() / "grids.txt");
    ASSERT_TRUE(grids.has_value());
    EXPECT_GT(grids->size(), 50u);
    EXPECT_EQ(view.messages.front().substr(0, 29), "Support file creation require");
    // WSJT-X appends a decode: within the minute it is in grids.txt.
    {
        std::string journal = test::ReadFile(wsjtx() / "ALL.TXT");
        journal += "261208_120100    14.074 Rx FT8     -8  0.1 1200 CQ ZZ9QQ JN58\n";
        test::WriteFile(wsjtx() / "ALL.TXT", journal);
        std::filesystem::last_write_time(wsjtx() / "ALL.TXT",
                                         std::filesystem::file_time_type::clock::now() + std::chrono::seconds(3));
    }
    for (int second = 2; second <= 53; ++second) {
        clock.Set({2026, 12, 8, 12, 2, second, 0});
        engine->Tick();
    }
    const std::string text = test::ReadFile(viewer() / "grids.txt");
    EXPECT_NE(text.find("ZZ9QQ,JN58\r\n"), std::string::npos);
    bool inList = false;
    for (std::string_view line : engine->GridsList()) inList |= line == "ZZ9QQ,JN58";
    EXPECT_TRUE(inList);
}

// A later start continues from grids.state: a grid line slipped into the middle of the journal
// (same length, so the journal's sampled start and end still match) is not seen, the line
// WSJT-X appended is, and the candidate count goes on from the last run's. A journal whose start
// changed is scanned whole again.
TEST_F(SearchTest, LaterStartReadsOnlyWhatTheJournalAppended) {
    const int firstCount = StartDemo()->Options().allCount;
    ASSERT_TRUE(std::filesystem::exists(viewer() / "grids.state"));
    auto rewrite = [&](const std::function<void(std::string&)>& change) {
        for (const auto& file : {wsjtx() / "ALL.TXT", viewer() / "all.txt"}) {
            std::string journal = test::ReadFile(file);
            change(journal);
            test::WriteFile(file, journal);
        }
    };
    std::string marker;
    rewrite([&](std::string& journal) {
        // A received "CQ CALL GRID" line past the middle, its call replaced by one of its length.
        static const std::regex cq(" Rx FT[48] .* CQ ([A-Z0-9]{4,}) [A-R]{2}[0-9]{2}\n");
        std::smatch found;
        const auto middle = journal.cbegin() + static_cast<std::ptrdiff_t>(journal.size() / 2);
        ASSERT_TRUE(std::regex_search(middle, journal.cend(), found, cq));
        marker = "QQ9" + std::string(static_cast<std::size_t>(found.length(1)) - 3, 'X');
        journal.replace(static_cast<std::size_t>(found.position(1) + (middle - journal.cbegin())),
                        marker.size(), marker);
    });
    ASSERT_FALSE(marker.empty());
    std::string appended = test::ReadFile(wsjtx() / "ALL.TXT") + "261208_120100    14.074 Rx FT8     -8  0.1 1200 CQ ZZ9QQ JN58\n";
    test::WriteFile(wsjtx() / "ALL.TXT", appended);

    auto engine = Start();
    ASSERT_TRUE(test::WaitForBackground(*engine));
    std::string grids = test::ReadFile(viewer() / "grids.txt");
    EXPECT_NE(grids.find("ZZ9QQ,JN58\r\n"), std::string::npos);
    EXPECT_EQ(grids.find(marker + ","), std::string::npos) << "the journal was read again whole";
    EXPECT_EQ(engine->Options().allCount, firstCount + 1);

    rewrite([](std::string& journal) { journal[0] = journal[0] == '2' ? '1' : '2'; });
    engine = Start();
    ASSERT_TRUE(test::WaitForBackground(*engine));
    grids = test::ReadFile(viewer() / "grids.txt");
    EXPECT_NE(grids.find(marker + ","), std::string::npos);
    EXPECT_EQ(engine->Options().allCount, firstCount + 1);
}

}  // namespace
}  // namespace vantrel

namespace vantrel {
namespace {

TEST_F(SearchTest, MovingTheCharacterCountRefillsTheSearch) {
    auto engine = StartDemo();
    engine->Call(&FeedPart::SetLastContact, "2026-12-08,12:01:00,2026-12-08,12:01:30,W1AW,FN31,14.075500,FT8,-5,-7,100,,,W9XYZ,EN37,,,");
    engine->OptionsEdited([](StoredOptions& options) { options.showCount = 4; });
    EXPECT_EQ(view.searchText, "W1AW");
}

}  // namespace
}  // namespace vantrel
