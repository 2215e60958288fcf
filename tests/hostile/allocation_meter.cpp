#include "tests/hostile/allocation_meter.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace {

// One meter at a time; the tests run on one thread.
bool metering = false;
size_t liveBytes = 0;
size_t peakBytes = 0;
size_t largestAllocation = 0;

void* Allocate(size_t size) {
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) throw std::bad_alloc();
    if (metering) {
        // The usable size, so that the release below subtracts the same amount.
        const size_t usable = malloc_usable_size(memory);
        liveBytes += usable;
        if (liveBytes > peakBytes) peakBytes = liveBytes;
        if (size > largestAllocation) largestAllocation = size;
    }
    return memory;
}

void Release(void* memory) {
    if (memory == nullptr) return;
    if (metering) {
        const size_t usable = malloc_usable_size(memory);
        // Memory allocated before the meter started is not in liveBytes.
        liveBytes = usable > liveBytes ? 0 : liveBytes - usable;
    }
    std::free(memory);
}

}  // namespace

AllocationMeter::AllocationMeter() {
    liveBytes = peakBytes = largestAllocation = 0;
    metering = true;
}

AllocationMeter::~AllocationMeter() { metering = false; }

size_t AllocationMeter::PeakBytes() const { return peakBytes; }
size_t AllocationMeter::LargestAllocation() const { return largestAllocation; }

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* memory) noexcept { Release(memory); }
void operator delete[](void* memory) noexcept { Release(memory); }
void operator delete(void* memory, size_t) noexcept { Release(memory); }
void operator delete[](void* memory, size_t) noexcept { Release(memory); }
