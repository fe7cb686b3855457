// The program with its main window.
#pragma once

#include <string>
#include <vector>

namespace vantrel {

int RunWindowed(int argc, char** argv, const std::vector<std::string>& arguments);
// The message of a second copy, shown in a window.
int ShowAlreadyActive(int argc, char** argv);

}  // namespace vantrel
