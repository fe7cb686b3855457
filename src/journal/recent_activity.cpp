#include "journal/recent_activity.h"

#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include "base/byte_scan.h"
#include "base/file_io.h"
#include "journal/journal_line.h"
#include "journal/journal_reader.h"
#include "log/line_text.h"

namespace vantrel {

namespace {

// The lines kept, in blocks that never move, so the entries can point into them.
class LineStore {
public:
    std::string_view Keep(std::string_view line) {
        if (line.size() > room_) {
            // Blocks grow from 64 KB to 4 MB, so a short extract holds little.
            const std::size_t bytes = std::max(std::min(kBlockBytes, (std::size_t{64} << 10) << std::min<std::size_t>(blocks_.size(), 6)), line.size());
            blocks_.emplace_back(new char[bytes]);
            next_ = blocks_.back().get();
            room_ = bytes;
        }
        std::memcpy(next_, line.data(), line.size());
        const std::string_view kept(next_, line.size());
        next_ += line.size();
        room_ -= line.size();
        return kept;
    }

private:
    static constexpr std::size_t kBlockBytes = 4u << 20;
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* next_ = nullptr;
    std::size_t room_ = 0;
};

struct Entry {
    const char* text;
    std::uint32_t length;
    std::uint32_t order;  // journal order
    std::string_view view() const { return {text, length}; }
};

// Letter case ignored; of equal lines the earlier one first, so each set of equal lines leads
// with the one a sorted set keeps.
inline bool Before(const Entry& a, const Entry& b) {
    const int c = CompareNoCase(a.view(), b.view());
    return c < 0 || (c == 0 && a.order < b.order);
}

// A merge sort of the runs already in order: a journal written in time order gives long runs
// among the lines of one station, so few passes are needed.
void SortEntries(std::vector<Entry>& entries) {
    std::vector<std::size_t> runs{0};
    for (std::size_t i = 1; i < entries.size(); ++i)
        if (Before(entries[i], entries[i - 1])) runs.push_back(i);
    runs.push_back(entries.size());
    if (runs.size() <= 2) return;
    std::vector<Entry> merged(entries.size());
    while (runs.size() > 2) {
        std::vector<std::size_t> next{0};
        std::size_t k = 0;
        for (; k + 2 < runs.size(); k += 2) {
            std::merge(entries.begin() + static_cast<std::ptrdiff_t>(runs[k]),
                       entries.begin() + static_cast<std::ptrdiff_t>(runs[k + 1]),
                       entries.begin() + static_cast<std::ptrdiff_t>(runs[k + 1]),
                       entries.begin() + static_cast<std::ptrdiff_t>(runs[k + 2]),
                       merged.begin() + static_cast<std::ptrdiff_t>(runs[k]), Before);
            next.push_back(runs[k + 2]);
        }
        if (k + 1 < runs.size()) {  // an odd run left over
            std::copy(entries.begin() + static_cast<std::ptrdiff_t>(runs[k]), entries.end(),
                      merged.begin() + static_cast<std::ptrdiff_t>(runs[k]));
            next.push_back(runs.back());
        }
        entries.swap(merged);
        runs.swap(next);
    }
}

bool ContainsExactly(std::string_view line, std::string_view text) {
    return ::memmem(line.data(), line.size(), text.data(), text.size()) != nullptr;
}

}  // namespace

bool ExtractRecentActivity(const std::filesystem::path& journal, std::string_view callsign,
                           const std::function<void(std::string_view line)>& line, std::string* error,
                           const std::atomic<bool>* cancelled) {
    JournalReader reader;
    if (!reader.Open(journal, error)) return false;
    LineStore store;
    std::vector<Entry> entries;
    std::uint32_t order = 2;
    auto keep = [&](std::string_view text) {
        const std::string_view kept = store.Keep(JournalLineText(text));
        entries.push_back({kept.data(), static_cast<std::uint32_t>(kept.size()), order++});
    };
    // Every line holding the callsign in any letter case: a line equal to it but for letter
    // case is then held too, so each set of equal lines is kept whole.
    const JournalReader::ScanEnd end = reader.Scan(
        0,
        [&](std::string_view block, std::uint64_t) {
            if (cancelled && cancelled->load(std::memory_order_relaxed)) return false;
            if (callsign.empty()) return true;
            const char* data = block.data();
            std::size_t pos = 0;
            for (;;) {
                const std::size_t hit = FindTextNoCase(block, callsign, pos);
                if (hit == std::string_view::npos) break;
                const void* lf = ::memrchr(data + pos, '\n', hit - pos);
                const std::size_t start = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) + 1 : pos;
                const std::size_t stop = static_cast<std::size_t>(
                    static_cast<const char*>(std::memchr(data + hit, '\n', block.size() - hit)) - data);
                keep(block.substr(start, stop + 1 - start));
                pos = stop + 1;
            }
            return true;
        },
        error);
    if (end.status != JournalReader::Status::Done) return false;
    if (end.fileEnd > end.linesEnd && !callsign.empty()) {  // a last line without a line feed
        std::string last;
        if (!reader.ReadAt(end.linesEnd, static_cast<std::size_t>(end.fileEnd - end.linesEnd), last)) {
            if (error) *error = "Cannot read " + journal.string();
            return false;
        }
        if (FindTextNoCase(last, callsign) != std::string_view::npos) keep(last);
    }
    // The header comes first whatever the journal lines begin with (a line that begins with
    // blanks would sort before it).
    line(kRecentListHeader1);
    line(kRecentListHeader2);
    SortEntries(entries);
    // The first of each set of equal lines is the one the sorted set keeps; it is listed when it
    // holds the callsign as it is written and is not a header line.
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0 && CompareNoCase(entries[i].view(), entries[i - 1].view()) == 0) continue;
        if (CompareNoCase(entries[i].view(), kRecentListHeader1) == 0 ||
            CompareNoCase(entries[i].view(), kRecentListHeader2) == 0)
            continue;
        if (ContainsExactly(entries[i].view(), callsign)) line(entries[i].view());
    }
    return true;
}

void RemoveOldRecentListLeftovers(const std::filesystem::path& folder) {
    const std::string prefix = std::string(kRecentListFile) + ".";
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) continue;
        const bool mkstempName = std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                                             [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
        std::error_code ignored;
        if (mkstempName && it->is_regular_file(ignored)) std::filesystem::remove(it->path(), ignored);
    }
}

bool WriteRecentList(const std::filesystem::path& journal, std::string_view callsign,
                     const std::filesystem::path& output, std::string* error, std::size_t* lines,
                     const std::atomic<bool>* cancelled) {
    // A name the start-up's sweep of leftover writes knows, should this process be killed; its
    // permissions follow the umask, as every other file of the program.
    const std::string temp = NewFileBeside(output).string();
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (error) *error = "Cannot create " + temp + ": " + std::strerror(errno);
        return false;
    }
    std::string buffer;
    bool written = true;
    auto flush = [&] {
        for (std::size_t done = 0; done < buffer.size() && written;) {
            const ssize_t n = ::write(fd, buffer.data() + done, buffer.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) written = false;
            else done += static_cast<std::size_t>(n);
        }
        buffer.clear();
    };
    std::size_t count = 0;
    const bool extracted = ExtractRecentActivity(journal, callsign, [&](std::string_view line) {
        buffer += line;
        buffer += "\r\n";
        ++count;
        if (buffer.size() >= (1u << 20)) flush();
    }, error, cancelled);
    flush();
    const bool closed = ::close(fd) == 0;
    if (!extracted || !written || !closed || ::rename(temp.c_str(), output.c_str()) != 0) {
        if (extracted && error) *error = "Cannot write " + output.string() + ": " + std::strerror(errno);
        ::unlink(temp.c_str());
        return false;
    }
    if (lines) *lines = count;
    return true;
}

}  // namespace vantrel
