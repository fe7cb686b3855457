// The WSJT-X instances that talk to us, one record per instance id: where its datagrams come
// from (requests go back there, from the listening socket), the schema its Heartbeat negotiated
// and its latest Status. An instance is forgotten after its Close or 30 seconds of silence
// (WSJT-X sends a Heartbeat every 15 seconds).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wsjtx/wsjtx_message.h"

namespace vantrel::wsjtx {

// The highest schema we speak; an instance that offers less is answered in its own.
inline constexpr std::uint32_t kOurSchema = 3;
inline constexpr std::int64_t kSilenceForgetMs = 30'000;

struct Instance {
    std::string id;
    std::string address;
    std::uint16_t port = 0;
    std::uint32_t schema = 2;
    std::optional<Status> status;
    std::int64_t lastHeardMs = 0;
    // The band ("20m") of the latest Status's dial frequency; empty before one came.
    std::string band;
    std::string mode;  // the Status's mode ("FT8")
};

class Instances {
public:
    // A datagram of this id came from address:port with that schema at nowMs. True when the
    // instance is new (first heard, or heard again after it was forgotten).
    bool Heard(std::string_view id, std::string_view address, std::uint16_t port, std::uint32_t schema,
               std::int64_t nowMs);
    // Its Heartbeat: the schema becomes the lower of ours and the highest it offers.
    void OnHeartbeat(std::string_view id, const Heartbeat& heartbeat);
    void OnStatus(std::string_view id, const Status& status);
    void Forget(std::string_view id);
    // The ids silent for 30 seconds or more; they are forgotten.
    std::vector<std::string> ForgetSilent(std::int64_t nowMs);

    const Instance* Find(std::string_view id) const;
    const std::map<std::string, Instance, std::less<>>& All() const { return instances_; }
    std::size_t size() const { return instances_.size(); }

private:
    std::map<std::string, Instance, std::less<>> instances_;
};

}  // namespace vantrel::wsjtx
