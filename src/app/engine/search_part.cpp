#include "app/engine/search_part.h"

#include <algorithm>

#include "base/file_io.h"
#include "geo/country_file.h"
#include "log/extract_field.h"
#include "log/line_text.h"

namespace vantrel {

SearchPart::SearchPart(EngineCore& core, SearchView& view) : core_(core), view_(view) {
    core_.LiveOptions().Subscribe([this](const OptionsChange& change) {
        if (core_.State().StartupDone() && change.ControlsChanged()) OptionsChanged(change.Before().showCount);
    });
    // WSJT-X's grid changed: the bearings and distances shown are measured again from it.
    core_.LiveStation().Subscribe([this](const StationChange& change) {
        if (core_.State().StartupDone() && change.before.grid != change.now.grid && view_.MatchListVisible()) SearchLog();
    });
}

void SearchPart::UsePlacesList4(const LogLines& placesList4) {
    placeFinder_.reset();
    if (!placesList4.empty()) placeFinder_ = std::make_unique<PlaceFinder>(placesList4);
}

void SearchPart::LoadCountryTable() {
    core_.Diagnostic("Creating ctybasic.txt file");
    std::optional<LogLines> lines;
    if (FileSize(core_.ViewerFile("ctybasic.txt")) >= 0) {
        lines = LoadCountryBasic(core_.ViewerFile("ctybasic.txt"));
    } else {
        core_.Diagnostic("load_ctydat;");
        // A new viewer folder takes its first cty.dat from WSJT-X, so countries are named at once.
        const CountryFileSource source = ChooseCountryFileSource(core_.ViewerFolder(), core_.WsjtxFolder());
        std::string error;
        if (source.kind == CountryFileSource::Missing) {
            core_.Trace(" CTY.DAT ** ", "no cty.dat in the viewer folder, in WSJT-X's folder or installed: "
                                        "countries are not named");
        } else if (source.kind != CountryFileSource::AlreadyPresent) {
            if (CopyFileReplacing(source.from, core_.ViewerFile("cty.dat"), &error)) {
                // The copy keeps the file's date: its age is the age of its data.
                std::error_code ec;
                fs::last_write_time(core_.ViewerFile("cty.dat"), fs::last_write_time(source.from, ec), ec);
            } else {
                core_.Report(" CTY.DAT ** ", error);
            }
        }
        CountryFileShape shape;
        lines = LoadCountryFile(core_.ViewerFolder(), &error, &shape);
        if (!lines && source.kind != CountryFileSource::Missing) core_.Report(" CTY.DAT ** ", error);
        // A damaged cty.dat is used as far as it reads; the operator hears of it once.
        if (lines && (shape.badEntities > 0 || shape.openLists > 0)) {
            const std::string note = core_.ViewerFile("cty.dat").string() + ": " +
                                     std::to_string(shape.badEntities + shape.openLists) +
                                     " lines could not be read as a country and its prefixes (the first: \"" +
                                     shape.firstProblem + "\"); the table holds what could be read";
            core_.Trace(" CTY.DAT ** ", note);
            core_.Notices().ShowStatus(note);
        }
    }
    core_.Countries().Replace(std::make_shared<const CountryTable>(lines ? std::move(*lines) : LogLines()));
    CheckCountryFileAge();
}

void SearchPart::CheckCountryFileAge() {
    const CountryFileAge age = vantrel::CheckCountryFileAge(FileModificationTime(core_.ViewerFile("cty.dat")),
                                                            core_.Services().clock.Now());
    view_.ShowCountryFileAge(age.text, age.tooOld);
}

void SearchPart::SearchLog() {
    core_.Diagnostic("check_cs;");
    // The search holds the table it reads, whatever replaces it meanwhile.
    const CountryTablePtr countries = core_.Countries().Current();
    const StoredOptions& options = core_.Options();
    const SearchOptions search{wildSearch_, options.brDist, options.showDetails, core_.Station().grid};
    auto list = std::make_shared<const MatchList>(vantrel::SearchLog(core_.Log().Lines(), view_.SearchText(), search,
                                                                     *countries, placeFinder_.get(), lastCountry_));
    if (!list->shown) return;
    matchList_ = list;
    view_.ShowMatchList(list);
    if (!wildSearch_ && MapShown()) ShowSearchedStation(*list);
}

void SearchPart::ShowSearchedStation(const MatchList& list) {
    // A callsign typed in full settles on that station: the map labels it at the grid of the
    // last listed contact that has one, as a click on its line would.
    const LogLines& log = core_.Log().Lines();
    for (std::size_t i = list.size(); i-- > 0;) {
        const MatchList::Line& line = list.At(i);
        if (!line.contact || line.logIndex >= log.size()) continue;
        const std::string_view contact = log[line.logIndex];
        const std::string_view call = TrimBlanks(ExtractFieldView(contact, ',', 5));
        const std::string_view grid = TrimBlanks(ExtractFieldView(contact, ',', 6));
        if (grid.empty() || !SameTextNoCase(call, list.searchText)) continue;
        // Searched again (another option ticked, the text typed again), it is not drawn again;
        // another station in the square last plotted is.
        if (call == lastSearchedStation_) return;
        lastSearchedStation_ = std::string(call);
        map_->ShowSearchedStation(call, grid);
        return;
    }
}

void SearchPart::SearchEdited(const std::string& text) {
    core_.Trace(" Edit 1 change ", text);
    view_.HideDetailsPanel();
    if (core_.Ticks() > 1 && text.size() > 1) SearchLog();
    if (text.empty()) view_.HideMatchList();
}

void SearchPart::SetWildSearch(bool wild) {
    wildSearch_ = wild;
    if (view_.MatchListVisible()) SearchLog();
}

void SearchPart::UntickWildSearch() {
    view_.ShowWildSearch(false);
    SetWildSearch(false);
}

bool SearchPart::MapShown() const { return map_ && core_.Options().mapShow && map_->Visible(); }

void SearchPart::AutoShowFill() {
    const std::string_view call = TrimBlanks(ExtractFieldView(core_.LastContact(), ',', 5));
    const auto count = static_cast<std::size_t>(std::clamp(core_.Options().showCount, 2, 6));
    view_.SetSearchText(std::string(call.substr(0, count)));
    SearchLog();
    // The new station is labelled on the map when the map is open.
    const std::string_view grid = TrimBlanks(ExtractFieldView(core_.LastContact(), ',', 6));
    if (!grid.empty() && MapShown()) map_->ShowStation(call, grid);
}

void SearchPart::SearchFor(const std::string& call, bool asTyped) {
    if (asTyped) {
        if (!core_.Options().autoShow) return;
        const auto count = static_cast<std::size_t>(std::clamp(core_.Options().showCount, 2, 6));
        view_.SetSearchText(call.substr(0, count));
    } else {
        view_.SetSearchText(call);
    }
    view_.HideDetailsPanel();
    SearchLog();
}

void SearchPart::LastContactClicked() {
    core_.Trace(" Edit2 click", "");
    view_.HideDetailsPanel();
    if (core_.Options().autoShow) AutoShowFill();
}

void SearchPart::CallsignListClicked(const std::string& line, int column) {
    view_.SetSearchText("");
    if (column < 0) return;
    if (auto item = ItemAtCaret(line, static_cast<std::size_t>(column))) {
        view_.SetSearchText(*item);
        SearchLog();
    }
}

void SearchPart::MatchListClicked(int row, bool leftButton) {
    if (!leftButton) {
        view_.HideMatchList();
        if (onRedrawCallsignList) onRedrawCallsignList();
        view_.ResetCallsignListCaret();
        return;
    }
    const auto at = static_cast<std::size_t>(row);
    const bool onContact = matchList_ && row >= 0 && at < matchList_->size() &&
                           matchList_->Text(at).find(':') != std::string_view::npos;
    if (!onContact) {
        view_.HideMatchList();
    } else {
        const MatchList::Line& line = matchList_->At(at);
        const LogLines& log = core_.Log().Lines();
        std::optional<std::size_t> index;
        if (line.contact && line.logIndex < log.size()) index = line.logIndex;
        else if (auto key = ContactKeyFromMatchLine(matchList_->Text(at))) index = FindContact(log, *key);
        if (index) ShowContactDetails(*index);
    }
    if (onRedrawCallsignList) onRedrawCallsignList();
}

void SearchPart::ShowContactDetails(std::size_t logIndex) {
    core_.Diagnostic("showlogdetails;");
    const std::string_view line = core_.Log().Lines()[logIndex];
    detailsLines_ = ContactDetails(line);
    // The map shows the contact's square: its grid box is cleared first, so the same square
    // found again is labelled again.
    const std::string_view call = TrimBlanks(ExtractFieldView(line, ',', 5));
    const std::string_view grid = TrimBlanks(ExtractFieldView(line, ',', 6));
    if (MapShown()) {
        map_->SetGrid("");
        if (!grid.empty()) map_->ShowStation(call, grid);
    }
    view_.ShowContactDetails(detailsLines_);
    if (map_ && core_.Options().mapShow) {
        map_->ShowWindow();
        map_->SetGrid(grid);
    }
}

void SearchPart::DetailsClicked(int line, bool leftButton) {
    if (!leftButton) {
        core_.Services().desktop.CopyText(view_.ContactDetailsText(500));
        core_.Notices().ShowMessage("Clipboard copied", "Displayed log data now in clipboard");
        return;
    }
    if (line == 0 && !detailsLines_.empty()) {
        OpenLookupPage(CallsignOfTopLine(detailsLines_.front().text));
        return;
    }
    view_.HideDetailsPanel();
    view_.HideMatchList();
    if (onRedrawCallsignList) onRedrawCallsignList();
    view_.ResetCallsignListCaret();
}

void SearchPart::OpenLookupPage(const std::string& callsign) {
    const std::string address = LookupAddress(core_.Options().searches, callsign);
    if (!address.empty()) core_.Desktop().OpenUrl(address);
}

void SearchPart::Look() {
    const std::string text(TrimBlanks(view_.SearchText()));
    if (!text.empty()) OpenLookupPage(text);
}

void SearchPart::ClearResults() {
    if (!core_.Options().always50) view_.HideDetailsPanel();
    view_.HideMatchList();
    view_.SetSearchText("");
    if (onRedrawCallsignList) onRedrawCallsignList();
}

void SearchPart::OptionsChanged(int previousCount) {
    const StoredOptions& options = core_.Options();
    if (options.showCount != previousCount && options.autoShow && !core_.LastContact().empty()) {
        // The character count moved: the search takes that many characters of the last contact.
        AutoShowFill();
    } else if (view_.MatchListVisible()) {
        // "B/D" and "Details" change what the match list shows.
        SearchLog();
    }
}

void SearchPart::Release() { matchList_.reset(); }

}  // namespace vantrel
