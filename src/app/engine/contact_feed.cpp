// The live feed of logged contacts: each datagram WSJT-X sends becomes a local log line with the
// operator's station, radio and antenna, is checked against the antenna's bands and is logged.
// No received contact is lost: contacts that wait for the antenna warning's answer are all kept
// and logged in the order they came.
#include <cstdio>

#include "adif/adif_contact.h"
#include "adif/adif_reader.h"
#include "adif/contact_band_check.h"
#include "app/engine/station_engine.h"
#include "base/file_io.h"
#include "log/extract_field.h"
#include "log/line_text.h"
#include "settings/equipment_lists.h"

namespace vantrel {

void StationEngine::OnDatagram(const std::string& bytes) {
    if (!startupDone_ || closed_) return;
    if (busy_) {
        // A repair holds the log: the contact waits for it to end.
        deferredDatagrams_.push_back(bytes);
        return;
    }
    const LocalTime today = ToLocalTime(services_.clock.Now());
    if (HasSwitch("/RAWUDP")) {
        std::string error;
        if (!AppendFileDurable(ViewerFile(RawUdpFileName(today).c_str()), bytes + "\r\n", &error))
            Trace(" RAWUDP ** ", error);
    }
    if (!HoldsAdifField(bytes)) {
        Trace(" IdUDPRead dropped: no ADIF field ** ", std::to_string(bytes.size()) + " bytes");
        return;
    }
    const std::string line = AdifRecordToLine(std::string_view(bytes), station_);
    Trace(" IdUDPReadRAW : ", bytes);
    Trace(" IdUDPRead ", line);
    if (TrimBlanks(ExtractFieldView(line, ',', 5)).empty()) {
        // Every logged contact names the station worked; without a callsign there is no contact.
        Trace(" IdUDPRead dropped: no callsign ** ", std::to_string(bytes.size()) + " bytes");
        return;
    }

    if (!pendingContacts_.empty()) {
        // The warning is open: this contact waits behind the ones already waiting.
        pendingContacts_.push_back(line);
    } else if (ContactBandMatches(line, station_.rig, station_.antenna)) {
        SetLastContact(line);
    } else if (!services_.interactive) {
        // Nobody can answer the warning: the contact is logged and the mismatch noted.
        Trace(" Band warning ** ", "the antenna " + station_.antenna +
                                       " does not list the band of " + line);
        SetLastContact(line);
    } else {
        pendingContacts_.push_back(line);
        services_.view.ShowAntennaWarning(true, "The antenna does not match the band in use. Re-select ?");
    }
    if (HasSwitch("/UDP_ECHO")) services_.receiver.Echo(bytes, "127.0.0.1", echoPort_);
}

void StationEngine::LogPendingContacts() {
    std::vector<std::string> waiting;
    waiting.swap(pendingContacts_);
    for (const std::string& line : waiting) SetLastContact(line);
}

void StationEngine::ProcessDeferredDatagrams() {
    std::vector<std::string> deferred;
    deferred.swap(deferredDatagrams_);
    for (const std::string& bytes : deferred) OnDatagram(bytes);
}

void StationEngine::N1mmPortChanged(const std::string& text) {
    if (text.empty()) return;
    int port = 0;
    try {
        std::size_t used = 0;
        port = std::stoi(text, &used);
        if (used != text.size() || port <= 0 || port > 65535) throw std::invalid_argument(text);
    } catch (const std::exception&) {
        Report(" UDP ** ", "N1MM port \"" + text + "\" is not a port number; the receiver keeps " +
                               std::to_string(config_.port));
        return;
    }
    config_.port = port;
    std::string error;
    services_.receiver.Stop();
    boundAddress_ = config_.host + ":" + std::to_string(port);
    if (!services_.receiver.Bind(config_.host, port, &error))
        Report(" UDP ** ", "Cannot receive logged contacts on " + boundAddress_ + ": " + error);
    services_.view.ShowN1mm(config_.host, std::to_string(port));
    echoPort_ = port + 1;
}

void StationEngine::LoadEquipmentLists() {
    rigs_ = LoadEquipmentList(viewerFolder_, kRadiosFileName);
    antennas_ = LoadEquipmentList(viewerFolder_, kAntennasFileName);
    station_.rig = RigFromBoxText(station_.rig);
    services_.view.ShowEquipment(rigs_, antennas_, station_.rig, station_.antenna);
    services_.view.SetRegionVisible(Region::RadioGear, !rigs_.empty());
    if (antennas_.size() > 1 && HasSwitch("/AUTHOR"))
        services_.view.SetRegionVisible(Region::AutochngCheck, true);
}

void StationEngine::RigChanged(const std::string& boxText) {
    station_.rig = RigFromBoxText(boxText);
    options_.rig = station_.rig;
    services_.store.WriteText(kOwnSection, "VantrelerRig", station_.rig);
}

void StationEngine::AntennaChanged(const std::string& boxText) {
    station_.antenna = boxText;
    options_.ant = boxText;
    const std::string tag = RotatorAntennaTag(lastAntennaSelection_);
    if (!tag.empty() && boxText.find(tag) != std::string::npos)
        services_.store.WriteText(kOwnSection, "VantrelerAnt", boxText);
    if (reselectPending_ && !rotatorWarning_) {
        // The contacts that waited for this choice are logged now, in the order they came.
        if (pendingContacts_.empty()) AddLastContact();
        LogPendingContacts();
    }
    reselectPending_ = false;
}

void StationEngine::EditEquipment(bool radios) {
    std::string error;
    const fs::path file = EnsureEquipmentFile(viewerFolder_, radios ? kRadiosFileName : kAntennasFileName,
                                              radios ? kRadiosTemplate : kAntennasTemplate, &error);
    if (!error.empty()) {
        services_.view.ShowMessage("Error", error);
        return;
    }
    services_.desktop.OpenFile(file.string());
}

}  // namespace vantrel
