// Reading the journal as a stream: large reads into one buffer that hands out blocks of whole
// lines, so a journal of several gigabytes is read with a megabyte or two of memory. A line
// still being written (no line feed yet) is kept back until its line feed arrives.
//
// Every whole-journal reader (the grids build, the search, the recent-activity extract) reads
// through this, and keeps a sample of the bytes it has read so that a later pass can tell
// whether the journal was only appended to since (then only the new bytes are read).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/unique_fd.h"

namespace vantrel {

class JournalReader {
public:
    JournalReader() = default;
    ~JournalReader();
    JournalReader(const JournalReader&) = delete;
    JournalReader& operator=(const JournalReader&) = delete;

    // Opens the file. False when it is missing (errno ENOENT), is not a regular file or cannot be
    // opened; `error` then says which and why.
    bool Open(const std::filesystem::path& file, std::string* error = nullptr);
    // The file's size when it was opened.
    std::uint64_t Size() const { return size_; }

    // Receives one block: whole lines, each ending in a line feed; `offset` is the file offset of
    // the block's first byte. The block can be read kJournalPadding bytes past its end, and no
    // line feed is there. Returning false stops the scan.
    using Block = std::function<bool(std::string_view block, std::uint64_t offset)>;

    enum class Status { Done, Failed, Stopped };
    struct ScanEnd {
        Status status = Status::Failed;
        std::uint64_t linesEnd = 0;  // just past the last whole line handed out
        std::uint64_t fileEnd = 0;   // where the reading stopped: the end of the file
    };
    // Reads from `from` (the start of a line) to the end of the file; `error` is set on a read
    // error.
    ScanEnd Scan(std::uint64_t from, const Block& block, std::string* error = nullptr);

    // Exactly `bytes` bytes from `at`; false on a read error or when the file is shorter.
    bool ReadAt(std::uint64_t at, std::size_t bytes, std::string& out);

private:
    UniqueFd fd_;
    std::uint64_t size_ = 0;
    std::string name_;
};

// The journal's first bytes and the bytes just before a point in it, kept from one pass to the
// next: when both still read the same, the journal was only appended to in between.
struct JournalSamples {
    std::string head;  // the first bytes, up to 4 KB
    std::string tail;  // the bytes before `end`, up to 4 KB
    bool Take(JournalReader& reader, std::uint64_t end);
    bool Match(JournalReader& reader, std::uint64_t end) const;
    void clear() {
        head.clear();
        tail.clear();
    }
};

}  // namespace vantrel
