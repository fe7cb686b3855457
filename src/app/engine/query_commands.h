// The one-shot commands of the terminal and of scripts, run without a window:
//   vantrel --grid LOCATOR             the "Gridsquare info:" panel's lines
//   vantrel --places TEXT [--extended] the places search: prefix lines, matches, "Matches : N"
//   vantrel --update-cty               fetch, check and install the current cty.dat
// They work in the viewer folder (the working directory); results go to standard output,
// problems to standard error; the exit status is 0 when done, 1 when nothing could be done and
// 2 for a usage error.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/data_folders.h"

namespace vantrel {

enum class OneShotCommand { None, Grid, Places, UpdateCty };

// The command the arguments ask for; None when they ask for none.
OneShotCommand FindOneShotCommand(const std::vector<std::string>& arguments);

// --grid and --places. They only read (a worldcities.csv is converted in memory only), so they
// run beside a running program. The operator's grid comes from WSJT-X's configuration, the
// country prefixes from the viewer folder's ctybasic.txt or else from a cty.dat.
int RunPlacesQuery(OneShotCommand command, const std::vector<std::string>& arguments,
                   const std::filesystem::path& viewerFolder, const std::filesystem::path& dataFolder,
                   const FolderEnvironment& environment, std::FILE* out, std::FILE* err);

}  // namespace vantrel
