// ADIF's mode enumeration (ADIF 3.1.6): every mode, and the submodes that belong to each.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

struct AdifMode {
    std::string mode;     // the MODE value
    std::string submode;  // the SUBMODE value; empty when the stored mode is a mode itself
};

// MODE and SUBMODE for a mode as the log stores it: a name that ADIF lists as a submode gives its
// mode and itself as the submode (FT4 gives MFSK and FT4); a name ADIF lists as a mode stands as
// it is (FT8). Names are compared without regard to letter case and written as ADIF spells them;
// a name ADIF does not list is written as it stands.
AdifMode AdifModeOf(std::string_view storedMode);

}  // namespace vantrel
