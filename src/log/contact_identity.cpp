#include "log/contact_identity.h"

#include <bit>

#include "log/band_table.h"
#include "log/line_text.h"

namespace vantrel {

namespace {

// The number written by `count` digits at `at`; -1 when any of them is not a digit.
int Digits(std::string_view text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::uint32_t DateNumber(int year, int month, int day) {
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31) return 0;
    return static_cast<std::uint32_t>(year * 10000 + month * 100 + day);
}

// The field that starts at `at`; `at` moves past its separator (to npos after the last field).
std::string_view NextField(std::string_view line, std::size_t& at) {
    if (at == std::string_view::npos) return {};
    const std::size_t comma = line.find(',', at);
    const std::string_view field = line.substr(at, comma == std::string_view::npos ? comma : comma - at);
    at = comma == std::string_view::npos ? comma : comma + 1;
    return field;
}

inline std::uint64_t Mix(std::uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    x ^= x >> 33;
    return x;
}

inline char UpperCaseLetter(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

constexpr std::size_t kLongestCall = (1u << 24) - 1;

}  // namespace

std::uint32_t LogDateNumber(std::string_view text) {
    if (text.size() == 10 && text[4] == '-' && text[7] == '-')
        return DateNumber(Digits(text, 0, 4), Digits(text, 5, 2), Digits(text, 8, 2));
    // day/month/year, one or two digits for the day and the month
    const std::size_t first = text.find('/');
    if (first == std::string_view::npos || first < 1 || first > 2) return 0;
    const std::size_t second = text.find('/', first + 1);
    if (second == std::string_view::npos || second - first < 2 || second - first > 3) return 0;
    if (text.size() - second != 5) return 0;
    return DateNumber(Digits(text, second + 1, 4), Digits(text, first + 1, second - first - 1),
                      Digits(text, 0, first));
}

std::int32_t LogTimeNumber(std::string_view text) {
    if (text.size() == 7) {  // one-digit hour
        if (text[1] != ':' || text[4] != ':') return -1;
        const int h = Digits(text, 0, 1), m = Digits(text, 2, 2), s = Digits(text, 5, 2);
        if (h < 0 || m < 0 || m > 59 || s < 0 || s > 59) return -1;
        return h * 10000 + m * 100 + s;
    }
    if (text.size() != 8 || text[2] != ':' || text[5] != ':') return -1;
    const int h = Digits(text, 0, 2), m = Digits(text, 3, 2), s = Digits(text, 6, 2);
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59) return -1;
    return h * 10000 + m * 100 + s;
}

std::optional<ContactIdentity> ContactIdentityOf(std::string_view line) {
    std::size_t at = 0;
    const std::uint32_t date = LogDateNumber(NextField(line, at));
    const std::int32_t time = LogTimeNumber(NextField(line, at));
    if (date == 0 || time < 0) return std::nullopt;
    NextField(line, at);
    NextField(line, at);
    ContactIdentity identity;
    identity.date = date;
    identity.timeOn = static_cast<std::uint32_t>(time);
    for (char c : NextField(line, at)) identity.call += UpperCaseLetter(c);
    NextField(line, at);
    identity.band = BandRowOfFrequency(NextField(line, at));
    return identity;
}

bool IsWsjtxContactLine(std::string_view line) {
    std::size_t commas = 0;
    for (char c : line) commas += c == ',';
    if (commas < 10) return false;
    std::size_t at = 0;
    return LogDateNumber(NextField(line, at)) != 0 && LogTimeNumber(NextField(line, at)) >= 0;
}

// ---------------------------------------------------------------------------------------------

std::optional<ContactIndex::Key> ContactIndex::KeyOf(std::string_view line) {
    std::size_t at = 0;
    Key key;
    key.date = LogDateNumber(NextField(line, at));
    const std::int32_t time = LogTimeNumber(NextField(line, at));
    if (key.date == 0 || time < 0) return std::nullopt;
    key.timeOn = static_cast<std::uint32_t>(time);
    NextField(line, at);
    NextField(line, at);
    key.call = NextField(line, at);
    NextField(line, at);
    key.band = BandRowOfFrequency(NextField(line, at));
    if (key.call.size() > kLongestCall) return std::nullopt;
    return key;
}

std::uint64_t ContactIndex::Hash(const Key& key) {
    // Date (27 bits), time (18 bits) and band (5 bits) do not overlap.
    std::uint64_t h = Mix((std::uint64_t{key.date} << 27) ^ (std::uint64_t{key.timeOn} << 5) ^
                          static_cast<std::uint64_t>(key.band + 1));
    for (char c : key.call) h = (h ^ static_cast<unsigned char>(UpperCaseLetter(c))) * 0x100000001b3ULL;
    return Mix(h);
}

std::uint64_t ContactIndex::HashOf(const Entry& entry) const {
    return Hash({entry.date, entry.timeOn, static_cast<int>(entry.bandPlusOne) - 1,
                 std::string_view(calls_).substr(entry.callAt, entry.callLength)});
}

bool ContactIndex::Matches(const Entry& entry, const Key& key) const {
    if (entry.date != key.date || entry.timeOn != key.timeOn ||
        static_cast<int>(entry.bandPlusOne) - 1 != key.band || entry.callLength != key.call.size())
        return false;
    const char* stored = calls_.data() + entry.callAt;
    for (std::size_t i = 0; i < key.call.size(); ++i)
        if (stored[i] != UpperCaseLetter(key.call[i])) return false;
    return true;
}

std::size_t ContactIndex::SlotOf(const Key& key, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    const std::uint64_t tag = hash >> 32;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const std::uint64_t slot = slots_[i];
        if (slot == 0) return i;
        if ((slot >> 32) == tag && Matches(entries_[(slot & 0xffffffffu) - 1], key)) return i;
    }
}

void ContactIndex::Reserve(std::size_t entries) {
    // At most half the slots are taken, so a probe ends soon.
    const std::size_t wanted = std::bit_ceil(std::max<std::size_t>(16, entries * 2));
    if (wanted <= slots_.size()) return;
    slots_.assign(wanted, 0);
    const std::size_t mask = wanted - 1;
    for (std::size_t n = 0; n < entries_.size(); ++n) {
        const std::uint64_t hash = HashOf(entries_[n]);
        std::size_t i = hash & mask;
        while (slots_[i] != 0) i = (i + 1) & mask;
        slots_[i] = (hash >> 32 << 32) | (n + 1);
    }
    entries_.reserve(entries);
}

bool ContactIndex::Insert(const Key& key) {
    if ((entries_.size() + 1) * 2 > slots_.size()) Reserve(std::max<std::size_t>(16, entries_.size() * 2));
    const std::uint64_t hash = Hash(key);
    const std::size_t i = SlotOf(key, hash);
    if (slots_[i] != 0) return false;
    Entry entry{};
    entry.date = key.date;
    entry.timeOn = key.timeOn;
    entry.callAt = static_cast<std::uint32_t>(calls_.size());
    entry.callLength = static_cast<std::uint32_t>(key.call.size());
    entry.bandPlusOne = static_cast<std::uint32_t>(key.band + 1);
    for (char c : key.call) calls_ += UpperCaseLetter(c);
    entries_.push_back(entry);
    slots_[i] = (hash >> 32 << 32) | entries_.size();
    return true;
}

bool ContactIndex::Add(std::string_view line) {
    if (line.empty()) return false;
    if (const auto key = KeyOf(line)) return Insert(*key);
    return otherLines_.emplace(line).second;
}

void ContactIndex::Extend(const LogLines& lines, std::size_t from) {
    if (from < lines.size()) {
        Reserve(entries_.size() + (lines.size() - from));
        for (std::size_t i = from; i < lines.size(); ++i) Add(lines[i]);
    }
    indexedLines_ = lines.size();
}

void ContactIndex::Rebuild(const LogLines& lines) {
    clear();
    Extend(lines, 0);
}

void ContactIndex::clear() {
    slots_.clear();
    entries_.clear();
    calls_.clear();
    otherLines_.clear();
    indexedLines_ = 0;
}

bool ContactIndex::Contains(std::string_view line) const {
    if (const auto key = KeyOf(line)) {
        if (slots_.empty()) return false;
        return slots_[SlotOf(*key, Hash(*key))] != 0;
    }
    return !line.empty() && otherLines_.contains(line);
}

bool ContactIndex::Contains(const ContactIdentity& identity) const {
    if (slots_.empty() || identity.call.size() > kLongestCall) return false;
    const Key key{identity.date, identity.timeOn, identity.band, identity.call};
    return slots_[SlotOf(key, Hash(key))] != 0;
}

}  // namespace vantrel
