#include "refdata/grids_state.h"

#include <charconv>

#include "base/file_io.h"

namespace vantrel {

namespace {

constexpr std::string_view kHeader = "vantrel grids state 1";
constexpr char kHex[] = "0123456789abcdef";

std::string Hex(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        text += kHex[c >> 4];
        text += kHex[c & 15];
    }
    return text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<std::string> Unhex(std::string_view text) {
    if (text.size() % 2) return std::nullopt;
    std::string bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}

// The value of the line "NAME VALUE" that starts at `pos`; moves `pos` past the line.
std::optional<std::string_view> Field(std::string_view text, std::size_t& pos, std::string_view name) {
    const std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) return std::nullopt;
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.starts_with(name) || line.size() <= name.size() || line[name.size()] != ' ') return std::nullopt;
    return line.substr(name.size() + 1);
}

bool Number(std::optional<std::string_view> text, std::uint64_t& value) {
    if (!text || text->empty()) return false;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
    return ec == std::errc() && end == text->data() + text->size();
}

}  // namespace

std::string GridsStateText(const GridsState& state) {
    std::string text(kHeader);
    text += "\ngrids-size " + std::to_string(state.gridsSize);
    text += "\njournal-offset " + std::to_string(state.journalOffset);
    text += "\ncandidates " + std::to_string(state.candidateCount);
    text += "\nhead " + Hex(state.samples.head);
    text += "\ntail " + Hex(state.samples.tail);
    text += '\n';
    return text;
}

std::optional<GridsState> ParseGridsState(std::string_view text) {
    if (!text.starts_with(kHeader) || text.size() == kHeader.size() || text[kHeader.size()] != '\n')
        return std::nullopt;
    std::size_t pos = kHeader.size() + 1;
    GridsState state;
    if (!Number(Field(text, pos, "grids-size"), state.gridsSize) ||
        !Number(Field(text, pos, "journal-offset"), state.journalOffset) ||
        !Number(Field(text, pos, "candidates"), state.candidateCount))
        return std::nullopt;
    const auto head = Field(text, pos, "head");
    const auto tail = head ? Field(text, pos, "tail") : std::nullopt;
    auto headBytes = head ? Unhex(*head) : std::nullopt;
    auto tailBytes = tail ? Unhex(*tail) : std::nullopt;
    if (!headBytes || !tailBytes || pos != text.size() || tailBytes->size() > state.journalOffset)
        return std::nullopt;
    state.samples.head = std::move(*headBytes);
    state.samples.tail = std::move(*tailBytes);
    return state;
}

std::filesystem::path GridsStateFile(const std::filesystem::path& gridsFile) {
    return gridsFile.parent_path() / "grids.state";
}

std::optional<GridsState> LoadGridsState(const std::filesystem::path& gridsFile) {
    const std::int64_t gridsSize = FileSize(gridsFile);
    if (gridsSize < 0) return std::nullopt;
    const auto text = ReadWholeFile(GridsStateFile(gridsFile));
    if (!text) return std::nullopt;
    auto state = ParseGridsState(*text);
    if (!state || state->gridsSize != static_cast<std::uint64_t>(gridsSize)) return std::nullopt;
    return state;
}

bool SaveGridsState(const std::filesystem::path& gridsFile, GridsState state, std::string* error) {
    const std::int64_t gridsSize = FileSize(gridsFile);
    if (gridsSize < 0) {
        if (error) *error = "Cannot read " + gridsFile.string();
        return false;
    }
    state.gridsSize = static_cast<std::uint64_t>(gridsSize);
    return WriteFileIfChanged(GridsStateFile(gridsFile), GridsStateText(state), error);
}

}  // namespace vantrel
