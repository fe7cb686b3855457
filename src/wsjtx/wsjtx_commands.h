// The requests the program sends to a WSJT-X instance on its UDP protocol: the big-endian
// QDataStream form WSJT-X reads, with the instance's own id and the schema its Heartbeat
// negotiated. WSJT-X takes requests only on the socket it sends from, so they go to the source
// address and port of that instance's datagrams.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/stored_options.h"
#include "wsjtx/wsjtx_message.h"

namespace vantrel::wsjtx {

// Which decode windows a Clear empties.
enum class ClearWindow : std::uint8_t { BandActivity = 0, RxFrequency = 1, Both = 2 };

std::string EncodeClear(std::uint32_t schema, std::string_view id, ClearWindow window);

// A Reply repeats a decode's fields exactly as WSJT-X sent them; WSJT-X acts on it only when it
// describes one of its decodes of a CQ or QRZ, as a double click on it would.
std::string EncodeReply(std::uint32_t schema, std::string_view id, const Decode& decode, std::uint8_t modifiers = 0);

// Asks the instance to send its Band Activity decodes again (New false), then its Status.
std::string EncodeReplay(std::uint32_t schema, std::string_view id);

// Colours a callsign in the instance's Band Activity; a missing colour clears the call's
// colouring ("CLEARALL!" forgets every colouring but leaves the screen as it is).
std::string EncodeHighlightCallsign(std::uint32_t schema, std::string_view id, std::string_view callsign,
                                    std::optional<Rgb> background, std::optional<Rgb> foreground,
                                    bool lastPeriodOnly = false);

}  // namespace vantrel::wsjtx
