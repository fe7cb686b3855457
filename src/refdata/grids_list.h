// The list of callsign-to-grid entries ("CALL,GRID" lines of grids.txt) while it is being built:
// a set of distinct lines that gives them out sorted without regard to letter case.
//
// Order: lines compare by their bytes with the ASCII letters a-z taken as A-Z; two lines that
// differ only in letter case keep a fixed order by their plain bytes, so the sorted list never
// depends on the order in which lines were added. A line is dropped only when exactly the same
// line (same bytes, same case) is already there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "log/log_lines.h"

namespace vantrel {

// True when a sorts before b in grids order.
bool GridsLess(std::string_view a, std::string_view b);

class GridsWorkingList {
public:
    GridsWorkingList() = default;
    GridsWorkingList(GridsWorkingList&&) noexcept = default;
    GridsWorkingList& operator=(GridsWorkingList&&) noexcept = default;
    GridsWorkingList(const GridsWorkingList&) = delete;
    GridsWorkingList& operator=(const GridsWorkingList&) = delete;

    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    bool Contains(std::string_view line) const;

    // Adds the line unless the same line is there; true when it was added.
    bool Add(std::string_view line);
    // Adds CALL "," GRID without building a text first when the line is already there.
    bool Add(std::string_view call, std::string_view grid);
    // CALL "," GRID made ready for adding: its key and hash are taken and its slot is fetched
    // into the cache, so that adding it a little later does not wait for memory. The views must
    // stay valid until then.
    struct Prepared;
    Prepared Prepare(std::string_view call, std::string_view grid) const;
    bool Add(const Prepared& entry);
    // Adds every non-empty line of the list.
    std::size_t AddLines(const LogLines& lines);

    // The lines in grids order (sorts what was added since the last call).
    const std::vector<std::string_view>& Sorted() const;
    LogLines ToLogLines() const;

    void clear();
    void reserve(std::size_t lines);

private:
    // A slot holds a line's first 16 bytes and its length, so most lookups touch one cache line.
    struct Key {
        std::uint64_t a = 0, b = 0;
        std::uint32_t length = 0;
    };
    struct Slot {
        std::uint64_t a = 0, b = 0;
        std::uint32_t length = 0;
        std::uint32_t index = 0;  // index + 1 into lines_; 0 for an empty slot
    };
public:
    struct Prepared {
        Key key;
        std::uint64_t hash = 0;
        std::string_view call, grid;
    };

private:
    static Key KeyOf(std::string_view line);
    bool Insert(std::string_view line, const Key& key, std::uint64_t hash);
    static std::uint64_t HashOf(const Key& key, std::string_view line);
    std::size_t Find(std::string_view line, const Key& key, std::uint64_t hash) const;
    void Grow();

    std::string_view Store(std::string_view line);

    std::vector<std::unique_ptr<char[]>> chunks_;  // the lines' bytes; never move
    std::size_t chunkLeft_ = 0;
    char* chunkNext_ = nullptr;
    std::vector<std::string_view> lines_;  // in the order added
    std::vector<Slot> slots_;              // open addressing, linear probing
    mutable std::vector<std::string_view> sorted_;
    mutable std::size_t sortedCount_ = 0;  // lines_[0 .. sortedCount_) are in sorted_
    std::string scratch_;
};

// Thins a sorted grids list: wherever the next entry contains the whole of an entry (K1ABC,FN42
// before K1ABC,FN42AB; "K1ABC," before K1ABC,FN42), the entry goes, and the entry before it is
// then compared with the new next one, until no entry is contained in its successor. A list of
// at most 2 entries is left as it stands. One pass; `progress` gets per cent now and then.
void RemoveGridDuplicates(LogLines& grids, const std::function<void(int percent)>& progress = {});
std::vector<std::string_view> RemoveGridDuplicates(const std::vector<std::string_view>& grids);

// Lines of Marliskgrids.txt: each non-empty line as it stands.
std::size_t AddMarliskGrids(GridsWorkingList& list, const LogLines& marliskLines);
// The local log's contacts: callsign (field 5) "," grid (field 6), both trimmed of blanks, an
// empty grid giving "CALL,". Lines without a callsign give nothing. A log of fewer than 2 lines
// gives nothing.
std::size_t AddLocalLogGrids(GridsWorkingList& list, const LogLines& localLogLines);

}  // namespace vantrel
