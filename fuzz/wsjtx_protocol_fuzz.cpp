// Feeds arbitrary bytes to the reader of WSJT-X's UDP messages, and what it reads on to the
// contact conversion (LoggedADIF) and the list of stations heard (Status, Decode, Clear), and the
// same bytes to the worked-before index and the contact identities as local log lines,
// checking that nothing is read past the datagram and every converted line keeps its shape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "adif/received_contacts.h"
#include "log/contact_identity.h"
#include "log/extract_field.h"
#include "wsjtx/heard_list.h"
#include "wsjtx/wsjtx_message.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const wsjtx::Datagram datagram = wsjtx::ReadDatagram(bytes);
    const bool read = datagram.status == wsjtx::ReadStatus::Read;
    Check(read != std::holds_alternative<std::monostate>(datagram.message));
    Check(!datagram.id || datagram.id->size() <= size);

    static const WorkedIndex index;
    static HeardList heard(nullptr, &index);
    heard.SetOwnStation("QQ0XYZ", "FN20");
    const StationDetails station{"QQ0XYZ", "FN20", "IC-7300", "Vertical [7,14,21]"};
    if (const auto* logged = std::get_if<wsjtx::LoggedAdif>(&datagram.message)) {
        const std::string_view text = wsjtx::TextOf(logged->adifText);
        Check(text.size() <= size);
        for (const ReceivedContact& contact : ReadReceivedContacts(text, ReceivedFeed::LoggedAdif, station)) {
            if (contact.line.empty()) continue;
            Check(contact.line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
            Check(SplitPieces(contact.line, ',').size() >= 18);
        }
    } else if (const auto* status = std::get_if<wsjtx::Status>(&datagram.message)) {
        heard.OnStatus(*status);
    } else if (const auto* decode = std::get_if<wsjtx::Decode>(&datagram.message)) {
        heard.OnDecode(*decode);
        Check(heard.Rows().size() <= kMaxHeardRows);
        for (const HeardRow& row : heard.Rows()) Check(!row.call.empty());
    } else if (std::holds_alternative<wsjtx::Clear>(datagram.message)) {
        heard.Clear();
    } else if (const auto* qso = std::get_if<wsjtx::QsoLogged>(&datagram.message)) {
        Check(wsjtx::DateText(qso->timeOn).size() == (qso->timeOn.valid ? 10u : 0u));
        Check(wsjtx::TimeText(qso->timeOff).size() == (qso->timeOff.valid ? 8u : 0u));
    }
    // The same bytes taken as local log lines: indexed, then asked about.
    const LogLines lines = LogLines::FromBytes(bytes);
    WorkedIndex worked;
    worked.CatchUp(lines);
    ContactIndex identities(lines);
    Check(identities.size() <= lines.size() && worked.Contacts() <= lines.size());
    if (!lines.empty()) {
        Check(identities.Contains(lines[0]) || lines[0].empty());
        const WorkedStatus status = worked.Status(ExtractFieldView(lines[0], ',', 5), "20m", "FT8");
        Check(status.count <= lines.size());
    }
    // The same bytes taken as an N1MM datagram.
    for (const ReceivedContact& contact : ReadReceivedContacts(bytes, ReceivedFeed::N1mmDatagram, station))
        Check(contact.readable() || !contact.problem.empty());
    return 0;
}
