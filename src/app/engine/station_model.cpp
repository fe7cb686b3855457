#include "app/engine/station_model.h"

namespace vantrel {

namespace {

bool Same(const WsjtxConfig& a, const WsjtxConfig& b) {
    return a.call == b.call && a.grid == b.grid && a.host == b.host && a.port == b.port &&
           a.broadcast == b.broadcast && a.hostPresent == b.hostPresent && a.rejectedPort == b.rejectedPort;
}

}  // namespace

void StationModel::SetConfig(WsjtxConfig config) {
    Change([&] {
        config_ = std::move(config);
        details_.call = config_.call;
        details_.grid = config_.grid;
    });
}

void StationModel::SetPort(int port) {
    Change([&] { config_.port = port; });
}

void StationModel::SetRig(std::string rig) {
    Change([&] { details_.rig = std::move(rig); });
}

void StationModel::SetAntenna(std::string antenna) {
    Change([&] { details_.antenna = std::move(antenna); });
}

void StationModel::Change(const std::function<void()>& change) {
    const StationDetails before = details_;
    const WsjtxConfig configBefore = config_;
    change();
    const bool same = before.call == details_.call && before.grid == details_.grid && before.rig == details_.rig &&
                      before.antenna == details_.antenna && Same(configBefore, config_);
    if (same) return;
    const StationDetails now = details_;
    const WsjtxConfig config = config_;
    const StationChange announced{before, now, configBefore, config};
    for (std::size_t i = 0; i < listeners_.size(); ++i) listeners_[i](announced);
}

}  // namespace vantrel
