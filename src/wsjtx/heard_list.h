// The stations heard in the last two decode periods, newest first, each with its country,
// bearing and distance and its worked-before status: the rows of the "Heard" panel.
//
// Fed with WSJT-X's Status and Decode messages. A station appears once, in the row of its latest
// decode; a decode of a new period drops the rows of the period before the previous one.
// Replayed decodes (sent again at a listener's request) and decodes naming no CQ caller and no
// station calling the operator add nothing. The rows follow the local log through Refresh.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "geo/country_lookup.h"
#include "geo/locator.h"
#include "wsjtx/decoded_station.h"
#include "wsjtx/worked_before.h"
#include "wsjtx/wsjtx_message.h"

namespace vantrel {

struct HeardRow {
    std::string call;
    std::string grid;     // from the message; empty when it carried none
    std::string country;  // "Brazil (SA )"; empty when the table names none
    HeardRole role = HeardRole::CqCaller;
    std::string message;  // the decoded text without decoder marks
    std::uint32_t periodMs = 0;  // start of the decode period, milliseconds since midnight UTC
    std::int32_t snr = 0;
    std::string band;  // "20m" at the time of the decode; empty when not yet known
    std::string mode;  // "FT8"
    // From the operator's grid to the station's grid, else to its country's position.
    std::optional<BearingKm> bearing;
    bool bearingFromGrid = false;
    WorkedStatus status;
    std::string instance;  // the id of the WSJT-X that decoded it
    bool needed = false;   // its country is not confirmed on the band (the award tables)
};

// More than a crowded band gives in two periods; the oldest rows give way beyond it.
inline constexpr std::size_t kMaxHeardRows = 1000;

class HeardList {
public:
    // The list holds the table it reads; the index must outlive the list (it is the one kept
    // current with the local log).
    HeardList(std::shared_ptr<const CountryTable> countries, const WorkedIndex* worked)
        : countries_(std::move(countries)), worked_(worked) {}
    void SetCountryTable(std::shared_ptr<const CountryTable> countries) { countries_ = std::move(countries); }

    // The operator's callsign and grid from the WSJT-X configuration; a Status message that
    // carries them takes precedence.
    void SetOwnStation(std::string call, std::string grid);
    // Every Status message: own callsign and grid, the band of the dial frequency and the mode.
    void OnStatus(const wsjtx::Status& status);
    // True when the rows changed.
    bool OnDecode(const wsjtx::Decode& decode, std::string_view instance = {});
    // After the local log changed (and the index caught up): the rows whose status changed.
    std::vector<std::size_t> Refresh();
    // WSJT-X erased its band activity or closed.
    void Clear();

    const std::vector<HeardRow>& Rows() const { return rows_; }
    const std::string& Band() const { return band_; }
    const std::string& Mode() const { return mode_; }

private:
    bool KeepsPeriod(std::uint32_t periodMs);
    WorkedStatus StatusOf(const HeardRow& row) const;

    std::shared_ptr<const CountryTable> countries_;
    const WorkedIndex* worked_;
    std::string configCall_, configGrid_, statusCall_, statusGrid_;
    std::string band_, mode_;
    std::optional<std::uint32_t> newestPeriod_, previousPeriod_;
    std::vector<HeardRow> rows_;
};

}  // namespace vantrel
