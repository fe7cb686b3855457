// Feeds arbitrary bytes to the ADIF reading and the conversions of received and imported
// contacts, checking that every value read lies inside the input and every converted line keeps
// its shape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "adif/adif_contact.h"
#include "adif/adif_import.h"
#include "adif/adif_reader.h"
#include "adif/contact_band_check.h"
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
    return 0;
}
