// The view of a run without a window: messages and status notes go to the standard error
// stream, everything else is kept only as the last value shown (the tests read them).
#pragma once

#include <QCoreApplication>

#include <cstdio>
#include <map>
#include <string>

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
    bool CurrentPlacement(Placement&) const override { return false; }
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
    Placement placement;
    Palette palette{};
    StoredOptions options;
};

}  // namespace vantrel
