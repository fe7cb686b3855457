#include "net/download_addresses.h"

#include <cstdlib>

#ifndef VANTREL_RELEASE_VERSION_URL
#define VANTREL_RELEASE_VERSION_URL ""
#endif

namespace vantrel {

std::string BuildReleaseVersionUrl() { return VANTREL_RELEASE_VERSION_URL; }

DownloadAddresses DownloadAddresses::FromBuildAndEnvironment() {
    DownloadAddresses addresses;
    addresses.releaseVersion = BuildReleaseVersionUrl();
    if (const char* cty = std::getenv("VANTREL_CTY_URL"); cty && *cty) addresses.countryFile = cty;
    if (const char* lotw = std::getenv("VANTREL_LOTW_URL"); lotw && *lotw) addresses.lotwReport = lotw;
    if (const char* release = std::getenv("VANTREL_RELEASE_URL")) addresses.releaseVersion = release;
    return addresses;
}

}  // namespace vantrel
