#include "wsjtx/wsjtx_commands.h"

#include <cstring>

namespace vantrel::wsjtx {

namespace {

class Writer {
public:
    Writer(std::uint32_t schema, MessageType type, std::string_view id) {
        U32(kMagic);
        U32(schema);
        U32(static_cast<std::uint32_t>(type));
        Text(id);
    }
    void U8(std::uint8_t v) { Put(v, 1); }
    void U16(std::uint16_t v) { Put(v, 2); }
    void U32(std::uint32_t v) { Put(v, 4); }
    void Bool(bool v) { Put(v ? 1 : 0, 1); }
    void Double(double v) {
        std::uint64_t raw;
        std::memcpy(&raw, &v, sizeof raw);
        Put(raw, 8);
    }
    void Text(std::string_view text) {
        U32(static_cast<std::uint32_t>(text.size()));
        bytes_.append(text);
    }
    void Text(const wsjtx::Text& text) {
        if (text)
            Text(std::string_view(*text));
        else
            U32(0xffffffff);
    }
    // A QColor: its spec (1 RGB, 0 invalid), then alpha, red, green and blue as 16-bit values
    // and a padding word.
    void Colour(std::optional<Rgb> colour) {
        U8(colour ? 1 : 0);
        U16(0xffff);
        U16(colour ? static_cast<std::uint16_t>(colour->r * 0x101) : 0);
        U16(colour ? static_cast<std::uint16_t>(colour->g * 0x101) : 0);
        U16(colour ? static_cast<std::uint16_t>(colour->b * 0x101) : 0);
        U16(0);
    }
    std::string Take() { return std::move(bytes_); }

private:
    void Put(std::uint64_t v, int bytes) {
        for (int i = bytes - 1; i >= 0; --i) bytes_.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
    }
    std::string bytes_;
};

}  // namespace

std::string EncodeClear(std::uint32_t schema, std::string_view id, ClearWindow window) {
    Writer w(schema, MessageType::Clear, id);
    w.U8(static_cast<std::uint8_t>(window));
    return w.Take();
}

std::string EncodeReply(std::uint32_t schema, std::string_view id, const Decode& decode, std::uint8_t modifiers) {
    Writer w(schema, MessageType::Reply, id);
    w.U32(decode.timeMs);
    w.U32(static_cast<std::uint32_t>(decode.snr));
    w.Double(decode.deltaTimeSeconds);
    w.U32(decode.deltaFrequencyHz);
    w.Text(decode.mode);
    w.Text(decode.message);
    w.Bool(decode.lowConfidence);
    w.U8(modifiers);
    return w.Take();
}

std::string EncodeReplay(std::uint32_t schema, std::string_view id) {
    Writer w(schema, MessageType::Replay, id);
    return w.Take();
}

std::string EncodeHighlightCallsign(std::uint32_t schema, std::string_view id, std::string_view callsign,
                                    std::optional<Rgb> background, std::optional<Rgb> foreground,
                                    bool lastPeriodOnly) {
    Writer w(schema, MessageType::HighlightCallsign, id);
    w.Text(callsign);
    w.Colour(background);
    w.Colour(foreground);
    w.Bool(lastPeriodOnly);
    return w.Take();
}

}  // namespace vantrel::wsjtx
