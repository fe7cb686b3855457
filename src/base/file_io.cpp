#include "base/file_io.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace vantrel {

namespace {

void SetError(std::string* error, const std::string& what, const fs::path& file, int err) {
    if (error) *error = what + " " + file.string() + ": " + ErrorText(err);
}

// Writes every byte; false with errno set when a write fails.
bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void SyncFolder(const fs::path& folder) {
    UniqueFd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir) ::fsync(dir.get());
}

constexpr std::string_view kNewFileMark = ".new-";

}  // namespace

fs::path NewFileBeside(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    std::string name(".");
    name += target.filename().string();
    name += kNewFileMark;
    name += std::to_string(::getpid());
    name += '-';
    name += std::to_string(counter++);
    return target.parent_path() / name;
}

namespace {

// Creates the new file for a write that replaces `target`, with the permissions it should end
// up with.
UniqueFd CreateNewFile(const fs::path& temp, const fs::path& target, std::optional<unsigned> mode) {
    UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd) return fd;
    struct stat st {};
    if (!mode && ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) mode = st.st_mode & 07777;
    if (mode && ::fchmod(fd.get(), static_cast<mode_t>(*mode)) != 0) {
        // The content matters more than the permissions: the defaults stay.
    }
    return fd;
}

// Renames the finished new file over the target and makes the rename durable; the new file is
// removed when anything fails.
bool FinishNewFile(UniqueFd fd, const fs::path& temp, const fs::path& target, std::string* error) {
    if (::fdatasync(fd.get()) != 0) {
        SetError(error, "cannot write", temp, errno);
    } else if (!fd.Close()) {
        SetError(error, "cannot write", temp, errno);
    } else if (::rename(temp.c_str(), target.c_str()) != 0) {
        SetError(error, "cannot replace", target, errno);
    } else {
        SyncFolder(target.parent_path());
        return true;
    }
    ::unlink(temp.c_str());
    return false;
}

// Copies bytes [offset, end) of `in` to `out`, reporting progress against `total`.
bool CopyRange(int in, int out, std::int64_t offset, std::int64_t end, std::int64_t total,
               const CopyProgress& progress) {
    std::vector<char> buffer(1 << 20);
    int lastPercent = -1;
    while (offset < end) {
        const auto want = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(buffer.size()), end - offset));
        const ssize_t n = ::pread(in, buffer.data(), want, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {  // the source ended early
            errno = EIO;
            return false;
        }
        if (!WriteAll(out, buffer.data(), static_cast<std::size_t>(n))) return false;
        offset += n;
        if (progress && total > 0) {
            const int percent = static_cast<int>(100 * offset / total);
            if (percent != lastPercent) progress(lastPercent = percent);
        }
    }
    return true;
}

}  // namespace

std::int64_t FileSize(const fs::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

std::optional<std::string> ReadWholeFile(const fs::path& file, std::string* error) {
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) {
        SetError(error, "cannot open", file, errno);
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error) *error = "not a regular file: " + file.string();
        return std::nullopt;
    }
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t have = 0;
    for (;;) {
        if (have == bytes.size()) bytes.resize(bytes.size() + 65536);
        const ssize_t n = ::read(fd.get(), bytes.data() + have, bytes.size() - have);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            SetError(error, "cannot read", file, errno);
            return std::nullopt;
        }
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    bytes.resize(have);
    return bytes;
}

std::string ErrorText(int error) {
    if (error == ENOSPC) return "disk full";
    return std::strerror(error);
}

bool WriteFileAtomic(const fs::path& file, std::string_view bytes, std::string* error,
                     std::optional<unsigned> mode) {
    const fs::path temp = NewFileBeside(file);
    UniqueFd fd = CreateNewFile(temp, file, mode);
    if (!fd) {
        SetError(error, "cannot create", temp, errno);
        return false;
    }
    if (!WriteAll(fd.get(), bytes.data(), bytes.size())) {
        SetError(error, "cannot write", temp, errno);
        fd.Reset();
        ::unlink(temp.c_str());
        return false;
    }
    return FinishNewFile(std::move(fd), temp, file, error);
}

NewFileWriter::~NewFileWriter() { Discard(); }

void NewFileWriter::Discard() {
    if (temp_.empty()) return;
    fd_.Reset();
    ::unlink(temp_.c_str());
    temp_.clear();
}

bool NewFileWriter::Open(std::string* error) {
    Discard();
    temp_ = NewFileBeside(target_);
    fd_ = CreateNewFile(temp_, target_, std::nullopt);
    if (fd_) return true;
    SetError(error, "cannot create", temp_, errno);
    temp_.clear();
    return false;
}

bool NewFileWriter::Write(std::string_view bytes, std::string* error) {
    if (!fd_) {
        if (error && error->empty()) *error = "not open for writing: " + target_.string();
        return false;
    }
    if (WriteAll(fd_.get(), bytes.data(), bytes.size())) return true;
    SetError(error, "cannot write", temp_, errno);
    Discard();
    return false;
}

bool NewFileWriter::Commit(std::string* error) {
    if (!fd_) {
        if (error && error->empty()) *error = "not open for writing: " + target_.string();
        return false;
    }
    const fs::path temp = std::move(temp_);
    temp_.clear();
    return FinishNewFile(std::move(fd_), temp, target_, error);
}

bool FileHolds(const fs::path& file, std::string_view bytes) {
    if (FileSize(file) != static_cast<std::int64_t>(bytes.size())) return false;
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) return false;
    std::array<char, 64 * 1024> chunk;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd.get(), chunk.data(), std::min(chunk.size(), bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || std::memcmp(chunk.data(), bytes.data() + done, static_cast<std::size_t>(n)) != 0) return false;
        done += static_cast<std::size_t>(n);
    }
    char more;
    return ::read(fd.get(), &more, 1) == 0;
}

bool CopyFileIfChanged(const fs::path& from, const fs::path& to, std::string* error, bool* copied) {
    if (copied) *copied = false;
    struct stat source {}, target {};
    if (::stat(from.c_str(), &source) == 0 && ::stat(to.c_str(), &target) == 0 && S_ISREG(target.st_mode) &&
        source.st_size == target.st_size &&
        (target.st_mtim.tv_sec > source.st_mtim.tv_sec ||
         (target.st_mtim.tv_sec == source.st_mtim.tv_sec && target.st_mtim.tv_nsec > source.st_mtim.tv_nsec)))
        return true;
    if (!CopyFileReplacing(from, to, error)) return false;
    if (copied) *copied = true;
    return true;
}

bool WriteFileIfChanged(const fs::path& file, std::string_view bytes, std::string* error, bool* written) {
    if (written) *written = false;
    if (FileHolds(file, bytes)) return true;
    if (!WriteFileAtomic(file, bytes, error)) return false;
    if (written) *written = true;
    return true;
}

void RemoveLeftoverWritesIn(const fs::path& folder) {
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const std::size_t mark = name.rfind(kNewFileMark);
        if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || mark == 0) continue;
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + mark + kNewFileMark.size(), &end, 10);
        if (pid <= 0 || *end != '-') continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

void RemoveLeftoverWrites(const fs::path& target) {
    std::string prefix(".");
    prefix += target.filename().string();
    prefix += kNewFileMark;
    std::error_code ec;
    fs::directory_iterator it(target.has_parent_path() ? target.parent_path() : fs::path("."), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

bool AppendFileDurable(const fs::path& file, std::string_view bytes, std::string* error) {
    UniqueFd fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666));
    if (!fd) {
        SetError(error, "cannot open", file, errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        SetError(error, "cannot read the size of", file, errno);
        return false;
    }
    // One write call: a killed process cannot leave half of it (regular files are not
    // interrupted part-way by signals). A write that stops short (a full disk, the file size
    // limit) is continued once, which either completes it or gives the reason it stopped.
    int failure = 0;
    const ssize_t n = ::write(fd.get(), bytes.data(), bytes.size());
    if (n < 0) {
        failure = errno;
    } else if (static_cast<std::size_t>(n) < bytes.size() &&
               !WriteAll(fd.get(), bytes.data() + n, bytes.size() - static_cast<std::size_t>(n))) {
        failure = errno;
    }
    if (failure == 0 && ::fdatasync(fd.get()) != 0) failure = errno;
    if (failure != 0) {
        SetError(error, "cannot append to", file, failure);
        if (S_ISREG(st.st_mode) && ::ftruncate(fd.get(), st.st_size) != 0 && error)
            *error += " (the part written could not be removed: " + ErrorText(errno) + ")";
        return false;
    }
    if (!fd.Close()) {
        SetError(error, "cannot close", file, errno);
        return false;
    }
    return true;
}

UniqueFd LockFileForUpdate(const fs::path& file, std::chrono::milliseconds patience) {
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    // A writer that replaced the file while this one waited has left the lock on the old file:
    // take the lock again on the file that is there now.
    for (;;) {
        UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        if (!fd) return fd;
        while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR) return UniqueFd();
            if (std::chrono::steady_clock::now() >= giveUp) return UniqueFd();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        struct stat held {}, named {};
        if (::fstat(fd.get(), &held) != 0 || ::stat(file.c_str(), &named) != 0) return UniqueFd();
        if (held.st_dev == named.st_dev && held.st_ino == named.st_ino) return fd;
        if (std::chrono::steady_clock::now() >= giveUp) return UniqueFd();
    }
}

bool CopyFileReplacing(const fs::path& from, const fs::path& to, std::string* error,
                       const CopyProgress& progress) {
    UniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in) {
        SetError(error, "cannot open", from, errno);
        return false;
    }
    struct stat st {};
    if (::fstat(in.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error) *error = "not a regular file: " + from.string();
        return false;
    }
    const fs::path temp = NewFileBeside(to);
    UniqueFd out = CreateNewFile(temp, to, std::nullopt);
    if (!out) {
        SetError(error, "cannot create", temp, errno);
        return false;
    }
    if (!CopyRange(in.get(), out.get(), 0, st.st_size, st.st_size, progress)) {
        SetError(error, "cannot copy to", temp, errno);
        out.Reset();
        ::unlink(temp.c_str());
        return false;
    }
    return FinishNewFile(std::move(out), temp, to, error);
}

CopyRefresh RefreshAppendOnlyCopy(const fs::path& from, const fs::path& to, std::string* error,
                                  const CopyProgress& progress) {
    const std::int64_t sourceSize = FileSize(from);
    const std::int64_t copySize = FileSize(to);
    // Sampled blocks before the copy's end: the last bytes, the first bytes and a few in
    // between. A journal that was erased and written anew, or replaced by another file of the
    // same size, differs in them.
    auto samplesMatch = [&] {
        UniqueFd src(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
        UniqueFd dst(::open(to.c_str(), O_RDONLY | O_CLOEXEC));
        if (!src || !dst) return false;
        constexpr std::int64_t kBlock = 4096;
        std::array<char, kBlock> a{}, b{};
        const std::vector<std::int64_t> offsets = {0, copySize / 4, copySize / 2, 3 * copySize / 4,
                                                   std::max<std::int64_t>(0, copySize - kBlock)};
        for (const std::int64_t offset : offsets) {
            const auto len = static_cast<std::size_t>(std::min(kBlock, copySize - offset));
            if (::pread(src.get(), a.data(), len, offset) != static_cast<ssize_t>(len) ||
                ::pread(dst.get(), b.data(), len, offset) != static_cast<ssize_t>(len) ||
                std::memcmp(a.data(), b.data(), len) != 0)
                return false;
        }
        return true;
    };
    if (sourceSize == copySize && (sourceSize <= 0 || samplesMatch())) return CopyRefresh::Unchanged;
    if (sourceSize < 0) {
        if (error) *error = "journal missing: " + from.string();
        return CopyRefresh::Failed;
    }
    const bool isPrefix = copySize > 0 && copySize < sourceSize && samplesMatch();
    if (!isPrefix)
        return CopyFileReplacing(from, to, error, progress) ? CopyRefresh::Copied
                                                            : CopyRefresh::Failed;

    UniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    UniqueFd out(::open(to.c_str(), O_WRONLY | O_CLOEXEC));
    if (!in || !out || ::lseek(out.get(), copySize, SEEK_SET) != copySize) {
        SetError(error, "cannot open", to, errno);
        return CopyRefresh::Failed;
    }
    if (!CopyRange(in.get(), out.get(), copySize, sourceSize, sourceSize - copySize, progress)) {
        // Cut back to the old end so the copy stays a true prefix of the journal.
        SetError(error, "cannot append to", to, errno);
        [[maybe_unused]] const int cut = ::ftruncate(out.get(), copySize);
        return CopyRefresh::Failed;
    }
    return CopyRefresh::Appended;
}

std::optional<fs::path> FindFileNoCase(const fs::path& folder, std::string_view name) {
    std::error_code ec;
    if (fs::exists(folder / name, ec)) return folder / name;
    auto lower = [](std::string_view s) {
        std::string out(s);
        std::transform(out.begin(), out.end(), out.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return out;
    };
    const std::string wanted = lower(name);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (lower(it->path().filename().string()) == wanted) return it->path();
    }
    return std::nullopt;
}

}  // namespace vantrel
