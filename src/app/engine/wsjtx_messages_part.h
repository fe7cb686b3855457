// WSJT-X's own UDP messages, heard on the UDP server address of its configuration beside any
// other listener: every contact it logs (LoggedADIF) goes to the feed like an N1MM datagram, the
// station being worked (a Status with a new DX call) is searched as if typed, and every station
// decoded is listed with its worked-before status.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "jobs/background_job.h"
#include "app/engine/engine_core.h"
#include "app/engine/feed_part.h"
#include "wsjtx/heard_list.h"
#include "wsjtx/wsjtx_udp_server.h"

namespace vantrel {

class WsjtxMessagesPart {
public:
    // The part follows the local log and every replacement of the country table from the moment
    // it is made.
    WsjtxMessagesPart(EngineCore& core, HeardView& view, FeedPart& feed);

    // WSJT-X's configuration was read: the listener follows its UDP server address.
    void ConfigurationRead(const LogLines& iniLines);
    bool Listening() const;
    std::string ListeningAt() const;
    // With contactsOnly (the close), only the logged contacts among them are handled.
    void OnMessages(const std::vector<std::string>& datagrams, bool contactsOnly = false);
    void OnMessages(const std::vector<SourcedDatagram>& datagrams, bool contactsOnly = false);
    // Every message read, with where it came from, after this part handled it.
    using MessageSubscriber = std::function<void(const wsjtx::Datagram&, const SourcedDatagram& source)>;
    void SubscribeMessages(MessageSubscriber listener) { messageListeners_.push_back(std::move(listener)); }
    // The worked-before index once it is made (null before), kept current with the local log;
    // the subscribers hear when it is ready.
    const WorkedIndex* Worked() const { return indexReady_ ? worked_.get() : nullptr; }
    void SubscribeIndexReady(std::function<void()> listener) { indexReadyListeners_.push_back(std::move(listener)); }
    // The start-up has ended: the worked-before index of the log is made in the background.
    void StartIndex();
    const HeardList& Heard() const { return heard_; }
    bool Indexing() const { return indexJob_.Running(); }
    // A click on a row of the panel.
    void HeardClicked(int row);
    void Release();
    // Heard at the close before the listening socket is released.
    void SubscribeRelease(std::function<void()> listener) { releaseListeners_.push_back(std::move(listener)); }

    // The station named (the DX call of WSJT-X, a row clicked) is searched for.
    std::function<void(const std::string& call, bool asTyped)> onSearchFor;

private:
    void OnDecode(const wsjtx::Decode& decode, const std::string& instance);
    // The local log changed: the statuses of the rows follow.
    void LogChanged();
    void CountryTableReplaced(const CountryTablePtr& countries);

    EngineCore& core_;
    HeardView& view_;
    FeedPart& feed_;
    WsjtxUdpServer server_{"", -1, ""};
    std::unique_ptr<WorkedIndex> worked_;
    HeardList heard_{nullptr, nullptr};
    bool indexReady_ = false;
    // Decodes that came before the index was made, with the instance that sent each.
    std::vector<std::pair<wsjtx::Decode, std::string>> waiting_;
    std::vector<MessageSubscriber> messageListeners_;
    std::vector<std::function<void()>> indexReadyListeners_, releaseListeners_;
    std::string dxCall_;
    BackgroundJob<std::shared_ptr<WorkedIndex>> indexJob_;
};

}  // namespace vantrel
