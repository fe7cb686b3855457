// The view of a run without a window: messages and status notes go to the standard error
// stream, everything else is kept only as the last value shown (the tests read them).
#pragma once

#include <QCoreApplication>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/engine/services.h"
#include "app/engine/station_view.h"

namespace vantrel {

class HeadlessView : public StationView {
public:
    void ShowMessage(const std::string& caption, const std::string& text) override {
        messages.push_back(caption + ": " + text);
        if (echo) std::fprintf(stderr, "vantrel: %s: %s\n", caption.c_str(), text.c_str());
    }
    void ShowStatus(const std::string& text) override {
        status = text;
        if (echo) std::fprintf(stderr, "vantrel: %s\n", text.c_str());
    }
    void ShowProgress(bool visible, int percent) override {
        progressVisible = visible;
        progress = percent;
    }
    void SetProgressTitle(const std::string& title) override { progressTitle = title; }
    void SetRegionVisible(Region region, bool visible) override { regions[region] = visible; }
    void SetCaption(const std::string& text) override { caption = text; }
    void ShowStationDetails(const std::string& c, const std::string& g) override {
        call = c;
        grid = g;
    }
    void ShowN1mm(const std::string& h, const std::string& p) override {
        host = h;
        port = p;
    }
    void ShowEntries(const std::string& text) override { entries = text; }
    void ShowLastContact(const std::string& text) override { lastContact = text; }
    void ApplyPlacement(const Placement& p) override { placement = p; }
    void ApplyColours(const Palette& p) override { palette = p; }
    void ApplyOptions(const StoredOptions& o) override { options = o; }
    // The option controls' states as last applied (tests change `options` as an operator would).
    void ReadOptions(StoredOptions& o) const override {
        o.brDist = options.brDist;
        o.autoShow = options.autoShow;
        o.showDetails = options.showDetails;
        o.searchAllTxt = options.searchAllTxt;
        o.mapShow = options.mapShow;
        o.antWarning = options.antWarning;
        o.antAutoChange = options.antAutoChange;
        o.showCount = options.showCount;
        o.searches = options.searches;
        o.rig = options.rig;
        o.ant = options.ant;
        o.always50 = options.always50;
    }
    bool CurrentPlacement(Placement&) const override { return false; }
    void ShowCallsignList(const std::vector<ColouredLine>& lines) override { callsignList = lines; }
    void ShowDisplayList(const std::string& title, const std::vector<ColouredLine>& lines) override {
        displayTitle = title;
        displayList = lines;
        detailsPanel = true;
    }
    bool DetailsPanelVisible() const override { return detailsPanel; }
    void SetIndicator(bool busy) override { indicatorChanges += busy ? 1 : 0; }
    void ShowAntennaWarning(bool visible, const std::string& message) override {
        antennaWarning = visible ? message : "";
        if (visible && echo) std::fprintf(stderr, "vantrel: %s\n", message.c_str());
    }
    void OpenAntennaChoice() override { antennaChoiceOpened++; }
    void ShowEquipment(const std::vector<std::string>& r, const std::vector<std::string>& a,
                       const std::string& rig, const std::string& antenna) override {
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
    std::string ContactDetailsText(std::size_t maxCharacters) const override {
        std::string text;
        for (const DetailsLine& line : contactDetails) {
            if (&line != &contactDetails.front()) text += '\n';
            text += line.text;
        }
        return text.substr(0, maxCharacters);
    }
    void ShowCountryFileAge(const std::string& text, bool tooOld) override {
        countryFileAge = text;
        countryFileTooOld = tooOld;
    }
    void ResetCallsignListCaret() override { callsignCaretResets++; }
    std::string ChooseFile(const std::string&, const std::string&) override { return chosenFile; }
    void Quit() override {
        quitCalls++;
        QCoreApplication::quit();
    }

    bool echo = true;
    std::vector<std::string> messages;
    std::string status, caption, call, grid, host, port, entries, lastContact;
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
    std::string chosenFile;  // what ChooseFile answers; no one is asked in headless mode
    int indicatorChanges = 0;
    int antennaChoiceOpened = 0;
    Placement placement;
    Palette palette{};
    StoredOptions options;
};

// The desktop of a run without a window: nothing is opened or copied, the requests are kept.
class HeadlessDesktop : public Desktop {
public:
    void OpenFile(const std::string& path) override { openedFiles.push_back(path); }
    void OpenUrl(const std::string& url) override { openedUrls.push_back(url); }
    void CopyText(const std::string& text) override { copied = text; }

    std::vector<std::string> openedFiles, openedUrls;
    std::string copied;
};

}  // namespace vantrel
