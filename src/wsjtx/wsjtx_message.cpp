#include "wsjtx/wsjtx_message.h"

#include <cstdio>
#include <cstring>

namespace vantrel::wsjtx {

namespace {

// Reads big-endian QDataStream values from the datagram. A read that does not fit sets `broken`
// and leaves the value alone; every later read fails too.
class Cursor {
public:
    explicit Cursor(std::string_view bytes) : bytes_(bytes) {}

    bool AtEnd() const { return pos_ >= bytes_.size(); }
    bool Broken() const { return broken_; }

    template <class T>
    void Unsigned(T& value) {
        if (!Fits(sizeof(T))) return;
        T read = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            read = static_cast<T>((read << 8) | static_cast<unsigned char>(bytes_[pos_ + i]));
        value = read;
        pos_ += sizeof(T);
    }
    void Int32(std::int32_t& value) {
        std::uint32_t raw = 0;
        Unsigned(raw);
        if (!broken_) value = static_cast<std::int32_t>(raw);
    }
    void Int64(std::int64_t& value) {
        std::uint64_t raw = 0;
        Unsigned(raw);
        if (!broken_) value = static_cast<std::int64_t>(raw);
    }
    void Bool(bool& value) {
        std::uint8_t raw = 0;
        Unsigned(raw);
        if (!broken_) value = raw != 0;
    }
    void Double(double& value) {
        std::uint64_t raw = 0;
        Unsigned(raw);
        if (broken_) return;
        static_assert(sizeof(double) == sizeof(raw));
        std::memcpy(&value, &raw, sizeof value);
    }
    void Utf8(Text& value) {
        std::uint32_t length = 0;
        Unsigned(length);
        if (broken_) return;
        if (length == 0xffffffff) {
            value.reset();
            return;
        }
        if (!Fits(length)) return;
        value.emplace(bytes_.substr(pos_, length));
        pos_ += length;
    }
    // False when the time has a layout not followed here (a named zone).
    bool Time(DateTime& value) {
        std::int64_t julianDay = 0;
        std::uint32_t milliseconds = 0;
        std::uint8_t spec = 0;
        Int64(julianDay);
        Unsigned(milliseconds);
        Unsigned(spec);
        if (broken_) return true;
        if (spec == 3) return false;
        value.julianDay = julianDay;
        value.milliseconds = milliseconds;
        value.timeSpec = spec;
        if (spec == 2) Int32(value.offsetSeconds);
        // Years 1 to 9999 and a time of day; a null date or time is not valid.
        value.valid = julianDay >= 1721426 && julianDay <= 5373484 && milliseconds < 86400000u;
        return true;
    }

private:
    bool Fits(std::size_t size) {
        if (broken_ || bytes_.size() - pos_ < size) {
            broken_ = true;
            return false;
        }
        return true;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
    bool broken_ = false;
};

// Each reader takes the fields every WSJT-X sends, then each later-added field only while bytes
// are left; a field cut short breaks the cursor and the message counts as truncated.

ReadStatus ReadHeartbeat(Cursor& in, Heartbeat& m) {
    if (!in.AtEnd()) {
        std::uint32_t schema = 0;
        in.Unsigned(schema);
        if (!in.Broken()) m.maximumSchema = schema;
    }
    if (!in.AtEnd()) in.Utf8(m.version);
    if (!in.AtEnd()) in.Utf8(m.revision);
    return ReadStatus::Read;
}

ReadStatus ReadStatusMessage(Cursor& in, Status& m) {
    in.Unsigned(m.dialFrequencyHz);
    in.Utf8(m.mode);
    in.Utf8(m.dxCall);
    in.Utf8(m.report);
    in.Utf8(m.txMode);
    in.Bool(m.txEnabled);
    in.Bool(m.transmitting);
    if (in.Broken()) return ReadStatus::Truncated;
    // Added by later WSJT-X versions, in this order.
    if (!in.AtEnd()) in.Bool(m.decoding);
    if (!in.AtEnd()) in.Unsigned(m.rxDf);
    if (!in.AtEnd()) in.Unsigned(m.txDf);
    if (!in.AtEnd()) in.Utf8(m.deCall);
    if (!in.AtEnd()) in.Utf8(m.deGrid);
    if (!in.AtEnd()) in.Utf8(m.dxGrid);
    if (!in.AtEnd()) in.Bool(m.txWatchdog);
    if (!in.AtEnd()) in.Utf8(m.subMode);
    if (!in.AtEnd()) in.Bool(m.fastMode);
    if (!in.AtEnd()) in.Unsigned(m.specialOperationMode);
    if (!in.AtEnd()) in.Unsigned(m.frequencyTolerance);
    if (!in.AtEnd()) in.Unsigned(m.trPeriod);
    if (!in.AtEnd()) in.Utf8(m.configurationName);
    if (!in.AtEnd()) in.Utf8(m.txMessage);
    return ReadStatus::Read;
}

ReadStatus ReadDecode(Cursor& in, Decode& m) {
    in.Bool(m.isNew);
    in.Unsigned(m.timeMs);
    in.Int32(m.snr);
    in.Double(m.deltaTimeSeconds);
    in.Unsigned(m.deltaFrequencyHz);
    in.Utf8(m.mode);
    in.Utf8(m.message);
    if (in.Broken()) return ReadStatus::Truncated;
    if (!in.AtEnd()) in.Bool(m.lowConfidence);
    if (!in.AtEnd()) in.Bool(m.offAir);
    return ReadStatus::Read;
}

ReadStatus ReadClear(Cursor& in, Clear& m) {
    if (!in.AtEnd()) {
        std::uint8_t window = 0;
        in.Unsigned(window);
        if (!in.Broken()) m.window = window;
    }
    return ReadStatus::Read;
}

ReadStatus ReadQsoLogged(Cursor& in, QsoLogged& m) {
    if (!in.Time(m.timeOff)) return ReadStatus::NotRead;
    in.Utf8(m.dxCall);
    in.Utf8(m.dxGrid);
    in.Unsigned(m.txFrequencyHz);
    in.Utf8(m.mode);
    in.Utf8(m.reportSent);
    in.Utf8(m.reportReceived);
    in.Utf8(m.txPower);
    in.Utf8(m.comments);
    in.Utf8(m.name);
    if (in.Broken()) return ReadStatus::Truncated;
    if (!in.AtEnd() && !in.Time(m.timeOn)) return ReadStatus::NotRead;
    if (!in.AtEnd()) in.Utf8(m.operatorCall);
    if (!in.AtEnd()) in.Utf8(m.myCall);
    if (!in.AtEnd()) in.Utf8(m.myGrid);
    if (!in.AtEnd()) in.Utf8(m.exchangeSent);
    if (!in.AtEnd()) in.Utf8(m.exchangeReceived);
    if (!in.AtEnd()) in.Utf8(m.propagationMode);
    return ReadStatus::Read;
}

template <class T, class Reader>
ReadStatus ReadInto(Cursor& in, Message& message, Reader read) {
    T value;
    ReadStatus status = read(in, value);
    if (status == ReadStatus::Read && in.Broken()) status = ReadStatus::Truncated;
    if (status == ReadStatus::Read) message = std::move(value);
    return status;
}

// Civil date of a Julian day number (proleptic Gregorian calendar).
void CivilDate(std::int64_t julianDay, int& year, int& month, int& day) {
    const std::int64_t a = julianDay + 32044;
    const std::int64_t b = (4 * a + 3) / 146097;
    const std::int64_t c = a - 146097 * b / 4;
    const std::int64_t d = (4 * c + 3) / 1461;
    const std::int64_t e = c - 1461 * d / 4;
    const std::int64_t m = (5 * e + 2) / 153;
    day = static_cast<int>(e - (153 * m + 2) / 5 + 1);
    month = static_cast<int>(m + 3 - 12 * (m / 10));
    year = static_cast<int>(100 * b + d - 4800 + m / 10);
}

}  // namespace

std::string DateText(const DateTime& time) {
    if (!time.valid) return {};
    int year, month, day;
    CivilDate(time.julianDay, year, month, day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

std::string TimeText(const DateTime& time) {
    if (!time.valid) return {};
    const std::uint32_t seconds = time.milliseconds / 1000;
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

Datagram ReadDatagram(std::string_view bytes) {
    Datagram datagram;
    Cursor in(bytes);
    std::uint32_t magic = 0;
    in.Unsigned(magic);
    in.Unsigned(datagram.schema);
    if (in.Broken() || magic != kMagic) return datagram;  // NotWsjtx
    if (datagram.schema < 2 || datagram.schema > 3) {
        datagram.status = ReadStatus::OtherSchema;
        return datagram;
    }
    in.Unsigned(datagram.type);
    in.Utf8(datagram.id);
    if (in.Broken()) {
        datagram.status = ReadStatus::Truncated;
        return datagram;
    }
    Message& message = datagram.message;
    switch (static_cast<MessageType>(datagram.type)) {
    case MessageType::Heartbeat:
        datagram.status = ReadInto<Heartbeat>(in, message, ReadHeartbeat);
        break;
    case MessageType::Status:
        datagram.status = ReadInto<Status>(in, message, ReadStatusMessage);
        break;
    case MessageType::Decode:
        datagram.status = ReadInto<Decode>(in, message, ReadDecode);
        break;
    case MessageType::Clear:
        datagram.status = ReadInto<Clear>(in, message, ReadClear);
        break;
    case MessageType::QsoLogged:
        datagram.status = ReadInto<QsoLogged>(in, message, ReadQsoLogged);
        break;
    case MessageType::Close:
        message = Close{};
        datagram.status = ReadStatus::Read;
        break;
    case MessageType::LoggedAdif:
        datagram.status = ReadInto<LoggedAdif>(in, message, [](Cursor& c, LoggedAdif& m) {
            c.Utf8(m.adifText);
            return c.Broken() ? ReadStatus::Truncated : ReadStatus::Read;
        });
        break;
    default:
        // WSPRDecode, the requests a listener sends, and any type added later.
        datagram.status = ReadStatus::NotRead;
        break;
    }
    return datagram;
}

std::string_view DecodeModeName(std::string_view code) {
    static constexpr struct {
        std::string_view code, name;
    } kModes[] = {{"~", "FT8"}, {"+", "FT4"}, {":", "Q65"}, {"#", "JT65"}, {"@", "JT9"},
                  {"$", "JT4"}, {"&", "MSK144"}, {"`", "FST4"}};
    for (const auto& mode : kModes)
        if (mode.code == code) return mode.name;
    return {};
}

}  // namespace vantrel::wsjtx
