// A map view that records what the map part shows, for tests without a window. Its window
// takes whatever place and size it is given.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "map/map_view.h"

namespace vantrel::test {

class RecordingMapView : public MapView {
public:
    void SetWindowVisible(bool v) override { visible = v; }
    bool WindowVisible() const override { return visible; }
    void SetCaption(const std::string& text) override { caption = text; }
    void ShowMessage(const std::string& caption, const std::string& text) override {
        messages.push_back(caption + ": " + text);
    }
    void ShowPicture(std::shared_ptr<const Picture> p, const std::vector<MapLabel>& l,
                     const std::vector<MapSquare>& s) override {
        picture = std::move(p);
        labels = l;
        squares = s;
        status.clear();
        ++repaints;
        ++pictureLoads;
    }
    void DrawLabels(std::span<const MapLabel> l) override {
        labels.insert(labels.end(), l.begin(), l.end());
        ++repaints;
    }
    void ShowMapStatus(const std::string& text) override { status = text; }
    void ShowFields(const MapFields& f) override { fields = f; }
    void ShowOptions(const MapOptions& o) override { options = o; }
    void SetLayout(const MapLayout& l) override { layout = l; }
    MapGeometry CurrentGeometry() const override { return layout.window; }

    bool visible = false;
    std::string caption;
    std::vector<std::string> messages;
    std::shared_ptr<const Picture> picture;
    std::vector<MapLabel> labels;  // on the picture shown
    std::vector<MapSquare> squares;
    std::string status;
    int repaints = 0;
    int pictureLoads = 0;
    MapFields fields;
    MapOptions options;
    MapLayout layout;
};

}  // namespace vantrel::test
