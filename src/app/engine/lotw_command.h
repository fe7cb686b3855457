// "vantrel --download-lotw": the LoTW confirmation download without a window, for the terminal
// and for scheduled runs. The login comes from VANTREL_LOTW_LOGIN and VANTREL_LOTW_PASSWORD when
// both are set (scripts, a desktop without a secret store), else from the secret store. It works
// in the viewer folder (the working directory), prints what it took in on standard output and
// problems on standard error; exit status 0 when the report was merged, 1 when nothing was.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "net/https_fetch.h"
#include "net/lotw_credentials.h"
#include "net/secret_store.h"

namespace vantrel {

inline constexpr const char* kDownloadLotwSwitch = "--download-lotw";
bool WantsLotwDownload(const std::vector<std::string>& arguments);

struct LotwCommandInputs {
    std::filesystem::path viewerFolder;
    std::string url;
    FetchSettings fetch;
    std::optional<LotwLogin> credentials;  // given: the store is not asked
};

// Runs the download on the running QCoreApplication's event loop until it has ended; the exit
// status.
int DownloadLotwCommand(const LotwCommandInputs& inputs, SecretStore& secrets, std::FILE* out, std::FILE* err);

// The whole command: the application object, the working directory, the address of the build or
// of VANTREL_LOTW_URL, the login of the environment or of the desktop's secret store.
int RunDownloadLotwCommand(int argc, char** argv);

}  // namespace vantrel
