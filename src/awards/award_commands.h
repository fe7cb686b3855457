// The award commands of the terminal, run in the viewer folder without a window:
//   vantrel --awards dxcc|waz|wac|grids [--band B] [--mode M]
//       a header line (Entity, Code and the band names), one row per entity (its name, its code,
//       then W, C or - per band), then the totals line: "DXCC: 187 worked, 141 confirmed" and per
//       band "worked/confirmed"; TAB between the fields. --band: that band's column alone (and
//       the totals of that band); --mode: all, FT8, FT4, digital, phone or CW.
//   vantrel --needed CALL BAND
//       "needed", "worked" or "confirmed", the DXCC entity and its code: "needed" when the entity
//       was never worked on that band, "worked" when it was but is not confirmed there (both still
//       needed for the award), "confirmed" when it is.
//   vantrel --import-confirmations FILE
//       takes the confirmations of an ADIF file (a LoTW report, or any logger's records with
//       QSL_RCVD, LOTW_QSL_RCVD or EQSL_QSL_RCVD = Y) into confirmations.adi; prints how many
//       were new. A LoTW report that is cut off or an error page changes nothing (status 1).
// Exit status 0 when done, 1 when nothing could be done, 2 for a usage error.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "awards/country_entities.h"
#include "base/data_folders.h"
#include "geo/country_lookup.h"

namespace vantrel {

enum class AwardCommand { None, Awards, Needed, ImportConfirmations };
AwardCommand FindAwardCommand(const std::vector<std::string>& arguments);

// The country table and the cty.dat entities of a viewer folder: ctybasic.txt and cty.dat there,
// else the cty.dat a first run would copy (WSJT-X's folder, its installed copy). Null members
// when there is none.
struct AwardCountryData {
    std::shared_ptr<const CountryTable> table;
    std::shared_ptr<const CountryEntities> entities;
};
AwardCountryData LoadAwardCountryData(const std::filesystem::path& viewerFolder,
                                      const std::filesystem::path& wsjtxFolder);

int RunAwardCommand(AwardCommand command, const std::vector<std::string>& arguments,
                    const std::filesystem::path& viewerFolder, const FolderEnvironment& environment,
                    std::ostream& out, std::ostream& err);

}  // namespace vantrel
