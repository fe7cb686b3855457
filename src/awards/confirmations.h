// Confirmations of contacts (LoTW, or QSL_RCVD / LOTW_QSL_RCVD / EQSL_QSL_RCVD = Y from another
// logger's ADIF) and the rule that matches them to the local log: same callsign, same band, same
// mode group, and times on at most 30 minutes apart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "adif/adif_reader.h"
#include "awards/award_modes.h"

namespace vantrel {

// Two times on this far apart (or less) are the same contact.
inline constexpr std::int64_t kConfirmationWindowSeconds = 30 * 60;

inline constexpr std::string_view kSourceLotw = "LOTW";
inline constexpr std::string_view kSourceAdif = "ADIF";

struct Confirmation {
    std::string call;            // upper case
    std::string band;            // as the band table names it: "20m"
    std::string mode, submode;   // as the record gives them
    std::string freq;            // MHz text; may be empty
    std::string qsoDate;         // yyyymmdd
    std::string timeOn;          // hhmmss
    std::string gridsquare;
    std::string stationCallsign, myGridsquare;
    std::string qslrDate;        // yyyymmdd; may be empty
    int dxcc = -1;               // ADIF DXCC code; -1 when the record carries none
    int cqZone = 0;              // 0 when the record carries none
    std::string source;          // kSourceLotw, kSourceAdif, or what the stored record says
    std::string lotwRxQsl;       // LoTW's "yyyy-mm-dd hh:mm:ss" of the match; may be empty

    int BandRow() const;         // the band table row; -1 when unknown
    ModeGroup Group() const { return ModeGroupOf(mode, submode); }
    std::int64_t TimeOnSeconds() const;  // seconds since 1970-01-01 UTC
};

// The confirmation in a record: call, QSO_DATE and TIME_ON present, a band (BAND, or FREQ through
// the band table) and a confirmation flag: QSL_RCVD, LOTW_QSL_RCVD or EQSL_QSL_RCVD = Y
// (ParseLotwReport takes a LoTW record only with QSL_RCVD = Y). Nothing otherwise.
// `source` names where it came from; a stored record's APP_VANTREL_SOURCE wins over it.
std::optional<Confirmation> ConfirmationFromRecord(const AdifRecord& record, std::string_view source);
// True when a record says it is confirmed by one of the three flags.
bool RecordIsConfirmed(const AdifRecord& record);

// The stored form: one line, the fields in the order of the program's ADIF export (lower-case
// names, each followed by a blank), then qsl_rcvd, qslrdate, dxcc, cqz, app_lotw_rxqsl and
// app_vantrel_source, then "<eor>" and CR LF.
std::string ConfirmationRecordLine(const Confirmation& confirmation);

// Seconds since 1970-01-01 UTC of "yyyymmdd" and "hhmmss" (or "hhmm"); nothing when either is not
// a valid date or time.
std::optional<std::int64_t> UtcSeconds(std::string_view yyyymmdd, std::string_view hhmmss);

// The confirmations held, indexed by callsign, band and mode group.
class ConfirmationIndex {
public:
    // Adds unless the same record is held (callsign, band, mode group and time on to the second:
    // LoTW sends a contact made twice within minutes as two records, and both are kept); true
    // when added.
    bool Add(Confirmation confirmation);
    // True when the same record is held.
    bool Holds(const Confirmation& confirmation) const;
    // The confirmation of a contact, or null. `call` in any letter case.
    const Confirmation* Match(std::string_view call, int bandRow, ModeGroup group,
                              std::int64_t timeOnSeconds) const;
    // The same, the key fields given by a confirmation.
    const Confirmation* Match(const Confirmation& contact) const;

    std::size_t size() const { return all_.size(); }
    const std::vector<Confirmation>& All() const { return all_; }
    // The latest LoTW match time held ("yyyy-mm-dd hh:mm:ss"); empty when none: the since-date of
    // the next LoTW download.
    const std::string& LastLotwQsl() const { return lastLotwQsl_; }

private:
    struct Entry {
        std::int64_t time;
        std::uint32_t index;  // in all_
        std::int16_t bandRow;
        ModeGroup group;
    };
    // The callsign (letter case folded), band and mode group as one number; a confirmation is
    // still compared by its fields, so numbers that collide do no harm.
    static std::uint64_t KeyOf(std::string_view call, int bandRow, ModeGroup group);
    bool SameKey(const Entry& entry, std::string_view call, int bandRow, ModeGroup group) const;
    std::vector<Confirmation> all_;
    std::unordered_map<std::uint64_t, std::vector<Entry>> byKey_;  // entries sorted by time
    std::string lastLotwQsl_;
};

// A LoTW report ("lotwreport.adi") read and checked. LoTW answers some errors with status 200 and
// an HTML page, and a dropped connection leaves a report without its end: only a report that
// is complete is to be taken in.
struct LotwReport {
    enum class Status {
        Complete,   // header with "<eoh>", the end mark <APP_LoTW_EOF>, APP_LoTW_NUMREC records
        HtmlPage,   // an HTML page (a wrong password, LoTW's error page)
        NotAdif,    // no ADIF header at all
        Truncated,  // cut off: no end mark, or fewer records than APP_LoTW_NUMREC
    };
    Status status = Status::NotAdif;
    std::string problem;         // what is wrong, for the operator; empty when complete
    std::string lastQsl;         // APP_LoTW_LASTQSL of the header ("yyyy-mm-dd hh:mm:ss")
    long numRec = -1;            // APP_LoTW_NUMREC; -1 when absent
    std::size_t records = 0;     // records read
    std::vector<Confirmation> confirmations;  // the records with QSL_RCVD = Y, in file order
    bool Ok() const { return status == Status::Complete; }
};

// Reads a report. Values are taken by their declared lengths, so LoTW's "// comments" after a
// value stay out of it; a value whose length takes in a comment has it removed.
LotwReport ParseLotwReport(std::string_view bytes);

// The confirmations of any ADIF text (another logger's export, a stored file): every record that
// ConfirmationFromRecord takes, in file order.
std::vector<Confirmation> ConfirmationsInAdif(std::string_view bytes, std::string_view source);

}  // namespace vantrel
