// A growable block of bytes for large files held in memory. Large blocks are mapped directly
// from the system, in huge pages where it offers them, and grow without copying; loading a file
// into one is a single read with no zero-filling first.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel {

class ByteBlock {
public:
    ByteBlock() = default;
    ~ByteBlock();
    ByteBlock(const ByteBlock& other);
    ByteBlock& operator=(const ByteBlock& other);
    ByteBlock(ByteBlock&& other) noexcept;
    ByteBlock& operator=(ByteBlock&& other) noexcept;

    const char* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::string_view view() const { return {data_, size_}; }

    void reserve(std::size_t capacity);
    void append(std::string_view bytes);
    void clear() { size_ = 0; }
    // Replaces [at, at + length) by the bytes.
    void replace(std::size_t at, std::size_t length, std::string_view bytes);

    // The whole file; false (and the block unchanged) when it cannot be read.
    bool ReadFile(const std::filesystem::path& file, std::string* error);

private:
    void Release();
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    bool mapped_ = false;
};

}  // namespace vantrel
