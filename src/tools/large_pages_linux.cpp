// Linux: transparent huge pages for the heap, which the kernel gives where a program advises them.
#include "tools/large_pages.h"

#include <cstdint>
#include <cstdlib>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

void prefer_large_pages() {
    constexpr std::size_t huge_page = 2u << 20;
    constexpr int reserve = 512 << 20;  // address space only: pages come when first touched
    constexpr int default_top_pad = 128 << 10;
    // The heap grows once by the reserve, which gets the advice; large blocks (a pad's list of
    // nibs, an imported file) come from the heap too, and freed memory stays for reuse.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_TOP_PAD, reserve);
    void* first = std::malloc(1 << 20);
    const auto from = (reinterpret_cast<std::uintptr_t>(first) + huge_page - 1) & ~std::uintptr_t{huge_page - 1};
    const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
    // Harmless where the kernel offers no huge pages, or the heap could not grow.
    if (first && end > from) madvise(reinterpret_cast<void*>(from), end - from, MADV_HUGEPAGE);
    std::free(first);
    mallopt(M_TOP_PAD, default_top_pad);
}
