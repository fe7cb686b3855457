// Feeds arbitrary bytes to the ADIF reading and the conversions of received and imported
// contacts, checking that every value read lies inside the input, every converted line keeps
// its shape and every received contact that may be logged passes the checks of a logged
// contact (a callsign, a real date and time, a radio frequency, capped free text).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "adif/adif_contact.h"
#include "adif/adif_import.h"
#include "adif/adif_reader.h"
#include "adif/contact_band_check.h"
#include "adif/received_contacts.h"
#include "log/contact_checks.h"
#include "log/extract_field.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool Inside(std::string_view part, std::string_view whole) {
    return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    AdifRecordReader reader(text);
    AdifRecord record;
    std::size_t records = 0;
    while (reader.Next(record)) {
        Check(!record.fields.empty());
        for (const AdifField& field : record.fields) {
            Check(!field.name.empty() && Inside(field.name, text));
            Check(Inside(field.type, text) && Inside(field.value, text));
        }
        const std::string importLine = AdifRecordToImportLine(record);
        Check(!importLine.empty() && importLine.back() == ',');
        ++records;
    }
    for (const AdifField& field : reader.Header()) Check(Inside(field.value, text));

    const StationDetails station{"QQ0XYZ", "JO62QM", "IC-7300", "Vertical [7,14,21]"};
    const std::string line = AdifRecordToLine(text, station);
    Check(line.find_first_of("\r\n") == std::string::npos);
    Check(SplitPieces(line, ',').size() >= 18);
    ContactBandMatches(line, station.rig, station.antenna);
    ContactBandMatches(line, "", "");
    // Every field read belongs to a record or to the header.
    Check(HoldsAdifField(text) == (records > 0 || !reader.Header().empty()));

    const AdifImportResult imported = AdifImport(text);
    Check(imported.records == records);

    // The feed's record builder: what it lets through may enter the log.
    for (const ReceivedContact& contact : ReadReceivedContacts(text, ReceivedFeed::N1mmDatagram, station)) {
        if (!contact.readable()) continue;
        const std::vector<std::string_view> fields = SplitPieces(contact.line, ',');
        Check(fields.size() >= 18);
        Check(IsCallsign(fields[4]) && IsCalendarDate(fields[0]) && IsTimeOfDay(fields[1]));
        Check(fields[6].empty() || IsRadioFrequency(fields[6]));
        for (std::string_view field : fields) {
            Check(field.size() <= kFreeTextLimit);
            for (char c : field) Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
        }
        Check(ReceivedLineProblem(contact.line).empty());
    }
    return 0;
}
