#include "base/command_line.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace vantrel {

namespace {

constexpr std::array kSwitches = {
    KnownSwitch{"/DEBUG", "", SwitchValue::None, ""},
    KnownSwitch{"/NLU", "", SwitchValue::None, ""},
    KnownSwitch{"/AUTHOR", "", SwitchValue::None, ""},
    KnownSwitch{"/SETCOLO", "", SwitchValue::None, ""},
    KnownSwitch{"/PURGE", "", SwitchValue::None, ""},
    KnownSwitch{"/NVC", "", SwitchValue::None, ""},
    KnownSwitch{"/UDP_ECHO", "", SwitchValue::None, ""},
    KnownSwitch{"/RAWUDP", "", SwitchValue::None, ""},
    KnownSwitch{"/HEADLESS", "", SwitchValue::None, ""},
    KnownSwitch{"--help", "-h", SwitchValue::None, ""},
    KnownSwitch{"--version", "", SwitchValue::None, ""},
    KnownSwitch{"--rig-name", "-r", SwitchValue::One, ""},
    KnownSwitch{"--data-folder", "", SwitchValue::Optional, ""},
    KnownSwitch{"--grid", "", SwitchValue::One, ""},
    KnownSwitch{"--places", "", SwitchValue::One, ""},
    KnownSwitch{"--extended", "", SwitchValue::None, "--places"},
    KnownSwitch{"--journal", "", SwitchValue::One, ""},
    KnownSwitch{"--recent", "", SwitchValue::None, ""},
    KnownSwitch{"--audit", "", SwitchValue::None, ""},
    KnownSwitch{"--since", "", SwitchValue::One, "--audit"},
    KnownSwitch{"--export-adif", "", SwitchValue::None, ""},
    KnownSwitch{"--new", "", SwitchValue::None, "--export-adif"},
    KnownSwitch{"--update-cty", "", SwitchValue::None, ""},
    KnownSwitch{"--download-lotw", "", SwitchValue::None, ""},
    KnownSwitch{"--call", "", SwitchValue::One, ""},
    KnownSwitch{"--worked", "", SwitchValue::OneToThree, ""},
    KnownSwitch{"--awards", "", SwitchValue::One, ""},
    KnownSwitch{"--band", "", SwitchValue::One, "--awards"},
    KnownSwitch{"--mode", "", SwitchValue::One, "--awards"},
    KnownSwitch{"--needed", "", SwitchValue::Two, ""},
    KnownSwitch{"--import-confirmations", "", SwitchValue::One, ""},
};

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool IsSlashSwitch(std::string_view argument) {
    if (!argument.starts_with('/')) return false;
    const std::string upper = Upper(argument);
    return std::any_of(kSwitches.begin(), kSwitches.end(), [&](const KnownSwitch& known) {
        return known.name.starts_with('/') && upper.find(known.name) != std::string::npos;
    });
}

const KnownSwitch* FindDashSwitch(std::string_view name) {
    for (const KnownSwitch& known : kSwitches)
        if (!known.name.starts_with('/') && (name == known.name || (!known.shortName.empty() && name == known.shortName)))
            return &known;
    return nullptr;
}

}  // namespace

std::span<const KnownSwitch> KnownSwitches() { return kSwitches; }

bool IsSwitchWord(std::string_view argument) {
    if (argument.starts_with('-')) return true;
    return IsSlashSwitch(argument) && argument.find('/', 1) == std::string_view::npos;
}

std::string RigNameProblem(std::string_view name) {
    if (name.empty()) return "--rig-name needs a name";
    if (name == "." || name == ".." || name.find_first_of("/\\,") != std::string_view::npos)
        return "the rig name \"" + std::string(name) + "\" cannot name a folder: it may not hold /, \\ or , nor be . or ..";
    return {};
}

std::string CommandLineProblem(const std::vector<std::string>& arguments) {
    std::vector<std::string_view> given;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.starts_with('/') && IsSlashSwitch(argument)) continue;
        if (!argument.starts_with('-')) return "unexpected word " + argument;
        const std::size_t equals = argument.find('=');
        const KnownSwitch* known = FindDashSwitch(std::string_view(argument).substr(0, equals));
        if (!known) return "unknown switch " + argument;
        given.push_back(known->name);
        std::string_view value;
        if (equals != std::string::npos) {
            if (known->value == SwitchValue::None) return std::string(known->name) + " takes no value";
            value = std::string_view(argument).substr(equals + 1);
        } else if (known->value == SwitchValue::Two) {
            if (i + 2 >= arguments.size()) return std::string(known->name) + " needs two values";
            value = arguments[++i];
            ++i;
        } else if (known->value == SwitchValue::One || known->value == SwitchValue::OneToThree) {
            if (i + 1 >= arguments.size()) return std::string(known->name) + " needs a value";
            value = arguments[++i];
        }
        if (known->value == SwitchValue::OneToThree) {
            for (int more = 0; more < 2 && i + 1 < arguments.size() && !IsSwitchWord(arguments[i + 1]); ++more) ++i;
        } else if (known->value == SwitchValue::Optional && equals == std::string::npos && i + 1 < arguments.size() &&
                   !IsSwitchWord(arguments[i + 1])) {
            value = arguments[++i];
        }
        if (known->name == "--rig-name")
            if (std::string problem = RigNameProblem(value); !problem.empty()) return problem;
    }
    for (std::string_view name : given) {
        const KnownSwitch* known = FindDashSwitch(name);
        if (!known->goesWith.empty() && std::find(given.begin(), given.end(), known->goesWith) == given.end())
            return std::string(name) + " goes with " + std::string(known->goesWith);
    }
    return {};
}

}  // namespace vantrel
