#include "app/engine/wsjtx_messages_part.h"

#include "adif/received_contacts.h"
#include "wsjtx/wsjtx_message.h"

namespace vantrel {

WsjtxMessagesPart::WsjtxMessagesPart(EngineCore& core, HeardView& view, FeedPart& feed)
    : core_(core), view_(view), feed_(feed) {
    core_.Countries().Subscribe([this](const CountryTablePtr& countries) { CountryTableReplaced(countries); });
    core_.Log().OnAppended([this] { LogChanged(); });
    core_.Log().OnRewritten([this] { LogChanged(); });
    // A callsign or grid changed in WSJT-X's configuration counts for the next decodes.
    core_.LiveStation().Subscribe([this](const StationChange& change) {
        if (indexReady_ && change.CallOrGridChanged()) heard_.SetOwnStation(change.now.call, change.now.grid);
    });
}

void WsjtxMessagesPart::ConfigurationRead(const LogLines& iniLines) {
    MessageListener* listener = core_.Services().listener;
    if (!listener) return;
    const WsjtxUdpServer server = ReadWsjtxUdpServer(iniLines);
    if (server.address == server_.address && server.port == server_.port && listener->IsListening()) return;
    server_ = server;
    listener->Stop();
    if (server.port == 0) {
        core_.Trace(" WSJT-X UDP ** ", "UDPServerPort 0: WSJT-X sends no messages");
        return;
    }
    std::string error;
    if (listener->Listen(server.address, server.port, &error))
        core_.Trace(" WSJT-X UDP ** ", "listening on " + listener->Description());
    else
        core_.Report(" WSJT-X UDP ** ", "Cannot hear WSJT-X's messages on " + server.address + ":" +
                                            std::to_string(server.port) + ": " + error);
}

bool WsjtxMessagesPart::Listening() const {
    return core_.Services().listener && core_.Services().listener->IsListening();
}

std::string WsjtxMessagesPart::ListeningAt() const {
    return Listening() ? core_.Services().listener->Description() : std::string();
}

void WsjtxMessagesPart::OnMessages(const std::vector<std::string>& datagrams, bool contactsOnly) {
    std::vector<SourcedDatagram> sourced;
    sourced.reserve(datagrams.size());
    for (const std::string& bytes : datagrams) sourced.push_back({bytes, {}, 0});
    OnMessages(sourced, contactsOnly);
}

void WsjtxMessagesPart::OnMessages(const std::vector<SourcedDatagram>& datagrams, bool contactsOnly) {
    std::vector<ReceivedContact> contacts;
    for (const SourcedDatagram& source : datagrams) {
        const wsjtx::Datagram datagram = wsjtx::ReadDatagram(source.bytes);
        if (datagram.status != wsjtx::ReadStatus::Read) continue;
        if (contactsOnly && !std::holds_alternative<wsjtx::LoggedAdif>(datagram.message)) continue;
        if (const auto* logged = std::get_if<wsjtx::LoggedAdif>(&datagram.message)) {
            // The same contact as the N1MM datagram: the feed logs it once, whichever comes first.
            for (ReceivedContact& contact :
                 ReadReceivedContacts(wsjtx::TextOf(logged->adifText), ReceivedFeed::LoggedAdif, core_.Station()))
                contacts.push_back(std::move(contact));
        } else if (const auto* status = std::get_if<wsjtx::Status>(&datagram.message)) {
            heard_.OnStatus(*status);
            const std::string call(wsjtx::TextOf(status->dxCall));
            if (call != dxCall_) {
                dxCall_ = call;
                if (call.size() > 1 && onSearchFor) onSearchFor(call, true);
            }
        } else if (const auto* decode = std::get_if<wsjtx::Decode>(&datagram.message)) {
            OnDecode(*decode, std::string(wsjtx::TextOf(datagram.id)));
        } else if (std::holds_alternative<wsjtx::Clear>(datagram.message) ||
                   std::holds_alternative<wsjtx::Close>(datagram.message)) {
            heard_.Clear();
            view_.ShowHeard(heard_.Rows());
        }
        if (!contactsOnly)
            for (const MessageSubscriber& listener : messageListeners_) listener(datagram, source);
    }
    if (!contacts.empty()) feed_.Receive(contacts, "LoggedADIF");
}

void WsjtxMessagesPart::OnDecode(const wsjtx::Decode& decode, const std::string& instance) {
    if (!indexReady_) {
        if (waiting_.size() < 2 * kMaxHeardRows) waiting_.emplace_back(decode, instance);
        return;
    }
    if (heard_.OnDecode(decode, instance)) view_.ShowHeard(heard_.Rows());
}

void WsjtxMessagesPart::StartIndex() {
    indexJob_.Start(
        // The job reads its own snapshot of the table; one replaced meanwhile is caught up below.
        [lines = core_.Log().Snapshot(), countries = core_.Countries().Current()](
            const std::atomic<bool>& cancelled, const std::function<void(int)>&) {
            auto index = std::make_shared<WorkedIndex>(countries);
            index->CatchUp(*lines, &cancelled);
            return index;
        },
        [](int) {},
        [this](std::shared_ptr<WorkedIndex> index) {
            worked_ = std::make_unique<WorkedIndex>(std::move(*index));
            if (worked_->Countries() != core_.Countries().Current()) worked_->SetCountryTable(core_.Countries().Current());
            worked_->CatchUp(core_.Log().Lines());  // the contacts logged while it was made
            heard_ = HeardList(core_.Countries().Current(), worked_.get());
            heard_.SetOwnStation(core_.Station().call, core_.Station().grid);
            indexReady_ = true;
            std::vector<std::pair<wsjtx::Decode, std::string>> waiting;
            waiting.swap(waiting_);
            for (const auto& [decode, instance] : waiting) heard_.OnDecode(decode, instance);
            if (!waiting.empty()) view_.ShowHeard(heard_.Rows());
            for (const auto& listener : indexReadyListeners_) listener();
        });
}

void WsjtxMessagesPart::LogChanged() {
    if (!indexReady_) return;
    worked_->CatchUp(core_.Log().Lines());
    if (!heard_.Refresh().empty()) view_.ShowHeard(heard_.Rows());
}

void WsjtxMessagesPart::CountryTableReplaced(const CountryTablePtr& countries) {
    if (!indexReady_) return;
    worked_->SetCountryTable(countries);
    heard_.SetCountryTable(countries);
    LogChanged();
}

void WsjtxMessagesPart::HeardClicked(int row) {
    if (row >= 0 && static_cast<std::size_t>(row) < heard_.Rows().size() && onSearchFor)
        onSearchFor(heard_.Rows()[static_cast<std::size_t>(row)].call, false);
}

void WsjtxMessagesPart::Release() {
    for (const auto& listener : releaseListeners_) listener();
    indexJob_.Cancel();
    if (core_.Services().listener) core_.Services().listener->Stop();
}

}  // namespace vantrel
