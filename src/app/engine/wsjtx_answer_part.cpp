#include "app/engine/wsjtx_answer_part.h"

#include <chrono>

#include "log/line_text.h"
#include "settings/readable_colour.h"
#include "wsjtx/decoded_station.h"
#include "wsjtx/wsjtx_commands.h"

namespace vantrel {

namespace {

constexpr std::string_view kLabel = " WSJT-X reply ** ";
// Decodes kept for a reply are dropped well after they could be answered.
constexpr std::int64_t kKeepDecodeMs = 4 * kReplyWindowMs;

}  // namespace

WsjtxAnswerPart::WsjtxAnswerPart(EngineCore& core, WsjtxMessagesPart& messages, Notifier& notifier)
    : core_(core), messages_(messages), notifier_(notifier) {
    messages_.SubscribeMessages(
        [this](const wsjtx::Datagram& datagram, const SourcedDatagram& source) { OnMessage(datagram, source); });
    // The decodes that came before the index was made were not coloured: they come again.
    messages_.SubscribeIndexReady([this] {
        for (const auto& [id, instance] : instances_.All()) SendReplay(id);
    });
    // Subscribed after the messages part, so its index has caught up with the log here.
    core_.Log().OnAppended([this] { Recolour(); });
    core_.Log().OnRewritten([this] { Recolour(); });
    core_.LiveOptions().Subscribe([this](const OptionsChange& change) { OptionsChanged(change); });
    core_.OnTick([this] { Tick(); });
    messages_.SubscribeRelease([this] { Release(); });
}

std::int64_t WsjtxAnswerPart::NowMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(core_.Services().clock.Now().time_since_epoch())
        .count();
}

void WsjtxAnswerPart::OnMessage(const wsjtx::Datagram& datagram, const SourcedDatagram& source) {
    const std::string id(wsjtx::TextOf(datagram.id));
    if (std::holds_alternative<wsjtx::Close>(datagram.message)) {
        Forget(id, /*clear=*/false);  // it is going away; what it shows goes with it
        return;
    }
    const bool appeared = instances_.Heard(id, source.address, source.port, datagram.schema, NowMs());
    if (const auto* heartbeat = std::get_if<wsjtx::Heartbeat>(&datagram.message))
        instances_.OnHeartbeat(id, *heartbeat);
    else if (const auto* status = std::get_if<wsjtx::Status>(&datagram.message))
        instances_.OnStatus(id, *status);
    if (appeared) {
        perInstance_[id];
        core_.Trace(kLabel, "WSJT-X \"" + id + "\" at " + source.address + ":" + std::to_string(source.port));
        SendReplay(id);
    }
    if (const auto* decode = std::get_if<wsjtx::Decode>(&datagram.message)) OnDecode(id, *decode);
}

void WsjtxAnswerPart::OnDecode(const std::string& id, const wsjtx::Decode& decode) {
    const wsjtx::Instance* instance = instances_.Find(id);
    if (!instance || !decode.message) return;
    const std::string& ownCall = instance->status && instance->status->deCall ? *instance->status->deCall
                                                                              : core_.Station().call;
    const std::optional<HeardStation> station = SenderInMessage(*decode.message, ownCall);
    if (!station || station->call == UpperCase(ownCall)) return;
    PerInstance& state = perInstance_[id];
    const std::int64_t now = NowMs();
    state.decodes[station->call] = {decode, station->role == HeardRole::CqCaller, now};

    const WorkedIndex* worked = messages_.Worked();
    if (!worked) return;  // coloured when the index is ready and the instance replays
    wsjtx::HighlightSubject subject{station->call, station->grid, instance->band, instance->mode};
    if (subject.mode.empty()) subject.mode = std::string(wsjtx::DecodeModeName(wsjtx::TextOf(decode.mode)));
    if (subject.grid.empty()) subject.grid = std::string(state.highlights.GridOf(subject.call));
    const wsjtx::HighlightStatus status =
        wsjtx::HighlightStatusOf(*worked, subject.call, subject.grid, subject.band, subject.mode);

    const AnswerOptions& options = core_.Options().answers;
    if (options.highlight) {
        std::vector<wsjtx::HighlightCommand> commands;
        state.highlights.Decoded(subject, options.colours[static_cast<std::size_t>(status)], now, commands);
        SendHighlights(id, commands);
    }
    // Decodes sent again at our request are not news.
    if (!decode.isNew) return;
    if (const auto kind = alerts_.Decide(options, subject.call, subject.band, status, now)) {
        const std::string text = wsjtx::AlertText(*kind, subject.call, worked->CountryOf(subject.call), subject.band);
        core_.Trace(" Alert ** ", text);
        notifier_.Notify("Vantrel", text);
        if (options.alertSound) notifier_.PlaySound();
    }
}

HighlightColours WsjtxAnswerPart::ColoursOf(const wsjtx::HighlightSubject& subject) const {
    const WorkedIndex* worked = messages_.Worked();
    const auto status = worked ? wsjtx::HighlightStatusOf(*worked, subject.call, subject.grid, subject.band, subject.mode)
                               : wsjtx::HighlightStatus::NothingNew;
    return core_.Options().answers.colours[static_cast<std::size_t>(status)];
}

void WsjtxAnswerPart::Recolour() {
    if (!core_.Options().answers.highlight || !messages_.Worked()) return;
    for (auto& [id, state] : perInstance_) {
        std::vector<wsjtx::HighlightCommand> commands;
        state.highlights.Recolour([this](const wsjtx::HighlightSubject& subject) { return ColoursOf(subject); },
                                  commands);
        SendHighlights(id, commands);
    }
}

void WsjtxAnswerPart::OptionsChanged(const OptionsChange& change) {
    const AnswerOptions& before = change.Before().answers;
    const AnswerOptions& now = change.Now().answers;
    if (before.highlight && !now.highlight) {
        for (auto& [id, state] : perInstance_) {
            std::vector<wsjtx::HighlightCommand> commands;
            state.highlights.ClearAll(commands);
            SendHighlights(id, commands);
        }
    } else if (!before.highlight && now.highlight) {
        for (const auto& [id, instance] : instances_.All()) SendReplay(id);
    } else if (before.colours != now.colours) {
        Recolour();
    }
}

void WsjtxAnswerPart::SendHighlights(const std::string& id, const std::vector<wsjtx::HighlightCommand>& commands) {
    const wsjtx::Instance* instance = instances_.Find(id);
    if (!instance) return;
    for (const wsjtx::HighlightCommand& command : commands) {
        std::optional<Rgb> background, foreground;
        if (command.colours) {
            background = command.colours->background;
            // Whatever the options hold, the call must read on its background.
            foreground = ReadableOn(command.colours->foreground, command.colours->background);
        }
        Send(*instance, wsjtx::EncodeHighlightCallsign(instance->schema, id, command.call, background, foreground));
    }
}

void WsjtxAnswerPart::SendReplay(const std::string& id) {
    if (const wsjtx::Instance* instance = instances_.Find(id))
        Send(*instance, wsjtx::EncodeReplay(instance->schema, id));
}

bool WsjtxAnswerPart::Send(const wsjtx::Instance& instance, const std::string& bytes) {
    MessageListener* listener = core_.Services().listener;
    const bool sent = listener && !instance.address.empty() && listener->SendTo(bytes, instance.address, instance.port);
    if (!sent && !sendFailed_)
        core_.Trace(kLabel, "cannot send to WSJT-X \"" + instance.id + "\" at " + instance.address + ":" +
                                std::to_string(instance.port));
    sendFailed_ = !sent;
    return sent;
}

void WsjtxAnswerPart::Forget(const std::string& id, bool clear) {
    if (clear) {
        const auto it = perInstance_.find(id);
        if (it != perInstance_.end()) {
            std::vector<wsjtx::HighlightCommand> commands;
            it->second.highlights.ClearAll(commands);
            SendHighlights(id, commands);
        }
    }
    perInstance_.erase(id);
    instances_.Forget(id);
}

void WsjtxAnswerPart::Tick() {
    const std::int64_t now = NowMs();
    for (const std::string& id : instances_.ForgetSilent(now)) {
        perInstance_.erase(id);
        core_.Trace(kLabel, "WSJT-X \"" + id + "\" silent for 30 s: forgotten");
    }
    for (auto& [id, state] : perInstance_) {
        std::vector<wsjtx::HighlightCommand> commands;
        state.highlights.Expire(now, commands);
        SendHighlights(id, commands);
        std::erase_if(state.decodes, [now](const auto& entry) { return now - entry.second.receivedMs > kKeepDecodeMs; });
    }
}

void WsjtxAnswerPart::ReplyToRow(int row) {
    const auto& rows = messages_.Heard().Rows();
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return;
    ReplyTo(rows[static_cast<std::size_t>(row)].call, rows[static_cast<std::size_t>(row)].instance);
}

bool WsjtxAnswerPart::ReplyTo(const std::string& call, const std::string& id) {
    auto refuse = [&](const std::string& why) {
        core_.Report(kLabel, "No reply sent to " + call + ": " + why);
        return false;
    };
    const wsjtx::Instance* instance = instances_.Find(id);
    const auto state = perInstance_.find(id);
    if (!instance || state == perInstance_.end()) return refuse("the WSJT-X that decoded it is no longer heard");
    const auto found = state->second.decodes.find(call);
    if (found == state->second.decodes.end()) return refuse("no recent decode of it");
    const RecentDecode& recent = found->second;
    if (!recent.cq) return refuse("its latest decode is not a CQ or QRZ");
    const std::int64_t age = NowMs() - recent.receivedMs;
    if (age > kReplyWindowMs)
        return refuse("it was decoded " + std::to_string(age / 1000) + " s ago (a reply needs a decode of the last 15 s)");
    if (!Send(*instance, wsjtx::EncodeReply(instance->schema, id, recent.decode, 0)))
        return refuse("WSJT-X cannot be reached at " + instance->address + ":" + std::to_string(instance->port));
    core_.Report(kLabel, "Reply to " + call + " sent to WSJT-X \"" + id + "\"");
    return true;
}

void WsjtxAnswerPart::Release() {
    for (auto& [id, state] : perInstance_) {
        std::vector<wsjtx::HighlightCommand> commands;
        state.highlights.ClearAll(commands);
        SendHighlights(id, commands);
    }
}

std::size_t WsjtxAnswerPart::ActiveHighlights(const std::string& instance) const {
    const auto it = perInstance_.find(instance);
    return it == perInstance_.end() ? 0 : it->second.highlights.Active();
}

}  // namespace vantrel
