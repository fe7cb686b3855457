// Who is this station: the country table, the callsign search as the operator types, the match
// list's clicks, the details panel and the web lookup.
#include <algorithm>

#include "app/engine/station_engine.h"
#include "base/file_io.h"
#include "geo/country_file.h"
#include "log/extract_field.h"
#include "log/line_text.h"

namespace vantrel {

void StationEngine::LoadPlacesList4() {
    placeFinder_.reset();
    placesList4_.clear();
    auto lines = LoadLogLines(ViewerFile("4chplaces.txt"));
    if (!lines) return;
    std::vector<std::string_view> sorted(lines->begin(), lines->end());
    std::stable_sort(sorted.begin(), sorted.end(), LessNoCase());
    sorted.erase(std::unique(sorted.begin(), sorted.end(), SameTextNoCase), sorted.end());
    for (std::string_view line : sorted) placesList4_.push_back(line);
    placeFinder_ = std::make_unique<PlaceFinder>(placesList4_);
}

void StationEngine::LoadCountryTable() {
    Diagnostic("Creating ctybasic.txt file");
    countryTable_.reset();
    std::optional<LogLines> lines;
    if (FileSize(ViewerFile("ctybasic.txt")) >= 0) {
        lines = LoadCountryBasic(ViewerFile("ctybasic.txt"));
    } else {
        Diagnostic("load_ctydat;");
        // A new viewer folder takes its first cty.dat from WSJT-X, so countries are named at once.
        const CountryFileSource source = ChooseCountryFileSource(viewerFolder_, wsjtxFolder_);
        std::string error;
        if (source.kind == CountryFileSource::Missing) {
            Trace(" CTY.DAT ** ", "no cty.dat in the viewer folder, in WSJT-X's folder or installed: "
                                 "countries are not named");
        } else if (source.kind != CountryFileSource::AlreadyPresent) {
            if (CopyFileReplacing(source.from, ViewerFile("cty.dat"), &error)) {
                // The copy keeps the file's date: its age is the age of its data.
                std::error_code ec;
                fs::last_write_time(ViewerFile("cty.dat"), fs::last_write_time(source.from, ec), ec);
            } else {
                Report(" CTY.DAT ** ", error);
            }
        }
        lines = LoadCountryFile(viewerFolder_, &error);
        if (!lines && source.kind != CountryFileSource::Missing) Report(" CTY.DAT ** ", error);
    }
    countryTable_ = std::make_unique<CountryTable>(lines ? std::move(*lines) : LogLines());
    CheckCountryFileAge();
}

void StationEngine::CheckCountryFileAge() {
    const CountryFileAge age = vantrel::CheckCountryFileAge(
        FileModificationTime(ViewerFile("cty.dat")), services_.clock.Now());
    services_.view.ShowCountryFileAge(age.text, age.tooOld);
}

void StationEngine::SearchLog() {
    Diagnostic("check_cs;");
    if (!countryTable_) countryTable_ = std::make_unique<CountryTable>(LogLines());
    services_.view.ReadOptions(options_);
    const SearchOptions search{wildSearch_, options_.brDist, options_.showDetails, station_.grid};
    auto list = std::make_shared<const MatchList>(vantrel::SearchLog(
        localLogLines_, services_.view.SearchText(), search, *countryTable_, placeFinder_.get(),
        lastCountry_));
    if (!list->shown) return;
    matchList_ = list;
    services_.view.ShowMatchList(list);
}

void StationEngine::SearchEdited(const std::string& text) {
    Trace(" Edit 1 change ", text);
    services_.view.HideDetailsPanel();
    if (tickCounter_ > 1 && text.size() > 1) SearchLog();
    if (text.empty()) services_.view.HideMatchList();
}

void StationEngine::SetWildSearch(bool wild) {
    wildSearch_ = wild;
    if (services_.view.MatchListVisible()) SearchLog();
}

void StationEngine::AutoShowFill() {
    const std::string_view call = TrimBlanks(ExtractFieldView(lastContact_, ',', 5));
    const auto count = static_cast<std::size_t>(std::clamp(options_.showCount, 2, 6));
    services_.view.SetSearchText(std::string(call.substr(0, count)));
    SearchLog();
}

void StationEngine::LastContactClicked() {
    Trace(" Edit2 click", "");
    services_.view.HideDetailsPanel();
    services_.view.ReadOptions(options_);
    if (options_.autoShow) AutoShowFill();
}

void StationEngine::CallsignListClicked(const std::string& line, int column) {
    services_.view.SetSearchText("");
    if (column < 0) return;
    if (auto item = ItemAtCaret(line, static_cast<std::size_t>(column))) {
        services_.view.SetSearchText(*item);
        SearchLog();
    }
}

void StationEngine::RedrawCallsignList() {
    create_callsignlist();
    display_callsigns();
}

void StationEngine::MatchListClicked(int row, bool leftButton) {
    if (!leftButton) {
        services_.view.HideMatchList();
        RedrawCallsignList();
        services_.view.ResetCallsignListCaret();
        return;
    }
    const bool onContact = matchList_ && row >= 0 && static_cast<std::size_t>(row) < matchList_->size() &&
                           matchList_->Text(static_cast<std::size_t>(row)).find(':') != std::string_view::npos;
    if (!onContact) {
        services_.view.HideMatchList();
    } else {
        const MatchList::Line& line = matchList_->At(static_cast<std::size_t>(row));
        std::optional<std::size_t> index;
        if (line.contact && line.logIndex < localLogLines_.size()) index = line.logIndex;
        else if (auto key = ContactKeyFromMatchLine(matchList_->Text(static_cast<std::size_t>(row))))
            index = FindContact(localLogLines_, *key);
        if (index) ShowContactDetails(*index);
    }
    RedrawCallsignList();
}

void StationEngine::ShowContactDetails(std::size_t logIndex) {
    Diagnostic("showlogdetails;");
    detailsLines_ = ContactDetails(localLogLines_[logIndex]);
    services_.view.ShowContactDetails(detailsLines_);
}

void StationEngine::DetailsClicked(int line, bool leftButton) {
    if (!leftButton) {
        services_.desktop.CopyText(services_.view.ContactDetailsText(500));
        services_.view.ShowMessage("Clipboard copied", "Displayed log data now in clipboard");
        return;
    }
    if (line == 0 && !detailsLines_.empty()) {
        OpenLookupPage(CallsignOfTopLine(detailsLines_.front().text));
        return;
    }
    services_.view.HideDetailsPanel();
    services_.view.HideMatchList();
    RedrawCallsignList();
    services_.view.ResetCallsignListCaret();
}

void StationEngine::OpenLookupPage(const std::string& callsign) {
    services_.view.ReadOptions(options_);
    const std::string address = LookupAddress(options_.searches, callsign);
    if (!address.empty()) services_.desktop.OpenUrl(address);
}

void StationEngine::Look() {
    const std::string text(TrimBlanks(services_.view.SearchText()));
    if (!text.empty()) OpenLookupPage(text);
}

void StationEngine::ClearResults() {
    options_.colours = LoadColours(services_.store);
    services_.view.ApplyColours(options_.colours);
    services_.view.ReadOptions(options_);
    if (!options_.always50) services_.view.HideDetailsPanel();
    services_.view.HideMatchList();
    services_.view.SetSearchText("");
    RedrawCallsignList();
}

}  // namespace vantrel
