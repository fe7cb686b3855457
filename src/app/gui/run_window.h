// The program with its main window.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vantrel {

// `dataFolder`: the data the program ships (empty when not found).
int RunWindowed(int argc, char** argv, const std::vector<std::string>& arguments,
                const std::filesystem::path& viewerFolder, const std::filesystem::path& dataFolder);
// The message of a second copy, shown in a window.
int ShowAlreadyActive(int argc, char** argv);

}  // namespace vantrel
