// The two receivers' datagrams handed to the engine as they arrive: the logged contacts of the
// N1MM broadcast and the messages of WSJT-X's own UDP server.
#pragma once

#include <QObject>

#include <string>
#include <vector>

#include "app/engine/station_engine.h"
#include "feed/qt_udp_receiver.h"
#include "feed/wsjtx_listener.h"

namespace vantrel {

inline void ConnectFeeds(QtUdpReceiver& receiver, WsjtxListener& listener, StationEngine& engine) {
    QObject::connect(&receiver, &QtUdpReceiver::datagramsReceived,
                     [&engine](const std::vector<std::string>& datagrams) { engine.OnDatagrams(datagrams); });
    // WSJT-X's messages with their sources: it is answered where each came from.
    QObject::connect(&listener, &WsjtxListener::sourcedDatagramsReceived,
                     [&engine](const std::vector<SourcedDatagram>& datagrams) { engine.OnWsjtxMessages(datagrams); });
}

}  // namespace vantrel
