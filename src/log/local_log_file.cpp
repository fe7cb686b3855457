#include "log/local_log_file.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "base/byte_scan.h"
#include "base/file_io.h"

namespace vantrel {

namespace {

struct FileLines {
    LogLines lines;
    std::int64_t bytes = 0;  // as read
    bool clean = false;      // every line ended by CR LF, no empty line: it can be appended to
};

std::optional<FileLines> ReadLines(const std::filesystem::path& file, std::string* error) {
    ByteBlock block;
    if (!block.ReadFile(file, error)) return std::nullopt;
    FileLines read;
    read.bytes = static_cast<std::int64_t>(block.size());
    read.lines = LogLines::FromBlock(std::move(block));
    read.clean = !read.lines.RemoveEmpty() && read.lines.InFileForm() &&
                 static_cast<std::int64_t>(read.lines.Bytes().size()) == read.bytes;
    return read;
}

}  // namespace

std::optional<LogLines> LocalLogFile::Load(std::string* error) {
    knownSize_ = -1;
    const UniqueFd lock = LockFileForUpdate(file_);
    std::optional<FileLines> read = ReadLines(file_, error);
    if (!read) return std::nullopt;
    // Only a file in exactly the written form can be extended by appending; otherwise the next
    // save rewrites it.
    if (read->clean) {
        knownSize_ = read->bytes;
        knownLines_ = read->lines.size();
    }
    known_.Rebuild(read->lines);
    return std::move(read->lines);
}

LocalLogSave LocalLogFile::Save(LogLines& lines, std::string* error) {
    return Write(lines, lines.size(), true, error);
}

LocalLogSave LocalLogFile::SaveGrown(LogLines& lines, std::size_t firstNew, std::string* error) {
    return Write(lines, firstNew, false, error);
}

LocalLogSave LocalLogFile::Write(LogLines& lines, std::size_t firstNew, bool whole,
                                 std::string* error) {
    // Held until the write is done: another writer waits for it before it reads the file.
    const UniqueFd lock = LockFileForUpdate(file_);
    const bool asLeft = knownSize_ >= 0 && FileSize(file_) == knownSize_;
    if (asLeft && whole) return Replace(lines, error);
    if (asLeft && knownLines_ == firstNew && firstNew <= lines.size() && lines.InFileForm())
        return Append(lines, firstNew, error);
    return MergeAndWrite(lines, error);
}

LocalLogSave LocalLogFile::Append(LogLines& lines, std::size_t firstNew, std::string* error) {
    if (firstNew == lines.size()) return {true, 0};
    const std::string_view bytes = lines.BytesFrom(firstNew);
    if (!AppendFileDurable(file_, bytes, error)) {
        knownSize_ = -1;
        return {false, 0};
    }
    knownSize_ += static_cast<std::int64_t>(bytes.size());
    knownLines_ = lines.size();
    known_.Extend(lines, firstNew);
    return {true, 0};
}

LocalLogSave LocalLogFile::Replace(LogLines& lines, std::string* error) {
    if (!SaveLogLines(file_, lines, error)) {
        knownSize_ = -1;
        return {false, 0};
    }
    knownSize_ = lines.InFileForm() ? static_cast<std::int64_t>(lines.Bytes().size()) : -1;
    knownLines_ = lines.size();
    known_.Extend(lines, 0);
    return {true, 0};
}

LocalLogSave LocalLogFile::MergeAndWrite(LogLines& lines, std::string* error) {
    std::optional<FileLines> onDisk;
    if (FileSize(file_) >= 0) {
        std::string readError;
        onDisk = ReadLines(file_, &readError);
        if (!onDisk) {
            // Writing now could replace lines nobody has read.
            if (error) *error = readError + "; the file was not replaced";
            knownSize_ = -1;
            return {false, 0};
        }
    }
    static const LogLines kNoLines;
    const LogLines& file = onDisk ? onDisk->lines : kNoLines;

    // The lines both hold alike at the start need no look: usually all but the last few.
    const std::string_view fileBytes = file.Bytes(), ownBytes = lines.Bytes();
    const std::size_t same = static_cast<std::size_t>(
        std::mismatch(fileBytes.begin(), fileBytes.begin() + std::min(fileBytes.size(), ownBytes.size()),
                      ownBytes.begin()).first - fileBytes.begin());
    const std::size_t lineEnd = same == 0 ? std::string_view::npos : fileBytes.rfind('\n', same - 1);
    const std::size_t common =
        lineEnd == std::string_view::npos || !lines.InFileForm() || !file.InFileForm()
            ? 0
            : CountByte(fileBytes.substr(0, lineEnd + 1), '\n');

    // The file's lines this writer never read and does not hold (by identity) are kept. The
    // file can be appended to when every line in it that this writer did read is still in its
    // list as it stands; a line it changed or removed since means the whole list replaces it.
    ContactIndex own, inFile;
    std::unordered_set<std::string_view> ownText;
    for (std::size_t i = common; i < lines.size(); ++i) {
        own.Add(lines[i]);
        ownText.insert(lines[i]);
    }
    std::vector<std::string_view> kept, unread;
    bool append = onDisk && onDisk->clean && lines.InFileForm();
    for (std::size_t i = common; i < file.size(); ++i) {
        const std::string_view line = file[i];
        inFile.Add(line);
        if (!known_.Contains(line)) {
            unread.push_back(line);
            if (own.Add(line)) kept.push_back(line);
        } else if (!ownText.contains(line)) {
            append = false;
        }
    }
    std::string bytes;  // this writer's lines the file lacks
    if (append) {
        for (std::size_t i = common; i < lines.size(); ++i) {
            const std::string_view line = lines[i];
            if (inFile.Contains(line)) continue;
            bytes += line;
            bytes += "\r\n";
            known_.Add(line);
        }
    }
    ownText.clear();
    for (std::string_view line : kept) lines.push_back(line);
    for (std::string_view line : unread) known_.Add(line);

    if (!append) {
        LocalLogSave saved = Replace(lines, error);
        saved.keptFromFile = kept.size();
        return saved;
    }
    if (!bytes.empty() && !AppendFileDurable(file_, bytes, error)) {
        knownSize_ = -1;
        return {false, kept.size()};
    }
    knownSize_ = onDisk->bytes + static_cast<std::int64_t>(bytes.size());
    knownLines_ = lines.size();
    return {true, kept.size()};
}

}  // namespace vantrel
