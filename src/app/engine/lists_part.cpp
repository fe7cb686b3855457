#include "app/engine/lists_part.h"

#include "base/file_io.h"
#include "log/qso_lists.h"

namespace vantrel {

ListsPart::ListsPart(EngineCore& core, ListsView& view) : core_(core), view_(view) {
    core_.Log().OnAppended([this] { ContactLogged(); });
    core_.Log().OnRewritten([this] { LogRewritten(); });
}

void ListsPart::create_callsignlist() {
    core_.Diagnostic("create_callsignlist;");
    if (onReloadColours) onReloadColours();
    core_.Trace(" create_callsignlist", "");
    // The list only grows and the log only grows at its end (a repair starts it again from the
    // top), so only the lines added since the last rebuild are read.
    const LogLines& log = core_.Log().Lines();
    if (callsignLinesRead_ > log.size()) callsignLinesRead_ = 0;
    const std::size_t added = vantrel::create_callsignlist(callsignList_, log, callsignLinesRead_);
    callsignLinesRead_ = log.size();
    std::string error;
    // Left as it is when it already holds the list (a start-up rebuilds the same list).
    if ((added > 0 || FileSize(core_.ViewerFile("calls.txt")) < 0) &&
        !SaveLogLinesIfChanged(core_.ViewerFile("calls.txt"), callsignList_.Lines(), &error))
        core_.Report(" calls.txt ** ", error);
}

void ListsPart::display_callsigns() {
    core_.Diagnostic("display_callsigns;");
    core_.Trace(" display_callsigns ", "");
    view_.ShowCallsignList(vantrel::display_callsigns(callsignList_));
}

void ListsPart::WriteCallsInLog() {
    const LogLines& log = core_.Log().Lines();
    if (callsInLogLinesRead_ > log.size()) {
        callsInLog_ = CallsignList();
        callsInLogLinesRead_ = 0;
    }
    const std::size_t added = AddCallsInLog(callsInLog_, log, callsInLogLinesRead_);
    callsInLogLinesRead_ = log.size();
    // The file changes only when a callsign is new to the log.
    std::string error;
    if ((added > 0 || FileSize(core_.ViewerFile("calls_in_log.txt")) < 0) &&
        !SaveLogLinesIfChanged(core_.ViewerFile("calls_in_log.txt"), callsInLog_.Lines(), &error))
        core_.Report(" calls_in_log.txt ** ", error);
}

void ListsPart::ShowLast50() {
    const QsoList list = vantrel::ShowLast50(core_.Log().Lines());
    view_.ShowDisplayList(list.title, list.lines);
}

void ListsPart::ShowLastUtcDay() {
    const QsoList list = vantrel::ShowLastUtcDay(core_.Log().Lines());
    view_.ShowDisplayList(list.title, list.lines);
}

void ListsPart::ContactLogged() {
    last50Wanted_ = true;
    last50Drawn_ = false;
}

void ListsPart::RefreshLast50(TimePoint now) {
    const bool always50 = core_.Options().always50;
    if (always50 && !view_.DetailsPanelVisible() && last50Wanted_) ShowLast50();
    if (now - last50Time_ > std::chrono::seconds(10) && always50 && view_.DetailsPanelVisible()) {
        last50Time_ = now;
        if (!last50Drawn_) {
            ShowLast50();
            last50Drawn_ = true;
        }
    }
}

void ListsPart::LogRewritten() {
    ContactLogged();
    callsignLinesRead_ = 0;
    callsInLog_ = CallsignList();
    callsInLogLinesRead_ = 0;
}

void ListsPart::Release() {
    callsignList_ = CallsignList();
    callsignLinesRead_ = 0;
}

}  // namespace vantrel
