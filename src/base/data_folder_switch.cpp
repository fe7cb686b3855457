#include "base/data_folder_switch.h"

#include <system_error>

#include "base/command_line.h"
#include "base/switches.h"

namespace vantrel {

namespace {

constexpr std::string_view kSwitch = "--data-folder";

}  // namespace

fs::path DefaultDataFolder(const FolderEnvironment& env, const std::string& rigName) {
    const std::string name = rigName.empty() ? "Vantrel" : "Vantrel - " + rigName;
    if (!env.xdgDataHome.empty() && fs::path(env.xdgDataHome).is_absolute()) return fs::path(env.xdgDataHome) / name;
    if (env.home.empty()) return {};
    return fs::path(env.home) / ".local" / "share" / name;
}

std::optional<fs::path> TakeDataFolderSwitch(std::vector<std::string>& arguments,
                                             const FolderEnvironment& env, bool* named) {
    std::optional<std::string> asked;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == kSwitch) {
            // "--data-folder PATH" is the "=" form, unless what follows is a switch.
            asked = i + 1 < arguments.size() && !IsSwitchWord(arguments[i + 1]) ? arguments[++i] : "";
        } else if (argument.starts_with(kSwitch) && argument[kSwitch.size()] == '=')
            asked = argument.substr(kSwitch.size() + 1);
        else
            rest.push_back(argument);
    }
    if (!asked) return std::nullopt;
    arguments = std::move(rest);
    if (named) *named = !asked->empty();
    if (asked->empty()) return DefaultDataFolder(env, Switches(arguments).RigName());
    std::error_code ec;
    fs::path folder = fs::absolute(*asked, ec);
    return ec ? fs::path(*asked) : folder;
}

std::string DataFolderUsageProblem(const fs::path& folder) {
    std::error_code ec;
    fs::path made;
    for (const fs::path& part : folder.lexically_normal()) {
        made /= part;
        if (fs::exists(made, ec) && !fs::is_directory(made, ec))
            return "--data-folder " + folder.string() + ": " + made.string() + " is a file, not a folder";
    }
    return {};
}

std::string EnterDataFolder(const fs::path& folder) {
    if (folder.empty()) return "no data folder: neither XDG_DATA_HOME nor HOME is set";
    std::error_code ec;
    fs::path made;
    for (const fs::path& part : folder.lexically_normal()) {
        made /= part;
        if (part.empty() || fs::is_directory(made, ec)) continue;
        if (!fs::create_directory(made, ec) && !fs::is_directory(made)) {
            return "cannot create the data folder " + made.string() + ": " +
                   (ec ? ec.message() : std::string("a file of that name is in the way"));
        }
        fs::permissions(made, fs::perms::owner_all, fs::perm_options::replace, ec);
    }
    fs::current_path(folder, ec);
    if (ec) return "cannot change to the data folder " + folder.string() + ": " + ec.message();
    return {};
}

}  // namespace vantrel
