// Builds WSJT-X UDP messages for tests: the header, then fields appended in the big-endian
// QDataStream form WSJT-X writes.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vantrel::test {

class WsjtxWriter {
public:
    WsjtxWriter(std::uint32_t schema, std::uint32_t type, std::string_view id) {
        U32(0xadbccbda).U32(schema).U32(type).Text(id);
    }
    const std::string& bytes() const { return bytes_; }

    WsjtxWriter& U8(std::uint8_t v) { return Put(v, 1); }
    WsjtxWriter& Bool(bool v) { return Put(v ? 1 : 0, 1); }
    WsjtxWriter& U32(std::uint32_t v) { return Put(v, 4); }
    WsjtxWriter& I32(std::int32_t v) { return Put(static_cast<std::uint32_t>(v), 4); }
    WsjtxWriter& U64(std::uint64_t v) { return Put(v, 8); }
    WsjtxWriter& Double(double v) {
        std::uint64_t raw;
        std::memcpy(&raw, &v, sizeof raw);
        return Put(raw, 8);
    }
    WsjtxWriter& Text(std::string_view text) {
        U32(static_cast<std::uint32_t>(text.size()));
        bytes_.append(text);
        return *this;
    }
    WsjtxWriter& Null() { return U32(0xffffffff); }
    // A QDateTime: Julian day, milliseconds since midnight, time spec (and the offset for spec 2).
    WsjtxWriter& Time(std::int64_t julianDay, std::uint32_t ms, std::uint8_t spec, std::int32_t offset = 0) {
        Put(static_cast<std::uint64_t>(julianDay), 8).U32(ms).U8(spec);
        if (spec == 2) I32(offset);
        return *this;
    }

private:
    WsjtxWriter& Put(std::uint64_t v, int bytes) {
        for (int i = bytes - 1; i >= 0; --i) bytes_.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
        return *this;
    }
    std::string bytes_;
};

// A Decode message of WSJT-X ("WSJT-X", schema 3): a new decode of an FT8 message at -10 dB.
inline std::string DecodeMessage(std::string_view message, std::uint32_t periodMs) {
    WsjtxWriter w(3, 2, "WSJT-X");
    w.Bool(true).U32(periodMs).I32(-10).Double(0.1).U32(1200).Text("~").Text(message).Bool(false).Bool(false);
    return w.bytes();
}

}  // namespace vantrel::test
