#include "settings/settings_store.h"

#include <charconv>
#include <cstdlib>

namespace vantrel {

std::string SettingsStore::ReadText(std::string_view section, std::string_view key,
                                    std::string_view def) {
    if (auto value = Read(section, key)) return std::move(*value);
    return std::string(def);
}

int SettingsStore::ReadInteger(std::string_view section, std::string_view key, int def) {
    const auto text = Read(section, key);
    if (!text || text->empty()) return def;
    int value = 0;
    const char* first = text->data();
    const char* last = first + text->size();
    const auto [end, ec] = std::from_chars(first, last, value, 10);
    if (ec != std::errc() || end != last) return def;
    return value;
}

bool SettingsStore::ReadBool(std::string_view section, std::string_view key, bool def) {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool SettingsStore::WriteText(std::string_view section, std::string_view key,
                              std::string_view value) {
    return Write(section, key, value);
}

bool SettingsStore::WriteInteger(std::string_view section, std::string_view key, int value) {
    return Write(section, key, std::to_string(value));
}

bool SettingsStore::WriteBool(std::string_view section, std::string_view key, bool value) {
    return Write(section, key, value ? "1" : "0");
}

bool SettingsStore::WriteMany(std::string_view section, const Values& values) {
    bool ok = true;
    for (const auto& [key, value] : values) ok = Write(section, key, value) && ok;
    return ok;
}

bool SettingsStore::DeleteMany(std::string_view section, const std::vector<std::string>& keys) {
    bool ok = true;
    for (const auto& key : keys) ok = DeleteValue(section, key) && ok;
    return ok;
}

std::filesystem::path DefaultSettingsFile() {
    const auto nonEmpty = [](const char* name) -> const char* {
        const char* value = std::getenv(name);
        return (value && *value) ? value : nullptr;
    };
    if (const char* file = nonEmpty("VANTREL_SETTINGS")) return file;
    std::filesystem::path config;
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base-directory rules ask.
    if (const char* xdg = nonEmpty("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        config = xdg;
    else if (const char* home = nonEmpty("HOME"))
        config = std::filesystem::path(home) / ".config";
    else
        config = ".config";
    return config / "Vantrel" / "Vantrel.ini";
}

}  // namespace vantrel
