#include "refdata/grids_list.h"
#include "log/line_text.h"

#include <algorithm>
#include <cstring>

#include "log/extract_field.h"

namespace vantrel {

namespace {

constexpr std::size_t kChunkBytes = 256 * 1024;

inline unsigned char Fold(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c;
}

}  // namespace

bool GridsLess(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char fa = Fold(static_cast<unsigned char>(a[i]));
        const unsigned char fb = Fold(static_cast<unsigned char>(b[i]));
        if (fa != fb) return fa < fb;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::string_view GridsWorkingList::Store(std::string_view line) {
    if (line.size() > chunkLeft_) {
        const std::size_t bytes = std::max(kChunkBytes, line.size());
        chunks_.push_back(std::make_unique<char[]>(bytes));
        chunkNext_ = chunks_.back().get();
        chunkLeft_ = bytes;
    }
    if (!line.empty()) std::memcpy(chunkNext_, line.data(), line.size());
    const std::string_view stored(chunkNext_, line.size());
    chunkNext_ += line.size();
    chunkLeft_ -= line.size();
    return stored;
}

GridsWorkingList::Key GridsWorkingList::KeyOf(std::string_view line) {
    char bytes[16] = {};
    std::memcpy(bytes, line.data(), std::min<std::size_t>(line.size(), 16));
    Key key;
    std::memcpy(&key.a, bytes, 8);
    std::memcpy(&key.b, bytes + 8, 8);
    key.length = static_cast<std::uint32_t>(line.size());
    return key;
}

std::uint64_t GridsWorkingList::HashOf(const Key& key, std::string_view line) {
    std::uint64_t h = key.a * 0x9E3779B97F4A7C15ull;
    h ^= (h >> 32) ^ (key.b + key.length) * 0xC2B2AE3D27D4EB4Full;
    if (line.size() > 16) h ^= std::hash<std::string_view>{}(line.substr(16));
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    return h;
}

std::size_t GridsWorkingList::Find(std::string_view line, const Key& key, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = slots_[at];
        if (slot.index == 0) return at;
        if (slot.a == key.a && slot.b == key.b && slot.length == key.length &&
            (key.length <= 16 || lines_[slot.index - 1] == line))
            return at;
    }
}

void GridsWorkingList::Grow() {
    std::vector<Slot> slots(slots_.empty() ? 1024 : slots_.size() * 2);
    const std::size_t mask = slots.size() - 1;
    for (const Slot& old : slots_) {
        if (old.index == 0) continue;
        const std::string_view line = lines_[old.index - 1];
        std::size_t at = HashOf(KeyOf(line), line) & mask;
        while (slots[at].index != 0) at = (at + 1) & mask;
        slots[at] = old;
    }
    slots_ = std::move(slots);
}

bool GridsWorkingList::Contains(std::string_view line) const {
    if (slots_.empty()) return false;
    const Key key = KeyOf(line);
    return slots_[Find(line, key, HashOf(key, line))].index != 0;
}

bool GridsWorkingList::Insert(std::string_view line, const Key& key, std::uint64_t hash) {
    if ((lines_.size() + 1) * 2 > slots_.size()) Grow();
    const std::size_t at = Find(line, key, hash);
    if (slots_[at].index != 0) return false;
    lines_.push_back(Store(line));
    slots_[at] = Slot{key.a, key.b, key.length, static_cast<std::uint32_t>(lines_.size())};
    return true;
}

bool GridsWorkingList::Add(std::string_view line) {
    const Key key = KeyOf(line);
    return Insert(line, key, HashOf(key, line));
}

bool GridsWorkingList::Add(std::string_view call, std::string_view grid) {
    return Add(Prepare(call, grid));
}

GridsWorkingList::Prepared GridsWorkingList::Prepare(std::string_view call,
                                                     std::string_view grid) const {
    Prepared entry;
    entry.call = call;
    entry.grid = grid;
    const std::size_t length = call.size() + 1 + grid.size();
    if (length > 16) {
        std::string line;
        line.reserve(length);
        line.append(call).append(1, ',').append(grid);
        entry.key = KeyOf(line);
        entry.hash = HashOf(entry.key, line);
    } else {
        char bytes[16] = {};
        std::memcpy(bytes, call.data(), call.size());
        bytes[call.size()] = ',';
        std::memcpy(bytes + call.size() + 1, grid.data(), grid.size());
        entry.key = KeyOf(std::string_view(bytes, length));
        entry.hash = HashOf(entry.key, std::string_view(bytes, length));
    }
    if (!slots_.empty()) __builtin_prefetch(&slots_[entry.hash & (slots_.size() - 1)]);
    return entry;
}

bool GridsWorkingList::Add(const Prepared& entry) {
    // A line of at most 16 bytes is all in its key: no need to spell it out to find it.
    if (entry.key.length <= 16 && !slots_.empty() &&
        slots_[Find({}, entry.key, entry.hash)].index != 0)
        return false;
    scratch_.assign(entry.call);
    scratch_.push_back(',');
    scratch_.append(entry.grid);
    return Insert(scratch_, entry.key, entry.hash);
}

std::size_t GridsWorkingList::AddLines(const LogLines& lines) {
    std::size_t added = 0;
    for (std::string_view line : lines)
        if (!line.empty() && Add(line)) ++added;
    return added;
}

const std::vector<std::string_view>& GridsWorkingList::Sorted() const {
    if (sortedCount_ < lines_.size()) {
        const std::size_t old = sorted_.size();
        sorted_.insert(sorted_.end(), lines_.begin() + static_cast<std::ptrdiff_t>(sortedCount_),
                       lines_.end());
        std::sort(sorted_.begin() + static_cast<std::ptrdiff_t>(old), sorted_.end(), GridsLess);
        std::inplace_merge(sorted_.begin(), sorted_.begin() + static_cast<std::ptrdiff_t>(old),
                           sorted_.end(), GridsLess);
        sortedCount_ = lines_.size();
    }
    return sorted_;
}

LogLines GridsWorkingList::ToLogLines() const {
    const auto& sorted = Sorted();
    std::size_t bytes = 0;
    for (std::string_view line : sorted) bytes += line.size() + 2;
    LogLines result;
    result.reserve(sorted.size(), bytes);
    for (std::string_view line : sorted) result.push_back(line);
    return result;
}

void GridsWorkingList::clear() {
    *this = GridsWorkingList();
}

void GridsWorkingList::reserve(std::size_t lines) {
    lines_.reserve(lines);
    while (slots_.size() < lines * 2) Grow();
}

// Deleting entry i of the list only brings entries i-1 and i+1 together; the pairs before it
// are as they were. So a start again from the top finds its next deletion exactly where a
// stack of the entries kept so far meets the next entry: pop while the next entry contains the
// top, then push it.
std::vector<std::string_view> RemoveGridDuplicates(const std::vector<std::string_view>& grids) {
    if (grids.size() <= 2) return grids;
    std::vector<std::string_view> kept;
    kept.reserve(grids.size());
    for (std::string_view entry : grids) {
        while (!kept.empty() && entry.find(kept.back()) != std::string_view::npos) kept.pop_back();
        kept.push_back(entry);
    }
    return kept;
}

void RemoveGridDuplicates(LogLines& grids, const std::function<void(int percent)>& progress) {
    if (progress) progress(0);
    if (grids.size() <= 2) return;
    std::vector<std::string_view> kept;
    kept.reserve(grids.size());
    const std::size_t total = grids.size();
    std::size_t i = 0;
    bool removed = false;
    for (std::string_view entry : grids) {
        while (!kept.empty() && entry.find(kept.back()) != std::string_view::npos) {
            kept.pop_back();
            removed = true;
        }
        kept.push_back(entry);
        if (progress && ++i % 65536 == 0) progress(static_cast<int>(100 * i / total));
    }
    if (removed) {
        std::size_t bytes = 0;
        for (std::string_view line : kept) bytes += line.size() + 2;
        LogLines thinned;
        thinned.reserve(kept.size(), bytes);
        for (std::string_view line : kept) thinned.push_back(line);
        grids = std::move(thinned);
    }
    if (progress) progress(100);
}

std::size_t AddMarliskGrids(GridsWorkingList& list, const LogLines& marliskLines) {
    return list.AddLines(marliskLines);
}

std::size_t AddLocalLogGrids(GridsWorkingList& list, const LogLines& localLogLines) {
    if (localLogLines.size() < 2) return 0;
    std::size_t added = 0;
    for (std::string_view line : localLogLines) {
        const std::string_view call = TrimSpaces(ExtractFieldView(line, ',', 5));
        if (call.empty()) continue;
        if (list.Add(call, TrimSpaces(ExtractFieldView(line, ',', 6)))) ++added;
    }
    return added;
}

}  // namespace vantrel
