// The five values taken from WSJT-X's configuration file: the operator's callsign and grid, and
// the host, port and on/off switch of its logged-contact (N1MM) reporting.
#pragma once

#include <string>
#include <string_view>
#include "log/log_lines.h"

namespace vantrel {

struct WsjtxConfig {
    std::string call;
    std::string grid;
    std::string host;          // N1MMServer
    int port = 2333;           // N1MMServerPort
    bool broadcast = false;    // BroadcastToN1MM
    bool hostPresent = false;  // the host text is not empty
    // The last N1MMServerPort value that was not a port number; the previous port was kept.
    std::string rejectedPort;
};

// Reads every line (a key counts in any section, only at the start of a line, letter case
// exact). The port and the broadcast switch start from their previous values; callsign, grid
// and host start empty. Values are at most 20 characters, trimmed of blanks and control
// characters. Only "true" switches the broadcast on.
WsjtxConfig ReadWsjtxConfigLines(const LogLines& lines, int previousPort,
                                 bool previousBroadcast);

// The receiver is bound when the broadcast is on and the port is not 0.
inline bool WantsReceiver(const WsjtxConfig& config) { return config.broadcast && config.port != 0; }

}  // namespace vantrel
