#include "adif/contact_band_check.h"
#include "log/line_text.h"

#include "log/extract_field.h"

namespace vantrel {

namespace {

std::string_view MapEntry(std::string_view entry) {
    if (entry == "0.4") return "0";
    if (entry == "1.8") return "1";
    if (entry == "3.5") return "3";
    if (entry == "5.3") return "5";
    return entry;
}

}  // namespace

std::string_view BandListFor(std::string_view rig, std::string_view antenna) {
    std::string_view list = !rig.empty() && !antenna.empty() ? antenna : kDefaultBandList;
    const std::size_t open = list.find('[');
    if (open != std::string_view::npos) {
        const std::size_t close = list.find(']', open + 1);
        if (close != std::string_view::npos) list = list.substr(open + 1, close - open - 1);
    }
    return list;
}

std::string_view FrequencyWholePart(std::string_view frequency) {
    const std::size_t dot = frequency.find('.');
    return dot == std::string_view::npos ? std::string_view() : frequency.substr(0, dot);
}

bool BandListCovers(std::string_view bandList, std::string_view wholeMegahertz) {
    while (true) {
        const std::size_t comma = bandList.find(',');
        const std::string_view entry = MapEntry(TrimSpaces(bandList.substr(0, comma)));
        if (entry == wholeMegahertz) return true;
        if (entry.empty() || comma == std::string_view::npos) break;
        bandList.remove_prefix(comma + 1);
    }
    return wholeMegahertz.empty();  // the end of the list counts as an empty entry
}

bool ContactBandMatches(std::string_view localLine, std::string_view rig, std::string_view antenna) {
    return BandListCovers(BandListFor(rig, antenna), FrequencyWholePart(ExtractFieldView(localLine, ',', 7)));
}

}  // namespace vantrel
