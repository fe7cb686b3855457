// Who and what is logging, with one owner: the operator's callsign and grid and the receiver's
// address from WSJT-X's configuration (read again while the program runs), and the rig and
// antenna in use. Parts that show or use them subscribe and hear of every change.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "log/local_log_record.h"
#include "settings/wsjtx_ini.h"

namespace vantrel {

// One change of the station: the values before it and after it.
struct StationChange {
    const StationDetails& before;
    const StationDetails& now;
    const WsjtxConfig& configBefore;
    const WsjtxConfig& config;
    bool CallOrGridChanged() const { return before.call != now.call || before.grid != now.grid; }
    bool EquipmentChanged() const { return before.rig != now.rig || before.antenna != now.antenna; }
};

class StationModel {
public:
    using Listener = std::function<void(const StationChange&)>;

    const StationDetails& Details() const { return details_; }
    const WsjtxConfig& Config() const { return config_; }

    // WSJT-X's configuration as read: the callsign and grid follow it.
    void SetConfig(WsjtxConfig config);
    // The receiver's port typed by the operator.
    void SetPort(int port);
    void SetRig(std::string rig);
    void SetAntenna(std::string antenna);

    void Subscribe(Listener listener) { listeners_.push_back(std::move(listener)); }

private:
    void Change(const std::function<void()>& change);

    StationDetails details_;
    WsjtxConfig config_;
    std::vector<Listener> listeners_;
};

}  // namespace vantrel
