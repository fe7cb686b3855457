#include "settings/equipment_lists.h"

#include "base/file_io.h"

namespace vantrel {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

std::vector<std::string> EquipmentEntries(std::string_view fileText) {
    std::vector<std::string> entries;
    while (!fileText.empty()) {
        const std::size_t end = fileText.find('\n');
        std::string_view line = fileText.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!TrimBlanks(line).empty()) entries.emplace_back(line);
        if (end == std::string_view::npos) break;
        fileText.remove_prefix(end + 1);
    }
    return entries;
}

std::vector<std::string> LoadEquipmentList(const std::filesystem::path& folder, std::string_view name) {
    const std::optional<std::filesystem::path> file = FindFileNoCase(folder, name);
    if (!file) return {};
    const std::optional<std::string> text = ReadWholeFile(*file);
    return text ? EquipmentEntries(*text) : std::vector<std::string>{};
}

std::string DefaultEquipmentFile(std::string_view templateLine) {
    return std::string(templateLine) + "\r\n";
}

std::filesystem::path EnsureEquipmentFile(const std::filesystem::path& folder, std::string_view name,
                                          std::string_view templateLine, std::string* error) {
    if (const std::optional<std::filesystem::path> existing = FindFileNoCase(folder, name)) return *existing;
    const std::filesystem::path file = folder / name;
    if (!WriteFileAtomic(file, DefaultEquipmentFile(templateLine), error)) return {};
    return file;
}

std::string RigFromBoxText(std::string_view boxText) {
    constexpr std::string_view kMaker = "icom ";
    std::string rig;
    rig.reserve(boxText.size());
    for (std::size_t i = 0; i < boxText.size();) {
        bool maker = boxText.size() - i >= kMaker.size();
        for (std::size_t k = 0; maker && k < kMaker.size(); ++k) maker = Lower(boxText[i + k]) == kMaker[k];
        if (maker) {
            i += kMaker.size();
        } else {
            rig.push_back(boxText[i++]);
        }
    }
    return rig;
}

std::string_view AntennaBandList(std::string_view antenna) {
    const std::size_t open = antenna.find('[');
    if (open == std::string_view::npos) return {};
    const std::size_t close = antenna.find(']', open + 1);
    if (close == std::string_view::npos) return {};
    return antenna.substr(open + 1, close - open - 1);
}

std::string RotatorAntennaTag(std::string_view selection) {
    if (selection.size() < 2) return {};
    std::string_view text = TrimBlanks(selection.substr(1, 50));
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return {};
    return std::string(text.substr(0, close));
}

}  // namespace vantrel
