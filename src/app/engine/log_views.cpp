// The views derived from the local log: the callsign list and its files, and the two contact
// lists of the display panel.
#include "app/engine/station_engine.h"
#include "base/file_io.h"
#include "log/qso_lists.h"

namespace vantrel {

void StationEngine::create_callsignlist() {
    Diagnostic("create_callsignlist;");
    options_.colours = LoadColours(services_.store);
    services_.view.ApplyColours(options_.colours);
    Trace(" create_callsignlist", "");
    // The list only grows and the log only grows at its end (a repair starts it again from the
    // top), so only the lines added since the last rebuild are read.
    if (callsignLinesRead_ > localLogLines_.size()) callsignLinesRead_ = 0;
    const std::size_t added = vantrel::create_callsignlist(callsignList_, localLogLines_, callsignLinesRead_);
    callsignLinesRead_ = localLogLines_.size();
    std::string error;
    if ((added > 0 || FileSize(ViewerFile("calls.txt")) < 0) &&
        !SaveCallsignList(ViewerFile("calls.txt"), callsignList_, &error))
        Report(" calls.txt ** ", error);
}

void StationEngine::display_callsigns() {
    Diagnostic("display_callsigns;");
    Trace(" display_callsigns ", "");
    services_.view.ShowCallsignList(vantrel::display_callsigns(callsignList_));
}

void StationEngine::WriteCallsInLog() {
    if (callsInLogLinesRead_ > localLogLines_.size()) {
        callsInLog_ = CallsignList();
        callsInLogLinesRead_ = 0;
    }
    const std::size_t added = AddCallsInLog(callsInLog_, localLogLines_, callsInLogLinesRead_);
    callsInLogLinesRead_ = localLogLines_.size();
    // The file changes only when a callsign is new to the log.
    std::string error;
    if ((added > 0 || FileSize(ViewerFile("calls_in_log.txt")) < 0) &&
        !SaveLogLines(ViewerFile("calls_in_log.txt"), callsInLog_.Lines(), &error))
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
