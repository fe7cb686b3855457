// Where the downloads come from. The country file comes from its publisher; the release
// file from the address this build was configured with (the CMake cache variable
// VANTREL_RELEASE_VERSION_URL, empty by default: no release check). The environment variables
// VANTREL_CTY_URL and VANTREL_RELEASE_URL override them (a mirror, a test server); an empty
// VANTREL_RELEASE_URL turns the release check off. The confirmation report comes from the
// service's report address, VANTREL_LOTW_URL when set.
#pragma once

#include <string>

namespace vantrel {

inline constexpr const char* kCountryFileUrl = "https://www.country-files.com/cty/cty.dat";
inline constexpr const char* kLotwReportUrl = "https://lotw.arrl.org/lotwuser/lotwreport.adi";

struct DownloadAddresses {
    std::string countryFile = kCountryFileUrl;
    std::string releaseVersion;  // empty: the release check is skipped
    std::string lotwReport = kLotwReportUrl;  // the query is added to it

    // The build's addresses, with the environment's overrides.
    static DownloadAddresses FromBuildAndEnvironment();
};

// The release address this build was configured with.
std::string BuildReleaseVersionUrl();

}  // namespace vantrel
