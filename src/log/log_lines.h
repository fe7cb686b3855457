// Log files as lists of lines: 8-bit text taken byte for byte, one record per line.
//
// The lines are kept in one block of bytes in exactly the form the program writes its files in
// (each line followed by CR LF), with the start of every line noted. Loading a file written by
// the program is then one read and one scan for line ends, saving is one write of the block,
// and appending writes only the block's tail.
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

namespace vantrel {

class LogLines {
public:
    LogLines() = default;
    LogLines(std::initializer_list<std::string_view> lines);
    LogLines(const std::vector<std::string>& lines);

    // Splits on LF and drops one CR before it, so CRLF and LF files read alike. A final line end
    // does not make an extra empty line.
    static LogLines FromBytes(std::string bytes);

    std::size_t size() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }
    std::string_view operator[](std::size_t i) const {
        const std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] : bytes_.size();
        return std::string_view(bytes_).substr(starts_[i], end - starts_[i] - 2);
    }
    std::string_view front() const { return (*this)[0]; }
    std::string_view back() const { return (*this)[size() - 1]; }

    void push_back(std::string_view line);
    void clear();
    void reserve(std::size_t lines, std::size_t bytes);
    // Replaces line i (the lines after it move in the block).
    void Set(std::size_t i, std::string_view line);
    // Removes every empty line; true when any was removed.
    bool RemoveEmpty();

    // The lines in file form: each followed by CR LF.
    const std::string& Bytes() const { return bytes_; }
    // The file form of the lines from `first` on.
    std::string_view BytesFrom(std::size_t first) const {
        return first >= size() ? std::string_view() : std::string_view(bytes_).substr(starts_[first]);
    }

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

    friend bool operator==(const LogLines& a, const LogLines& b) { return a.bytes_ == b.bytes_; }
    friend void PrintTo(const LogLines& lines, std::ostream* out);

private:
    std::string bytes_;
    std::vector<std::size_t> starts_;
};

// Each line followed by CR LF, the layout the program writes its logs in.
inline std::string JoinLines(const LogLines& lines, std::size_t first = 0) {
    return std::string(lines.BytesFrom(first));
}

// Nothing when the file is missing or unreadable.
std::optional<LogLines> LoadLogLines(const std::filesystem::path& file, std::string* error = nullptr);
inline bool RemoveEmptyLines(LogLines& lines) { return lines.RemoveEmpty(); }
// Replaces the file with the lines in one step.
bool SaveLogLines(const std::filesystem::path& file, const LogLines& lines,
                  std::string* error = nullptr);

}  // namespace vantrel
