// Bands and modes as the award tables count them.
#pragma once

#include <optional>
#include <string_view>

namespace vantrel {

// ADIF's mode groups: CW; PHONE (SSB, AM, FM, digital voice); IMAGE (SSTV, FAX, ATV); DATA
// (everything else ADIF names: FT8, FT4 and the other MFSK modes, RTTY, PSK, ...). Unknown:
// no mode text.
enum class ModeGroup : unsigned char { Cw, Phone, Image, Data, Unknown };

// The group of a mode as a log or ADIF stores it ("FT8", "MFSK" with submode "FT4", "USB").
ModeGroup ModeGroupOf(std::string_view mode, std::string_view submode = {});
std::string_view ModeGroupName(ModeGroup group);  // "CW", "PHONE", "IMAGE", "DATA", ""

// The mode filter of the award tables.
enum class ModeFilter : unsigned char { All, Ft8, Ft4, Digital, Phone, Cw };
inline constexpr int kModeFilters = 6;
// "all", "ft8", "ft4", "digital", "phone", "cw" (letter case ignored); nothing otherwise.
std::optional<ModeFilter> ModeFilterFromName(std::string_view name);
std::string_view ModeFilterName(ModeFilter filter);  // "all", "FT8", "FT4", "digital", "phone", "CW"
// True when a contact in this mode counts under the filter.
bool ModeFilterTakes(ModeFilter filter, std::string_view mode, std::string_view submode = {});

// The band columns of the award tables: the band table's rows from 160m to 70cm.
inline constexpr int kFirstAwardBandRow = 1;   // 160m
inline constexpr int kLastAwardBandRow = 13;   // 70cm
inline constexpr int kAwardBands = kLastAwardBandRow - kFirstAwardBandRow + 1;
// The column of a band-table row; -1 for a band outside the columns.
inline int AwardColumnOfBandRow(int row) {
    return row >= kFirstAwardBandRow && row <= kLastAwardBandRow ? row - kFirstAwardBandRow : -1;
}
// "160m" ... "70cm".
std::string_view AwardBandName(int column);
// The band-table row of a band name ("20m", "20M", "70CM"); -1 when the table has no such band.
int BandRowOfName(std::string_view band);

}  // namespace vantrel
