#include "log/local_log_file.h"

#include "base/file_io.h"

namespace vantrel {

std::optional<LogLines> LocalLogFile::Load(std::string* error) {
    knownSize_ = -1;
    auto bytes = ReadWholeFile(file_, error);
    if (!bytes) return std::nullopt;
    LogLines lines = SplitLines(*bytes);
    // Only a file in exactly the written form (every line ended by CR LF, no empty line) can be
    // extended by appending; otherwise the next save rewrites it.
    const bool clean = !RemoveEmptyLines(lines) && JoinLines(lines).size() == bytes->size();
    if (clean) {
        knownSize_ = static_cast<std::int64_t>(bytes->size());
        knownLines_ = lines.size();
    }
    return lines;
}

bool LocalLogFile::Save(const LogLines& lines, std::string* error) {
    std::string bytes = JoinLines(lines);
    if (!WriteFileAtomic(file_, bytes, error)) {
        knownSize_ = -1;
        return false;
    }
    knownSize_ = static_cast<std::int64_t>(bytes.size());
    knownLines_ = lines.size();
    return true;
}

bool LocalLogFile::SaveGrown(const LogLines& lines, std::size_t firstNew, std::string* error) {
    const bool reusable = knownSize_ >= 0 && knownLines_ == firstNew && firstNew <= lines.size() &&
                          FileSize(file_) == knownSize_;
    if (!reusable) return Save(lines, error);
    if (firstNew == lines.size()) return true;
    const std::string bytes = JoinLines(lines, firstNew);
    if (!AppendFileDurable(file_, bytes, error)) {
        knownSize_ = -1;
        return false;
    }
    knownSize_ += static_cast<std::int64_t>(bytes.size());
    knownLines_ = lines.size();
    return true;
}

}  // namespace vantrel
