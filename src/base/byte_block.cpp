#include "base/byte_block.h"

#include "base/file_io.h"
#include "base/unique_fd.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>


namespace vantrel {

namespace {

constexpr std::size_t kMapFrom = 4u << 20;  // blocks from 4 MB on are mapped
constexpr std::size_t kHugePage = 2u << 20;

std::size_t RoundUp(std::size_t n, std::size_t unit) { return (n + unit - 1) / unit * unit; }

// Maps `capacity` bytes (a multiple of the huge page size) at a huge-page boundary, so the
// system can back them with huge pages: far fewer page faults when a large file is read in.
char* MapBlock(std::size_t capacity) {
    const std::size_t span = capacity + kHugePage;
    void* p = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    char* raw = static_cast<char*>(p);
    char* aligned = reinterpret_cast<char*>(RoundUp(reinterpret_cast<std::uintptr_t>(raw), kHugePage));
    if (aligned > raw) ::munmap(raw, static_cast<std::size_t>(aligned - raw));
    const std::size_t tail = static_cast<std::size_t>((raw + span) - (aligned + capacity));
    if (tail > 0) ::munmap(aligned + capacity, tail);
#ifdef MADV_HUGEPAGE
    ::madvise(aligned, capacity, MADV_HUGEPAGE);
#endif
    return aligned;
}

}  // namespace

ByteBlock::~ByteBlock() { Release(); }

void ByteBlock::Release() {
    if (!data_) return;
    if (mapped_)
        ::munmap(data_, capacity_);
    else
        std::free(data_);
    data_ = nullptr;
    size_ = capacity_ = 0;
    mapped_ = false;
}

ByteBlock::ByteBlock(const ByteBlock& other) { append(other.view()); }

ByteBlock& ByteBlock::operator=(const ByteBlock& other) {
    if (this != &other) {
        clear();
        append(other.view());
    }
    return *this;
}

ByteBlock::ByteBlock(ByteBlock&& other) noexcept
    : data_(other.data_), size_(other.size_), capacity_(other.capacity_), mapped_(other.mapped_) {
    other.data_ = nullptr;
    other.size_ = other.capacity_ = 0;
    other.mapped_ = false;
}

ByteBlock& ByteBlock::operator=(ByteBlock&& other) noexcept {
    if (this != &other) {
        Release();
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
        std::swap(mapped_, other.mapped_);
    }
    return *this;
}

void ByteBlock::reserve(std::size_t capacity) {
    if (capacity <= capacity_) return;
    capacity = std::max(capacity, capacity_ + capacity_ / 2);
    if (capacity >= kMapFrom) {
        capacity = RoundUp(capacity, kHugePage);
        if (mapped_) {
            void* p = ::mremap(data_, capacity_, capacity, MREMAP_MAYMOVE);
            if (p == MAP_FAILED) throw std::bad_alloc();
            data_ = static_cast<char*>(p);
        } else {
            char* p = MapBlock(capacity);
            if (size_) std::memcpy(p, data_, size_);
            std::free(data_);
            data_ = p;
            mapped_ = true;
        }
    } else {
        void* p = std::realloc(data_, capacity);
        if (!p) throw std::bad_alloc();
        data_ = static_cast<char*>(p);
    }
    capacity_ = capacity;
}

void ByteBlock::append(std::string_view bytes) {
    if (bytes.empty()) return;
    reserve(size_ + bytes.size());
    std::memcpy(data_ + size_, bytes.data(), bytes.size());
    size_ += bytes.size();
}

void ByteBlock::replace(std::size_t at, std::size_t length, std::string_view bytes) {
    const std::string copy(bytes);  // the bytes may lie in this block
    const std::size_t tail = size_ - at - length;
    reserve(size_ - length + copy.size());
    std::memmove(data_ + at + copy.size(), data_ + at + length, tail);
    std::memcpy(data_ + at, copy.data(), copy.size());
    size_ = size_ - length + copy.size();
}

bool ByteBlock::ReadFile(const std::filesystem::path& file, std::string* error) {
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error) *error = "cannot read " + file.string() + ": " + (!fd ? ErrorText(errno) : "not a regular file");
        return false;
    }
    ByteBlock block;
    block.reserve(static_cast<std::size_t>(st.st_size) + 2);
    for (;;) {
        if (block.size_ == block.capacity_) block.reserve(block.capacity_ * 2);
        const ssize_t n = ::read(fd.get(), block.data_ + block.size_, block.capacity_ - block.size_);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            if (error) *error = "cannot read " + file.string() + ": " + ErrorText(errno);
            return false;
        }
        if (n == 0) break;
        block.size_ += static_cast<std::size_t>(n);
    }
    *this = std::move(block);
    return true;
}

}  // namespace vantrel
