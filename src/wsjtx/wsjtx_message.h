// The messages of WSJT-X's own UDP protocol, read from one datagram.
//
// A datagram is a big-endian QDataStream: the magic number adbccbda, the schema (2 or 3 here; the
// field bytes are the same under both), the message type and the sender's id, then the fields of
// that type. A "utf8" field is a 32-bit byte count and the bytes; the count ffffffff marks a null
// text, which is kept apart from an empty one.
//
// Nothing is ever read past the datagram. Fields that WSJT-X added over the years at the end of a
// message are optional: a datagram that ends between two fields leaves the later ones at their
// defaults, while one that ends inside a field is Truncated and gives nothing. Bytes after the
// fields known here (a newer WSJT-X) are ignored. A datagram of another schema or of a type not
// read here is skipped whole, by its length, and never read as something else.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace vantrel::wsjtx {

inline constexpr std::uint32_t kMagic = 0xadbccbda;

enum class MessageType : std::uint32_t {
    Heartbeat = 0,
    Status = 1,
    Decode = 2,
    Clear = 3,
    Reply = 4,
    QsoLogged = 5,
    Close = 6,
    Replay = 7,
    HaltTx = 8,
    FreeText = 9,
    WsprDecode = 10,
    Location = 11,
    LoggedAdif = 12,
    HighlightCallsign = 13,
};

// A utf8 field: nothing for a null text.
using Text = std::optional<std::string>;
inline std::string_view TextOf(const Text& text) { return text ? std::string_view(*text) : std::string_view(); }

// A QDateTime: the Julian day, milliseconds since midnight and the time spec (0 local, 1 UTC,
// 2 offset from UTC). WSJT-X sends UTC; a time in a named zone (spec 3) has a layout of its own
// that is not followed here, so a message holding one is skipped (NotRead).
struct DateTime {
    std::int64_t julianDay = 0;
    std::uint32_t milliseconds = 0;
    std::uint8_t timeSpec = 1;
    std::int32_t offsetSeconds = 0;  // time spec 2
    bool valid = false;              // a real date and time (a null QDateTime is not)
};
// "yyyy-mm-dd" and "hh:mm:ss" of a valid date and time as it was sent; empty texts otherwise.
std::string DateText(const DateTime& time);
std::string TimeText(const DateTime& time);

inline constexpr std::uint32_t kNullTime = 0xffffffff;  // a null QTime
inline constexpr std::uint32_t kNotApplicable = 0xffffffff;

struct Heartbeat {
    std::optional<std::uint32_t> maximumSchema;
    Text version, revision;
};

struct Status {
    std::uint64_t dialFrequencyHz = 0;
    Text mode, dxCall, report, txMode;
    bool txEnabled = false, transmitting = false;
    bool decoding = false;
    std::uint32_t rxDf = 0, txDf = 0;
    Text deCall, deGrid, dxGrid;
    bool txWatchdog = false;
    Text subMode;
    bool fastMode = false;
    std::uint8_t specialOperationMode = 0;
    std::uint32_t frequencyTolerance = kNotApplicable, trPeriod = kNotApplicable;
    Text configurationName, txMessage;
};

struct Decode {
    bool isNew = false;
    std::uint32_t timeMs = kNullTime;  // start of the period, milliseconds since midnight UTC
    std::int32_t snr = 0;
    double deltaTimeSeconds = 0;
    std::uint32_t deltaFrequencyHz = 0;
    Text mode;     // one character: "~" FT8, "+" FT4, ":" Q65, ...
    Text message;  // as shown in WSJT-X, decoder annotations included
    bool lowConfidence = false, offAir = false;
};

struct Clear {
    std::optional<std::uint8_t> window;  // present only in a request sent to WSJT-X
};

struct QsoLogged {
    DateTime timeOff;
    Text dxCall, dxGrid;
    std::uint64_t txFrequencyHz = 0;
    Text mode, reportSent, reportReceived, txPower, comments, name;
    DateTime timeOn;
    Text operatorCall, myCall, myGrid, exchangeSent, exchangeReceived, propagationMode;
};

struct Close {};

struct LoggedAdif {
    Text adifText;  // an ADIF header and one record, UTF-8
};

enum class ReadStatus {
    Read,          // `message` holds the message
    NotWsjtx,      // too short for the header or not the magic number
    OtherSchema,   // a schema whose field encoding is not read here; skipped
    NotRead,       // a type this reader skips (WSPRDecode, the requests, unknown types), or a
                   // message holding a time in a named zone
    Truncated,     // the datagram ends inside a field; nothing is taken from it
};

using Message = std::variant<std::monostate, Heartbeat, Status, Decode, Clear, QsoLogged, Close, LoggedAdif>;

struct Datagram {
    ReadStatus status = ReadStatus::NotWsjtx;
    std::uint32_t schema = 0;
    std::uint32_t type = 0;
    Text id;
    Message message;
};

Datagram ReadDatagram(std::string_view bytes);

// The mode name of a Decode's one-character mode ("~" gives "FT8"); empty when unknown.
std::string_view DecodeModeName(std::string_view code);

}  // namespace vantrel::wsjtx
