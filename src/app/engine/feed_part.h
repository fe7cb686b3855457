// The live feed of logged contacts: each datagram WSJT-X sends becomes a local log line with the
// operator's station, radio and antenna, is checked against the antenna's bands and is logged.
// Every received contact is on disk before anything is shown of it, and a burst is shown once.
// No received contact is lost: contacts that wait for the antenna warning's answer are all kept
// and logged in the order they came, whatever the answer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "adif/received_contacts.h"
#include "app/engine/engine_core.h"

namespace vantrel {

class FeedPart {
public:
    FeedPart(EngineCore& core, FeedView& view, StationView& station)
        : core_(core), view_(view), station_(station) {}

    // The N1MM datagrams that arrived together, in their order.
    void OnDatagrams(const std::vector<std::string>& datagrams);
    // Contacts read from another feed (WSJT-X's LoggedADIF messages) that arrived together.
    void Receive(const std::vector<ReceivedContact>& contacts, std::string_view feed);
    // The last-contact box took a new text: it is added to the local log unless it is there.
    void SetLastContact(const std::string& text);
    // The box's text into the log again (an answer to the antenna warning with nobody waiting).
    void AddLastContact();
    // Writes the contacts that a full disk kept in memory; true when none is left.
    bool WriteUnsaved();
    // A ready local log line from elsewhere (the journal's log-entry maker), logged as a received
    // contact is: appended durably, or kept and written as soon as the disk takes it. False with
    // the reason when the contact is in the log already.
    bool LogReadyLine(const std::string& line, std::string* reason);

    // The antenna warning: a band mismatch of the feed, or the rotator's selection.
    void RotatorMismatch();
    void AntennaWarningYes();
    void AntennaWarningNo();
    // The operator chose an antenna in the box.
    void AntennaChosen();
    // The antenna list opened by "Yes" closed; `picked` false when no antenna was chosen.
    void AntennaChoiceClosed(bool picked);
    // Every waiting contact is logged now (the close, EXIT).
    void LogPendingContacts(std::string_view why);
    const std::vector<std::string>& PendingContacts() const { return pending_; }

    // The display work after contacts were logged (the automatic search, the lists): once for
    // all contacts that arrived together.
    std::function<void()> onContactsLogged;

private:
    // One received contact: logged with the others that came together, waiting for the warning,
    // or dropped with a trace line when it is none.
    void ReceiveOne(const ReceivedContact& contact, std::vector<std::string>& received);
    void LogContacts(const std::vector<std::string>& texts);
    void NoteKeptLines();
    // Appends durably; lines a full disk refuses stay in memory, written by a later tick or the
    // close, and the operator is told once.
    void AddKeepingWhatTheDiskRefuses(const std::vector<std::string>& lines);
    void Answered();

    EngineCore& core_;
    FeedView& view_;
    StationView& station_;
    std::vector<std::string> pending_;  // received, waiting for the warning's answer
    bool reselectPending_ = false;      // "Yes": the antenna choice logs the waiting contacts
    bool rotatorWarning_ = false;       // the warning shown is the rotator's
    bool diskProblem_ = false;          // contacts are kept in memory until the disk takes them
    bool refusalShown_ = false;         // the status line has told of a refused contact
};

}  // namespace vantrel
