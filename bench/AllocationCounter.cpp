#include "bench/AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {
std::size_t Count = 0;
std::size_t Held = 0;
std::size_t Peak = 0;
constexpr std::size_t Header = alignof(std::max_align_t);

void* Allocate(std::size_t size)
{
    auto* block = static_cast<unsigned char*>(std::malloc(size + Header));
    if (!block)
        throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = size;
    ++Count;
    Held += size;
    if (Held > Peak)
        Peak = Held;
    return block + Header;
}

void Release(void* pointer) noexcept
{
    if (!pointer)
        return;
    auto* block = static_cast<unsigned char*>(pointer) - Header;
    Held -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}
}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* pointer) noexcept { Release(pointer); }
void operator delete[](void* pointer) noexcept { Release(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { Release(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { Release(pointer); }

std::size_t AllocationCounter::Allocations() { return Count; }
std::size_t AllocationCounter::BytesHeld() { return Held; }
std::size_t AllocationCounter::PeakBytes() { return Peak; }
void AllocationCounter::ResetPeak() { Peak = Held; }
