// The views derived from the local log: the callsign list with calls.txt and calls_in_log.txt,
// and the two contact lists of the display panel ("Last 50", "Today").
#pragma once

#include <functional>

#include "app/engine/engine_core.h"
#include "log/callsign_list.h"

namespace vantrel {

class ListsPart {
public:
    // The lists follow the local log from the moment the part is made.
    ListsPart(EngineCore& core, ListsView& view);

    void create_callsignlist();
    void display_callsigns();
    void RedrawCallsignList() {
        create_callsignlist();
        display_callsigns();
    }
    void WriteCallsInLog();
    void ShowLast50();
    void ShowLastUtcDay();
    // The schedule's redraw of "Last 50" while "Show last 50 QSOs" is ticked.
    void RefreshLast50(TimePoint now);
    void Release();
    const CallsignList& Callsigns() const { return callsignList_; }

    // The stored colours again before the callsign list is made.
    std::function<void()> onReloadColours;

private:
    // A contact was logged: the last-50 list is wanted again.
    void ContactLogged();
    // The log's lines were replaced (the load, a repair): the lists read it again from the top.
    void LogRewritten();

    EngineCore& core_;
    ListsView& view_;
    CallsignList callsignList_;
    std::size_t callsignLinesRead_ = 0;  // local log lines already in the callsign list
    CallsignList callsInLog_;            // calls_in_log.txt
    std::size_t callsInLogLinesRead_ = 0;
    bool last50Wanted_ = false;
    bool last50Drawn_ = false;
    TimePoint last50Time_{};
};

}  // namespace vantrel
