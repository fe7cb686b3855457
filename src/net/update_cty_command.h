// "vantrel --update-cty": the country file update without a window, for the terminal and for
// scheduled runs. It works in the viewer folder (the working directory), prints what it did on
// standard output and problems on standard error, and exits 0 when the new file was installed,
// 1 when nothing was.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "geo/country_file_update.h"
#include "net/https_fetch.h"

namespace vantrel {

struct UpdateCtyCommandInputs {
    std::filesystem::path viewerFolder;
    std::filesystem::path wsjtxFolder;
    std::string url;
    FetchSettings fetch;
    CountryFileRules rules;
};

// Runs the update on the running QCoreApplication's event loop (QCoreApplication::exec) until it
// has ended; the exit status.
int UpdateCtyCommand(const UpdateCtyCommandInputs& inputs, std::FILE* out, std::FILE* err);

// The whole command: the application object, the working directory as the viewer folder, WSJT-X's
// folder as the window finds it (--rig-name honoured), the address of the build or of
// VANTREL_CTY_URL.
int RunUpdateCtyCommand(int argc, char** argv, const std::vector<std::string>& arguments);

}  // namespace vantrel
