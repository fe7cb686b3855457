#include "refdata/places_part.h"

#include <utility>

#include "base/file_io.h"

namespace vantrel {

PlacesPart::PlacesPart(PlacesPartInputs inputs, PlacesView& view) : inputs_(std::move(inputs)), view_(view) {}

std::string PlacesPart::PrepareAtStart() {
    gridSeconds_ = 0;
    stopwatchSeconds_ = 0;
    shownPlaces_.clear();
    extendedAvailable_ = FindPlacesFile(inputs_.folders, kAllPlacesFile).has_value();
    view_.SetExtendedVisible(extendedAvailable_);
    std::string error;
    placesList4_ = vantrel::LoadPlacesList4(inputs_.folders, &error);
    return error;
}

std::string PlacesPart::LoadPlacesList() { return TakePlacesList(vantrel::LoadPlacesList(inputs_.folders)); }

std::string PlacesPart::TakePlacesList(PlacesListLoad load) {
    placesList_ = std::move(load.list);
    placesListLoading_ = false;
    if (waitingLookup_) {
        const std::string text = std::move(*waitingLookup_);
        waitingLookup_.reset();
        LookupGrid(text);
    }
    // Entries whose position does not read are told of once; the grid lookup passes them by.
    std::size_t unreadable = 0;
    std::string first;
    for (std::size_t i = 0; i < placesList_.size(); ++i) {
        int lat10 = 0, lon10 = 0;
        if (placesList_.PositionTenths(i, lat10, lon10)) continue;
        if (unreadable++ == 0) first = std::string(placesList_[i].substr(0, 60));
    }
    if (unreadable == 0) return load.error;
    const std::string note = load.source.string() + ": " + std::to_string(unreadable) +
                             " lines could not be read as latitude,longitude,country,place (the first: \"" + first +
                             "\"); the grid lookup leaves them out";
    return load.error.empty() ? note : load.error + "; " + note;
}

void PlacesPart::Tick() {
    if (gridTimerRunning_) {
        ++gridSeconds_;
        if (gridSeconds_ == 30) {
            gridTimerRunning_ = false;
            stopwatchRunning_ = false;
            gridShown_ = false;
            view_.HideGridInfo(false);
        }
        if (gridSeconds_ >= 60) gridSeconds_ = 0;
    }
    if (stopwatchRunning_) ++stopwatchSeconds_;
}

void PlacesPart::LookupGrid(std::string_view fieldText) {
    // Never answered from a list that is not there yet: the lookup is made when it is.
    if (placesListLoading_) {
        waitingLookup_ = std::string(fieldText);
        return;
    }
    const std::string home = inputs_.homeGrid ? inputs_.homeGrid() : std::string();
    std::optional<LogLines> somePlaces;
    if (const auto file = FindPlacesFile(inputs_.folders, kSomePlacesFile)) {
        somePlaces = LoadLogLines(*file);
        // A file that cannot be read counts as an empty one: the panel says "No data found".
        if (!somePlaces) somePlaces.emplace();
    }
    const auto info = vantrel::LookupGrid(fieldText, home, somePlaces ? &*somePlaces : nullptr, placesList_);
    if (!info) return;
    gridSeconds_ = 0;
    stopwatchSeconds_ = 0;
    stopwatchRunning_ = true;
    gridShown_ = true;
    lastBearing_ = info->bearingNumber;
    gridTimerRunning_ = info->startTimer;
    view_.ShowGridInfo(*info);
}

void PlacesPart::CloseGridInfo() {
    gridTimerRunning_ = false;
    stopwatchRunning_ = false;
    gridShown_ = false;
    view_.HideGridInfo(true);
}

void PlacesPart::GridListPressed() { gridTimerRunning_ = false; }

void PlacesPart::GridListReleased() {
    if (!gridShown_) return;
    gridSeconds_ = 0;
    gridTimerRunning_ = true;
}

void PlacesPart::BearingDoubleClicked() {
    if (inputs_.copyToClipboard) inputs_.copyToClipboard(lastBearing_);
}

void PlacesPart::PlacesTextEdited() { view_.WidenPlacesPanel(); }

void PlacesPart::SearchPlaces(std::string_view fieldText, bool extended) {
    const char* name = extended ? kAllPlacesFile : kSomePlacesFile;
    const auto file = FindPlacesFile(inputs_.folders, name);
    if (!file) {
        view_.ShowMessage("Places", std::string(name) + " not found in the viewer folder or the program's data");
        return;
    }
    std::string error;
    const PlacesText* text = SearchFile(*file, &error);
    if (!text) {
        view_.ShowMessage("Places", "The places file could not be read: " + error);
        return;
    }
    static const LogLines kNoTable;
    const std::shared_ptr<const LogLines> table = inputs_.countryTable ? inputs_.countryTable() : nullptr;
    auto result = vantrel::SearchPlaces(fieldText, text, table ? *table : kNoTable);
    if (!result) return;
    shownPlaces_ = result->lines;
    view_.ShowPlaces(*result);
}

const PlacesText* PlacesPart::SearchFile(const std::filesystem::path& file, std::string* error) {
    std::error_code timeError;
    const auto time = std::filesystem::last_write_time(file, timeError);
    const std::int64_t size = FileSize(file);
    if (file == searchFile_ && size == searchFileSize_ && !timeError && time == searchFileTime_) return &searchText_;
    auto bytes = ReadWholeFile(file, error);
    if (!bytes) return nullptr;
    searchText_ = PlacesText(std::move(*bytes));
    searchFile_ = file;
    searchFileSize_ = size;
    searchFileTime_ = time;
    return &searchText_;
}

void PlacesPart::ClosePlaces() {
    shownPlaces_.clear();
    view_.HidePlaces();
}

void PlacesPart::CopyPlacesToClipboard() {
    std::string text;
    for (const auto& line : shownPlaces_) text.append(line).append("\n");
    if (inputs_.copyToClipboard) inputs_.copyToClipboard(text);
    view_.ShowMessage("Clipboard copied", "Displayed data now in clipboard");
}

}  // namespace vantrel
