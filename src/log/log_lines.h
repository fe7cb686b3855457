// Log files as lists of lines: 8-bit text taken byte for byte, one record per line.
//
// The lines are kept in one block of bytes in the form of the file they came from: every line
// followed by the same line end (CR LF, the form the program writes, or LF, as WSJT-X writes on
// Linux). Loading is one read and one scan that counts the lines; the start of each line is
// noted only when a line is first asked for by position. Saving writes the block as it stands
// and appending writes only its tail.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <iosfwd>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_block.h"

namespace vantrel {

class LogLines {
public:
    LogLines() = default;
    LogLines(std::initializer_list<std::string_view> lines);
    LogLines(const std::vector<std::string>& lines);

    // Splits on LF and drops one CR before it, so CRLF and LF files read alike. A final line end
    // does not make an extra empty line.
    static LogLines FromBytes(std::string_view bytes);
    static LogLines FromBlock(ByteBlock block);

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    std::string_view operator[](std::size_t i) const {
        if (!indexed_) BuildIndex();
        const std::size_t end = i + 1 < count_ ? starts_[i + 1] : block_.size();
        return block_.view().substr(starts_[i], end - starts_[i] - eol_);
    }
    std::string_view front() const;
    std::string_view back() const;

    void push_back(std::string_view line);
    void clear();
    void reserve(std::size_t lines, std::size_t bytes);
    // Replaces line i (the lines after it move in the block).
    void Set(std::size_t i, std::string_view line);
    // Removes every empty line; true when any was removed.
    bool RemoveEmpty();

    // The lines as the block holds them: each followed by the list's line end.
    std::string_view Bytes() const { return block_.view(); }
    // The block from line `first` on.
    std::string_view BytesFrom(std::size_t first) const;
    // The lines in the program's file form (CR LF), from line `first` on.
    std::string FileForm(std::size_t first = 0) const;
    bool InFileForm() const { return eol_ == 2; }

    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;
        const_iterator() = default;
        const_iterator(const LogLines* lines, std::size_t i) : lines_(lines), i_(i) {}
        std::string_view operator*() const { return (*lines_)[i_]; }
        const_iterator& operator++() { ++i_; return *this; }
        const_iterator operator++(int) { auto old = *this; ++i_; return old; }
        const_iterator& operator--() { --i_; return *this; }
        const_iterator& operator+=(difference_type n) { i_ += n; return *this; }
        const_iterator operator+(difference_type n) const { return {lines_, i_ + n}; }
        difference_type operator-(const_iterator other) const {
            return static_cast<difference_type>(i_) - static_cast<difference_type>(other.i_);
        }
        std::string_view operator[](difference_type n) const { return (*lines_)[i_ + n]; }
        friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.i_ == b.i_; }
        friend auto operator<=>(const const_iterator& a, const const_iterator& b) { return a.i_ <=> b.i_; }

    private:
        const LogLines* lines_ = nullptr;
        std::size_t i_ = 0;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    friend bool operator==(const LogLines& a, const LogLines& b);
    friend void PrintTo(const LogLines& lines, std::ostream* out);

private:
    void BuildIndex() const;
    const char* LineEnd() const { return eol_ == 2 ? "\r\n" : "\n"; }

    ByteBlock block_;
    std::size_t count_ = 0;
    std::size_t eol_ = 2;  // bytes of the line end: 2 for CR LF, 1 for LF
    std::size_t emptyLines_ = 0;
    mutable std::vector<std::size_t> starts_;
    mutable bool indexed_ = true;
};

// The lines in the program's file form (each followed by CR LF).
inline std::string JoinLines(const LogLines& lines, std::size_t first = 0) {
    return lines.FileForm(first);
}

// Nothing when the file is missing or unreadable.
std::optional<LogLines> LoadLogLines(const std::filesystem::path& file, std::string* error = nullptr);
inline bool RemoveEmptyLines(LogLines& lines) { return lines.RemoveEmpty(); }
// Replaces the file with the lines, in the program's file form, in one step.
bool SaveLogLines(const std::filesystem::path& file, const LogLines& lines,
                  std::string* error = nullptr);
// The same, but a file that already holds exactly these lines is left as it is.
bool SaveLogLinesIfChanged(const std::filesystem::path& file, const LogLines& lines,
                           std::string* error = nullptr, bool* written = nullptr);

}  // namespace vantrel
