// kwetro-cli runs once and ends. What it allocates is taken from one region
// in turn and never handed back, so that an allocation is a pointer bump
// rather than a trip through the general allocator: a whole run of `generate`
// makes some two thousand allocations, under a megabyte in all, and the
// general allocator spent more instructions on them than the scripts take to
// write. Requests the region cannot hold (a huge settings file, say) go to the
// general allocator and are freed as usual. Linked into the native kwetro-cli
// only; the window program and the tests keep the standard allocator.
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

// Pages of the region that are never touched cost no memory.
alignas(std::max_align_t) char region[16 << 20];
std::size_t used = 0;

bool InRegion(const void* p) {
  return static_cast<const char*>(p) >= region &&
         static_cast<const char*>(p) < region + sizeof region;
}

void* Allocate(std::size_t size) noexcept {
  constexpr std::size_t kAlign = alignof(std::max_align_t);
  const std::size_t rounded = (size + kAlign - 1) & ~(kAlign - 1);
  if (rounded >= size && rounded <= sizeof region - used) {
    void* p = region + used;
    used += rounded;
    return p;
  }
  return std::malloc(size ? size : 1);
}

void* AllocateOrThrow(std::size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}

void Release(void* p) noexcept {
  if (!InRegion(p)) std::free(p);
}

}  // namespace

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
