#include "feed/socket_drops.h"

#include <sys/stat.h>

#include <charconv>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vantrel {

namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

std::optional<std::uint64_t> Number(std::string_view word) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::uint64_t> DropsOfSocketInode(std::string_view table, std::uint64_t inode) {
    // sl local rem st tx:rx tr:when retrnsmt uid timeout inode ref pointer drops
    constexpr std::size_t kInode = 9, kDrops = 12;
    while (!table.empty()) {
        const std::size_t end = table.find('\n');
        const std::string_view line = table.substr(0, end);
        table = end == std::string_view::npos ? std::string_view() : table.substr(end + 1);
        const std::vector<std::string_view> words = Words(line);
        if (words.size() <= kDrops || Number(words[kInode]) != inode) continue;
        return Number(words[kDrops]);
    }
    return std::nullopt;
}

std::optional<std::uint64_t> SocketDrops(int descriptor) {
    struct stat status {};
    if (descriptor < 0 || ::fstat(descriptor, &status) != 0) return std::nullopt;
    for (const char* file : {"/proc/self/net/udp", "/proc/self/net/udp6"}) {
        std::ifstream in(file);
        const std::string table((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (auto drops = DropsOfSocketInode(table, status.st_ino)) return drops;
    }
    return std::nullopt;
}

}  // namespace vantrel
