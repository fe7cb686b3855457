#include "log/contact_identity.h"

#include <bit>
#include <cstring>

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

// The first `wanted` fields of a line (at most 7; fewer when it has fewer); how many there are.
// Fields are short, so a plain loop beats a search call per field.
std::size_t FirstFields(std::string_view line, std::string_view (&fields)[7], std::size_t wanted) {
    const char* p = line.data();
    const char* const end = p + line.size();
    const char* start = p;
    std::size_t n = 0;
    for (; p != end; ++p) {
        if (*p != ',') continue;
        fields[n++] = std::string_view(start, static_cast<std::size_t>(p - start));
        start = p + 1;
        if (n == wanted) return n;
    }
    fields[n++] = std::string_view(start, static_cast<std::size_t>(end - start));
    return n;
}

// The commas of a line, eight bytes at a time: a byte equal to the comma becomes zero, and the
// zero bytes of a word are marked exactly by their top bit.
std::size_t CountCommas(std::string_view line) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kLow7 = 0x7f7f7f7f7f7f7f7fULL;
    std::size_t count = 0, i = 0;
    for (; i + 8 <= line.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, line.data() + i, 8);
        word ^= kOnes * ',';
        const std::uint64_t marks = ~(((word & kLow7) + kLow7) | word | kLow7) >> 7;  // 0 or 1 a byte
        count += static_cast<std::size_t>((marks * kOnes) >> 56);
    }
    for (; i < line.size(); ++i) count += line[i] == ',';
    return count;
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
    std::string_view f[7];
    const std::size_t n = FirstFields(line, f, 7);
    if (n < 2) return std::nullopt;
    const std::uint32_t date = LogDateNumber(f[0]);
    const std::int32_t time = LogTimeNumber(f[1]);
    if (date == 0 || time < 0) return std::nullopt;
    ContactIdentity identity;
    identity.date = date;
    identity.timeOn = static_cast<std::uint32_t>(time);
    if (n >= 5)
        for (char c : f[4]) identity.call += UpperCaseLetter(c);
    identity.band = n >= 7 ? BandRowOfFrequency(f[6]) : -1;
    return identity;
}

bool IsWsjtxContactLine(std::string_view line) {
    if (CountCommas(line) < 10) return false;
    std::string_view f[7];
    FirstFields(line, f, 2);
    return LogDateNumber(f[0]) != 0 && LogTimeNumber(f[1]) >= 0;
}

// ---------------------------------------------------------------------------------------------

std::optional<ContactIndex::Key> ContactIndex::KeyOf(std::string_view line) {
    std::string_view f[7];
    const std::size_t n = FirstFields(line, f, 7);
    if (n < 2) return std::nullopt;
    Key key;
    key.date = LogDateNumber(f[0]);
    const std::int32_t time = LogTimeNumber(f[1]);
    if (key.date == 0 || time < 0) return std::nullopt;
    key.timeOn = static_cast<std::uint32_t>(time);
    if (n >= 5) key.call = f[4];
    key.band = n >= 7 ? BandRowOfFrequency(f[6]) : -1;
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
    // At most three quarters of the slots are taken, so a probe ends soon.
    const std::size_t wanted = std::bit_ceil(std::max<std::size_t>(16, entries + entries / 3 + 1));
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

bool ContactIndex::Insert(const Key& key) { return Insert(key, Hash(key)); }

bool ContactIndex::Insert(const Key& key, std::uint64_t hash) {
    if (entries_.size() + 1 > slots_.size() / 4 * 3) {
        Reserve(std::max<std::size_t>(16, entries_.size() * 2));
    }
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
        // In groups: the slots of a group are fetched from memory together while their keys
        // are read, which hides most of the wait for them.
        constexpr std::size_t kGroup = 16;
        std::optional<Key> keys[kGroup];
        std::uint64_t hashes[kGroup];
        for (std::size_t first = from; first < lines.size(); first += kGroup) {
            const std::size_t count = std::min(kGroup, lines.size() - first);
            const std::size_t mask = slots_.size() - 1;
            for (std::size_t j = 0; j < count; ++j) {
                keys[j] = KeyOf(lines[first + j]);
                if (!keys[j]) continue;
                hashes[j] = Hash(*keys[j]);
                __builtin_prefetch(&slots_[hashes[j] & mask]);
            }
            for (std::size_t j = 0; j < count; ++j) {
                if (keys[j])
                    Insert(*keys[j], hashes[j]);
                else if (!lines[first + j].empty())
                    otherLines_.emplace(lines[first + j]);
            }
        }
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

void ContactIndex::ContainsEach(const std::string_view* lines, std::size_t count,
                                bool* held) const {
    constexpr std::size_t kMost = 64;
    std::optional<Key> keys[kMost];
    std::uint64_t hashes[kMost];
    count = std::min(count, kMost);
    for (std::size_t j = 0; j < count; ++j) {
        keys[j] = KeyOf(lines[j]);
        if (!keys[j] || slots_.empty()) continue;
        hashes[j] = Hash(*keys[j]);
        __builtin_prefetch(&slots_[hashes[j] & (slots_.size() - 1)]);
    }
    for (std::size_t j = 0; j < count; ++j) {
        if (keys[j])
            held[j] = !slots_.empty() && slots_[SlotOf(*keys[j], hashes[j])] != 0;
        else
            held[j] = !lines[j].empty() && otherLines_.contains(lines[j]);
    }
}

bool ContactIndex::Contains(const ContactIdentity& identity) const {
    if (slots_.empty() || identity.call.size() > kLongestCall) return false;
    const Key key{identity.date, identity.timeOn, identity.band, identity.call};
    return slots_[SlotOf(key, Hash(key))] != 0;
}

}  // namespace vantrel
