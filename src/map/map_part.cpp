#include "map/map_part.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>

#include "geo/locator.h"
#include "log/line_text.h"
#include "map/map_sources.h"
#include "map/png_loader.h"
#include "settings/settings_store.h"

namespace vantrel {

namespace {

constexpr std::string_view kCaption = "Vantrel: Approx position map -:- ";
constexpr int kControlsHeight = 100;  // the rows of controls above and below the picture
constexpr int kSideMargins = 60;
constexpr int kMinWindowWidth = 600, kMinWindowHeight = 300;
constexpr int kSmallestFont = 3, kLargestFont = 36;

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// One decimal, "." as the decimal point.
std::string OneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return std::string_view(text) == "-0.0" ? "0.0" : text;
}

std::optional<int> WholeNumber(std::string_view text) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

MapPart::MapPart(SettingsStore& store, std::filesystem::path viewerFolder, std::filesystem::path shippedMaps,
                 MapView& view, OwnerActions owner)
    : store_(store),
      viewerFolder_(std::move(viewerFolder)),
      shippedMaps_(std::move(shippedMaps)),
      view_(view),
      owner_(std::move(owner)) {}

void MapPart::Create() {
    scalePercent_ = 33;
    LoadMapSettings();
}

void MapPart::DeleteMapLogAtStart() { DeleteMapLog(viewerFolder_); }

bool MapPart::MapAvailable() const { return !FindImage(kMapProfiles.back().file).empty(); }

std::filesystem::path MapPart::FindImage(std::string_view name) const {
    std::error_code ec;
    for (const auto& folder : {viewerFolder_, shippedMaps_}) {
        if (folder.empty()) continue;
        std::filesystem::path file = folder / name;
        if (std::filesystem::is_regular_file(file, ec)) return file;
    }
    return {};
}

// --- Settings and placement ---

void MapPart::LoadMapSettings() {
    const std::string_view own = kOwnSection;
    options_.autoClear = store_.ReadBool(own, "VantrelerMapClear", true);
    options_.onTop = store_.ReadBool(own, "VantrelerMapOnTop", false);
    MapGeometry stored;
    stored.left = store_.ReadInteger(own, "VantrelerMapLeft", 200);
    stored.top = store_.ReadInteger(own, "VantrelerMapTop", 200);
    stored.width = store_.ReadInteger(own, "VantrelerMapWidth", 660);
    stored.height = store_.ReadInteger(own, "VantrelerMapHeight", 375);
    scalePercent_ = store_.ReadInteger(own, "VantrelerMapScale", 33);
    FontSizeEdited(store_.ReadText(own, "VantrelerMapFont", "12"));
    options_.fontName = store_.ReadText(own, "VantrelerMapFStyle", "Courier New");
    // A window the operator has placed since it was shown stays where it is when it is
    // activated again; the stored place applies when it is shown.
    if (resetPending_) stored = ResetGeometry(stored);
    if (!placementApplied_ || !view_.WindowVisible()) ApplyGeometry(stored);
    view_.ShowOptions(options_);
}

void MapPart::SaveMapSettings() {
    if (view_.WindowVisible()) geometry_ = view_.CurrentGeometry();
    store_.WriteMany(kOwnSection, {
                                      {"VantrelerMapClear", options_.autoClear ? "1" : "0"},
                                      {"VantrelerMapOnTop", options_.onTop ? "1" : "0"},
                                      {"VantrelerMapLeft", std::to_string(geometry_.left)},
                                      {"VantrelerMapTop", std::to_string(geometry_.top)},
                                      {"VantrelerMapWidth", std::to_string(geometry_.width)},
                                      {"VantrelerMapHeight", std::to_string(geometry_.height)},
                                      {"VantrelerMapScale", std::to_string(scalePercent_)},
                                      {"VantrelerMapFont", options_.fontSize},
                                      {"VantrelerMapFStyle", options_.fontName},
                                  });
}

void MapPart::LoadMapPlacement() {
    const MapPlacement stored = vantrel::LoadMapPlacement(store_);
    options_.autoClear = stored.autoClear;
    options_.onTop = stored.onTop;
    MapGeometry geometry{stored.left, stored.top, stored.width, stored.height};
    if (resetPending_) geometry = ResetGeometry(geometry);
    ApplyGeometry(geometry);
    scalePercent_ = stored.scale;
    view_.ShowOptions(options_);
}

void MapPart::SaveMapPlacement() {
    if (view_.WindowVisible()) geometry_ = view_.CurrentGeometry();
    MapPlacement placement;
    placement.left = geometry_.left;
    placement.top = geometry_.top;
    placement.width = geometry_.width;
    placement.height = geometry_.height;
    placement.scale = scalePercent_;
    vantrel::SaveMapPlacement(store_, placement);
}

MapGeometry MapPart::ResetGeometry(MapGeometry from) const {
    const double aspect = picture_ ? aspect_ : static_cast<double>(profile_->width) / profile_->height;
    from.left = 100;
    from.top = 100;
    from.width = 600;
    from.height = static_cast<int>(std::lround((from.width - kSideMargins) / aspect)) + kControlsHeight;
    return from;
}

void MapPart::ResetMapPlacement() {
    if (!view_.WindowVisible()) {
        // Hidden: the window takes this place when it is next shown.
        resetPending_ = true;
        geometry_ = ResetGeometry(geometry_);
        return;
    }
    ApplyGeometry(ResetGeometry(view_.CurrentGeometry()));
    if (picture_) RunLayout();
}

void MapPart::ApplyGeometry(const MapGeometry& geometry) {
    geometry_ = geometry;
    layout_.window = geometry;
    placementApplied_ = true;
    view_.SetLayout(layout_);
}

void MapPart::SetShown(bool shown) {
    if (shown) {
        LoadMapPlacement();
        view_.SetWindowVisible(true);
        resetPending_ = false;
    } else {
        SaveMapPlacement();
        view_.SetWindowVisible(false);
        placementApplied_ = false;
    }
}

void MapPart::ShowWindow() {
    if (view_.WindowVisible()) return;
    if (resetPending_) ApplyGeometry(geometry_);
    view_.SetWindowVisible(true);
    resetPending_ = false;
}

bool MapPart::Visible() const { return view_.WindowVisible(); }

// --- Activation, picture and layout ---

void MapPart::Activated() {
    fields_.latitude.clear();
    fields_.longitude.clear();
    lastPlottedGrid_.clear();
    pointerX_ = pointerY_ = 0;
    LoadMapSettings();

    bool found = false;
    for (const MapProfile& profile : kMapProfiles) {
        mapFileName_ = std::string(profile.file);
        const std::filesystem::path file = FindImage(profile.file);
        if (file.empty()) continue;
        profile_ = &profile;
        mapFile_ = file;
        scalePercent_ = profile.scalePercent;
        found = true;
        break;
    }
    view_.SetCaption(std::string(kCaption) + mapFileName_);
    if (found) {
        ReloadPicture(Reload::KeepLabels);
    } else {
        picture_.reset();
        labels_.clear();
        view_.ShowPicture(nullptr, labels_, squares_);
        view_.ShowMessage("Mapping error", "No map files located...");
        if (owner_.uncheckMapBox) owner_.uncheckMapBox();
    }
    view_.ShowFields(fields_);
    if (!view_.WindowVisible()) return;

    if (picture_) {
        aspect_ = static_cast<double>(picture_->width) / picture_->height;
        RunLayout();
    }
    quietSeconds_ = 0;
    timerRunning_ = true;
}

bool MapPart::LoadMapImage(const std::filesystem::path& file) {
    mapFile_ = file;
    return ReloadPicture(Reload::KeepLabels);
}

bool MapPart::ReloadPicture(Reload reload) {
    auto picture = std::make_shared<Picture>();
    std::string error;
    if (!LoadPngBitmap(mapFile_, *picture, &error)) {
        ShowError(error);
        return false;
    }
    picture_ = std::move(picture);
    aspect_ = static_cast<double>(picture_->width) / picture_->height;
    layout_.imageHeight = static_cast<int>(picture_->height * static_cast<double>(scalePercent_) / 100);
    layout_.imageWidth = static_cast<int>(picture_->width * static_cast<double>(scalePercent_) / 100);
    if (reload == Reload::Clean) {
        labels_.clear();
        squares_.clear();
    }
    // The picture keeps fitting the window it is shown in.
    if (view_.WindowVisible()) RunLayout();
    else view_.SetLayout(layout_);
    // Labels drawn since the last clean load are drawn again over the new picture.
    if (!batching_) view_.ShowPicture(picture_, labels_, squares_);
    return true;
}

void MapPart::RecomputeFactors() {
    if (!picture_ || picture_->width <= 0) return;
    displayFactor_ = static_cast<double>(layout_.imageWidth) / picture_->width;
    scalePercent_ = static_cast<int>(displayFactor_ * 100);
    pixelsPerDegreeLongitude_ = profile_->PixelsPerDegreeLongitude() * displayFactor_;
    pixelsPerDegreeLatitude_ = profile_->PixelsPerDegreeLatitude() * displayFactor_;
}

void MapPart::RunLayout() {
    if (view_.WindowVisible()) geometry_ = view_.CurrentGeometry();
    geometry_.height = std::max(geometry_.height, kMinWindowHeight);
    geometry_.width = std::max(geometry_.width, kMinWindowWidth);
    // The whole picture in the room the window gives it, in its own proportions, centred
    // across the window: as high as the window allows unless that makes it too wide.
    const int roomWidth = geometry_.width - kSideMargins;
    layout_.imageHeight = geometry_.height - kControlsHeight;
    layout_.imageWidth = static_cast<int>(std::nearbyint(layout_.imageHeight * aspect_));  // halves to even
    if (layout_.imageWidth > roomWidth) {
        layout_.imageWidth = roomWidth;
        layout_.imageHeight = static_cast<int>(std::nearbyint(roomWidth / aspect_));
    }
    layout_.imageLeft = (geometry_.width - layout_.imageWidth) / 2;
    layout_.window = geometry_;
    RecomputeFactors();
    view_.SetLayout(layout_);
}

void MapPart::Resized(int width, int height) {
    geometry_.width = width;
    geometry_.height = height;
    if (quietSeconds_ > 0 && picture_) RunLayout();
}

void MapPart::Tick() {
    if (!timerRunning_) return;
    ++quietSeconds_;
    if (quietSeconds_ > 5 && fields_.grid.size() > 3) {
        GridChanged("");
        fields_.callsign.clear();
        fields_.explore = false;
        quietSeconds_ = 2;
        view_.ShowFields(fields_);
    }
}

void MapPart::CloseRequested() { SaveMapSettings(); }

// --- Stations and labels ---

void MapPart::ShowStation(std::string_view callsign, std::string_view grid) {
    SetCallsign(callsign);
    SetGrid(grid);
}

void MapPart::ShowSearchedStation(std::string_view callsign, std::string_view grid) {
    lastPlottedGrid_.clear();
    ShowStation(callsign, grid);
}

void MapPart::SetCallsign(std::string_view callsign) {
    fields_.callsign = std::string(callsign);
    view_.ShowFields(fields_);
}

void MapPart::SetGrid(std::string_view grid) {
    // Callers may end the grid with the carriage return of a typed Enter; it is not part of it.
    while (!grid.empty() && (grid.back() == '\r' || grid.back() == '\n')) grid.remove_suffix(1);
    GridChanged(std::string(grid));
}

void MapPart::GridEdited(std::string_view text) { GridChanged(std::string(text)); }

void MapPart::GridChanged(std::string text) {
    fields_.grid = Upper(text);
    quietSeconds_ = 1;
    if (IsLocator(fields_.grid) && fields_.grid != lastPlottedGrid_ && !fields_.explore) {
        PlotLabel(fields_.grid, fields_.callsign);
        if (!fields_.grid.empty() && !fields_.callsign.empty()) {
            std::string error;
            if (!AppendMapLog(viewerFolder_, fields_.callsign, fields_.grid, &error)) ShowError(error);
        }
    }
    view_.ShowFields(fields_);
}

void MapPart::GridEntered() {
    if (IsLocator(fields_.grid)) PlotLabel(fields_.grid, fields_.callsign);
    else if (!TrimBlanks(fields_.grid).empty())
        view_.ShowMessage("Grid", "Not a grid locator: " + std::string(TrimBlanks(fields_.grid)));
}

void MapPart::PlotLabel(std::string_view grid, std::string_view callsign) {
    if (quietSeconds_ <= 0) return;
    const std::string_view trimmed = TrimBlanks(grid);
    const Position position = LocatorToPosition(trimmed);
    // A replot shows the read-out of its last station only.
    lastPosition_ = position;
    if (!batching_) {
        fields_.latitude = OneDecimal(position.latitude);
        fields_.longitude = OneDecimal(position.longitude);
    }
    RecomputeFactors();
    if (picture_) {
        MapLabel label;
        label.x = static_cast<int>(profile_->X(position.longitude));
        label.y = static_cast<int>(profile_->Y(position.latitude));
        label.text = options_.calls ? Upper(callsign) : Upper(trimmed.substr(0, 4));
        label.fontName = options_.fontName;
        label.fontSize = FontSize();
        // The station the operator looks at is always labelled; a replot's labels give way.
        label.always = !batching_;
        AddLabel(std::move(label));
    }
    lastPlottedGrid_ = fields_.grid;
    if (!batching_) view_.ShowFields(fields_);
}

void MapPart::AddLabel(MapLabel label) {
    if (label.text.empty()) return;
    labels_.push_back(std::move(label));
    if (!batching_) view_.DrawLabels(std::span<const MapLabel>(&labels_.back(), 1));
}

void MapPart::PointerMoved(int x, int y) {
    pointerX_ = x;
    pointerY_ = y;
    if (!fields_.explore) return;
    fields_.latitude.clear();
    fields_.longitude.clear();
    RecomputeFactors();
    if (picture_ && pixelsPerDegreeLongitude_ > 0 && pixelsPerDegreeLatitude_ > 0) {
        const double longitude = (x - profile_->xLongitude0 * displayFactor_) / pixelsPerDegreeLongitude_;
        const double latitude = -(y - profile_->yEquator * displayFactor_) / pixelsPerDegreeLatitude_;
        fields_.latitude = OneDecimal(latitude);
        fields_.longitude = OneDecimal(longitude);
        if (IsNumberText(fields_.latitude) && IsNumberText(fields_.longitude))
            GridChanged(PositionToLocator(latitude, longitude));
    }
    view_.ShowFields(fields_);
}

void MapPart::Clicked(int x, int y) {
    if (!picture_) return;
    RecomputeFactors();
    if (displayFactor_ <= 0) return;
    MapLabel label;
    // The dot is where the click was; near the right edge the window puts the text on its left.
    label.x = static_cast<int>(x / displayFactor_);
    label.y = static_cast<int>(y / displayFactor_);
    label.text = Upper(std::string_view(fields_.grid).substr(0, 4));
    label.fontName = options_.fontName;
    label.fontSize = FontSize();
    label.always = true;
    AddLabel(std::move(label));
}

// --- Controls ---

void MapPart::ExploreClicked(bool checked) {
    fields_.explore = checked;
    if (checked) {
        GridChanged("");
        fields_.latitude.clear();
        fields_.longitude.clear();
    }
    view_.ShowFields(fields_);
}

void MapPart::KeepOnTopClicked(bool checked) {
    options_.onTop = checked;
    view_.ShowOptions(options_);
}

void MapPart::Clear() {
    GridChanged("");
    fields_.latitude.clear();
    fields_.longitude.clear();
    view_.ShowFields(fields_);
    if (owner_.uncheckWildSearch) owner_.uncheckWildSearch();
    DeleteMapLog(viewerFolder_);
    // "Manually clear all data off the map display": the labels go too.
    if (picture_) ReloadPicture(Reload::Clean);
}

int MapPart::FontSize() const {
    const std::optional<int> size = WholeNumber(options_.fontSize);
    return size ? std::clamp(*size, kSmallestFont, kLargestFont) : lastGoodFontSize_;
}

void MapPart::FontSizeEdited(std::string_view text) {
    options_.fontSize = std::string(text);
    if (const std::optional<int> size = WholeNumber(text)) lastGoodFontSize_ = std::clamp(*size, kSmallestFont, kLargestFont);
}

void MapPart::FontSmaller() {
    FontSizeEdited(std::to_string(std::max(FontSize() - 1, kSmallestFont)));
    SaveMapSettings();
    view_.ShowOptions(options_);
}

void MapPart::FontLarger() {
    FontSizeEdited(std::to_string(std::min(FontSize() + 1, kLargestFont)));
    SaveMapSettings();
    view_.ShowOptions(options_);
}

void MapPart::FontNameChanged(std::string_view name) {
    options_.fontName = std::string(name);
    SaveMapSettings();
}

// --- Replots ---

void MapPart::Redo() {
    batching_ = true;
    if (!ReloadPicture(Reload::Clean)) {
        batching_ = false;
        return;
    }
    Replot(ReadMapLog(viewerFolder_));
}

void MapPart::Log() {
    std::error_code ec;
    if (!std::filesystem::exists(viewerFolder_ / "calls.txt", ec)) return;
    batching_ = true;
    if (!ReloadPicture(Reload::Clean)) {
        batching_ = false;
        return;
    }
    MapSource source = ReadCallsList(viewerFolder_);
    // Grid texts by the thousand would hide the map: with "Grids" each worked square is shaded.
    if (!options_.calls) ShadeSquares(source);
    else Replot(source);
}

void MapPart::ShadeSquares(const MapSource& source) {
    std::map<std::string, int> contacts;
    for (const MapStation& station : source.stations) {
        const std::string square = Upper(TrimBlanks(station.grid).substr(0, 4));
        if (square.size() == 4) ++contacts[square];
    }
    for (const auto& [square, count] : contacts) {
        // A square spans 2 degrees of longitude and 1 of latitude from its south-west corner.
        const bool valid = square[0] >= 'A' && square[0] <= 'R' && square[1] >= 'A' && square[1] <= 'R' &&
                           square[2] >= '0' && square[2] <= '9' && square[3] >= '0' && square[3] <= '9';
        if (!valid) continue;
        const double west = (square[0] - 'A') * 20 - 180 + (square[2] - '0') * 2;
        const double south = (square[1] - 'A') * 10 - 90 + (square[3] - '0');
        MapSquare shaded;
        shaded.x = static_cast<int>(std::floor(profile_->X(west)));
        shaded.y = static_cast<int>(std::floor(profile_->Y(south + 1)));
        shaded.width = std::max(1, static_cast<int>(std::ceil(profile_->X(west + 2))) - shaded.x);
        shaded.height = std::max(1, static_cast<int>(std::ceil(profile_->Y(south))) - shaded.y);
        shaded.contacts = count;
        squares_.push_back(shaded);
    }
    batching_ = false;
    view_.ShowPicture(picture_, labels_, squares_);
    view_.ShowFields(fields_);
    if (source.state == MapSource::State::Failed) ShowError(source.error);
}

void MapPart::Today(TimePoint now) { ReplotDay(now, 0); }

void MapPart::Yesterday(TimePoint now) { ReplotDay(now, 1); }

void MapPart::ReplotDay(TimePoint now, int daysBefore) {
    if (!owner_.withLocalLog) return PlotDay(MapSource{}, daysBefore);  // no log: no contacts
    owner_.withLocalLog([this, date = LocalDateText(now, daysBefore), daysBefore](const LogLines& lines) {
        PlotDay(ContactsOfDate(lines, date), daysBefore);
    });
}

void MapPart::PlotDay(const MapSource& source, int daysBefore) {
    if (source.state != MapSource::State::Failed && source.stations.empty()) {
        // Nothing to draw: the map stays as it is and says why.
        view_.ShowMapStatus(daysBefore == 0 ? "No contacts today" : "No contacts yesterday");
        return;
    }
    batching_ = true;
    if (!ReloadPicture(Reload::Clean)) {
        batching_ = false;
        return;
    }
    Replot(source);
}

void MapPart::Replot(const MapSource& source) {
    // The click on the button may just have activated the window, which zeroes the quiet
    // seconds; the replot is the operator's own action and draws all the same.
    quietSeconds_ = std::max(quietSeconds_, 1);
    for (const MapStation& station : source.stations) PlotLabel(station.grid, station.call);
    batching_ = false;
    if (!source.stations.empty() && quietSeconds_ > 0) {
        fields_.latitude = OneDecimal(lastPosition_.latitude);
        fields_.longitude = OneDecimal(lastPosition_.longitude);
    }
    view_.ShowPicture(picture_, labels_, squares_);
    view_.ShowFields(fields_);
    if (source.state == MapSource::State::Failed) ShowError(source.error);
}

void MapPart::ShowError(const std::string& text) { view_.ShowMessage("Error", text); }

}  // namespace vantrel
