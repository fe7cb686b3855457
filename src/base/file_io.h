// File operations with the guarantees the program relies on: sizes as 64-bit numbers with -1
// for a missing file, writes that replace a file in one step, durable appends, and copies that
// never leave a half-written target behind.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/unique_fd.h"

namespace vantrel {

namespace fs = std::filesystem;

// Size in bytes; -1 when the file does not exist or is not a regular file.
std::int64_t FileSize(const fs::path& file);

std::optional<std::string> ReadWholeFile(const fs::path& file, std::string* error = nullptr);

// The text of an error number as the operator reads it: "disk full" for ENOSPC, else the
// system's text.
std::string ErrorText(int error);

// Writes a new file beside the target, flushes it to disk and renames it over the target:
// after a crash the target holds either its old or its new content. The new file has a name of
// its own per process and write (".NAME.new-PID-N"), so writers in two processes never mix
// their bytes. It takes `mode` as its permissions when given, else those of the file it
// replaces, else the usual ones of a new file.
bool WriteFileAtomic(const fs::path& file, std::string_view bytes, std::string* error = nullptr,
                     std::optional<unsigned> mode = std::nullopt);

// A file written piece by piece, for content too large to hold whole: the pieces go to a new
// file beside the target (as WriteFileAtomic's do), which replaces the target in one step at
// Commit. A writer destroyed without a Commit, or one whose write failed, removes its new file
// and leaves the target as it was.
class NewFileWriter {
public:
    explicit NewFileWriter(fs::path target) : target_(std::move(target)) {}
    ~NewFileWriter();
    NewFileWriter(const NewFileWriter&) = delete;
    NewFileWriter& operator=(const NewFileWriter&) = delete;

    bool Open(std::string* error = nullptr);
    bool Write(std::string_view bytes, std::string* error = nullptr);
    bool Commit(std::string* error = nullptr);

private:
    void Discard();

    fs::path target_;
    fs::path temp_;
    UniqueFd fd_;
};

// True when the file holds exactly `bytes` (compared in chunks, never read whole).
bool FileHolds(const fs::path& file, std::string_view bytes);
// WriteFileAtomic, unless the file already holds exactly these bytes: then nothing is written
// (its modification time stays). `written` tells which.
bool WriteFileIfChanged(const fs::path& file, std::string_view bytes, std::string* error = nullptr,
                        bool* written = nullptr);

// ".NAME.new-PID-N" beside the target, a name no other write uses: where a write that replaces
// the target puts its new content before the rename. RemoveLeftoverWrites knows these names.
fs::path NewFileBeside(const fs::path& target);

// Removes the new files that writers killed before their rename left beside `target`
// (WriteFileAtomic, CopyFileReplacing). Those of processes that still run are left alone.
void RemoveLeftoverWrites(const fs::path& target);
// The same for every file of a folder.
void RemoveLeftoverWritesIn(const fs::path& folder);

// Appends in a single write and flushes it to disk; a killed process leaves the whole
// append or none of it. A failed append (a full disk) is cut back off, so the file never keeps
// part of it, and the error names the reason ("disk full").
bool AppendFileDurable(const fs::path& file, std::string_view bytes, std::string* error = nullptr);

// Waits for an exclusive advisory lock on a file that writers replace by renaming a new file
// over it, and holds it while the descriptor lives: the lock is on the file the path names when
// it is granted. Writers that take it before they read, merge and write exclude each other.
// Nothing (an invalid descriptor) when the file does not exist or cannot be opened, or when the
// lock is not granted within `patience` (a writer that hangs does not stop this one).
UniqueFd LockFileForUpdate(const fs::path& file,
                           std::chrono::milliseconds patience = std::chrono::seconds(10));

// Progress in per cent of the bytes copied; called now and then during long copies.
using CopyProgress = std::function<void(int percent)>;

// Copies `from` over `to` without asking. The copy is made beside the target and renamed over
// it, so a failed copy leaves the previous target intact.
bool CopyFileReplacing(const fs::path& from, const fs::path& to, std::string* error = nullptr,
                       const CopyProgress& progress = {});

// CopyFileReplacing, unless `to` is a copy made after `from` last changed: of the same size and
// written later than it. `copied` tells whether a copy was made.
bool CopyFileIfChanged(const fs::path& from, const fs::path& to, std::string* error = nullptr,
                       bool* copied = nullptr);

enum class CopyRefresh { Unchanged, Appended, Copied, Failed };

// Brings the copy of a file that its writer only appends to (the journal, the contact log) up
// to date. When the copy is a prefix of the source (shorter, and sampled bytes before the
// copy's end match) only the new bytes are appended; otherwise the whole file is copied.
CopyRefresh RefreshAppendOnlyCopy(const fs::path& from, const fs::path& to,
                                  std::string* error = nullptr, const CopyProgress& progress = {});

// The entry of `folder` whose name equals `name` letter case ignored; an exact match wins.
std::optional<fs::path> FindFileNoCase(const fs::path& folder, std::string_view name);

}  // namespace vantrel
