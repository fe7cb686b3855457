// The places part of the station engine: the grid lookup's "Gridsquare info:" panel with its
// 30-second timer, the places search's "Places Lookup:" panel, and the lists they read.
//
// The engine calls it on the user-interface thread; it reaches the window only through
// PlacesView and the clipboard only through the callback it is given. Its two one-second timers
// (the panel timer and the stopwatch) advance by Tick(), called once a second by the schedule.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "log/log_lines.h"
#include "refdata/grid_lookup.h"
#include "refdata/places_files.h"
#include "refdata/places_list.h"
#include "refdata/places_search.h"

namespace vantrel {

class PlacesView {
public:
    virtual ~PlacesView() = default;
    // The "Gridsquare info:" panel with these lines, in front of everything; the places list
    // shown with its start in view when `info.placesVisible`, else hidden; the country label
    // empty when `info.country` is.
    virtual void ShowGridInfo(const GridInfo& info) = 0;
    // Hides the panel; the operator's close clicks also empty the grid lookup field.
    virtual void HideGridInfo(bool emptyLookupField) = 0;
    // The "Places Lookup:" panel: the prefix box, the list and the match label, each with its
    // start in view; shown.
    virtual void ShowPlaces(const PlacesSearchResult& result) = 0;
    // The list emptied and the panel hidden.
    virtual void HidePlaces() = 0;
    // The panel to the main window's width - 60, its list to the panel's width - 20.
    virtual void WidenPlacesPanel() = 0;
    // The check box "Extended".
    virtual void SetExtendedVisible(bool visible) = 0;
    // "Places/call search:" emptied ("CLR").
    virtual void EmptyPlacesField() = 0;
    virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
};

struct PlacesPartInputs {
    PlacesFolders folders;
    // The operator's grid (from WSJT-X's configuration), read at every lookup.
    std::function<std::string()> homeGrid;
    // The country table's lines (ctybasic.txt in table order), kept alive while they are read
    // even if the table is replaced meanwhile; null while there is none.
    std::function<std::shared_ptr<const LogLines>()> countryTable;
    std::function<void(const std::string&)> copyToClipboard;
};

class PlacesPart {
public:
    PlacesPart(PlacesPartInputs inputs, PlacesView& view);

    // Start-up, before the logs: counters and the last search cleared, "Extended" shown when
    // allplaces.txt is found, PlacesList4 loaded from 4chplaces.txt. A file that could not be
    // read: its reason, else "".
    std::string PrepareAtStart();
    // Start-up, after the grids file: PlacesList from worldcities.txt, worldcities.csv or
    // Places-db5.txt. The reason when a file could not be read or written, else "".
    std::string LoadPlacesList();
    // The same in two steps, for a load made on another thread (vantrel::LoadPlacesList with
    // Folders()): BeginPlacesListLoad before it starts, TakePlacesList with its result. A grid
    // lookup asked for in between waits for the list and is answered when it is taken.
    void BeginPlacesListLoad() { placesListLoading_ = true; }
    std::string TakePlacesList(PlacesListLoad load);
    bool PlacesListLoading() const { return placesListLoading_; }
    const PlacesFolders& Folders() const { return inputs_.folders; }

    // Once a second.
    void Tick();

    // "Lookup" or Enter in the grid lookup field.
    void LookupGrid(std::string_view fieldText);
    // A click on the panel, its label "Click to close.", its list or into the grid lookup field.
    void CloseGridInfo();
    // A mouse button pressed on the panel's list stops the 30-second timer; releasing it starts
    // a fresh 30 seconds.
    void GridListPressed();
    void GridListReleased();
    // A double click on the bearing line: the bearing of the last lookup to the clipboard.
    void BearingDoubleClicked();

    // A key typed into "Places/call search:".
    void PlacesTextEdited();
    // Enter in "Places/call search:" while "ALL.TXT" is unticked.
    void SearchPlaces(std::string_view fieldText, bool extended);
    // A double click on the "Places Lookup:" panel or its list.
    void ClosePlaces();
    // "->> Clipboard".
    void CopyPlacesToClipboard();
    // "CLR" empties "Places/call search:".
    void ClearPlacesField() { view_.EmptyPlacesField(); }

    const PlacesList& List() const { return placesList_; }
    // 4chplaces.txt as the callsign search's "Details" reads it. It changes only in
    // PrepareAtStart, so a reader made after that may keep a reference.
    const LogLines& List4() const { return placesList4_; }
    bool ExtendedAvailable() const { return extendedAvailable_; }
    bool GridTimerRunning() const { return gridTimerRunning_; }
    int GridPanelSeconds() const { return gridSeconds_; }
    int StopwatchSeconds() const { return stopwatchSeconds_; }

private:
    // The places file last searched, kept while its size and time stay the same.
    const PlacesText* SearchFile(const std::filesystem::path& file, std::string* error);

    PlacesPartInputs inputs_;
    PlacesView& view_;
    PlacesList placesList_;
    bool placesListLoading_ = false;
    std::optional<std::string> waitingLookup_;  // the grid lookup asked for while the list loads
    LogLines placesList4_;
    bool extendedAvailable_ = false;

    bool gridShown_ = false;
    bool gridTimerRunning_ = false;
    int gridSeconds_ = 0;
    bool stopwatchRunning_ = false;
    int stopwatchSeconds_ = 0;
    std::string lastBearing_;
    std::vector<std::string> shownPlaces_;
    std::filesystem::path searchFile_;
    std::int64_t searchFileSize_ = -1;
    std::filesystem::file_time_type searchFileTime_;
    PlacesText searchText_;
};

}  // namespace vantrel
