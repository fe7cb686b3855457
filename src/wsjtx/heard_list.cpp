#include "wsjtx/heard_list.h"

#include <algorithm>
#include <cstdlib>

#include "log/band_table.h"
#include "log/line_text.h"

namespace vantrel {

namespace {

constexpr std::uint32_t kDayMs = 86400000;

// Decodes arrive in time order; a period that differs from the newest is newer when it lies
// less than half a day after it (so 23:59:45 is followed by 00:00:00).
bool IsLater(std::uint32_t period, std::uint32_t newest) {
    return (period + kDayMs - newest) % kDayMs < kDayMs / 2;
}

std::optional<double> Number(const std::string& text) {
    if (!IsNumberText(text)) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str()) return std::nullopt;
    return value;
}

}  // namespace

void HeardList::SetOwnStation(std::string call, std::string grid) {
    configCall_ = std::move(call);
    configGrid_ = std::move(grid);
}

void HeardList::OnStatus(const wsjtx::Status& status) {
    if (status.deCall && !status.deCall->empty()) statusCall_ = *status.deCall;
    if (status.deGrid && !status.deGrid->empty()) statusGrid_ = *status.deGrid;
    if (status.mode && !status.mode->empty()) mode_ = *status.mode;
    // WSJT-X reports 0 Hz while its rig is not yet known.
    if (status.dialFrequencyHz > 0) {
        const std::string band = BandFromFrequency(std::to_string(status.dialFrequencyHz / 1000000));
        band_ = band == "0" ? std::string() : band;
    }
}

bool HeardList::KeepsPeriod(std::uint32_t period) {
    if (newestPeriod_ && (period == *newestPeriod_ || (previousPeriod_ && period == *previousPeriod_)))
        return true;
    if (newestPeriod_ && !IsLater(period, *newestPeriod_)) return false;  // older than both
    previousPeriod_ = newestPeriod_;
    newestPeriod_ = period;
    std::erase_if(rows_, [&](const HeardRow& row) {
        return row.periodMs != *newestPeriod_ && (!previousPeriod_ || row.periodMs != *previousPeriod_);
    });
    return true;
}

WorkedStatus HeardList::StatusOf(const HeardRow& row) const {
    if (!worked_) return {};
    return worked_->Status(row.call, row.band, row.mode);
}

bool HeardList::OnDecode(const wsjtx::Decode& decode, std::string_view instance) {
    if (!decode.isNew || decode.timeMs >= kDayMs || !decode.message) return false;
    // Every decode counts for the periods, also one that names nobody of interest.
    const std::size_t before = rows_.size();
    if (!KeepsPeriod(decode.timeMs)) return false;
    const bool dropped = rows_.size() != before;
    const std::string& ownCall = statusCall_.empty() ? configCall_ : statusCall_;
    std::optional<HeardStation> station = StationInMessage(*decode.message, ownCall);
    if (!station || SameTextNoCase(station->call, ownCall)) return dropped;

    HeardRow row;
    row.call = std::move(station->call);
    row.grid = std::move(station->grid);
    row.role = station->role;
    row.message = std::string(DecodedMessageText(*decode.message));
    row.periodMs = decode.timeMs;
    row.snr = decode.snr;
    row.instance = std::string(instance);
    row.band = band_;
    row.mode = mode_.empty() ? std::string(wsjtx::DecodeModeName(wsjtx::TextOf(decode.mode))) : mode_;

    CountryResult country;
    if (countries_ && !countries_->empty()) country = countries_->Lookup(row.call);
    row.country = country.country;
    const std::string& ownGrid = statusGrid_.empty() ? configGrid_ : statusGrid_;
    if (ownGrid.size() >= 4) {
        const GreatCircle circle(ownGrid);
        if (!row.grid.empty()) {
            row.bearing = circle.To(LocatorToPosition(row.grid));
            row.bearingFromGrid = true;
        } else if (const auto lat = Number(country.latitude), lon = Number(country.longitude); lat && lon) {
            row.bearing = circle.To(Position{*lat, *lon});
        }
    }
    row.status = StatusOf(row);

    // One row per station, in the place of its latest decode.
    const auto same = std::find_if(rows_.begin(), rows_.end(), [&](const HeardRow& r) { return r.call == row.call; });
    if (same != rows_.end()) {
        if (same == rows_.begin() && same->message == row.message && same->periodMs == row.periodMs && !dropped)
            return false;  // the same decode once more (a second decoding pass)
        rows_.erase(same);
    }
    rows_.insert(rows_.begin(), std::move(row));
    if (rows_.size() > kMaxHeardRows) rows_.pop_back();
    return true;
}

std::vector<std::size_t> HeardList::Refresh() {
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        WorkedStatus status = StatusOf(rows_[i]);
        if (status != rows_[i].status) {
            rows_[i].status = std::move(status);
            changed.push_back(i);
        }
    }
    return changed;
}

void HeardList::Clear() {
    rows_.clear();
    newestPeriod_.reset();
    previousPeriod_.reset();
}

}  // namespace vantrel
