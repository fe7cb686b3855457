// The command-line switches: all arguments lower-cased and joined by single blanks. A switch is
// on when the upper-cased text holds its name anywhere (so /debug and /DEBUGX both count as
// "/DEBUG").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

class Switches {
public:
    Switches() = default;
    explicit Switches(const std::vector<std::string>& arguments);

    bool HasSwitch(std::string_view name) const;
    const std::string& Text() const { return text_; }

    // The value after "--rig-name" (or "-r"), or "--rig-name=NAME"; empty when not given.
    const std::string& RigName() const { return rigName_; }

private:
    std::string text_;
    std::string upper_;
    std::string rigName_;
};

// The switches the program knows, with a line of help each, for --help.
std::string SwitchHelp();

}  // namespace vantrel
