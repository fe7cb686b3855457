// Who is this station: the country table, the callsign search as the operator types, the match
// list's clicks, the details panel and the web lookup.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/engine/engine_core.h"
#include "geo/callsign_search.h"
#include "geo/contact_details.h"
#include "geo/country_lookup.h"
#include "geo/place_finder.h"
#include "map/map_part.h"

namespace vantrel {

class SearchPart {
public:
    // The match list follows the options it shows ("B/D", "Details", the character count) and
    // the operator's grid that bearings and distances are measured from.
    SearchPart(EngineCore& core, SearchView& view);

    // The places of 4chplaces.txt for the "Details" option (PlacesList4, loaded by the places
    // part); the list must stay as it is while the search uses it.
    void UsePlacesList4(const LogLines& placesList4);
    // The map window that shows the stations the search finds.
    void UseMap(MapPart& map) { map_ = &map; }
    // ctybasic.txt, made from cty.dat when missing (a new viewer folder takes WSJT-X's cty.dat).
    void LoadCountryTable();
    void CheckCountryFileAge();

    void SearchLog();
    void SearchEdited(const std::string& text);
    void SetWildSearch(bool wild);
    // The map's "Clear" clears "Wild Search" and searches again when the result is shown.
    void UntickWildSearch();
    // The search takes the first characters (the slider's count) of the last contact's callsign.
    void AutoShowFill();
    // A station named from outside: as typed (with "AutoShow", the slider's count of its first
    // characters: the station WSJT-X works), or whole (a station clicked).
    void SearchFor(const std::string& call, bool asTyped);
    void LastContactClicked();
    void CallsignListClicked(const std::string& line, int column);
    void MatchListClicked(int row, bool leftButton);
    void ShowContactDetails(std::size_t logIndex);
    void DetailsClicked(int line, bool leftButton);
    void OpenLookupPage(const std::string& callsign);
    void Look();
    // "CLR".
    void ClearResults();
    void Release();

    // The callsign list is drawn again (a click that closes the search's panels).
    std::function<void()> onRedrawCallsignList;

private:
    // "Map" ticked and the map window shown.
    bool MapShown() const;
    void ShowSearchedStation(const MatchList& list);
    // An option control changed: with the character count moved, the search takes that many
    // characters of the last contact; otherwise a match list shown is drawn again.
    void OptionsChanged(int previousCount);
    EngineCore& core_;
    SearchView& view_;
    MapPart* map_ = nullptr;
    std::unique_ptr<PlaceFinder> placeFinder_;
    std::shared_ptr<const MatchList> matchList_;
    std::vector<DetailsLine> detailsLines_;
    std::string lastCountry_;
    std::string lastSearchedStation_;  // labelled on the map by the last search
    bool wildSearch_ = false;
};

}  // namespace vantrel
