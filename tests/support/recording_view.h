// Views that keep what the engine showed, for the tests to look at, and a desktop that keeps
// what it was asked to open.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/services.h"
#include "app/engine/views.h"
#include "journal/audit_part.h"

namespace vantrel::test {

// The journal panel as the tests drive it: the places field's text, the selected rows and the
// entry line are set by the test; what the part shows is kept.
class RecordingJournalView : public JournalView {
public:
    void ShowPanel(bool visible) override { panelVisible = visible; }
    std::string SearchText() const override { return searchText; }
    void ShowRows(std::shared_ptr<const JournalMatches> r, const JournalHighlight& h) override {
        rows = std::move(r);
        highlight = h;
    }
    void ShowCount(const std::string& text) override { count = text; }
    void ScrollToRow(std::size_t row) override { scrolledTo = row; }
    void ShowEntryLineField(bool visible) override { entryLineVisible = visible; }
    void SetEntryLine(const std::string& text, const std::string& n) override {
        entryLine = text;
        note = n;
    }
    std::string EntryLineText() const override { return entryLine; }
    std::vector<JournalCell> SelectedCells() const override { return selected; }
    void ShowAllTxtCaptionBold(bool b) override { captionBold = b; }
    void ShowAuto(bool ticked) override { autoTicked = ticked; }
    void ShowMessage(const std::string& c, const std::string& text) override { messages.push_back(c + ": " + text); }

    // Every cell of the rows, as a selection across the table.
    void SelectRows(std::size_t first, std::size_t last) {
        selected.clear();
        for (std::size_t row = first; row <= last; ++row)
            for (std::size_t column = 0; column < JournalLine::kFieldCount; ++column) selected.push_back({row, column});
    }

    std::string searchText, count, entryLine, note;
    std::shared_ptr<const JournalMatches> rows;
    JournalHighlight highlight;
    std::optional<std::size_t> scrolledTo;
    std::vector<JournalCell> selected;
    std::vector<std::string> messages;
    bool panelVisible = false, entryLineVisible = false, captionBold = false, autoTicked = false;
};

// The "Journal audit" window as the tests read it: the lists last shown, the line offered for
// "Add to Log".
struct RecordingAuditView : AuditView {
    void ShowAuditLists(const AuditLists& shown) override { lists = shown; }
    void ShowAuditProgress(const std::string& text) override { progress = text; }
    void ConfirmAddToLog(const std::string& line) override { offered = line; }
    void ShowAuditMessage(const std::string& text) override { message = text; }
    AuditLists lists;
    std::string progress, offered, message;
};

class RecordingView : public NoticeView,
                      public WindowView,
                      public StationView,
                      public FeedView,
                      public EquipmentView,
                      public SearchView,
                      public ListsView,
                      public HeardView,
                      public PlacesView,
                      public InfoViewsView,
                      public MapView {
public:
    EngineViews Views() {
        return EngineViews{
            .notices = *this,
            .window = *this,
            .station = *this,
            .feed = *this,
            .equipment = *this,
            .search = *this,
            .lists = *this,
            .heard = *this,
            .places = *this,
            .info = *this,
            .map = *this,
            .journal = journal,
            .more = ViewSet().Add<AuditView>(audit)};
    }

    void ShowMessage(const std::string& c, const std::string& text) override { messages.push_back(c + ": " + text); }
    void ShowStatus(const std::string& text) override { status = text; }
    void ShowFileStatus(const std::string& text, const std::string& path) override {
        status = text + path;
        statusFile = path;
    }
    void Ask(const std::string& caption, const std::string& text, std::function<void()> onYes) override {
        questions.push_back(caption + ": " + text);
        pendingYes = std::move(onYes);
    }
    // The operator's answer to the last question.
    void Answer(bool yes) {
        auto onYes = std::move(pendingYes);
        pendingYes = nullptr;
        if (yes && onYes) onYes();
    }
    void ShowProgress(bool visible, int percent) override {
        progressVisible = visible;
        progress = percent;
    }
    void SetProgressTitle(const std::string& title) override { progressTitle = title; }
    void SetIndicator(bool busy) override { indicatorChanges += busy ? 1 : 0; }

    void SetCaption(const std::string& text) override { caption = text; }
    void SetRegionVisible(Region region, bool visible) override { regions[region] = visible; }
    void ApplyPlacement(const Placement& p) override { placement = p; }
    void ApplyColours(const Palette& p) override { palette = p; }
    // The option controls as last shown.
    void ApplyOptions(const StoredOptions& o) override { options = o; }
    bool CurrentPlacement(Placement&) const override { return false; }
    void Quit() override { quitCalls++; }

    void ShowStationDetails(const std::string& c, const std::string& g) override {
        call = c;
        grid = g;
    }
    void ShowN1mm(const std::string& h, const std::string& p, const std::string& problem) override {
        host = h;
        port = p;
        n1mmProblem = problem;
    }
    void ShowEntries(const std::string& text) override { entries = text; }
    void ShowLastContact(const std::string& text) override { lastContact = text; }

    void ShowAntennaWarning(bool visible, const std::string& message) override {
        antennaWarning = visible ? message : "";
    }
    void OpenAntennaChoice() override { antennaChoiceOpened++; }

    void ShowEquipment(const std::vector<std::string>& r, const std::vector<std::string>& a, const std::string& rig,
                       const std::string& antenna) override {
        rigs = r;
        antennas = a;
        rigText = rig;
        antennaText = antenna;
    }
    void SelectRig(const std::string& name) override { rigText = name; }

    void SetSearchText(const std::string& text) override { searchText = text; }
    std::string SearchText() const override { return searchText; }
    void ShowMatchList(std::shared_ptr<const MatchList> list) override {
        matchList = std::move(list);
        matchListVisible = true;
    }
    void HideMatchList() override { matchListVisible = false; }
    bool MatchListVisible() const override { return matchListVisible; }
    void ShowContactDetails(const std::vector<DetailsLine>& lines) override {
        contactDetails = lines;
        detailsPanel = true;
    }
    void HideDetailsPanel() override {
        detailsPanel = false;
        contactDetails.clear();
    }
    std::string ContactDetailsText(std::size_t maxCharacters) const override;
    void ShowCountryFileAge(const std::string& text, bool tooOld) override {
        countryFileAge = text;
        countryFileTooOld = tooOld;
    }
    void ResetCallsignListCaret() override { callsignCaretResets++; }
    void ShowWildSearch(bool ticked) override { wildSearchTicked = ticked; }

    // The map window: shown or not, its fields, the labels drawn on it.
    void SetWindowVisible(bool visible) override { mapVisible = visible; }
    bool WindowVisible() const override { return mapVisible; }
    void ShowPicture(std::shared_ptr<const Picture>, const std::vector<MapLabel>& labels,
                     const std::vector<MapSquare>&) override {
        mapLabels = labels;
    }
    void DrawLabels(std::span<const MapLabel> labels) override { mapLabels.insert(mapLabels.end(), labels.begin(), labels.end()); }
    void ShowMapStatus(const std::string&) override {}
    void ShowFields(const MapFields& fields) override { mapFields = fields; }
    void ShowOptions(const MapOptions&) override {}
    void SetLayout(const MapLayout&) override {}
    MapGeometry CurrentGeometry() const override { return {}; }

    void ShowCallsignList(const std::vector<ColouredLine>& lines) override { callsignList = lines; }
    void ShowDisplayList(const std::string& title, const std::vector<ColouredLine>& lines) override {
        displayTitle = title;
        displayList = lines;
        detailsPanel = true;
    }
    bool DetailsPanelVisible() const override { return detailsPanel; }

    void ShowHeard(const std::vector<HeardRow>& rows) override { heard = rows; }

    void ShowGridInfo(const GridInfo& info) override {
        gridInfo = info;
        gridInfoShown = true;
    }
    void HideGridInfo(bool emptyLookupField) override {
        gridInfoShown = false;
        if (emptyLookupField) gridFieldEmptied++;
    }
    void ShowPlaces(const PlacesSearchResult& result) override {
        places = result;
        placesShown = true;
    }
    void HidePlaces() override { placesShown = false; }
    void WidenPlacesPanel() override { placesWidened++; }
    void SetExtendedVisible(bool visible) override { extendedVisible = visible; }
    void EmptyPlacesField() override { placesFieldEmptied++; }

    void ShowInfoPanel(const InfoPanel& panel) override {
        infoPanel = panel;
        detailsPanel = true;
    }

    std::vector<std::string> messages, questions;
    std::function<void()> pendingYes;
    std::string statusFile;  // the file of the last file status
    std::string status, caption, call, grid, host, port, n1mmProblem, entries, lastContact;
    bool progressVisible = false;
    int progress = 0;
    int quitCalls = 0;
    std::map<Region, bool> regions;
    std::vector<ColouredLine> callsignList, displayList;
    std::string progressTitle, displayTitle, antennaWarning, rigText, antennaText;
    std::vector<std::string> rigs, antennas;
    bool detailsPanel = false;
    std::string searchText;
    std::shared_ptr<const MatchList> matchList;
    bool matchListVisible = false;
    std::vector<DetailsLine> contactDetails;
    std::string countryFileAge;
    bool countryFileTooOld = false;
    int callsignCaretResets = 0;
    int indicatorChanges = 0;
    int antennaChoiceOpened = 0;
    Placement placement;
    Palette palette{};
    StoredOptions options;
    std::vector<HeardRow> heard;

    GridInfo gridInfo;
    bool gridInfoShown = false, placesShown = false, extendedVisible = false;
    int gridFieldEmptied = 0, placesWidened = 0, placesFieldEmptied = 0;
    PlacesSearchResult places;
    InfoPanel infoPanel;
    bool wildSearchTicked = false, mapVisible = false;
    MapFields mapFields;
    std::vector<MapLabel> mapLabels;
    RecordingJournalView journal;
    RecordingAuditView audit;
};

class RecordingDesktop : public Desktop {
public:
    bool OpenFile(const std::string& path) override {
        openedFiles.push_back(path);
        return opens;
    }
    bool OpenUrl(const std::string& url) override {
        openedUrls.push_back(url);
        return opens;
    }
    void CopyText(const std::string& text) override { copied = text; }

    std::vector<std::string> openedFiles, openedUrls;
    std::string copied;
    bool opens = true;  // false: a desktop without a program for anything
};

}  // namespace vantrel::test
