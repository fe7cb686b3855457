#include "app/engine/feed_part.h"

#include <algorithm>

#include "adif/adif_contact.h"
#include "adif/contact_band_check.h"
#include "base/file_io.h"
#include "log/local_log.h"

namespace vantrel {

namespace {
constexpr const char* kBandWarning = "The antenna does not match the band in use. Re-select ?";
constexpr const char* kRotatorWarning = "The antenna does not match Turnmast selection. Change ?";
}  // namespace

void FeedPart::OnDatagrams(const std::vector<std::string>& datagrams) {
    std::vector<std::string> received;
    for (const std::string& bytes : datagrams) {
        if (core_.HasSwitch("/RAWUDP")) {
            std::string error;
            if (!AppendFileDurable(core_.ViewerFile(RawUdpFileName(core_.Now())), bytes + "\r\n", &error))
                core_.Trace(" RAWUDP ** ", error);
        }
        const std::vector<ReceivedContact> contacts =
            ReadReceivedContacts(bytes, ReceivedFeed::N1mmDatagram, core_.Station());
        if (contacts.empty()) {
            core_.Trace(" IdUDPRead dropped: no ADIF field ** ", std::to_string(bytes.size()) + " bytes");
            continue;
        }
        core_.Trace(" IdUDPReadRAW : ", bytes);
        for (const ReceivedContact& contact : contacts) ReceiveOne(contact, received);
        if (core_.HasSwitch("/UDP_ECHO")) core_.Services().receiver.Echo(bytes, "127.0.0.1", core_.Config().port + 1);
    }
    LogContacts(received);
}

void FeedPart::Receive(const std::vector<ReceivedContact>& contacts, std::string_view feed) {
    std::vector<std::string> received;
    for (const ReceivedContact& contact : contacts) {
        if (contact.readable()) core_.Trace(" " + std::string(feed) + " ", contact.line);
        ReceiveOne(contact, received);
    }
    LogContacts(received);
}

void FeedPart::ReceiveOne(const ReceivedContact& contact, std::vector<std::string>& received) {
    if (!contact.readable()) {
        // A record that names no contact or whose lengths do not fit is no contact: the raw
        // file keeps its bytes with "/RAWUDP".
        core_.Trace(" IdUDPRead dropped: " + contact.problem + " ** ", contact.line);
        // The operator hears of it once; the trace names every one.
        if (!refusalShown_)
            core_.Notices().ShowStatus("A received contact was not logged: " + contact.problem + " (see tracer.txt)");
        refusalShown_ = true;
        return;
    }
    const std::string& line = contact.line;
    core_.Trace(" IdUDPRead ", line);
    // The same contact again (sent twice, or by both of WSJT-X's feeds) is logged once.
    const bool waiting = std::find(pending_.begin(), pending_.end(), line) != pending_.end();
    if (waiting || core_.Log().Contains(line) ||
        std::find(received.begin(), received.end(), line) != received.end()) {
        core_.Trace(" Logged before ** ", line);
        return;
    }
    if (!pending_.empty()) {
        // The warning is open: this contact waits behind the ones already waiting.
        pending_.push_back(line);
    } else if (ContactBandMatches(line, core_.Station().rig, core_.Station().antenna)) {
        received.push_back(line);
    } else if (!core_.Services().interactive) {
        // Nobody can answer the warning: the contact is logged and the mismatch noted.
        core_.Trace(" Band warning ** ",
                    "the antenna " + core_.Station().antenna + " does not list the band of " + line);
        received.push_back(line);
    } else {
        pending_.push_back(line);
        rotatorWarning_ = false;
        view_.ShowAntennaWarning(true, kBandWarning);
    }
}

void FeedPart::SetLastContact(const std::string& text) { LogContacts({text}); }

void FeedPart::LogContacts(const std::vector<std::string>& texts) {
    std::vector<std::string> lines;
    for (const std::string& text : texts) {
        // The same text again is no change of the box: nothing is handled.
        if (text == core_.LastContact()) continue;
        core_.SetLastContact(text);
        core_.Trace(" Edit2 Change ", text);
        core_.Trace(" Add new ** ", text);
        lines.push_back(CompleteLastContact(text, core_.Station()));
    }
    if (lines.empty()) return;
    AddKeepingWhatTheDiskRefuses(lines);
    station_.ShowLastContact(core_.LastContact());
    core_.ShowEntriesCount(station_);
    if (onContactsLogged) onContactsLogged();
}

void FeedPart::AddKeepingWhatTheDiskRefuses(const std::vector<std::string>& lines) {
    bool saved = true;
    std::string error;
    core_.Log().Add(lines, saved, &error);
    NoteKeptLines();
    if (!saved) {
        core_.Report(" Local log not saved ** ", error);
        if (!diskProblem_)
            core_.Notices().ShowMessage("Error", "The local log could not be written: " + error +
                                                   ". The contacts are kept and written as soon as it can be.");
        diskProblem_ = true;
    }
}

void FeedPart::AddLastContact() {
    if (core_.LastContact().empty()) return;
    core_.Trace(" Add new ** ", core_.LastContact());
    bool saved = true;
    std::string error;
    if (core_.Log().Add({CompleteLastContact(core_.LastContact(), core_.Station())}, saved, &error) > 0)
        core_.ShowEntriesCount(station_);
    if (!saved) core_.Report(" Local log not saved ** ", error);
}

bool FeedPart::LogReadyLine(const std::string& line, std::string* reason) {
    if (core_.Log().Contains(line)) {
        if (reason) *reason = "the contact is in it already";
        return false;
    }
    core_.Trace(" Add to Log ** ", line);
    AddKeepingWhatTheDiskRefuses({line});
    core_.ShowEntriesCount(station_);
    return true;
}

bool FeedPart::WriteUnsaved() {
    const std::size_t unsaved = core_.Log().Unsaved();
    if (unsaved == 0) return true;
    std::string error;
    const bool flushed = core_.Log().Flush(&error);
    NoteKeptLines();
    if (!flushed) {
        core_.Report(" Local log not saved ** ", std::to_string(unsaved) + " contacts kept in memory: " + error);
        return false;
    }
    core_.Report(" Local log ** ", std::to_string(unsaved) + " contacts kept in memory are written");
    diskProblem_ = false;
    return true;
}

void FeedPart::NoteKeptLines() {
    // Another writer had added to the file: its lines were kept, and are in memory now too.
    if (const std::size_t kept = core_.Log().TakeKeptFromFile())
        core_.Trace(" Local log ** ", std::to_string(kept) + " lines that another writer had added are kept");
}

void FeedPart::RotatorMismatch() {
    view_.ShowAntennaWarning(true, kRotatorWarning);
    rotatorWarning_ = true;
}

void FeedPart::LogPendingContacts(std::string_view why) {
    if (pending_.empty()) return;
    std::vector<std::string> waiting;
    waiting.swap(pending_);
    if (!why.empty())
        core_.Trace(" Band warning ** ", std::to_string(waiting.size()) + " waiting contacts logged with the antenna " +
                                             core_.Station().antenna + ": " + std::string(why));
    LogContacts(waiting);
}

// An answer that asks nothing more: whoever waits is logged with the antenna in force.
void FeedPart::Answered() {
    if (pending_.empty()) {
        if (!rotatorWarning_) AddLastContact();
    } else {
        LogPendingContacts("");
    }
    view_.ShowAntennaWarning(false, "");
    reselectPending_ = false;
    rotatorWarning_ = false;
}

void FeedPart::AntennaWarningYes() {
    view_.OpenAntennaChoice();
    reselectPending_ = true;
    // While contacts wait for the choice, the warning stays in sight.
    if (pending_.empty()) view_.ShowAntennaWarning(false, "");
}

void FeedPart::AntennaWarningNo() { Answered(); }

void FeedPart::AntennaChosen() {
    if (reselectPending_) Answered();
}

void FeedPart::AntennaChoiceClosed(bool picked) {
    if (!reselectPending_ || picked) return;
    if (!pending_.empty()) LogPendingContacts("no antenna was picked");
    Answered();
}

}  // namespace vantrel
