// The per-user settings store: sections of named text values. Every access opens the store,
// does its one read or write and closes it again; nothing is cached, so values written by
// other programs are seen at the next read.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The program's own section.
inline constexpr std::string_view kOwnSection = "QQ0XYZ";

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Raw access: the stored text of a value, or nothing when the section or key is missing.
    virtual std::optional<std::string> Read(std::string_view section, std::string_view key) = 0;
    // Writing creates the section when missing. False when the store could not be written.
    virtual bool Write(std::string_view section, std::string_view key, std::string_view value) = 0;
    virtual bool DeleteValue(std::string_view section, std::string_view key) = 0;

    std::string ReadText(std::string_view section, std::string_view key, std::string_view def);
    // The default when the value is missing or is not a whole decimal number.
    int ReadInteger(std::string_view section, std::string_view key, int def);
    // Stored as "1"/"0"; any whole number other than 0 reads as true.
    bool ReadBool(std::string_view section, std::string_view key, bool def);
    bool WriteText(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, int value);
    bool WriteBool(std::string_view section, std::string_view key, bool value);
};

// A human-editable INI file ("[Section]" lines, "Key=Value" lines). A missing, empty, unreadable
// or corrupt file reads as an empty store and reports one trace line; writes replace the file
// in one step, so it is never left half-written.
class IniSettingsStore : public SettingsStore {
public:
    using TraceSink = std::function<void(const std::string&)>;
    explicit IniSettingsStore(std::filesystem::path file, TraceSink trace = {});

    std::optional<std::string> Read(std::string_view section, std::string_view key) override;
    bool Write(std::string_view section, std::string_view key, std::string_view value) override;
    bool DeleteValue(std::string_view section, std::string_view key) override;

    const std::filesystem::path& File() const { return file_; }

private:
    std::filesystem::path file_;
    TraceSink trace_;
};

// Where the store lives: $VANTREL_SETTINGS when set, else $XDG_CONFIG_HOME/Vantrel/Vantrel.ini
// (default ~/.config/Vantrel/Vantrel.ini).
std::filesystem::path DefaultSettingsFile();

}  // namespace vantrel
