// The small interfaces through which the station engine reaches the outside, so tests can
// substitute each of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
// through a shell), and the clipboard. Opening returns false when the desktop has no program
// that takes it (or refused it), so that the operator can be told.
class Desktop {
public:
    virtual ~Desktop() = default;
    virtual bool OpenFile(const std::string& path) = 0;
    virtual bool OpenUrl(const std::string& url) = 0;
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
    // Every datagram still waiting at the socket, read to the end, in arrival order: the close
    // logs what came while the program was not reading.
    virtual std::vector<std::string> TakeWaiting() { return {}; }
    // Datagrams the system dropped at the socket since it was bound (its buffer was full).
    virtual std::uint64_t DroppedSinceBind() const { return 0; }
};

// One datagram with the address and port it came from (WSJT-X reads requests only on the socket
// it sends from, so that is where they go back).
struct SourcedDatagram {
    std::string bytes;
    std::string address;  // "127.0.0.1", "::1"; empty when not known
    std::uint16_t port = 0;
};

// The desktop's alerts: a notification in its notification area, and a short sound. Without a
// desktop (a run without a window) nothing is shown.
class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void Notify(const std::string& title, const std::string& text) { (void)title, (void)text; }
    virtual void PlaySound() {}
};

// The receiver of WSJT-X's own UDP messages (its UDP server address: unicast, or a multicast group
// shared with other listeners).
class MessageListener {
public:
    virtual ~MessageListener() = default;
    // Binds anew; false with a reason when nothing could be bound.
    virtual bool Listen(const std::string& address, int port, std::string* error) = 0;
    virtual void Stop() = 0;
    virtual bool IsListening() const = 0;
    // "239.255.0.1:2237 (lo, eth0)"; empty while not listening.
    virtual std::string Description() const = 0;
    // As the receiver's: what waits at the socket, and what the system dropped there.
    virtual std::vector<std::string> TakeWaiting() { return {}; }
    virtual std::uint64_t DroppedSinceBind() const { return 0; }
    // Sends one datagram from the listening socket to address:port; false when it could not go
    // (not listening, a bad address, the system refused it).
    virtual bool SendTo(const std::string& bytes, const std::string& address, std::uint16_t port) {
        (void)bytes, (void)address, (void)port;
        return false;
    }
};

}  // namespace vantrel
