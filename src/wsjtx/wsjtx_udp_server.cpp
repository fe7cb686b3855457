#include "wsjtx/wsjtx_udp_server.h"

#include <charconv>

#include "log/line_text.h"

namespace vantrel {

WsjtxUdpServer ReadWsjtxUdpServer(const LogLines& iniLines) {
    WsjtxUdpServer server;
    for (const std::string_view line : iniLines) {
        if (line.starts_with("UDPServer=")) {
            const std::string_view value = TrimBlanks(line.substr(10));
            if (!value.empty()) server.address = std::string(value);
        } else if (line.starts_with("UDPServerPort=")) {
            const std::string_view value = TrimBlanks(line.substr(14));
            int port = 0;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), port);
            if (value.empty()) continue;
            if (ec == std::errc() && end == value.data() + value.size() && port >= 0 && port <= 65535)
                server.port = port;
            else
                server.rejectedPort = std::string(value);
        }
    }
    return server;
}

}  // namespace vantrel
