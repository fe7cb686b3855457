#include "wsjtx/worked_before.h"

#include <algorithm>

#include "log/band_table.h"
#include "log/extract_field.h"
#include "log/line_text.h"

namespace vantrel {

namespace {

constexpr std::int32_t kNotLookedUp = -2;

// The country of a table entry as the search shows it: "Brazil (SA )".
std::string EntryCountryName(std::string_view entry) { return CountryFromEntry(entry).country; }

}  // namespace

std::string WorkedStatusText(const WorkedStatus& status) {
    switch (status.kind) {
    case WorkedKind::NewCountry: return "New country";
    case WorkedKind::NewOnBand: return "New band";
    case WorkedKind::NewOnMode: return "New mode";
    case WorkedKind::NotWorked: return "Not worked";
    case WorkedKind::WorkedBefore: break;
    }
    if (status.count == 1) return "Worked once, " + status.lastDate;
    return "Worked " + std::to_string(status.count) + " times, last " + status.lastDate;
}

void WorkedIndex::SetCountryTable(std::shared_ptr<const CountryTable> countries) {
    countries_ = std::move(countries);
    Clear();
    follower_.Reset();
}

void WorkedIndex::Clear() {
    contacts_ = 0;
    lastBand_ = lastModeId_ = kNone;
    calls_.clear();
    countryIds_.clear();
    bandIds_.clear();
    modeIds_.clear();
    entryCountry_.clear();
    countriesWorked_.clear();
    countryBands_.clear();
    countryModes_.clear();
    gridsWorked_.clear();
}

std::uint32_t WorkedIndex::Intern(std::unordered_map<std::string, std::uint32_t>& ids, std::string_view name) {
    const auto found = ids.find(std::string(name));
    if (found != ids.end()) return found->second;
    const auto id = static_cast<std::uint32_t>(ids.size());
    ids.emplace(std::string(name), id);
    return id;
}

std::int32_t WorkedIndex::CountryId(std::string_view upperCall) const {
    if (!countries_ || countries_->empty()) return kNoCountry;
    const std::optional<std::size_t> entry = countries_->FindEntry(upperCall);
    if (!entry) return kNoCountry;
    if (entryCountry_.size() != countries_->size()) entryCountry_.assign(countries_->size(), kNotLookedUp);
    std::int32_t& id = entryCountry_[*entry];
    if (id == kNotLookedUp) {
        const std::string name = EntryCountryName(countries_->Lines()[*entry]);
        id = name.empty() ? kNoCountry : static_cast<std::int32_t>(Intern(countryIds_, name));
    }
    return id;
}

void WorkedIndex::CatchUp(const LogLines& localLines, const std::atomic<bool>* cancelled) {
    const LogLinesFollower::Step step = follower_.Next(localLines);
    if (step.restart) {
        Clear();
        calls_.reserve(localLines.size() / 2);
    }
    for (std::size_t i = step.first; i < localLines.size(); ++i) {
        if (cancelled && i % 4096 == 0 && cancelled->load(std::memory_order_relaxed)) return;
        Add(localLines[i]);
    }
}

void WorkedIndex::Add(std::string_view line) {
    std::string_view f[8];
    CutFirstFields(line, ',', f, 8);
    const std::string_view callText = TrimBlanks(f[4]);
    if (callText.empty()) return;
    ++contacts_;
    scratch_.assign(callText);
    for (char& c : scratch_) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    auto [entry, inserted] = calls_.try_emplace(scratch_);
    CallStats& stats = entry->second;
    if (inserted) stats.country = CountryId(scratch_);
    ++stats.count;
    const std::string_view date = TrimBlanks(f[0]);
    if (date > stats.lastDate) stats.lastDate.assign(date);
    // Grid squares count by their first four characters, whoever was worked there.
    const std::string_view grid = TrimBlanks(f[5]);
    if (grid.size() >= 4) {
        scratch_.assign(grid.substr(0, 4));
        for (char& c : scratch_) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        gridsWorked_.insert(scratch_);
    }

    // Consecutive lines mostly share their band and mode.
    const std::string_view whole = f[6].substr(0, f[6].find('.'));
    if (whole != lastWhole_ || lastBand_ == kNone) {
        lastWhole_.assign(whole);
        lastBand_ = Intern(bandIds_, BandFromFrequency(f[6]));
    }
    const std::string_view modeText = TrimBlanks(f[7]);
    if (modeText != lastMode_ || lastModeId_ == kNone) {
        lastMode_.assign(modeText);
        lastModeId_ = Intern(modeIds_, UpperCase(modeText));
    }
    const std::uint64_t slot = std::uint64_t{lastBand_} << 32 | lastModeId_;
    if (std::find(stats.bandModes.begin(), stats.bandModes.end(), slot) == stats.bandModes.end()) stats.bandModes.push_back(slot);

    if (stats.country == kNoCountry) return;
    countriesWorked_.insert(stats.country);
    // Each station adds a band or mode to its country once.
    if (lastBand_ >= 32 || !(stats.bands & (1u << lastBand_))) {
        if (lastBand_ < 32) stats.bands |= 1u << lastBand_;
        countryBands_.insert(Pair(stats.country, lastBand_));
    }
    if (lastModeId_ >= 64 || !(stats.modes & (std::uint64_t{1} << lastModeId_))) {
        if (lastModeId_ < 64) stats.modes |= std::uint64_t{1} << lastModeId_;
        countryModes_.insert(Pair(stats.country, lastModeId_));
    }
}

bool WorkedIndex::WorkedOn(std::string_view call, std::string_view band, std::string_view mode) const {
    const auto found = calls_.find(UpperCase(TrimBlanks(call)));
    const auto bandId = bandIds_.find(std::string(band));
    const auto modeId = modeIds_.find(UpperCase(mode));
    if (found == calls_.end() || bandId == bandIds_.end() || modeId == modeIds_.end()) return false;
    const std::uint64_t slot = std::uint64_t{bandId->second} << 32 | modeId->second;
    const auto& bandModes = found->second.bandModes;
    return std::find(bandModes.begin(), bandModes.end(), slot) != bandModes.end();
}

bool WorkedIndex::GridWorked(std::string_view grid) const {
    if (grid.size() < 4) return false;
    return gridsWorked_.count(UpperCase(grid.substr(0, 4))) > 0;
}

WorkedStatus WorkedIndex::Status(std::string_view call, std::string_view band, std::string_view mode) const {
    WorkedStatus status;
    const std::string upper = UpperCase(TrimBlanks(call));
    std::int32_t country;
    const auto found = calls_.find(upper);
    if (found != calls_.end()) {
        status.count = found->second.count;
        status.lastDate = found->second.lastDate;
        country = found->second.country;
    } else {
        country = CountryId(upper);
    }
    if (country != kNoCountry) {
        // A band or mode the log never held was never worked by any country.
        const auto bandId = bandIds_.find(std::string(band));
        const auto modeId = modeIds_.find(UpperCase(mode));
        if (!countriesWorked_.count(country)) {
            status.kind = WorkedKind::NewCountry;
            return status;
        }
        if (bandId == bandIds_.end() || !countryBands_.count(Pair(country, bandId->second))) {
            status.kind = WorkedKind::NewOnBand;
            return status;
        }
        if (modeId == modeIds_.end() || !countryModes_.count(Pair(country, modeId->second))) {
            status.kind = WorkedKind::NewOnMode;
            return status;
        }
    }
    status.kind = status.count > 0 ? WorkedKind::WorkedBefore : WorkedKind::NotWorked;
    return status;
}

std::string WorkedIndex::CountryOf(std::string_view call) const {
    if (!countries_ || countries_->empty()) return {};
    const std::optional<std::size_t> entry = countries_->FindEntry(UpperCase(TrimBlanks(call)));
    return entry ? EntryCountryName(countries_->Lines()[*entry]) : std::string();
}

}  // namespace vantrel
