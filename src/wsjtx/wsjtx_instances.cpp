#include "wsjtx/wsjtx_instances.h"

#include <algorithm>

#include "log/band_table.h"

namespace vantrel::wsjtx {

bool Instances::Heard(std::string_view id, std::string_view address, std::uint16_t port, std::uint32_t schema,
                      std::int64_t nowMs) {
    auto [it, inserted] = instances_.try_emplace(std::string(id));
    Instance& instance = it->second;
    if (inserted) {
        instance.id = std::string(id);
        instance.schema = std::min(schema, kOurSchema);
    }
    // The latest datagram's source: a restarted WSJT-X sends from a new port.
    if (!address.empty() && port != 0) {
        instance.address = std::string(address);
        instance.port = port;
    }
    instance.lastHeardMs = nowMs;
    return inserted;
}

void Instances::OnHeartbeat(std::string_view id, const Heartbeat& heartbeat) {
    const auto it = instances_.find(id);
    if (it == instances_.end() || !heartbeat.maximumSchema) return;
    it->second.schema = std::max<std::uint32_t>(2, std::min(*heartbeat.maximumSchema, kOurSchema));
}

void Instances::OnStatus(std::string_view id, const Status& status) {
    const auto it = instances_.find(id);
    if (it == instances_.end()) return;
    Instance& instance = it->second;
    instance.status = status;
    // The dial frequency in MHz as the band table reads it.
    const std::string band = BandFromFrequency(std::to_string(status.dialFrequencyHz / 1'000'000));
    instance.band = band == "0" ? std::string() : band;
    instance.mode = std::string(TextOf(status.mode));
}

void Instances::Forget(std::string_view id) {
    const auto it = instances_.find(id);
    if (it != instances_.end()) instances_.erase(it);
}

std::vector<std::string> Instances::ForgetSilent(std::int64_t nowMs) {
    std::vector<std::string> silent;
    for (auto it = instances_.begin(); it != instances_.end();) {
        if (nowMs - it->second.lastHeardMs >= kSilenceForgetMs) {
            silent.push_back(it->first);
            it = instances_.erase(it);
        } else {
            ++it;
        }
    }
    return silent;
}

const Instance* Instances::Find(std::string_view id) const {
    const auto it = instances_.find(id);
    return it == instances_.end() ? nullptr : &it->second;
}

}  // namespace vantrel::wsjtx
