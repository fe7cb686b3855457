// A settings store held in memory, for tests that drive the engine.
#pragma once

#include <map>
#include <string>

#include "settings/settings_store.h"

namespace vantrel::test {

class MemoryStore : public SettingsStore {
public:
    std::optional<std::string> Read(std::string_view section, std::string_view key) override {
        auto it = values.find(Key(section, key));
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    bool Write(std::string_view section, std::string_view key, std::string_view value) override {
        values[Key(section, key)] = std::string(value);
        ++writes;
        return true;
    }
    bool DeleteValue(std::string_view section, std::string_view key) override {
        values.erase(Key(section, key));
        return true;
    }
    bool Has(std::string_view key) { return Read(kOwnSection, key).has_value(); }
    std::string Own(std::string_view key) { return Read(kOwnSection, key).value_or("<missing>"); }

    std::map<std::string, std::string> values;
    int writes = 0;

private:
    static std::string Key(std::string_view section, std::string_view key) {
        return std::string(section) + "\\" + std::string(key);
    }
};

}  // namespace vantrel::test
