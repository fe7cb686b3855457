// The switches and commands the program knows, one entry each, and the check of a command line
// against them: a new command is one entry in the table. Anything else on the command line is a
// usage error, and nothing is started.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

enum class SwitchValue {
    None,      // a flag
    One,       // one value: the next argument, or "--name=VALUE"
    Optional,  // the next argument when it is no switch, or "=VALUE", or nothing
    OneToThree,  // as One, then up to two more arguments that are no switches
    Two,       // two values: the next two arguments ("--needed CALL BAND")
};

struct KnownSwitch {
    std::string_view name;       // "--grid", "/DEBUG"
    std::string_view shortName;  // "-r", or empty
    SwitchValue value;
    std::string_view goesWith;   // the command this one only qualifies ("--export-adif" for "--new")
};

std::span<const KnownSwitch> KnownSwitches();

// True for an argument that is a switch rather than a value: it begins with "-", or it is a
// single "/" word holding the name of a "/" switch (letter case aside, as /debug and /PURGEX).
bool IsSwitchWord(std::string_view argument);

// What is wrong with the command line ("unknown switch --bogus"); empty when every argument is
// known, every value is there and the rig name can name a folder.
std::string CommandLineProblem(const std::vector<std::string>& arguments);

// Why a rig name cannot name a folder beside WSJT-X's and ours: it holds "/", "\" or "," (as
// WSJT-X refuses), or is "." or ".."; empty when it can.
std::string RigNameProblem(std::string_view name);

// The line printed with a usage error.
inline constexpr const char* kUsageLine = "Usage: vantrel [switches] (vantrel --help lists them)";

}  // namespace vantrel
