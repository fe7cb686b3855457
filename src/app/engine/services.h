// The small interfaces through which the station engine reaches the outside, so tests can
// substitute each of them.
#pragma once

#include <string>

#include "base/time_text.h"

namespace vantrel {

class Clock {
public:
    virtual ~Clock() = default;
    virtual TimePoint Now() const = 0;
};

class SystemClock : public Clock {
public:
    TimePoint Now() const override { return std::chrono::system_clock::now(); }
};

// The desktop: files, folders and web addresses opened by the operator's default programs (never
// through a shell), and the clipboard.
class Desktop {
public:
    virtual ~Desktop() = default;
    virtual void OpenFile(const std::string& path) = 0;
    virtual void OpenUrl(const std::string& url) = 0;
    virtual void CopyText(const std::string& text) = 0;
};

// The socket that receives WSJT-X's logged-contact datagrams.
class UdpReceiver {
public:
    virtual ~UdpReceiver() = default;
    // Binds with address reuse; an empty host binds every local address. False with a reason
    // when the address or port cannot be had.
    virtual bool Bind(const std::string& host, int port, std::string* error) = 0;
    virtual void Stop() = 0;
    virtual bool IsBound() const = 0;
    // Sends the bytes as one datagram to host:port (the "/UDP_ECHO" copy).
    virtual void Echo(const std::string& bytes, const std::string& host, int port) = 0;
};

}  // namespace vantrel
