// The map window's state and operations, without a toolkit: which image is shown, the labels
// drawn since it was loaded, the read-out fields, the one-second quiet count, the layout and
// projection, the nine stored settings and the replots from the map's data sources. The window
// (MapView) shows what this decides and reports the operator's actions back to it.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/time_text.h"
#include "geo/locator.h"
#include "log/log_lines.h"
#include "map/map_profile.h"
#include "map/map_sources.h"
#include "map/map_view.h"
#include "settings/stored_options.h"

namespace vantrel {

class SettingsStore;

class MapPart {
public:
    // What the map asks of the main window.
    struct OwnerActions {
        std::function<void()> uncheckMapBox;      // no map image was found
        std::function<void()> uncheckWildSearch;  // "Clear"
        // Runs the work with the local log's lines in its turn (never while a job rewrites
        // the log); nothing is plotted from the log without it.
        std::function<void(std::function<void(const LogLines&)>)> withLocalLog;
    };

    // Images are looked for in the viewer's folder first, then in the folder of the images
    // shipped with the program. The map's own files live in the viewer's folder.
    MapPart(SettingsStore& store, std::filesystem::path viewerFolder, std::filesystem::path shippedMaps,
            MapView& view, OwnerActions owner = {});

    // --- The engine and the main window ---
    // Once, when the program starts: the stored settings and the window style.
    void Create();
    // maplog.txt is deleted at every start of the program.
    void DeleteMapLogAtStart();
    // True when the smallest map image is found (the "Map" check box is shown then).
    bool MapAvailable() const;
    // "Map" ticked: LoadMapPlacement and show the window; cleared: SaveMapPlacement and hide it.
    void SetShown(bool shown);
    // Shows the window where it is, without reading the stored placement.
    void ShowWindow();
    bool Visible() const;
    void LoadMapPlacement();
    void SaveMapPlacement();
    // "Reset Map position and size": left 100, top 100, width 600 and the height that shows the
    // whole picture at that width; applied when the window is next shown if it is hidden.
    // Nothing is stored.
    void ResetMapPlacement();
    // A station to show: the callsign field, then the grid field (which plots it).
    void ShowStation(std::string_view callsign, std::string_view grid);
    // The station a search settled on: shown as ShowStation does, and labelled even when its
    // square is the one plotted last.
    void ShowSearchedStation(std::string_view callsign, std::string_view grid);
    void SetCallsign(std::string_view callsign);
    void SetGrid(std::string_view grid);
    // The two map keys that the main window saves with its own settings.
    bool AutoClear() const { return options_.autoClear; }
    bool OnTop() const { return options_.onTop; }

    // --- The window ---
    void Activated();
    void Resized(int width, int height);
    void Tick();  // once a second
    void CloseRequested();
    void GridEdited(std::string_view text);
    void GridEntered();
    void CallsignEdited(std::string_view text) { SetCallsign(text); }
    void PointerMoved(int x, int y);  // in pixels of the image area
    void Clicked(int x, int y);
    void ExploreClicked(bool checked);
    void AutoClearClicked(bool checked) { options_.autoClear = checked; }
    void KeepOnTopClicked(bool checked);
    void LabelKindChosen(bool calls) { options_.calls = calls; }
    void Clear();
    void FontSmaller();
    void FontLarger();
    void FontSizeEdited(std::string_view text);
    void FontNameChanged(std::string_view name);
    void Redo();
    void Log();
    void Today(TimePoint now);
    void Yesterday(TimePoint now);
    void LoadMapSettings();
    void SaveMapSettings();

    // --- What tests and the window read ---
    void PlotLabel(std::string_view grid, std::string_view callsign);
    bool LoadMapImage(const std::filesystem::path& file);
    const MapProfile& Profile() const { return *profile_; }
    const std::string& MapFileName() const { return mapFileName_; }
    const MapFields& Fields() const { return fields_; }
    const MapOptions& Options() const { return options_; }
    const MapLayout& Layout() const { return layout_; }
    const std::vector<MapLabel>& Labels() const { return labels_; }
    const std::vector<MapSquare>& Squares() const { return squares_; }
    int QuietSeconds() const { return quietSeconds_; }
    int ScalePercent() const { return scalePercent_; }
    double DisplayFactor() const { return displayFactor_; }
    // The label font size: the field's whole number held within 3..36, or the last good one.
    int FontSize() const;

private:
    enum class Reload { KeepLabels, Clean };
    bool ReloadPicture(Reload reload);
    void Replot(const struct MapSource& source);
    void ShadeSquares(const struct MapSource& source);
    void ReplotDay(TimePoint now, int daysBefore);
    void PlotDay(const MapSource& source, int daysBefore);
    // Left 100, top 100, width 600, the height showing the whole picture at that width.
    MapGeometry ResetGeometry(MapGeometry from) const;
    void GridChanged(std::string text);
    void RecomputeFactors();
    void RunLayout();
    void ApplyGeometry(const MapGeometry& geometry);
    void AddLabel(MapLabel label);
    std::filesystem::path FindImage(std::string_view name) const;
    void ShowError(const std::string& text);

    SettingsStore& store_;
    std::filesystem::path viewerFolder_;
    std::filesystem::path shippedMaps_;
    MapView& view_;
    OwnerActions owner_;

    const MapProfile* profile_ = &kMapProfiles[0];
    std::string mapFileName_ = std::string(kMapProfiles[0].file);
    std::filesystem::path mapFile_;
    std::shared_ptr<const Picture> picture_;
    std::vector<MapLabel> labels_;  // drawn since the picture was last loaded clean
    std::vector<MapSquare> squares_;  // shaded by "Log" with "Grids"
    bool batching_ = false;         // a replot draws its labels in one go at its end

    MapFields fields_;
    MapOptions options_;
    int lastGoodFontSize_ = 12;
    MapGeometry geometry_;
    MapLayout layout_;
    bool placementApplied_ = false;  // the window has been placed since it was last shown
    bool resetPending_ = false;      // "Reset Map position and size" while hidden
    double aspect_ = 1;
    double displayFactor_ = 1;
    int scalePercent_ = 33;
    double pixelsPerDegreeLongitude_ = 0, pixelsPerDegreeLatitude_ = 0;
    int quietSeconds_ = 0;
    bool timerRunning_ = false;
    std::string lastPlottedGrid_;
    Position lastPosition_;
    int pointerX_ = 0, pointerY_ = 0;
};

}  // namespace vantrel
