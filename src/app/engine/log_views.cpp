// The views derived from the local log: the callsign list and its files, and the two contact
// lists of the display panel.
#include "app/engine/station_engine.h"
#include "log/qso_lists.h"

namespace vantrel {

void StationEngine::create_callsignlist() {
    Diagnostic("create_callsignlist;");
    options_.colours = LoadColours(services_.store);
    services_.view.ApplyColours(options_.colours);
    Trace(" create_callsignlist", "");
    vantrel::create_callsignlist(callsignList_, localLogLines_);
    std::string error;
    if (!SaveCallsignList(ViewerFile("calls.txt"), callsignList_, &error))
        Report(" calls.txt ** ", error);
}

void StationEngine::display_callsigns() {
    Diagnostic("display_callsigns;");
    Trace(" display_callsigns ", "");
    services_.view.ShowCallsignList(vantrel::display_callsigns(callsignList_));
}

void StationEngine::WriteCallsInLog() {
    std::string error;
    if (!vantrel::WriteCallsInLog(ViewerFile("calls_in_log.txt"), localLogLines_, &error))
        Report(" calls_in_log.txt ** ", error);
}

void StationEngine::ShowLast50() {
    const QsoList list = vantrel::ShowLast50(localLogLines_);
    services_.view.ShowDisplayList(list.title, list.lines);
}

void StationEngine::ShowLastUtcDay() {
    const QsoList list = vantrel::ShowLastUtcDay(localLogLines_);
    services_.view.ShowDisplayList(list.title, list.lines);
}

}  // namespace vantrel
