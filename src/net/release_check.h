// The release check: the one-line version file of the latest release, fetched into memory,
// kept as version.txt in the viewer folder and compared with the program's own version text.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "net/https_fetch.h"

namespace vantrel {

inline constexpr const char* kReleaseVersionFile = "version.txt";

struct ReleaseVersion {
    bool ok = false;
    std::string version;  // the body trimmed
    std::string error;
};

// The fetch settings of the release file: its own headers, no redirects, a small size limit;
// time-outs and TLS as in `base`.
FetchSettings ReleaseFetchSettings(FetchSettings base);

// Deletes version.txt in the viewer folder and fetches `url`. A body that reads as a version
// text is written back to version.txt as one line and handed over trimmed; anything else (no
// answer, an error status, a page in its place) is a failure and leaves no version.txt.
std::unique_ptr<HttpsFetch> FetchReleaseVersion(QNetworkAccessManager& network,
                                                const std::string& url,
                                                const std::filesystem::path& viewerFolder,
                                                const FetchSettings& base,
                                                std::function<void(const ReleaseVersion&)> done);

}  // namespace vantrel
