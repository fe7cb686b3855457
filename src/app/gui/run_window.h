// The program with its main window.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vantrel {

// `dataFolder`: the data the program ships (empty when not found).
int RunWindowed(int argc, char** argv, const std::vector<std::string>& arguments,
                const std::filesystem::path& viewerFolder, const std::filesystem::path& dataFolder);
// The application's name (its window class), desktop file name and window icon; needs the
// QApplication.
void SetDesktopIdentity();
// The message of a second copy, shown in a window.
int ShowAlreadyActive(int argc, char** argv);
// A message box naming what stops the start (a data folder it cannot write in); returns 1.
int ShowStartProblem(int argc, char** argv, const std::string& problem);

}  // namespace vantrel
