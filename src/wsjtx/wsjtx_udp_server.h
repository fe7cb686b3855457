// Where WSJT-X sends its own UDP messages: UDPServer and UDPServerPort of its configuration.
#pragma once

#include <string>

#include "log/log_lines.h"

namespace vantrel {

struct WsjtxUdpServer {
    std::string address = "127.0.0.1";  // a unicast address or a multicast group
    int port = 2237;
    std::string rejectedPort;  // an UDPServerPort text that is no port number (the default stays)
};

// Reads the two keys from the lines of WSJT-X.ini (a key counts in any section, only at the start
// of a line); WSJT-X's defaults stand for keys that are missing or empty. Port 0 is kept: WSJT-X
// then sends nothing, and no listener is bound for it.
WsjtxUdpServer ReadWsjtxUdpServer(const LogLines& iniLines);

}  // namespace vantrel
