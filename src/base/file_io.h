// File operations with the guarantees the program relies on: sizes as 64-bit numbers with -1
// for a missing file, writes that replace a file in one step, durable appends, and copies that
// never leave a half-written target behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

namespace fs = std::filesystem;

// Size in bytes; -1 when the file does not exist or is not a regular file.
std::int64_t FileSize(const fs::path& file);

std::optional<std::string> ReadWholeFile(const fs::path& file, std::string* error = nullptr);

// Writes a new file beside the target, flushes it to disk and renames it over the target:
// after a crash the target holds either its old or its new content.
bool WriteFileAtomic(const fs::path& file, std::string_view bytes, std::string* error = nullptr);

// Appends in a single write and flushes it to disk; a killed process leaves the whole
// append or none of it.
bool AppendFileDurable(const fs::path& file, std::string_view bytes, std::string* error = nullptr);

// Progress in per cent of the bytes copied; called now and then during long copies.
using CopyProgress = std::function<void(int percent)>;

// Copies `from` over `to` without asking. The copy is made beside the target and renamed over
// it, so a failed copy leaves the previous target intact.
bool CopyFileReplacing(const fs::path& from, const fs::path& to, std::string* error = nullptr,
                       const CopyProgress& progress = {});

enum class CopyRefresh { Unchanged, Appended, Copied, Failed };

// Brings the copy of a file that its writer only appends to (the journal, the contact log) up
// to date. When the copy is a prefix of the source (shorter, and sampled bytes before the
// copy's end match) only the new bytes are appended; otherwise the whole file is copied.
CopyRefresh RefreshAppendOnlyCopy(const fs::path& from, const fs::path& to,
                                  std::string* error = nullptr, const CopyProgress& progress = {});

// The entry of `folder` whose name equals `name` letter case ignored; an exact match wins.
std::optional<fs::path> FindFileNoCase(const fs::path& folder, std::string_view name);

}  // namespace vantrel
