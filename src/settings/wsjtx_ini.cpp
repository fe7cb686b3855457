#include "settings/wsjtx_ini.h"

#include <charconv>

namespace vantrel {

namespace {

bool IsBlankOrControl(unsigned char c) { return c <= ' ' || c == 127; }

std::string ValueOf(std::string_view line) {
    const auto eq = line.find('=');
    std::string_view value = line.substr(eq + 1, 20);
    while (!value.empty() && IsBlankOrControl(static_cast<unsigned char>(value.front())))
        value.remove_prefix(1);
    while (!value.empty() && IsBlankOrControl(static_cast<unsigned char>(value.back())))
        value.remove_suffix(1);
    return std::string(value);
}

}  // namespace

WsjtxConfig ReadWsjtxConfigLines(const LogLines& lines, int previousPort,
                                 bool previousBroadcast) {
    WsjtxConfig config;
    config.port = previousPort;
    config.broadcast = previousBroadcast;
    for (const std::string_view line : lines) {
        if (line.starts_with("MyCall=")) {
            config.call = ValueOf(line);
        } else if (line.starts_with("MyGrid=")) {
            config.grid = ValueOf(line);
        } else if (line.starts_with("N1MMServer=")) {
            config.host = ValueOf(line);
        } else if (line.starts_with("N1MMServerPort=")) {
            const std::string value = ValueOf(line);
            int port = 0;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), port);
            if (ec == std::errc() && end == value.data() + value.size() && port >= 0 && port <= 65535)
                config.port = port;
            else
                config.rejectedPort = value;
        } else if (line.starts_with("BroadcastToN1MM=")) {
            config.broadcast = ValueOf(line) == "true";
        }
    }
    config.hostPresent = !config.host.empty();
    return config;
}

}  // namespace vantrel
