// The views of a run without a window: messages, status notes and warnings go to the standard
// error stream; of everything else only what the engine reads back is kept (the search box's
// text, which panels are open, the last details shown).
#pragma once

#include <QCoreApplication>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/services.h"
#include "app/engine/views.h"

namespace vantrel {

// The journal panel of a run without a window: never shown (the terminal has --journal and
// --recent); its messages go to the standard error stream.
class HeadlessJournalView : public JournalView {
public:
    void ShowPanel(bool) override {}
    std::string SearchText() const override { return ""; }
    void ShowRows(std::shared_ptr<const JournalMatches>, const JournalHighlight&) override {}
    void ShowCount(const std::string&) override {}
    void ScrollToRow(std::size_t) override {}
    void ShowEntryLineField(bool) override {}
    void SetEntryLine(const std::string&, const std::string&) override {}
    std::string EntryLineText() const override { return ""; }
    std::vector<JournalCell> SelectedCells() const override { return {}; }
    void ShowAllTxtCaptionBold(bool) override {}
    void ShowAuto(bool) override {}
    void ShowMessage(const std::string& caption, const std::string& text) override {
        std::fprintf(stderr, "vantrel: %s: %s\n", caption.c_str(), text.c_str());
    }
};

class HeadlessView : public NoticeView,
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
            .journal = journal_};
    }

    // NoticeView
    void ShowMessage(const std::string& caption, const std::string& text) override {
        std::fprintf(stderr, "vantrel: %s: %s\n", caption.c_str(), text.c_str());
    }
    void ShowStatus(const std::string& text) override { std::fprintf(stderr, "vantrel: %s\n", text.c_str()); }
    // Nobody is there to answer: the work that waits for a "Yes" is not done.
    void Ask(const std::string& caption, const std::string&, std::function<void()>) override {
        std::fprintf(stderr, "vantrel: %s: not done without a window to confirm it\n", caption.c_str());
    }
    void ShowProgress(bool, int) override {}
    void SetProgressTitle(const std::string&) override {}
    void SetIndicator(bool) override {}

    // WindowView
    void SetCaption(const std::string&) override {}
    void SetRegionVisible(Region, bool) override {}
    void ApplyPlacement(const Placement&) override {}
    void ApplyColours(const Palette&) override {}
    void ApplyOptions(const StoredOptions&) override {}
    bool CurrentPlacement(Placement&) const override { return false; }
    void Quit() override {
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
    }

    // StationView
    void ShowStationDetails(const std::string&, const std::string&) override {}
    void ShowN1mm(const std::string&, const std::string&, const std::string&) override {}
    void ShowEntries(const std::string&) override {}
    void ShowLastContact(const std::string&) override {}

    // FeedView
    void ShowAntennaWarning(bool visible, const std::string& message) override {
        if (visible) std::fprintf(stderr, "vantrel: %s\n", message.c_str());
    }
    void OpenAntennaChoice() override {}

    // EquipmentView
    void ShowEquipment(const std::vector<std::string>&, const std::vector<std::string>&, const std::string&,
                       const std::string&) override {}
    void SelectRig(const std::string&) override {}

    // SearchView
    void SetSearchText(const std::string& text) override { searchText_ = text; }
    std::string SearchText() const override { return searchText_; }
    void ShowMatchList(std::shared_ptr<const MatchList>) override { matchListVisible_ = true; }
    void HideMatchList() override { matchListVisible_ = false; }
    bool MatchListVisible() const override { return matchListVisible_; }
    void ShowContactDetails(const std::vector<DetailsLine>& lines) override {
        details_ = lines;
        detailsPanel_ = true;
    }
    void HideDetailsPanel() override {
        detailsPanel_ = false;
        details_.clear();
    }
    std::string ContactDetailsText(std::size_t maxCharacters) const override {
        std::string text;
        for (const DetailsLine& line : details_) {
            if (!text.empty()) text += '\n';
            text += line.text;
        }
        return text.substr(0, maxCharacters);
    }
    void ShowCountryFileAge(const std::string&, bool) override {}
    void ResetCallsignListCaret() override {}
    void ShowWildSearch(bool) override {}

    // ListsView
    void ShowCallsignList(const std::vector<ColouredLine>&) override {}
    void ShowDisplayList(const std::string&, const std::vector<ColouredLine>&) override { detailsPanel_ = true; }
    bool DetailsPanelVisible() const override { return detailsPanel_; }

    // HeardView
    void ShowHeard(const std::vector<HeardRow>&) override {}

    // MapView: no map window without a display.
    void SetWindowVisible(bool) override {}
    bool WindowVisible() const override { return false; }
    void ShowPicture(std::shared_ptr<const Picture>, const std::vector<MapLabel>&,
                     const std::vector<MapSquare>&) override {}
    void DrawLabels(std::span<const MapLabel>) override {}
    void ShowMapStatus(const std::string&) override {}
    void ShowFields(const MapFields&) override {}
    void ShowOptions(const MapOptions&) override {}
    void SetLayout(const MapLayout&) override {}
    MapGeometry CurrentGeometry() const override { return {}; }

    // PlacesView: the panels exist only in the window (the terminal has --grid and --places).
    void ShowGridInfo(const GridInfo&) override {}
    void HideGridInfo(bool) override {}
    void ShowPlaces(const PlacesSearchResult&) override {}
    void HidePlaces() override {}
    void WidenPlacesPanel() override {}
    void SetExtendedVisible(bool) override {}
    void EmptyPlacesField() override {}

    // InfoViewsView
    void ShowInfoPanel(const InfoPanel&) override { detailsPanel_ = true; }

protected:
    HeadlessJournalView journal_;
    std::string searchText_;
    bool matchListVisible_ = false;
    bool detailsPanel_ = false;
    std::vector<DetailsLine> details_;
};

// The desktop of a run without a window: nothing is opened (so the operator is told where to
// look) or copied.
class HeadlessDesktop : public Desktop {
public:
    bool OpenFile(const std::string&) override { return false; }
    bool OpenUrl(const std::string&) override { return false; }
    void CopyText(const std::string&) override {}
};

}  // namespace vantrel
