#include "wsjtx/decoded_station.h"

#include <vector>

#include "log/line_text.h"

namespace vantrel {

namespace {

bool InRange(char c, char low, char high) { return c >= low && c <= high; }

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    while (!text.empty()) {
        const std::size_t start = text.find_first_not_of(' ');
        if (start == std::string_view::npos) break;
        text.remove_prefix(start);
        const std::size_t end = text.find(' ');
        words.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end);
    }
    return words;
}

// "<K1ABC>" is K1ABC received before as a hash; "<...>" is a hash never resolved.
std::string_view WithoutHashMarks(std::string_view word) {
    if (word.size() >= 2 && word.front() == '<' && word.back() == '>') return word.substr(1, word.size() - 2);
    return word;
}

std::optional<HeardStation> Station(std::string_view call, std::string_view gridWord, HeardRole role) {
    call = WithoutHashMarks(call);
    if (!LooksLikeCallsign(call)) return std::nullopt;
    HeardStation station;
    station.call = UpperCase(call);
    if (IsGridWord(gridWord)) station.grid = std::string(gridWord);
    station.role = role;
    return station;
}

}  // namespace

std::string_view DecodedMessageText(std::string_view message) {
    message = TrimSpaces(message);
    return TrimSpaces(message.substr(0, message.find("  ")));
}

bool IsGridWord(std::string_view w) {
    return w.size() == 4 && w != "RR73" && InRange(w[0], 'A', 'R') && InRange(w[1], 'A', 'R') &&
           InRange(w[2], '0', '9') && InRange(w[3], '0', '9');
}

bool LooksLikeCallsign(std::string_view word) {
    if (word.size() < 3 || word.size() > 13) return false;
    bool letter = false, digit = false;
    for (const char c : word) {
        if (InRange(c, 'A', 'Z') || InRange(c, 'a', 'z'))
            letter = true;
        else if (InRange(c, '0', '9'))
            digit = true;
        else if (c != '/')
            return false;
    }
    return letter && digit;
}

std::optional<HeardStation> StationInMessage(std::string_view message, std::string_view ownCall) {
    const std::vector<std::string_view> words = Words(DecodedMessageText(message));
    if (words.size() < 2) return std::nullopt;
    auto word = [&](std::size_t i) { return i < words.size() ? words[i] : std::string_view(); };
    if (words[0] == "CQ" || words[0] == "QRZ") {
        // "CQ CALL [GRID]" or the directed "CQ WORD CALL [GRID]": a word that is no callsign
        // (DX, NA, POTA, TEST, 290) stands between CQ and the caller.
        if (words.size() >= 3 && !LooksLikeCallsign(WithoutHashMarks(word(1))))
            return Station(word(2), word(3), HeardRole::CqCaller);
        return Station(word(1), word(2), HeardRole::CqCaller);
    }
    if (!ownCall.empty() && SameTextNoCase(WithoutHashMarks(words[0]), ownCall))
        return Station(word(1), word(2), HeardRole::CallingOperator);
    return std::nullopt;
}

std::optional<HeardStation> SenderInMessage(std::string_view message, std::string_view ownCall) {
    if (auto station = StationInMessage(message, ownCall)) return station;
    const std::vector<std::string_view> words = Words(DecodedMessageText(message));
    if (words.size() < 2 || !LooksLikeCallsign(WithoutHashMarks(words[0]))) return std::nullopt;
    return Station(words[1], words.size() > 2 ? words[2] : std::string_view(), HeardRole::Other);
}

}  // namespace vantrel
