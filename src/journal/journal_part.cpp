#include "journal/journal_part.h"

#include <algorithm>
#include <system_error>

#include "base/data_folders.h"
#include "base/file_io.h"
#include "journal/log_entry_maker.h"
#include "journal/recent_activity.h"
#include "log/line_text.h"

namespace vantrel {

namespace fs = std::filesystem;

namespace {

// The table keeps its newest lines in view: with more than 10 rows, headings included, the
// first row in view is the row count less 10.
constexpr std::size_t kRowsInView = 10;
constexpr const char* kJournalReplaced = "The journal was replaced; search run again";

std::optional<fs::file_time_type> ModifiedAt(const fs::path& file) {
    std::error_code ec;
    const auto time = fs::last_write_time(file, ec);
    if (ec) return std::nullopt;
    return time;
}

}  // namespace

JournalPart::JournalPart(JournalPartServices services, fs::path viewerFolder)
    : services_(std::move(services)), viewerFolder_(std::move(viewerFolder)) {
    // "ALL.TXT" ticked or cleared: its caption follows at once.
    services_.options.Subscribe([this](const OptionsChange& change) {
        if (change.Changed(&StoredOptions::searchAllTxt)) DrawAllTxtCaption();
    });
}

JournalPart::~JournalPart() {
    if (cancel_) *cancel_ = true;
    *extractCancel_ = true;
}

fs::path JournalPart::JournalCopy() const { return viewerFolder_ / kJournalCopy; }
fs::path JournalPart::RecentListFile() const { return viewerFolder_ / kRecentListFile; }

const JournalMatches& JournalPart::Matches() const {
    static const JournalMatches none;
    return search_ ? *search_->matches : none;
}

bool JournalPart::PlacesSearchEntered() {
    if (!services_.options.Get().searchAllTxt) return false;
    SearchJournal();
    return true;
}

void JournalPart::SearchJournal() { StartSearch(false); }
void JournalPart::Refresh() { StartSearch(true); }

void JournalPart::Run(bool& pending, std::function<void()> work, std::function<void()> done) {
    if (!services_.runner) {
        work();
        done();
        return;
    }
    pending = true;
    services_.runner(std::move(work), std::move(done));
}

void JournalPart::StartSearch(bool continueLast) {
    const fs::path journal = JournalCopy();
    // A missing or empty journal copy: nothing at all, but the rows of a journal that was
    // emptied are not left in the panel.
    if (FileSize(journal) <= 0) {
        if (continueLast && search_ && !searchPending_) {
            search_.reset();
            services_.view.ShowRows(std::make_shared<const JournalMatches>(), Highlight());
            services_.view.ShowCount("Entries :0");
            if (services_.showStatus) services_.showStatus(kJournalReplaced);
        }
        return;
    }
    const std::string text = JournalSearchText(services_.view.SearchText());
    panelVisible_ = true;
    services_.view.ShowPanel(true);
    services_.view.ShowCount("");
    // Taken before reading, so a change made while the search reads is seen by the next tick.
    const auto stamp = ModifiedAt(journal);
    bool replaced = false;

    if (continueLast && search_ && !searchPending_) {
        const JournalSearchStatus status = RefreshJournalSearch(*search_, journal, text);
        if (status == JournalSearchStatus::Appended || status == JournalSearchStatus::Unchanged ||
            status == JournalSearchStatus::TooFewLines) {
            stamp_ = stamp;
            ShowResult();
            return;
        }
        if (status == JournalSearchStatus::Failed) {
            services_.view.ShowMessage("Error", search_->error);
            return;
        }
        // The same text, but the journal shrank or is another file: searched again from its start.
        if (text == search_->text && search_->Ran()) replaced = true;
    }
    // The whole journal. A search still running is overtaken: its result is dropped.
    if (cancel_) *cancel_ = true;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    const std::uint64_t job = ++job_;
    auto result = std::make_shared<JournalSearch>();
    auto cancel = cancel_;
    Run(searchPending_, [result, cancel, journal, text] { *result = SearchJournalFile(journal, text, cancel.get()); },
        [this, alive = std::weak_ptr<int>(alive_), result, job, stamp, replaced] {
            if (alive.expired() || job != job_) return;
            searchPending_ = false;
            SearchDone(std::move(*result), stamp);
            if (replaced && services_.showStatus) services_.showStatus(kJournalReplaced);
        });
}

void JournalPart::SearchDone(JournalSearch result, std::optional<fs::file_time_type> stamp) {
    switch (result.status) {
        case JournalSearchStatus::Failed:
            services_.view.ShowMessage("Error", result.error);
            return;
        case JournalSearchStatus::Stopped:
        case JournalSearchStatus::NoJournal:  // gone while it was being read
            return;
        default:
            break;
    }
    search_ = std::make_unique<JournalSearch>(std::move(result));
    stamp_ = stamp;
    ShowResult();
}

JournalHighlight JournalPart::Highlight() const {
    return {services_.station.call, services_.options.Get().colours[0], services_.options.Get().colours[1]};
}

void JournalPart::ShowResult() {
    const auto& matches = search_->matches;
    services_.view.ShowRows(matches, Highlight());
    // A journal of one line has no line to examine: the table is emptied and no count shown.
    if (search_->status == JournalSearchStatus::TooFewLines) return;
    const std::size_t count = matches->size();
    services_.view.ShowCount("Entries :" + std::to_string(count));
    if (services_.options.Get().refreshAuto && count + 1 > kRowsInView) services_.view.ScrollToRow(count - kRowsInView);
}

void JournalPart::Tick() {
    DrawAllTxtCaption();
    RefreshIfChanged();
}

void JournalPart::DrawAllTxtCaption() {
    if (captionBold_ == services_.options.Get().searchAllTxt) return;
    captionBold_ = services_.options.Get().searchAllTxt;
    services_.view.ShowAllTxtCaptionBold(*captionBold_);
}

bool JournalPart::RefreshIfChanged() {
    if (!services_.options.Get().refreshAuto || !panelVisible_ || searchPending_) return false;
    const auto stamp = ModifiedAt(JournalCopy());
    if (stamp == stamp_) return false;
    stamp_ = stamp;
    StartSearch(true);
    return true;
}

void JournalPart::SetSearchAllTxt(bool ticked) {
    services_.options.Update([ticked](StoredOptions& options) { options.searchAllTxt = ticked; });
    DrawAllTxtCaption();
}

void JournalPart::SetAuto(bool ticked) {
    services_.options.Update([ticked](StoredOptions& options) { options.refreshAuto = ticked; });
}

void JournalPart::ApplyOptions() {
    captionBold_ = services_.options.Get().searchAllTxt;
    services_.view.ShowAllTxtCaptionBold(*captionBold_);
    services_.view.ShowAuto(services_.options.Get().refreshAuto);
}

void JournalPart::Close() {
    services_.view.ShowEntryLineField(false);
    services_.view.ShowPanel(false);
    panelVisible_ = false;
}

void JournalPart::CopySelected() {
    std::vector<JournalCell> cells = services_.view.SelectedCells();
    if (cells.empty() || !services_.copyText) return;
    services_.copyText(SelectedCellsText(Matches(), std::move(cells)));
}

void JournalPart::MakeLogEntryLine() {
    services_.view.SetEntryLine("", "");
    services_.view.ShowEntryLineField(true);
    std::vector<std::size_t> rows;
    for (const JournalCell& cell : services_.view.SelectedCells()) rows.push_back(cell.row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    const JournalMatches& matches = Matches();
    std::vector<JournalLine> lines;
    for (std::size_t row : rows) {
        if (lines.size() == kLogEntryMaxRows) break;
        if (row < matches.size()) lines.push_back(matches.Row(row));
    }
    const LogEntry entry = vantrel::MakeLogEntryLine(lines, services_.station);
    services_.view.SetEntryLine(entry.line, entry.note);
}

void JournalPart::CopyLine() {
    const std::string text = services_.view.EntryLineText();
    if (!text.empty() && services_.copyText) services_.copyText(text);
}

void JournalPart::AddToLog() {
    const std::string text = services_.view.EntryLineText();
    if (TrimBlanks(text).empty()) return;
    std::string reason;
    if (!ValidLogEntryLine(text, &reason)) {
        services_.view.ShowMessage("Add to Log", reason);
        return;
    }
    if (services_.addToLog && !services_.addToLog(text, &reason))
        services_.view.ShowMessage("Error", "The line could not be added to the local log: " + reason);
}

void JournalPart::ShowRecentActivity() {
    struct Outcome {
        bool written = false;
        std::string error;
    };
    auto outcome = std::make_shared<Outcome>();
    const fs::path journal = JournalCopy(), output = RecentListFile();
    const std::string call = services_.station.call;
    Run(extractPending_,
        [outcome, journal, output, call, cancel = extractCancel_] {
            outcome->written = WriteRecentList(journal, call, output, &outcome->error, nullptr, cancel.get());
        },
        [this, alive = std::weak_ptr<int>(alive_), outcome, output] {
            if (alive.expired()) return;
            extractPending_ = false;
            if (!outcome->written) services_.view.ShowMessage("Error", outcome->error);
            else if (services_.openFile) services_.openFile(output.string());
        });
}

std::string SelectedCellsText(const JournalMatches& matches, std::vector<JournalCell> cells) {
    std::sort(cells.begin(), cells.end(), [](const JournalCell& a, const JournalCell& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    std::string text;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) text += cells[i].row == cells[i - 1].row ? "\t" : "\r\n";
        if (cells[i].row < matches.size()) text += matches.Row(cells[i].row).Field(cells[i].column);
    }
    return text;
}

}  // namespace vantrel
