#include "awards/award_modes.h"

#include "adif/adif_modes.h"
#include "log/band_table.h"
#include "log/line_text.h"

namespace vantrel {

ModeGroup ModeGroupOf(std::string_view mode, std::string_view submode) {
    mode = TrimSpaces(mode);
    submode = TrimSpaces(submode);
    if (mode.empty() && submode.empty()) return ModeGroup::Unknown;
    // A submode names its mode (USB is SSB); a stored mode may itself be a submode (FT4).
    const std::string adifMode = AdifModeOf(submode.empty() ? mode : submode).mode;
    const auto is = [&](std::string_view name) { return SameTextNoCase(adifMode, name); };
    if (is("CW")) return ModeGroup::Cw;
    if (is("SSB") || is("AM") || is("FM") || is("DIGITALVOICE") || is("PHONE")) return ModeGroup::Phone;
    if (is("SSTV") || is("FAX") || is("ATV") || is("IMAGE")) return ModeGroup::Image;
    return ModeGroup::Data;
}

std::string_view ModeGroupName(ModeGroup group) {
    switch (group) {
    case ModeGroup::Cw: return "CW";
    case ModeGroup::Phone: return "PHONE";
    case ModeGroup::Image: return "IMAGE";
    case ModeGroup::Data: return "DATA";
    case ModeGroup::Unknown: break;
    }
    return "";
}

std::optional<ModeFilter> ModeFilterFromName(std::string_view name) {
    for (int f = 0; f < kModeFilters; ++f)
        if (SameTextNoCase(name, ModeFilterName(static_cast<ModeFilter>(f)))) return static_cast<ModeFilter>(f);
    return std::nullopt;
}

std::string_view ModeFilterName(ModeFilter filter) {
    switch (filter) {
    case ModeFilter::All: return "all";
    case ModeFilter::Ft8: return "FT8";
    case ModeFilter::Ft4: return "FT4";
    case ModeFilter::Digital: return "digital";
    case ModeFilter::Phone: return "phone";
    case ModeFilter::Cw: return "CW";
    }
    return "all";
}

bool ModeFilterTakes(ModeFilter filter, std::string_view mode, std::string_view submode) {
    const std::string_view name = TrimSpaces(submode.empty() ? mode : submode);
    switch (filter) {
    case ModeFilter::All: return true;
    case ModeFilter::Ft8: return SameTextNoCase(name, "FT8");
    case ModeFilter::Ft4: return SameTextNoCase(name, "FT4");
    case ModeFilter::Digital: return ModeGroupOf(mode, submode) == ModeGroup::Data;
    case ModeFilter::Phone: return ModeGroupOf(mode, submode) == ModeGroup::Phone;
    case ModeFilter::Cw: return ModeGroupOf(mode, submode) == ModeGroup::Cw;
    }
    return false;
}

std::string_view AwardBandName(int column) {
    if (column < 0 || column >= kAwardBands) return "";
    return BandOfRow(column + kFirstAwardBandRow);
}

int BandRowOfName(std::string_view band) {
    band = TrimSpaces(band);
    if (band.empty()) return -1;
    for (int row = 0;; ++row) {
        const std::string_view name = BandOfRow(row);
        if (name == "0") return -1;
        if (SameTextNoCase(name, band)) return row;
    }
}

}  // namespace vantrel
