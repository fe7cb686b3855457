#include "refdata/grids_builder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "journal/journal_words.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vantrel {

namespace {

constexpr std::size_t kReadBytes = 1 << 20;          // one read of the journal
constexpr std::size_t kPadding = 64;                 // the word cutter may load this far past a line
constexpr std::uint64_t kProgressBytes = 8u << 20;   // progress every this many bytes
constexpr std::size_t kSampleBytes = 4096;
constexpr std::size_t kWordsNeeded = kJournalFirstMessageWord + 2;  // up to message word 3

inline bool InRange(char c, char low, char high) { return c >= low && c <= high; }

// The grid word of a received line, from its first three message words.
inline JournalGridWord GridWordOfMessage(std::string_view first, std::string_view second,
                                         std::string_view third) {
    JournalGridWord result;
    if (first.size() <= 4) {
        result.call = second;
        result.grid = third;
    } else {
        result.call = first;
        result.grid = second;
    }
    const std::string_view g = result.grid;
    if (g.size() != 4 || g == "RR73") return result;
    if (g.find_first_of("+-") != std::string_view::npos) return result;
    result.candidate = true;
    result.accepted = InRange(g[0], 'A', 'R') && InRange(g[1], 'A', 'R') && InRange(g[2], '0', '9') &&
                      InRange(g[3], '0', '9') && result.call.size() >= 3;
    return result;
}

inline JournalGridWord GridWordOfWords(const std::string_view* words, std::size_t count) {
    if (count < kJournalDirectionWord || words[kJournalDirectionWord - 1] != "Rx") return {};
    auto message = [&](std::size_t n) {
        const std::size_t at = kJournalFirstMessageWord - 1 + n - 1;
        return at < count ? words[at] : std::string_view();
    };
    return GridWordOfMessage(message(1), message(2), message(3));
}

#if defined(__SSE2__) && defined(__SIZEOF_INT128__)
using Bits128 = unsigned __int128;

inline std::uint64_t BlankBits64(const char* p) {
    const __m128i blank = _mm_set1_epi8(' ');
    auto part = [&](int at) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
        return static_cast<std::uint64_t>(
            static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, blank))));
    };
    return part(0) | part(16) << 16 | part(32) << 32 | part(48) << 48;
}

inline unsigned LowestBit(Bits128 bits) {
    const auto low = static_cast<std::uint64_t>(bits);
    return low ? static_cast<unsigned>(__builtin_ctzll(low))
               : 64 + static_cast<unsigned>(__builtin_ctzll(static_cast<std::uint64_t>(bits >> 64)));
}
#endif

// The word view of one line (without its line end) in a buffer readable 64 bytes past it:
// the starts and ends of all words of a line shorter than 128 bytes are found at once as bit
// masks, and only words 3, 8, 9 and 10 are taken out of them.
inline JournalGridWord GridWordOfPaddedLine(const char* p, std::size_t length) {
#if defined(__SSE2__) && defined(__SIZEOF_INT128__)
    if (length < 128) {
        std::uint64_t low = BlankBits64(p);
        std::uint64_t high = length > 64 ? BlankBits64(p + 64) : ~std::uint64_t{0};
        if (length < 64) low |= ~std::uint64_t{0} << length;
        else if (length > 64) high |= ~std::uint64_t{0} << (length - 64);
        const Bits128 blanks = static_cast<Bits128>(high) << 64 | low;
        const Bits128 before = blanks << 1 | 1;
        Bits128 starts = ~blanks & before;  // every word ends before bit 127, a blank
        Bits128 ends = blanks & ~before;
        auto skip = [&] {
            starts &= starts - 1;
            ends &= ends - 1;
        };
        auto take = [&] {
            if (!starts) return std::string_view();
            const unsigned start = LowestBit(starts), end = LowestBit(ends);
            skip();
            return std::string_view(p + start, end - start);
        };
        skip();
        skip();
        const std::string_view direction = take();
        if (direction != "Rx") return {};
        for (std::size_t i = kJournalDirectionWord + 1; i < kJournalFirstMessageWord; ++i) skip();
        const std::string_view first = take();
        const std::string_view second = take();
        return GridWordOfMessage(first, second, take());
    }
#endif
    std::string_view words[kWordsNeeded];
    return GridWordOfWords(words, CutJournalWordsPadded(std::string_view(p, length), words, kWordsNeeded));
}

struct FileCloser {
    int fd = -1;
    ~FileCloser() {
        if (fd >= 0) ::close(fd);
    }
};

std::string ErrorText(const std::filesystem::path& file, const char* what) {
    return std::string(what) + " " + file.string() + ": " + std::strerror(errno);
}

bool ReadAt(int fd, std::uint64_t at, std::size_t bytes, std::string& out) {
    out.resize(bytes);
    std::size_t got = 0;
    while (got < bytes) {
        const ssize_t n = ::pread(fd, out.data() + got, bytes - got, static_cast<off_t>(at + got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

bool TakeSamples(int fd, GridsBuild& state) {
    const std::uint64_t end = state.journalOffset;
    const std::size_t head = static_cast<std::size_t>(std::min<std::uint64_t>(end, kSampleBytes));
    const std::size_t tail = head;
    return ReadAt(fd, 0, head, state.headSample) &&
           ReadAt(fd, end - tail, tail, state.tailSample);
}

bool SamplesMatch(int fd, const GridsBuild& state) {
    std::string bytes;
    if (!ReadAt(fd, 0, state.headSample.size(), bytes) || bytes != state.headSample) return false;
    return ReadAt(fd, state.journalOffset - state.tailSample.size(), state.tailSample.size(),
                  bytes) &&
           bytes == state.tailSample;
}

// Reads the journal from `state.journalOffset` to its end and takes every complete line into
// the state. Returns false on a read error (`error` set) or when progress asked to stop.
enum class ScanEnd { Done, Failed, Stopped };
ScanEnd ScanJournal(int fd, std::uint64_t total, GridsBuild& state, std::size_t* newEntries,
                    const GridsProgress& progress, const std::filesystem::path& journal) {
    std::size_t bufferBytes = kReadBytes;
    std::unique_ptr<char[]> buffer(new char[bufferBytes + kPadding]);
    std::memset(buffer.get() + bufferBytes, 0, kPadding);
    std::size_t held = 0;  // bytes of an incomplete line kept at the buffer's start
    std::uint64_t readAt = state.journalOffset;
    std::uint64_t nextProgress = readAt + kProgressBytes;
    std::size_t added = 0;

    for (;;) {
        if (held == bufferBytes) {  // one line longer than the buffer: make room for it
            std::unique_ptr<char[]> bigger(new char[bufferBytes * 2 + kPadding]);
            std::memcpy(bigger.get(), buffer.get(), held);
            bufferBytes *= 2;
            std::memset(bigger.get() + bufferBytes, 0, kPadding);
            buffer = std::move(bigger);
        }
        const ssize_t n = ::pread(fd, buffer.get() + held, bufferBytes - held,
                                  static_cast<off_t>(readAt));
        if (n < 0) {
            if (errno == EINTR) continue;
            state.error = ErrorText(journal, "Cannot read");
            return ScanEnd::Failed;
        }
        if (n == 0) break;
        readAt += static_cast<std::uint64_t>(n);
        const char* data = buffer.get();
        const std::size_t size = held + static_cast<std::size_t>(n);
        std::memset(buffer.get() + size, 0, std::min(kPadding, bufferBytes + kPadding - size));

        std::size_t start = 0;
        for (;;) {
            const void* lf = std::memchr(data + start, '\n', size - start);
            if (!lf) break;
            const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(lf) - data) + 1;
            std::size_t length = end - 1 - start;
            if (length > 0 && data[start + length - 1] == '\r') --length;
            const JournalGridWord word = GridWordOfPaddedLine(data + start, length);
            if (word.candidate) {
                ++state.candidateCount;
                if (word.accepted && state.list.Add(word.call, word.grid)) ++added;
            }
            start = end;
        }
        state.journalOffset += start;
        held = size - start;
        std::memmove(buffer.get(), data + start, held);

        if (progress && readAt >= nextProgress) {
            nextProgress = readAt + kProgressBytes;
            if (!progress({readAt, total, state.candidateCount})) return ScanEnd::Stopped;
        }
    }
    if (newEntries) *newEntries = added;
    if (progress && !progress({readAt, std::max(total, readAt), state.candidateCount}))
        return ScanEnd::Stopped;
    return ScanEnd::Done;
}

// Scans the whole journal on top of the entries the state holds.
void FullScan(int fd, std::uint64_t total, GridsBuild& state, const GridsProgress& progress,
              const std::filesystem::path& journal) {
    state.candidateCount = 0;
    state.journalOffset = 0;
    state.headSample.clear();
    state.tailSample.clear();
    const ScanEnd end = ScanJournal(fd, total, state, nullptr, progress, journal);
    if (end == ScanEnd::Done && !TakeSamples(fd, state)) {
        state.error = ErrorText(journal, "Cannot read");
        state.status = GridsBuildStatus::Failed;
        return;
    }
    state.status = end == ScanEnd::Done     ? GridsBuildStatus::Built
                   : end == ScanEnd::Failed ? GridsBuildStatus::Failed
                                            : GridsBuildStatus::Stopped;
}

int OpenJournal(const std::filesystem::path& journal, std::uint64_t& size) {
    const int fd = ::open(journal.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return -1;
    }
    size = static_cast<std::uint64_t>(info.st_size);
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    return fd;
}

}  // namespace

JournalGridWord GridWordOfLine(std::string_view line) {
    std::string_view words[kWordsNeeded];
    const std::size_t count = CutJournalWords(line, words, kWordsNeeded);
    return GridWordOfWords(words, count);
}

JournalGridWord GridWordOfLineInBuffer(std::string_view line) {
    line = JournalLineText(line);
    std::string padded(line);
    padded.append(kPadding, '\0');
    JournalGridWord word = GridWordOfPaddedLine(padded.data(), line.size());
    // The views point into the copy: move them back onto the line.
    auto back = [&](std::string_view v) {
        return v.empty() ? v : line.substr(static_cast<std::size_t>(v.data() - padded.data()), v.size());
    };
    word.call = back(word.call);
    word.grid = back(word.grid);
    return word;
}

GridsBuild BuildGrids(const std::filesystem::path& journal, const LogLines& existingGrids,
                      const GridsProgress& progress) {
    GridsBuild state;
    std::uint64_t size = 0;
    FileCloser file{OpenJournal(journal, size)};
    if (file.fd < 0) {
        const bool missing = errno == ENOENT;
        state.status = missing ? GridsBuildStatus::NoJournal : GridsBuildStatus::Failed;
        state.error = ErrorText(journal, "Cannot open");
        return state;
    }
    state.list.reserve(existingGrids.size() + 1024);
    state.list.AddLines(existingGrids);
    FullScan(file.fd, size, state, progress, journal);
    return state;
}

GridsRefresh RefreshGrids(GridsBuild& state, const std::filesystem::path& journal,
                          std::size_t* newEntries, const GridsProgress& progress) {
    if (newEntries) *newEntries = 0;
    std::uint64_t size = 0;
    FileCloser file{OpenJournal(journal, size)};
    if (file.fd < 0) {
        state.error = ErrorText(journal, "Cannot open");
        return errno == ENOENT ? GridsRefresh::NoJournal : GridsRefresh::Failed;
    }
    if (state.ok() && size >= state.journalOffset && SamplesMatch(file.fd, state)) {
        if (size == state.journalOffset) return GridsRefresh::Unchanged;
        GridsBuild grown;  // scanned apart, so a failed read leaves the state as it was
        grown.journalOffset = state.journalOffset;
        grown.candidateCount = state.candidateCount;
        grown.list = std::move(state.list);
        std::size_t added = 0;
        const ScanEnd end = ScanJournal(file.fd, size, grown, &added, progress, journal);
        if (end != ScanEnd::Done || (grown.journalOffset != state.journalOffset &&
                                     !TakeSamples(file.fd, grown))) {
            // The entries added so far stay: they are true entries a later scan adds again.
            state.list = std::move(grown.list);
            if (end == ScanEnd::Stopped) return GridsRefresh::Stopped;
            state.error = grown.error.empty() ? ErrorText(journal, "Cannot read") : grown.error;
            return GridsRefresh::Failed;
        }
        if (grown.journalOffset == state.journalOffset) {
            state.list = std::move(grown.list);
            return GridsRefresh::Unchanged;
        }
        state.list = std::move(grown.list);
        state.candidateCount = grown.candidateCount;
        state.journalOffset = grown.journalOffset;
        state.tailSample = std::move(grown.tailSample);
        state.headSample = std::move(grown.headSample);
        if (newEntries) *newEntries = added;
        return GridsRefresh::Appended;
    }
    const std::size_t before = state.list.size();
    FullScan(file.fd, size, state, progress, journal);
    if (newEntries) *newEntries = state.list.size() - before;
    switch (state.status) {
        case GridsBuildStatus::Built: return GridsRefresh::Rebuilt;
        case GridsBuildStatus::Stopped: return GridsRefresh::Stopped;
        default: return GridsRefresh::Failed;
    }
}

bool SaveGrids(const GridsWorkingList& list, const std::filesystem::path& gridsFile,
               std::string* error) {
    return SaveLogLines(gridsFile, list.ToLogLines(), error);
}

}  // namespace vantrel
