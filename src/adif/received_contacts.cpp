#include "adif/received_contacts.h"

#include "adif/adif_contact.h"
#include "adif/adif_reader.h"
#include "log/contact_checks.h"
#include "log/extract_field.h"
#include "log/line_text.h"

namespace vantrel {

std::optional<std::string> Utf8ToLatin1(std::string_view utf8) {
    std::string latin1;
    latin1.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            latin1.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        std::size_t length;
        char32_t code;
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07;
        } else {
            return std::nullopt;
        }
        if (utf8.size() - i < length) return std::nullopt;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr char32_t kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        if (code <= 0xFF)
            latin1.push_back(static_cast<char>(code));
        else
            latin1.append(code > 0xFFFF ? "??" : "?");
        i += length;
    }
    return latin1;
}

namespace {

std::vector<ReceivedContact> ReadLatin1Contacts(std::string_view text, const StationDetails& station) {
    std::vector<ReceivedContact> contacts;
    AdifRecordReader reader(text, AdifLengths::Strict);
    AdifRecord record;
    while (reader.Next(record)) {
        ReceivedContact& contact = contacts.emplace_back();
        if (!record.problem.empty()) {
            contact.problem = "unreadable record: " + record.problem;
            continue;
        }
        contact.line = AdifRecordToLine(record, station);
        // Every logged contact names the station worked; without a callsign there is no contact.
        // A value no logger should hold (a date that does not exist, a call with a stray byte)
        // keeps the contact out of the log, and the field is named.
        if (TrimBlanks(ExtractFieldView(contact.line, ',', 5)).empty()) contact.problem = "no callsign";
        else contact.problem = ReceivedLineProblem(contact.line);
    }
    return contacts;
}

}  // namespace

std::vector<ReceivedContact> ReadReceivedContacts(std::string_view text, ReceivedFeed feed,
                                                  const StationDetails& station) {
    if (feed == ReceivedFeed::LoggedAdif) {
        if (const std::optional<std::string> latin1 = Utf8ToLatin1(text))
            return ReadLatin1Contacts(*latin1, station);
    }
    return ReadLatin1Contacts(text, station);
}

}  // namespace vantrel
