#include "journal/journal_part.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "geo/callsign_search.h"
#include "log/local_log_file.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

std::string Line(std::string_view stamp, std::string_view direction, std::string_view message) {
    return std::string(stamp) + "    14.074 " + std::string(direction) + " FT8    -10  0.1 1500 " +
           std::string(message) + "\n";
}

// What the panel would show, kept for the checks.
struct FakeView : JournalView {
    bool panel = false;
    std::string searchText;
    std::shared_ptr<const JournalMatches> rows;
    std::size_t rowsShown = 0;
    JournalHighlight highlight;
    std::string count = "(untouched)";
    std::vector<std::size_t> scrolls;
    bool entryVisible = false;
    std::string entry, note;
    std::vector<JournalCell> selected;
    std::vector<bool> captions;
    std::optional<bool> autoTicked;
    std::vector<std::pair<std::string, std::string>> messages;

    void ShowPanel(bool visible) override { panel = visible; }
    std::string SearchText() const override { return searchText; }
    void ShowRows(std::shared_ptr<const JournalMatches> r, const JournalHighlight& h) override {
        rows = std::move(r);
        rowsShown = rows->size();
        highlight = h;
    }
    void ShowCount(const std::string& text) override { count = text; }
    void ScrollToRow(std::size_t row) override { scrolls.push_back(row); }
    void ShowEntryLineField(bool visible) override { entryVisible = visible; }
    void SetEntryLine(const std::string& text, const std::string& n) override {
        entry = text;
        note = n;
    }
    std::string EntryLineText() const override { return entry; }
    std::vector<JournalCell> SelectedCells() const override { return selected; }
    void ShowAllTxtCaptionBold(bool bold) override { captions.push_back(bold); }
    void ShowAuto(bool ticked) override { autoTicked = ticked; }
    void ShowMessage(const std::string& caption, const std::string& text) override {
        messages.emplace_back(caption, text);
    }
};

class JournalPartTest : public ::testing::Test {
protected:
    JournalPartTest() {
        options.Update([](StoredOptions& o) {
            o.colours[0] = Rgb{1, 2, 3};
            o.colours[1] = Rgb{4, 5, 6};
        });
    }
    JournalPartServices Services() {
        return {view, options, station, [this](const std::string& text) { clipboard.push_back(text); },
                [this](const std::string& path) { opened.push_back(path); },
                [this](const std::string& line, std::string*) {
                    added.push_back(line);
                    return true;
                },
                {}, [this](const std::string& text) { statuses.push_back(text); }};
    }
    // Sets the journal copy's modification time a second on, as a change by the copy refresh.
    void Touch() {
        stamp += std::chrono::seconds(1);
        fs::last_write_time(journal, stamp);
    }

    test::TempFolder folder;
    fs::path journal = folder / "all.txt";
    fs::file_time_type stamp = fs::file_time_type::clock::now();
    FakeView view;
    std::vector<std::string> statuses;
    OptionsModel options;
    StationDetails station{"W9XYZ", "EN37", "IC-7300", "Vertical"};
    std::vector<std::string> clipboard, opened, added;
};

TEST_F(JournalPartTest, EnterSearchesOnlyWithAllTxtTicked) {
    test::WriteFile(journal, Line("210412_120000", "Rx", "CQ K1ABC FN42") + Line("210412_120015", "Tx", "K1ABC W9XYZ EN37") +
                                 Line("210412_120030", "Rx", "W9XYZ K1ABC -12"));
    JournalPart part(Services(), folder.path());
    view.searchText = " k1abc ";
    EXPECT_FALSE(part.PlacesSearchEntered());
    EXPECT_FALSE(view.panel);
    part.SetSearchAllTxt(true);
    EXPECT_TRUE(options.Get().searchAllTxt);
    EXPECT_EQ(view.captions, (std::vector<bool>{true}));
    EXPECT_TRUE(part.PlacesSearchEntered());
    EXPECT_TRUE(view.panel);
    ASSERT_TRUE(view.rows);
    EXPECT_EQ(view.rowsShown, 2u);  // the last line is not examined
    EXPECT_EQ(view.count, "Entries :2");
    EXPECT_EQ(view.highlight.callsign, "W9XYZ");
    EXPECT_EQ(view.highlight.text, (Rgb{1, 2, 3}));
    EXPECT_EQ(view.highlight.fill, (Rgb{4, 5, 6}));
    EXPECT_TRUE(view.scrolls.empty());  // "Auto" not ticked

    view.searchText = "QQ9QQ";
    part.SearchJournal();
    EXPECT_EQ(view.rowsShown, 0u);
    EXPECT_EQ(view.count, "Entries :0");

    // A missing journal copy: nothing happens at all.
    part.Close();
    EXPECT_FALSE(view.panel);
    fs::remove(journal);
    view.count = "(untouched)";
    part.SearchJournal();
    EXPECT_FALSE(view.panel);
    EXPECT_EQ(view.count, "(untouched)");
}

// The schedule's refresh with "Auto": only when the journal copy changed, reading only what was
// appended, the newest rows kept in view; the same as a new search of the whole journal.
TEST_F(JournalPartTest, AutoRefreshFollowsTheJournalCopy) {
    std::string text;
    for (int i = 0; i < 12; ++i) text += Line("210412_1200" + std::to_string(10 + i), "Rx", "W9XYZ K1ABC -12");
    test::WriteFile(journal, text);
    Touch();
    options.Update([](StoredOptions& o) { o.refreshAuto = true; });
    JournalPart part(Services(), folder.path());
    part.ApplyOptions();
    EXPECT_EQ(view.autoTicked, true);
    view.searchText = "K1ABC";
    part.SearchJournal();
    EXPECT_EQ(view.rowsShown, 11u);
    EXPECT_EQ(view.scrolls, (std::vector<std::size_t>{1}));  // rows 1-10 of 0-10 in view
    const auto shown = view.rows;

    part.Tick();  // nothing changed
    EXPECT_EQ(view.scrolls.size(), 1u);
    ASSERT_TRUE(AppendFileDurable(journal, Line("210412_120100", "Rx", "W9XYZ K1ABC RR73") +
                                               Line("210412_120115", "Rx", "CQ K1ABC FN42")));
    Touch();
    part.Tick();
    EXPECT_EQ(view.rows, shown);  // the same list, grown
    EXPECT_EQ(view.rowsShown, 13u);
    EXPECT_EQ(view.count, "Entries :13");
    EXPECT_EQ(view.scrolls.back(), 3u);
    // The operator clears "Auto": the copy changes, the table stays.
    part.SetAuto(false);
    EXPECT_FALSE(options.Get().refreshAuto);
    ASSERT_TRUE(AppendFileDurable(journal, Line("210412_120130", "Rx", "K1ABC W9XYZ 73")));
    Touch();
    part.Tick();
    EXPECT_EQ(view.rowsShown, 13u);
    part.SetAuto(true);
    part.Tick();
    EXPECT_EQ(view.rowsShown, 14u);

    // WSJT-X erased its journal and the copy started again: searched whole, and said so.
    test::WriteFile(journal, Line("210412_130000", "Rx", "CQ K1ABC FN42") + Line("210412_130015", "Rx", "x"));
    Touch();
    part.Tick();
    EXPECT_NE(view.rows, shown);
    EXPECT_EQ(view.rowsShown, 1u);
    EXPECT_EQ(statuses, (std::vector<std::string>{"The journal was replaced; search run again"}));
    // Another journal of the same size: the old rows go.
    test::WriteFile(journal, Line("210412_130000", "Rx", "CQ K1ABC FN43") + Line("210412_130015", "Rx", "y"));
    Touch();
    part.Tick();
    ASSERT_EQ(view.rowsShown, 1u);
    EXPECT_NE(view.rows->Line(0).find("CQ K1ABC FN43"), std::string_view::npos);
    EXPECT_EQ(statuses.size(), 2u);
    // Emptied: nothing is listed any more.
    test::WriteFile(journal, "");
    Touch();
    part.Tick();
    EXPECT_EQ(view.rowsShown, 0u);
    EXPECT_EQ(view.count, "Entries :0");
    EXPECT_EQ(statuses.size(), 3u);
    test::WriteFile(journal, Line("210412_130000", "Rx", "CQ K1ABC FN42") + Line("210412_130015", "Rx", "x"));
    Touch();
    part.Tick();
    // Hidden panel: no refresh.
    part.Close();
    ASSERT_TRUE(AppendFileDurable(journal, Line("210412_130030", "Rx", "CQ K1ABC FN42")));
    Touch();
    part.Tick();
    EXPECT_EQ(view.rowsShown, 1u);
}

// With a runner the whole-journal search runs as a job: the panel shows it once done, a newer
// search overtakes an older one, and the schedule waits while one runs.
TEST_F(JournalPartTest, SearchJobsThroughTheRunner) {
    test::WriteFile(journal, Line("210412_120000", "Rx", "CQ K1ABC FN42") + Line("210412_120015", "Rx", "CQ W1AW FN31") +
                                 Line("210412_120030", "Rx", "x"));
    std::deque<std::pair<std::function<void()>, std::function<void()>>> jobs;
    JournalPartServices services = Services();
    services.runner = [&](std::function<void()> work, std::function<void()> done) {
        jobs.emplace_back(std::move(work), std::move(done));
    };
    options.Update([](StoredOptions& o) { o.refreshAuto = true; });
    JournalPart part(services, folder.path());
    view.searchText = "K1ABC";
    part.SearchJournal();
    view.searchText = "W1AW";
    part.SearchJournal();
    EXPECT_TRUE(part.Busy());
    EXPECT_FALSE(view.rows);
    Touch();
    EXPECT_FALSE(part.RefreshIfChanged());
    ASSERT_EQ(jobs.size(), 2u);
    for (auto& [work, done] : jobs) {
        work();
        done();
    }
    EXPECT_FALSE(part.Busy());
    ASSERT_TRUE(view.rows);
    ASSERT_EQ(view.rowsShown, 1u);
    EXPECT_EQ(view.rows->Row(0).message, "CQ W1AW FN31");  // the later search's result
}

TEST_F(JournalPartTest, ClipboardEntryLineAndAddToLog) {
    test::WriteFile(journal, Line("210412_120000", "Rx", "CQ K1ABC FN42") + Line("210412_120015", "Tx", "K1ABC W9XYZ EN37") +
                                 Line("210412_120030", "Rx", "W9XYZ K1ABC -12") + Line("210412_120045", "Tx", "K1ABC W9XYZ R-08") +
                                 Line("210412_120100", "Rx", "W9XYZ K1ABC RR73") + Line("210412_120115", "Tx", "K1ABC W9XYZ 73") +
                                 Line("210412_120130", "Rx", "CQ K1ABC FN42"));
    // The contact goes into a real local log, where the callsign search finds it.
    const fs::path log = folder / "Viewer_local_log.csv";
    LocalLogFile logFile(log);
    LogLines localLog{"2021-04-01,10:00:00,2021-04-01,10:01:00,G4ABC,IO91,14.075,FT8,-01,-02,,,,W9XYZ,EN37,IC-7300,Vertical,"};
    ASSERT_TRUE(logFile.Save(localLog));
    JournalPartServices services = Services();
    services.addToLog = [&](const std::string& line, std::string* error) {
        localLog.push_back(line);
        return logFile.SaveGrown(localLog, localLog.size() - 1, error).ok;
    };
    JournalPart part(services, folder.path());
    view.searchText = "K1ABC";
    part.SearchJournal();
    ASSERT_EQ(view.rowsShown, 6u);

    view.selected = {{1, 7}, {0, 0}, {1, 2}, {0, 7}};
    part.CopySelected();
    EXPECT_EQ(clipboard, (std::vector<std::string>{"210412_120000\tCQ K1ABC FN42\r\nTX\tK1ABC W9XYZ EN37"}));

    view.selected.clear();
    for (std::size_t row = 0; row < 6; ++row) view.selected.push_back({row, 7});
    part.MakeLogEntryLine();
    EXPECT_TRUE(view.entryVisible);
    EXPECT_EQ(view.entry,
              "2021-04-12,12:00:15,2021-04-12,12:01:28,K1ABC,FN42,14.0755,FT8,-08,-12,,"
              "FT8  Sent: -08  Rcvd: -12,,W9XYZ,EN37,IC-7300,Vertical,");
    part.CopyLine();
    EXPECT_EQ(clipboard.back(), view.entry);

    const std::string made = view.entry;
    view.entry = made + "\n" + made;  // edited by the operator into two lines
    part.AddToLog();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].first, "Add to Log");
    EXPECT_EQ(LoadLogLines(log)->size(), 1u);
    view.entry = made;
    part.AddToLog();
    const auto lines = LoadLogLines(log);
    ASSERT_EQ(lines->size(), 2u);
    EXPECT_EQ((*lines)[1], made);
    std::string lastCountry;
    const MatchList found = SearchLog(*lines, "K1ABC", {}, CountryTable(), nullptr, lastCountry);
    EXPECT_EQ(found.contacts, 1u);

    // Only the other station's RR73: no line, and the note says what is missing.
    view.selected = {{4, 0}};
    part.MakeLogEntryLine();
    EXPECT_EQ(view.entry, "");
    EXPECT_EQ(view.note, "No report from K1ABC in the selection");
}

TEST_F(JournalPartTest, RecentActivityIsWrittenAndOpened) {
    test::WriteFile(journal, Line("210412_120015", "Tx", "K1ABC W9XYZ EN37"));
    JournalPart part(Services(), folder.path());
    part.ShowRecentActivity();
    ASSERT_EQ(opened, (std::vector<std::string>{(folder / "RecentList.txt").string()}));
    EXPECT_NE(test::ReadFile(folder / "RecentList.txt").find("K1ABC W9XYZ EN37\r\n"), std::string::npos);
    fs::remove(journal);
    part.ShowRecentActivity();
    EXPECT_EQ(opened.size(), 1u);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].first, "Error");
}

}  // namespace
}  // namespace vantrel
