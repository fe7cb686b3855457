#include "base/file_io.h"
#include "base/unique_fd.h"
#include "settings/ini_document.h"
#include "settings/settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace vantrel {

namespace fs = std::filesystem;

namespace {

// A settings file is a few kilobytes; anything far larger is not one.
constexpr off_t kMaxSettingsFileSize = 16 * 1024 * 1024;

enum ReadProblem : unsigned { kUnreadable = 1, kEmpty = 2, kBinary = 4, kDamagedLines = 8 };

struct FileBytes {
    enum class State { Missing, Read, Unreadable } state = State::Missing;
    std::string bytes;
    std::string error;
    mode_t mode = 0;
};

std::string Lines(std::size_t n) { return std::to_string(n) + (n == 1 ? " line" : " lines"); }

FileBytes ReadFileBytes(const fs::path& file) {
    FileBytes result;
    // Non-blocking, so that a FIFO put in the file's place cannot hang the program.
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd) {
        // No file there (also when a folder of its path is a file: a write reports that).
        if (errno == ENOENT || errno == ENOTDIR) return result;
        result.state = FileBytes::State::Unreadable;
        result.error = ErrorText(errno);
        return result;
    }
    struct stat st {};
    result.state = FileBytes::State::Unreadable;
    if (::fstat(fd.get(), &st) != 0) {
        result.error = ErrorText(errno);
    } else if (S_ISDIR(st.st_mode)) {
        result.error = "it is a folder";
    } else if (!S_ISREG(st.st_mode)) {
        result.error = "it is not a regular file";
    } else if (st.st_size > kMaxSettingsFileSize) {
        result.error = "it is larger than 16 MB";
    } else {
        result.mode = st.st_mode & 07777;
        result.bytes.reserve(static_cast<std::size_t>(st.st_size));
        char buffer[16384];
        for (;;) {
            const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
            if (n > 0) {
                result.bytes.append(buffer, static_cast<std::size_t>(n));
                if (result.bytes.size() > static_cast<std::size_t>(kMaxSettingsFileSize)) {
                    result.error = "it is larger than 16 MB";
                    break;
                }
            } else if (n == 0) {
                result.state = FileBytes::State::Read;
                break;
            } else if (errno != EINTR) {
                result.error = ErrorText(errno);
                break;
            }
        }
    }
    if (result.state != FileBytes::State::Read) result.bytes.clear();
    return result;
}

// Replaces the target in one step (its folder made first), so it holds either its old or its new
// text whatever instant the program stops at. The new file gets `mode` when given (the replaced
// file's permissions), else the usual ones for a new file.
bool ReplaceFile(const fs::path& target, std::string_view bytes, std::optional<mode_t> mode,
                 std::string& error) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        error = "cannot create the folder " + folder.string() + ": " + ec.message();
        return false;
    }
    std::optional<unsigned> permissions;
    if (mode) permissions = static_cast<unsigned>(*mode);
    return WriteFileAtomic(target, bytes, &error, permissions);
}

// The file a write replaces: the target of a symbolic link rather than the link itself.
fs::path WriteTarget(const fs::path& file) {
    std::error_code ec;
    if (fs::is_symlink(file, ec)) {
        const fs::path resolved = fs::weakly_canonical(file, ec);
        if (!ec) return resolved;
    }
    return file;
}

// Where the damaged text is kept: "<name>.corrupt", or a numbered name when that holds other
// text. Nothing when the same text is already kept.
std::optional<fs::path> CorruptCopyName(const fs::path& target, const std::string& bytes) {
    for (int n = 1; n < 100; ++n) {
        fs::path name = target;
        name += n == 1 ? ".corrupt" : ".corrupt." + std::to_string(n);
        const FileBytes existing = ReadFileBytes(name);
        if (existing.state == FileBytes::State::Missing) return name;
        if (existing.state == FileBytes::State::Read && existing.bytes == bytes) return std::nullopt;
    }
    fs::path last = target;
    return last += ".corrupt.99";
}

}  // namespace

struct IniSettingsStore::Loaded {
    bool readable = true;
    bool existed = false;
    bool damaged = false;
    std::optional<mode_t> mode;
    std::string bytes;
    IniDocument doc;
};

IniSettingsStore::IniSettingsStore(std::filesystem::path file, TraceSink trace)
    : file_(std::move(file)), trace_(std::move(trace)) {
    RemoveLeftoverWrites(WriteTarget(file_));
}

IniSettingsStore::~IniSettingsStore() = default;

void IniSettingsStore::EndReads() {
    if (batchDepth_ > 0 && --batchDepth_ == 0) batch_.reset();
}

void IniSettingsStore::ReportReadProblem(unsigned kinds, const std::string& text) {
    if ((kinds & ~reportedReadProblems_) != 0 && trace_) trace_(text);
    reportedReadProblems_ = kinds;
}

bool IniSettingsStore::FailWrite(const std::string& text) {
    if (text != reportedWriteProblem_ && trace_) trace_(text);
    reportedWriteProblem_ = text;
    return false;
}

IniSettingsStore::Loaded IniSettingsStore::Load() {
    Loaded loaded;
    FileBytes file = ReadFileBytes(file_);
    const std::string name = file_.string();
    if (file.state == FileBytes::State::Missing) {
        ReportReadProblem(0, {});
        return loaded;
    }
    if (file.state == FileBytes::State::Unreadable) {
        loaded.readable = false;
        ReportReadProblem(kUnreadable, "Settings file " + name + " cannot be read (" + file.error +
                                           "); defaults are used and the file is left as it is");
        return loaded;
    }
    loaded.existed = true;
    loaded.mode = file.mode;
    loaded.bytes = std::move(file.bytes);
    loaded.doc = IniDocument::Parse(loaded.bytes);
    loaded.damaged = loaded.doc.DamagedLines() > 0;
    const std::string keep = "; it will be kept as " + name + ".corrupt when settings are next saved";
    if (loaded.bytes.empty()) {
        ReportReadProblem(kEmpty, "Settings file " + name + " is empty; defaults are used");
    } else if (loaded.doc.HasNul()) {
        ReportReadProblem(kBinary, "Settings file " + name + " holds binary data; " +
                                       Lines(loaded.doc.DamagedLines()) +
                                       " with it are ignored" + keep);
    } else if (loaded.damaged) {
        ReportReadProblem(kDamagedLines,
                          "Settings file " + name + ": " + Lines(loaded.doc.DamagedLines()) +
                              " neither sections, keys nor comments (the first is line " +
                              std::to_string(loaded.doc.FirstDamagedLine()) + "); they are ignored" +
                              keep);
    } else {
        ReportReadProblem(0, {});
    }
    return loaded;
}

bool IniSettingsStore::Change(const std::string& what,
                              const std::function<bool(IniDocument&)>& change) {
    batch_.reset();  // a write reads the file afresh; the reads of a batch after it see the result
    Loaded loaded = Load();
    const std::string failure = "Settings not saved (" + what + "): ";
    if (!loaded.readable)
        return FailWrite(failure + file_.string() + " cannot be read, so it is not replaced");
    auto keepForBatch = [&] {
        if (batchDepth_ > 0) batch_ = std::make_unique<Loaded>(std::move(loaded));
        return true;
    };
    if (!change(loaded.doc)) return keepForBatch();
    const std::string bytes = loaded.doc.Render();
    if (loaded.existed && bytes == loaded.bytes) return keepForBatch();

    const fs::path target = WriteTarget(file_);
    std::string error;
    if (loaded.damaged) {
        if (const auto keep = CorruptCopyName(target, loaded.bytes)) {
            if (!ReplaceFile(*keep, loaded.bytes, loaded.mode, error))
                return FailWrite(failure + "the damaged file could not be kept: " + error);
            if (trace_)
                trace_("Settings file " + file_.string() + " was damaged; its old text is kept as " +
                       keep->string());
        }
    }
    if (!ReplaceFile(target, bytes, loaded.mode, error)) return FailWrite(failure + error);
    reportedWriteProblem_.clear();
    return keepForBatch();
}

std::optional<std::string> IniSettingsStore::Read(std::string_view section, std::string_view key) {
    if (batchDepth_ > 0) {
        if (!batch_) batch_ = std::make_unique<Loaded>(Load());
        return batch_->doc.Get(section, key);
    }
    Loaded loaded = Load();
    return loaded.doc.Get(section, key);
}

bool IniSettingsStore::Write(std::string_view section, std::string_view key,
                             std::string_view value) {
    return WriteMany(section, {{std::string(key), std::string(value)}});
}

bool IniSettingsStore::DeleteValue(std::string_view section, std::string_view key) {
    return DeleteMany(section, {std::string(key)});
}

bool IniSettingsStore::WriteMany(std::string_view section, const Values& values) {
    if (values.empty()) return true;
    std::string what("[");
    what += section;
    what += "] ";
    what += values.size() == 1 ? values.front().first : std::to_string(values.size()) + " values";
    if (!IsValidSectionName(section)) return FailWrite("Settings not saved (" + what + "): bad section name");
    for (const auto& [key, value] : values)
        if (!IsValidKeyName(key)) return FailWrite("Settings not saved (" + what + "): bad key name " + key);
    return Change(what, [&](IniDocument& doc) {
        for (const auto& [key, value] : values) doc.Set(section, key, value);
        return true;
    });
}

bool IniSettingsStore::DeleteMany(std::string_view section, const std::vector<std::string>& keys) {
    if (keys.empty()) return true;
    std::string what("[");
    what += section;
    what += "] deleting ";
    what += keys.size() == 1 ? keys.front() : std::to_string(keys.size()) + " values";
    return Change(what, [&](IniDocument& doc) {
        bool removed = false;
        for (const auto& key : keys) removed = doc.Remove(section, key) || removed;
        return removed;
    });
}

}  // namespace vantrel
