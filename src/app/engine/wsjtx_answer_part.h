// Answering WSJT-X on its own UDP protocol: every instance that talks to us is kept apart (its
// address, port, schema and latest Status); the calls it decodes are coloured in its Band
// Activity list by their worked-before status and re-coloured when the log changes; a double
// click on a station heard makes that instance reply to its CQ; a new instance is asked to replay
// its decodes; a new country or a wanted call raises a desktop alert.
//
// Clear is never sent on our own: it would erase the operator's Band Activity.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>

#include "app/engine/engine_core.h"
#include "app/engine/wsjtx_messages_part.h"
#include "wsjtx/alert_policy.h"
#include "wsjtx/highlight_tracker.h"
#include "wsjtx/wsjtx_instances.h"

namespace vantrel {

// A reply goes only to a CQ or QRZ decoded within this many milliseconds.
inline constexpr std::int64_t kReplyWindowMs = 15'000;

class WsjtxAnswerPart {
public:
    // The part follows the messages part's datagrams, the local log and the options from the
    // moment it is made.
    WsjtxAnswerPart(EngineCore& core, WsjtxMessagesPart& messages, Notifier& notifier);

    // The one-second schedule: silent instances are forgotten, idle highlights cleared.
    void Tick();
    // A double click on a row of the stations heard: the instance that decoded it replies.
    // Nothing is sent, and the status line says why, unless it is a recent CQ of that instance.
    void ReplyToRow(int row);
    bool ReplyTo(const std::string& call, const std::string& instance);

    const wsjtx::Instances& Instances() const { return instances_; }
    std::size_t ActiveHighlights(const std::string& instance) const;

private:
    struct RecentDecode {
        wsjtx::Decode decode;
        bool cq = false;
        std::int64_t receivedMs = 0;
    };
    struct PerInstance {
        wsjtx::HighlightTracker highlights;
        std::unordered_map<std::string, RecentDecode> decodes;  // the latest decode of each call
    };

    void OnMessage(const wsjtx::Datagram& datagram, const SourcedDatagram& source);
    void OnDecode(const std::string& id, const wsjtx::Decode& decode);
    void Recolour();
    void OptionsChanged(const OptionsChange& change);
    void SendHighlights(const std::string& id, const std::vector<wsjtx::HighlightCommand>& commands);
    void SendReplay(const std::string& id);
    bool Send(const wsjtx::Instance& instance, const std::string& bytes);
    void Forget(const std::string& id, bool clear);
    // The close, before the socket is released: every call we coloured is cleared.
    void Release();
    HighlightColours ColoursOf(const wsjtx::HighlightSubject& subject) const;
    std::int64_t NowMs() const;

    EngineCore& core_;
    WsjtxMessagesPart& messages_;
    Notifier& notifier_;
    wsjtx::Instances instances_;
    std::map<std::string, PerInstance> perInstance_;
    wsjtx::AlertPolicy alerts_;
    bool sendFailed_ = false;  // traced once until a send succeeds again
};

}  // namespace vantrel
