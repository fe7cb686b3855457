// An allocator for large tables that are filled at once (hash tables of a whole log): blocks of
// 2 MB and more are mapped at a huge-page boundary and the system is asked to back them with
// huge pages, so filling them costs a few page faults instead of thousands.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace vantrel {

namespace huge_pages {

inline constexpr std::size_t kPage = 2u << 20;

inline bool Mapped(std::size_t bytes) { return bytes >= kPage; }
inline std::size_t Rounded(std::size_t bytes) { return (bytes + kPage - 1) / kPage * kPage; }

inline void* Allocate(std::size_t bytes) {
    if (!Mapped(bytes)) {
        void* p = std::malloc(bytes == 0 ? 1 : bytes);
        if (!p) throw std::bad_alloc();
        return p;
    }
    const std::size_t size = Rounded(bytes);
    const std::size_t span = size + kPage;
    void* p = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    char* raw = static_cast<char*>(p);
    char* aligned = reinterpret_cast<char*>(
        (reinterpret_cast<std::uintptr_t>(raw) + kPage - 1) / kPage * kPage);
    if (aligned > raw) ::munmap(raw, static_cast<std::size_t>(aligned - raw));
    const std::size_t tail = static_cast<std::size_t>((raw + span) - (aligned + size));
    if (tail > 0) ::munmap(aligned + size, tail);
#ifdef MADV_HUGEPAGE
    ::madvise(aligned, size, MADV_HUGEPAGE);
#endif
    return aligned;
}

inline void Free(void* p, std::size_t bytes) {
    if (!p) return;
    if (Mapped(bytes))
        ::munmap(p, Rounded(bytes));
    else
        std::free(p);
}

}  // namespace huge_pages

template <class T>
struct HugePageAllocator {
    using value_type = T;
    HugePageAllocator() = default;
    template <class U>
    HugePageAllocator(const HugePageAllocator<U>&) {}
    T* allocate(std::size_t n) { return static_cast<T*>(huge_pages::Allocate(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) { huge_pages::Free(p, n * sizeof(T)); }
    template <class U>
    bool operator==(const HugePageAllocator<U>&) const { return true; }
};

}  // namespace vantrel
