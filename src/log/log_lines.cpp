#include "log/log_lines.h"

#include <cstring>
#include <ostream>

#include "base/byte_scan.h"
#include "base/file_io.h"


namespace vantrel {


LogLines::LogLines(std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) push_back(line);
}

LogLines::LogLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) push_back(line);
}

LogLines LogLines::FromBytes(std::string_view bytes) {
    ByteBlock block;
    block.append(bytes);
    return FromBlock(std::move(block));
}

LogLines LogLines::FromBlock(ByteBlock block) {
    LogLines lines;
    const std::string_view bytes = block.view();
    const LineEnds ends = ScanLineEnds(bytes);
    const bool terminated = bytes.empty() || bytes.back() == '\n';
    // Uniform line ends (all CR LF, or all LF with no CR anywhere) are kept as they are.
    std::size_t eol = 0;
    if (ends.bareLf == 0 && (ends.lf > 0 || bytes.empty()))
        eol = 2;
    else if (ends.cr == 0)
        eol = 1;
    if (eol != 0 && !(eol == 2 && !terminated && bytes.back() == '\r')) {
        lines.block_ = std::move(block);
        lines.eol_ = eol;
        lines.count_ = ends.lf;
        lines.emptyLines_ = eol == 2 ? ends.emptyCrLf : ends.emptyLf;
        if (!terminated) {  // a last line without its line end gets one
            lines.block_.append(eol == 2 ? "\r\n" : "\n");
            ++lines.count_;
        }
        lines.indexed_ = false;
        return lines;
    }

    // Mixed line ends: rewritten line by line in the program's file form.
    lines.reserve(ends.lf + 1, bytes.size() + ends.bareLf + 2);
    std::size_t start = 0;
    while (start < bytes.size()) {
        auto end = bytes.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos) end = bytes.size();
        std::size_t stop = end;
        if (stop > start && bytes[stop - 1] == '\r') --stop;
        lines.push_back(bytes.substr(start, stop - start));
        start = next;
    }
    return lines;
}

void LogLines::BuildIndex() const {
    starts_.clear();
    starts_.reserve(count_);
    const char* base = block_.data();
    const std::size_t size = block_.size();
    std::size_t start = 0;
    while (start < size && starts_.size() < count_) {
        starts_.push_back(start);
        const void* lf = std::memchr(base + start, '\n', size - start);
        start = static_cast<std::size_t>(static_cast<const char*>(lf) - base) + 1;
    }
    indexed_ = true;
}

std::string_view LogLines::front() const {
    const std::string_view bytes = block_.view();
    return bytes.substr(0, bytes.find('\n') + 1 - eol_);
}

std::string_view LogLines::back() const {
    const std::string_view bytes = block_.view();
    const std::size_t end = bytes.size() - eol_;
    const std::size_t lf = end == 0 ? std::string_view::npos : bytes.rfind('\n', end - 1);
    const std::size_t start = lf == std::string_view::npos ? 0 : lf + 1;
    return bytes.substr(start, end - start);
}

std::string_view LogLines::BytesFrom(std::size_t first) const {
    if (first >= count_) return {};
    if (first == 0) return block_.view();
    if (indexed_) return block_.view().substr(starts_[first]);
    // Line `first` starts after the line end of the line before it: counted from whichever end
    // of the block is nearer.
    const std::size_t lf = first <= count_ / 2
                               ? FindNthByte(block_.view(), '\n', first)
                               : FindNthByteFromEnd(block_.view(), '\n', count_ - first + 1);
    return block_.view().substr(lf + 1);
}

std::string LogLines::FileForm(std::size_t first) const {
    if (eol_ == 2) return std::string(BytesFrom(first));
    std::string bytes;
    bytes.reserve(BytesFrom(first).size() + (count_ - std::min(first, count_)));
    for (std::size_t i = first; i < count_; ++i) {
        bytes += (*this)[i];
        bytes += "\r\n";
    }
    return bytes;
}

void LogLines::push_back(std::string_view line) {
    if (indexed_) starts_.push_back(block_.size());
    emptyLines_ += line.empty();
    block_.append(line);
    block_.append(LineEnd());
    ++count_;
}

void LogLines::clear() {
    block_.clear();
    starts_.clear();
    count_ = 0;
    emptyLines_ = 0;
    eol_ = 2;
    indexed_ = true;
}

void LogLines::reserve(std::size_t lines, std::size_t bytes) {
    if (indexed_) starts_.reserve(lines);
    block_.reserve(bytes);
}

void LogLines::Set(std::size_t i, std::string_view line) {
    if (!indexed_) BuildIndex();
    const std::size_t start = starts_[i];
    const std::size_t oldLength = (*this)[i].size();
    const std::size_t newLength = line.size();
    emptyLines_ += (newLength == 0) - (oldLength == 0);
    block_.replace(start, oldLength, line);
    for (std::size_t j = i + 1; j < starts_.size(); ++j) starts_[j] = starts_[j] - oldLength + newLength;
}

bool LogLines::RemoveEmpty() {
    if (emptyLines_ == 0) return false;
    LogLines kept;
    kept.eol_ = eol_;
    kept.reserve(count_, block_.size());
    for (std::string_view line : *this)
        if (!line.empty()) kept.push_back(line);
    *this = std::move(kept);
    return true;
}

bool operator==(const LogLines& a, const LogLines& b) {
    if (a.size() != b.size()) return false;
    if (a.eol_ == b.eol_) return a.Bytes() == b.Bytes();
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

void PrintTo(const LogLines& lines, std::ostream* out) {
    *out << lines.size() << " lines {";
    for (std::string_view line : lines) *out << "\n  \"" << line << "\"";
    *out << "}";
}

std::optional<LogLines> LoadLogLines(const std::filesystem::path& file, std::string* error) {
    ByteBlock block;
    if (!block.ReadFile(file, error)) return std::nullopt;
    return LogLines::FromBlock(std::move(block));
}

bool SaveLogLines(const std::filesystem::path& file, const LogLines& lines, std::string* error) {
    if (lines.InFileForm()) return WriteFileAtomic(file, lines.Bytes(), error);
    return WriteFileAtomic(file, lines.FileForm(), error);
}

bool SaveLogLinesIfChanged(const std::filesystem::path& file, const LogLines& lines, std::string* error,
                           bool* written) {
    if (lines.InFileForm()) return WriteFileIfChanged(file, lines.Bytes(), error, written);
    return WriteFileIfChanged(file, lines.FileForm(), error, written);
}

}  // namespace vantrel
