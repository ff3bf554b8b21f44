#include "base/LargeBuffer.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

namespace karvelo {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this a buffer is not worth a mapping of its own.
constexpr std::size_t kMapThreshold = std::size_t{256} << 10;

std::size_t MappedSize(std::size_t bytes) {
  return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

}  // namespace

void* AllocateLargeMemory(std::size_t bytes) {
  if (bytes < kMapThreshold) {
    void* small = std::calloc(bytes == 0 ? 1 : bytes, 1);
    if (small == nullptr) throw std::bad_alloc();
    return small;
  }
  if (bytes > static_cast<std::size_t>(-1) - 2 * kHugePage) throw std::bad_alloc();
  const std::size_t size = MappedSize(bytes);
  // Map one huge page more than needed and trim both ends to a 2 MiB boundary, so the
  // kernel can back the whole buffer with huge pages.
  const std::size_t span = size + kHugePage;
  void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  if (aligned > start) munmap(raw, aligned - start);
  const std::uintptr_t tail = aligned + size;
  if (start + span > tail) munmap(reinterpret_cast<void*>(tail), start + span - tail);
  void* memory = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
  // Only advice: without huge pages the buffer works the same, just with more faults.
  madvise(memory, size, MADV_HUGEPAGE);
#endif
  return memory;
}

void FreeLargeMemory(void* memory, std::size_t bytes) noexcept {
  if (memory == nullptr) return;
  if (bytes < kMapThreshold) {
    std::free(memory);
    return;
  }
  munmap(memory, MappedSize(bytes));
}

}  // namespace karvelo
