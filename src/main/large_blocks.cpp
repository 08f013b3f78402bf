// Memory on huge pages.
//
// Faulting memory in page by page dominates large scripts: a million
// subscribers take about 150 MB of list, 150 MB of words and, while the
// list grows, its earlier copies; on the machines we measure, each 4 KiB
// page fault costs several microseconds, a 2 MiB one barely more. So the
// program offers its memory to the kernel for transparent huge pages:
//  - blocks of 1 MiB and more are aligned to 2 MiB and advised one by one;
//  - small blocks come from malloc's heap, which is asked to grow 32 MiB at a
//    time and never to shrink; each time it has grown, the new part is
//    advised before it is used.
// Where huge pages are unavailable the advice changes nothing. Every block
// is released with free.
#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__linux__) && defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kLargeBlock = std::size_t{1} << 20;

std::size_t roundUp(std::size_t n) { return (n + kHugePage - 1) & ~(kHugePage - 1); }

// `p` moved up or down to a huge-page boundary.
char* alignUp(char* p) {
  const auto at = reinterpret_cast<std::uintptr_t>(p);
  return p + (roundUp(at) - at);
}
char* alignDown(char* p) {
  const auto at = reinterpret_cast<std::uintptr_t>(p);
  return p - (at & (kHugePage - 1));
}

// The heap from its start up to `advisedEnd` has been advised.
char* heapStart = nullptr;
char* advisedEnd = nullptr;

void adviseHeap() {
  char* end = static_cast<char*>(sbrk(0));
  // The part of the last huge page already in use stays as it is.
  char* from = alignUp(advisedEnd);
  char* to = alignDown(end);
  if (to > from) madvise(from, static_cast<std::size_t>(to - from), MADV_HUGEPAGE);
  advisedEnd = end;
}

struct HeapSetup {
  HeapSetup() {
    mallopt(M_TOP_PAD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    heapStart = static_cast<char*>(sbrk(0));
    advisedEnd = heapStart;
  }
};
const HeapSetup heapSetup;

void* allocate(std::size_t size) {
  if (size >= kLargeBlock) {
    const std::size_t rounded = roundUp(size);
    if (void* p = std::aligned_alloc(kHugePage, rounded)) {
      madvise(p, rounded, MADV_HUGEPAGE);
      return p;
    }
    throw std::bad_alloc();
  }
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  if (static_cast<char*>(p) >= advisedEnd && heapStart != nullptr &&
      static_cast<char*>(p) >= heapStart) {
    adviseHeap();
  }
  return p;
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t /*size*/) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t /*size*/) noexcept { std::free(p); }

#endif
