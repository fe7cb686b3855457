#include "log/local_log_file.h"

#include "base/file_io.h"

namespace vantrel {

std::optional<LogLines> LocalLogFile::Load(std::string* error) {
    knownSize_ = -1;
    ByteBlock block;
    if (!block.ReadFile(file_, error)) return std::nullopt;
    const auto size = static_cast<std::int64_t>(block.size());
    LogLines lines = LogLines::FromBlock(std::move(block));
    // Only a file in exactly the written form (every line ended by CR LF, no empty line) can be
    // extended by appending; otherwise the next save rewrites it.
    if (!lines.RemoveEmpty() && lines.InFileForm() &&
        static_cast<std::int64_t>(lines.Bytes().size()) == size) {
        knownSize_ = size;
        knownLines_ = lines.size();
    }
    return lines;
}

bool LocalLogFile::Save(const LogLines& lines, std::string* error) {
    if (!SaveLogLines(file_, lines, error)) {
        knownSize_ = -1;
        return false;
    }
    knownSize_ = lines.InFileForm() ? static_cast<std::int64_t>(lines.Bytes().size()) : -1;
    knownLines_ = lines.size();
    return true;
}

bool LocalLogFile::SaveGrown(const LogLines& lines, std::size_t firstNew, std::string* error) {
    const bool reusable = knownSize_ >= 0 && knownLines_ == firstNew && firstNew <= lines.size() &&
                          lines.InFileForm() && FileSize(file_) == knownSize_;
    if (!reusable) return Save(lines, error);
    if (firstNew == lines.size()) return true;
    const std::string_view bytes = lines.BytesFrom(firstNew);
    if (!AppendFileDurable(file_, bytes, error)) {
        knownSize_ = -1;
        return false;
    }
    knownSize_ += static_cast<std::int64_t>(bytes.size());
    knownLines_ = lines.size();
    return true;
}

}  // namespace vantrel
