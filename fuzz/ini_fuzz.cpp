// Feeds arbitrary bytes to the INI reading as a settings file and as WSJT-X's configuration:
// a file written back reads the same, a value set reads back through the file, and the values
// taken from WSJT-X's configuration keep their limits.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "log/log_lines.h"
#include "settings/ini_document.h"
#include "settings/wsjtx_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    IniDocument doc = IniDocument::Parse(text);
    const std::string written = doc.Render();
    const IniDocument reread = IniDocument::Parse(written);
    Check(reread.DamagedLines() == 0);
    Check(reread.Render() == written);

    // A section, a key and a value cut from the input, set and read back through the file.
    const std::size_t a = size / 3, b = 2 * size / 3;
    const std::string_view section = text.substr(0, std::min<std::size_t>(a, 12));
    const std::string_view key = text.substr(a, std::min<std::size_t>(b - a, 12));
    const std::string_view value = text.substr(b);
    if (IsValidSectionName(section) && IsValidKeyName(key)) {
        doc.Set(section, key, value);
        const std::optional<std::string> inMemory = doc.Get(section, key);
        Check(inMemory.has_value());
        const IniDocument saved = IniDocument::Parse(doc.Render());
        Check(saved.Get(section, key) == inMemory);
        Check(saved.DamagedLines() == 0);
        doc.Remove(section, key);
        Check(!doc.Get(section, key).has_value());
        Check(!IniDocument::Parse(doc.Render()).Get(section, key).has_value());
    }

    const WsjtxConfig config = ReadWsjtxConfigLines(LogLines::FromBytes(text), 2333, false);
    Check(config.call.size() <= 20 && config.grid.size() <= 20 && config.host.size() <= 20);
    Check(config.port >= 0 && config.port <= 65535);
    Check(config.hostPresent == !config.host.empty());
    return 0;
}
