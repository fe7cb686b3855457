// What the map part shows: the map window implements this, tests substitute their own. Called
// on the user-interface thread only.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "map/picture.h"

namespace vantrel {

// One station: a blue (#0000FF) dot at x, y in picture pixels with its text beside it, on a
// transparent background. Where labels would overlap, a later one is left out unless `always`
// (the station just looked at, a click).
struct MapLabel {
    int x = 0, y = 0;
    std::string text;
    std::string fontName;
    int fontSize = 12;  // points
    bool always = false;
};

// A worked grid square shaded on the picture (picture pixels), darker for more contacts.
struct MapSquare {
    int x = 0, y = 0, width = 0, height = 0;
    int contacts = 0;
};

// The window's place and size: left and top of the frame, width and height of the inside.
struct MapGeometry {
    int left = 200, top = 200, width = 660, height = 375;
    friend bool operator==(const MapGeometry&, const MapGeometry&) = default;
};

// The window and, inside it, the area that shows the picture stretched to its size.
struct MapLayout {
    MapGeometry window;
    int imageLeft = 30, imageWidth = 0, imageHeight = 0;
    friend bool operator==(const MapLayout&, const MapLayout&) = default;
};

// The read-out fields and the fields that name the station.
struct MapFields {
    std::string latitude, longitude, grid, callsign;
    bool explore = false;
};

// The controls that are stored with the settings, and the label choice.
struct MapOptions {
    bool autoClear = true;
    bool onTop = false;
    bool calls = true;  // "Calls" (else "Grids")
    std::string fontSize = "12";
    std::string fontName = "Courier New";
};

class MapView {
public:
    virtual ~MapView() = default;

    virtual void SetWindowVisible(bool visible) = 0;
    virtual bool WindowVisible() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    // A message box with a caption and an OK button.
    virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;

    // A freshly loaded picture with these squares shaded and these labels over it, shown with
    // one repaint.
    virtual void ShowPicture(std::shared_ptr<const Picture> picture, const std::vector<MapLabel>& labels,
                             const std::vector<MapSquare>& squares) = 0;
    // More labels over the picture shown, with one repaint.
    virtual void DrawLabels(std::span<const MapLabel> labels) = 0;

    // A line under the controls saying what the map shows (empty: the counts of what it shows).
    virtual void ShowMapStatus(const std::string& text) = 0;
    virtual void ShowFields(const MapFields& fields) = 0;
    // Check boxes, font size and font name; "Keep on Top" takes effect at once.
    virtual void ShowOptions(const MapOptions& options) = 0;
    virtual void SetLayout(const MapLayout& layout) = 0;
    // Where the window is now (at its normal place and size when maximised).
    virtual MapGeometry CurrentGeometry() const = 0;
};

}  // namespace vantrel
