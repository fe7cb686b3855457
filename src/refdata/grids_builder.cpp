#include "refdata/grids_builder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <memory>

#include "base/simd.h"
#include "base/unique_fd.h"
#include "journal/journal_words.h"

namespace vantrel {

namespace {

constexpr std::size_t kReadBytes = 1 << 20;          // one read of the journal
constexpr std::size_t kPadding = 128;                // the line cutters may load this far past a line
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

#if defined(VANTREL_SSE2) && defined(__SIZEOF_INT128__)
using Bits128 = unsigned __int128;


inline unsigned LowestBit(Bits128 bits) {
    const auto low = static_cast<std::uint64_t>(bits);
    return low ? static_cast<unsigned>(__builtin_ctzll(low))
               : 64 + static_cast<unsigned>(__builtin_ctzll(static_cast<std::uint64_t>(bits >> 64)));
}
#endif

#if defined(VANTREL_SSE2) && defined(__SIZEOF_INT128__)
// Blanks and line feeds among the 64 bytes from p.
struct ByteBits {
    std::uint64_t blanks, lineFeeds;
};
inline ByteBits Bits64(const char* p) {
    const __m128i blank = _mm_set1_epi8(' ');
    const __m128i lineFeed = _mm_set1_epi8('\n');
    ByteBits bits{0, 0};
    for (int at = 0; at < 64; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
        bits.blanks |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(
                           _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, blank)))) << at;
        bits.lineFeeds |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(
                              _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeed)))) << at;
    }
    return bits;
}

// The common shape of a line: seven words before column 49 and the message from column 49 on,
// the line ending within 64 bytes of it. Then word 3 is the third word start and message word 1
// starts at byte 48. `head` and `message` are the blanks of the 64 bytes from p and from p + 48.
// False when the line has another shape.
constexpr std::size_t kMessageAt = 48;
inline bool GridWordOfCommonShape(const char* p, std::size_t length, std::uint64_t head,
                                  std::uint64_t message, JournalGridWord& result) {
    if (length <= kMessageAt || length - kMessageAt >= 64) return false;
    if (length < 64) head |= ~std::uint64_t{0} << length;
    const std::uint64_t headStarts = ~head & (head << 1 | 1) & ((std::uint64_t{1} << kMessageAt) - 1);
    if ((head >> (kMessageAt - 1) & 3) != 1) return false;
    std::uint64_t left = headStarts & (headStarts - 1);
    left &= left - 1;
    const std::uint64_t third = left;
    for (int i = 0; i < 4; ++i) left &= left - 1;
    if (left == 0 || (left & (left - 1)) != 0) return false;  // not exactly seven words
    const unsigned at = static_cast<unsigned>(__builtin_ctzll(third));
    if (p[at] != 'R' || p[at + 1] != 'x' || (head >> (at + 2) & 1) == 0) {
        result = {};
        return true;
    }
    // Bits past the line's end count as blanks; bit 63 is always one of them.
    const std::uint64_t blanks = message | ~std::uint64_t{0} << (length - kMessageAt);
    const std::uint64_t words = ~blanks;
    auto next = [&](unsigned from, std::string_view& word) {
        const std::uint64_t rest = from < 64 ? words & (~std::uint64_t{0} << from) : 0;
        if (!rest) return 64u;
        const unsigned start = static_cast<unsigned>(__builtin_ctzll(rest));
        const unsigned end = static_cast<unsigned>(__builtin_ctzll(blanks & (~std::uint64_t{0} << start)));
        word = std::string_view(p + kMessageAt + start, end - start);
        return end;
    };
    std::string_view first, second, third3;
    next(next(next(0, first), second), third3);
    result = GridWordOfMessage(first, second, third3);
    return true;
}
#endif

// The word view of one line (without its line end) in a buffer readable 128 bytes past it.
inline JournalGridWord GridWordOfPaddedLine(const char* p, std::size_t length) {
#if defined(VANTREL_SSE2) && defined(__SIZEOF_INT128__)
    JournalGridWord result;
    if (GridWordOfCommonShape(p, length, BlankMask64(p), BlankMask64(p + kMessageAt), result))
        return result;
    // Otherwise the starts and ends of all words of a line shorter than 128 bytes are found at
    // once as bit masks, and only words 3, 8, 9 and 10 are taken out of them.
    if (length < 128) {
        std::uint64_t low = BlankMask64(p);
        std::uint64_t high = length > 64 ? BlankMask64(p + 64) : ~std::uint64_t{0};
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
    constexpr std::size_t kPending = 16;
    GridsWorkingList::Prepared pending[kPending];
    std::size_t pendingCount = 0;

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
        while (start < size) {
            const char* p = data + start;
            JournalGridWord word;
            std::size_t end;  // just past the line feed
#if defined(VANTREL_SSE2) && defined(__SIZEOF_INT128__)
            // Most lines end within 112 bytes: their line feed and words come from one set of
            // loads. (The padding after the data holds no line feed.)
            const ByteBits head = Bits64(p);
            const ByteBits message = Bits64(p + kMessageAt);
            if ((head.lineFeeds & ((std::uint64_t{1} << kMessageAt) - 1)) == 0 && message.lineFeeds) {
                std::size_t length = kMessageAt + static_cast<std::size_t>(__builtin_ctzll(message.lineFeeds));
                end = start + length + 1;
                if (p[length - 1] == '\r') --length;
                if (!GridWordOfCommonShape(p, length, head.blanks, message.blanks, word))
                    word = GridWordOfPaddedLine(p, length);
            } else
#endif
            {
                const void* lf = std::memchr(p, '\n', size - start);
                if (!lf) break;
                std::size_t length = static_cast<std::size_t>(static_cast<const char*>(lf) - p);
                end = start + length + 1;
                if (length > 0 && p[length - 1] == '\r') --length;
                word = GridWordOfPaddedLine(p, length);
            }
            if (word.candidate) {
                ++state.candidateCount;
                if (word.accepted) {
                    // Added a few entries later, once its slot has been fetched.
                    auto& slot = pending[pendingCount++ % kPending];
                    if (pendingCount > kPending && state.list.Add(slot)) ++added;
                    slot = state.list.Prepare(word.call, word.grid);
                }
            }
            start = end;
        }
        // The views point into the buffer: add what is still pending before it moves.
        for (std::size_t i = pendingCount > kPending ? pendingCount - kPending : 0; i < pendingCount; ++i) {
            if (state.list.Add(pending[i % kPending])) ++added;
        }
        pendingCount = 0;
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

UniqueFd OpenJournal(const std::filesystem::path& journal, std::uint64_t& size) {
    UniqueFd fd(::open(journal.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) return fd;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        fd.Reset();
        errno = EISDIR;
        return fd;
    }
    size = static_cast<std::uint64_t>(info.st_size);
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
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
    const UniqueFd file = OpenJournal(journal, size);
    if (!file) {
        const bool missing = errno == ENOENT;
        state.status = missing ? GridsBuildStatus::NoJournal : GridsBuildStatus::Failed;
        state.error = ErrorText(journal, "Cannot open");
        return state;
    }
    state.list.reserve(existingGrids.size() + 1024);
    state.list.AddLines(existingGrids);
    FullScan(file.get(), size, state, progress, journal);
    return state;
}

GridsRefresh RefreshGrids(GridsBuild& state, const std::filesystem::path& journal,
                          std::size_t* newEntries, const GridsProgress& progress) {
    if (newEntries) *newEntries = 0;
    std::uint64_t size = 0;
    const UniqueFd file = OpenJournal(journal, size);
    if (!file) {
        state.error = ErrorText(journal, "Cannot open");
        return errno == ENOENT ? GridsRefresh::NoJournal : GridsRefresh::Failed;
    }
    if (state.ok() && size >= state.journalOffset && SamplesMatch(file.get(), state)) {
        if (size == state.journalOffset) return GridsRefresh::Unchanged;
        GridsBuild grown;  // scanned apart, so a failed read leaves the state as it was
        grown.journalOffset = state.journalOffset;
        grown.candidateCount = state.candidateCount;
        grown.list = std::move(state.list);
        std::size_t added = 0;
        const ScanEnd end = ScanJournal(file.get(), size, grown, &added, progress, journal);
        if (end != ScanEnd::Done || (grown.journalOffset != state.journalOffset &&
                                     !TakeSamples(file.get(), grown))) {
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
    FullScan(file.get(), size, state, progress, journal);
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
