#include "journal/journal_reader.h"

#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "journal/journal_line.h"

namespace vantrel {

namespace {

constexpr std::size_t kReadBytes = 1 << 20;  // one read of the journal
constexpr std::size_t kSampleBytes = 4096;

std::string ErrorText(const char* what, const std::string& name, int error) {
    return std::string(what) + " " + name + ": " + std::strerror(error);
}

}  // namespace

JournalReader::~JournalReader() = default;

bool JournalReader::Open(const std::filesystem::path& file, std::string* error) {
    name_ = file.string();
    size_ = 0;
    fd_.Reset(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (fd_ && (::fstat(fd_.get(), &info) != 0 || !S_ISREG(info.st_mode))) {
        fd_.Reset();
        errno = EISDIR;
    }
    if (!fd_) {
        const int reason = errno;
        if (error) *error = ErrorText("Cannot open", name_, reason);
        errno = reason;
        return false;
    }
    size_ = static_cast<std::uint64_t>(info.st_size);
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(fd_.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    return true;
}

JournalReader::ScanEnd JournalReader::Scan(std::uint64_t from, const Block& block, std::string* error) {
    ScanEnd end;
    end.linesEnd = end.fileEnd = from;
    if (!fd_) {
        if (error) *error = ErrorText("Cannot read", name_, EBADF);
        return end;
    }
    // A small file (or a short append) gets a buffer of its size.
    std::size_t bufferBytes = static_cast<std::size_t>(
        std::clamp<std::uint64_t>(size_ > from ? size_ - from + 1 : 1, 4096, kReadBytes));
    std::unique_ptr<char[]> buffer(new char[bufferBytes + kJournalPadding]);
    std::size_t held = 0;  // bytes of an incomplete line kept at the buffer's start
    std::uint64_t readAt = from;
    for (;;) {
        if (held == bufferBytes) {  // one line longer than the buffer: make room for it
            std::unique_ptr<char[]> bigger(new char[bufferBytes * 2 + kJournalPadding]);
            std::memcpy(bigger.get(), buffer.get(), held);
            bufferBytes *= 2;
            buffer = std::move(bigger);
        }
        const ssize_t n = ::pread(fd_.get(), buffer.get() + held, bufferBytes - held, static_cast<off_t>(readAt));
        if (n < 0) {
            if (errno == EINTR) continue;
            if (error) *error = ErrorText("Cannot read", name_, errno);
            end.status = Status::Failed;
            return end;
        }
        if (n == 0) break;
        readAt += static_cast<std::uint64_t>(n);
        end.fileEnd = readAt;
        const std::size_t size = held + static_cast<std::size_t>(n);
        // Bytes past the read hold no line feed, so neither does anything after the last one.
        std::memset(buffer.get() + size, 0, kJournalPadding);
        const char* data = buffer.get();
        const void* lastLf = ::memrchr(data + held, '\n', static_cast<std::size_t>(n));
        if (!lastLf) {
            // No line feed in the new bytes: the line goes on (or the file ends without one).
            held = size;
            continue;
        }
        const std::size_t whole = static_cast<std::size_t>(static_cast<const char*>(lastLf) - data) + 1;
        const bool more = block(std::string_view(data, whole), end.linesEnd);
        end.linesEnd += whole;
        held = size - whole;
        std::memmove(buffer.get(), data + whole, held);
        if (!more) {
            end.status = Status::Stopped;
            return end;
        }
    }
    end.status = Status::Done;
    return end;
}

bool JournalReader::ReadAt(std::uint64_t at, std::size_t bytes, std::string& out) {
    out.resize(bytes);
    std::size_t got = 0;
    while (got < bytes) {
        const ssize_t n = ::pread(fd_.get(), out.data() + got, bytes - got, static_cast<off_t>(at + got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

bool JournalSamples::Take(JournalReader& reader, std::uint64_t end) {
    const std::size_t bytes = static_cast<std::size_t>(std::min<std::uint64_t>(end, kSampleBytes));
    return reader.ReadAt(0, bytes, head) && reader.ReadAt(end - bytes, bytes, tail);
}

bool JournalSamples::Match(JournalReader& reader, std::uint64_t end) const {
    if (end < tail.size()) return false;
    std::string bytes;
    if (!reader.ReadAt(0, head.size(), bytes) || bytes != head) return false;
    return reader.ReadAt(end - tail.size(), tail.size(), bytes) && bytes == tail;
}

}  // namespace vantrel
