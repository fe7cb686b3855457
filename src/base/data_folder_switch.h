// The --data-folder switch: the program moves into its own data folder before anything looks at
// the working directory, so a start from the desktop menu (which starts programs in the home
// folder) keeps its files where they belong.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/data_folders.h"

namespace vantrel {

// $XDG_DATA_HOME/Vantrel, default ~/.local/share/Vantrel; a rig name gives "Vantrel - NAME".
// A relative XDG_DATA_HOME is ignored, as the XDG rules ask. Empty when there is no home folder.
fs::path DefaultDataFolder(const FolderEnvironment& env, const std::string& rigName);

// Takes every "--data-folder", "--data-folder=PATH" and "--data-folder PATH" (PATH any argument
// that is no switch) out of the arguments and returns the folder asked for: the last one given,
// made absolute; the default folder for the arguments' rig name when it has no path. Nothing (and
// the arguments untouched) when the switch is absent.
// `named` (when given) tells whether the folder was named on the command line.
std::optional<fs::path> TakeDataFolderSwitch(std::vector<std::string>& arguments,
                                             const FolderEnvironment& env, bool* named = nullptr);

// A folder asked for that is a file, or lies below one: a usage error; empty when it is not.
std::string DataFolderUsageProblem(const fs::path& folder);

// Creates the folder when missing (each new folder readable by its owner only) and makes it the
// working directory. Returns what went wrong, empty when it worked.
std::string EnterDataFolder(const fs::path& folder);

}  // namespace vantrel
