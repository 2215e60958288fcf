#include "tests/support/allocation_meter.h"

#include <dlfcn.h>
#include <malloc.h>

#include <cstdlib>
#include <new>
#include <stdexcept>

namespace {

bool metering = false;
size_t liveBytes = 0;
size_t peakBytes = 0;
size_t largestAllocation = 0;

long allocationsBeforeFailure = 0;
bool failWithOtherError = false;
bool failureInjected = false;
size_t refuseFrom = 0;  // 0: refuse nothing

using NewFunction = void* (*)(std::size_t);
using DeleteFunction = void (*)(void*);

template <class Function>
Function Next(const char* mangledName) {
    auto next = reinterpret_cast<Function>(dlsym(RTLD_NEXT, mangledName));
    if (!next) std::abort();
    return next;
}

void* Allocate(std::size_t size, NewFunction next) {
    if (allocationsBeforeFailure > 0 && --allocationsBeforeFailure == 0) {
        failureInjected = true;
        if (failWithOtherError) throw std::length_error("injected");
        throw std::bad_alloc();
    }
    if (refuseFrom != 0 && size >= refuseFrom) throw std::bad_alloc();
    void* memory = next(size);
    if (metering) {
        // The usable size, so that the release below subtracts the same amount.
        liveBytes += malloc_usable_size(memory);
        if (liveBytes > peakBytes) peakBytes = liveBytes;
        if (size > largestAllocation) largestAllocation = size;
    }
    return memory;
}

void Release(void* memory, DeleteFunction next) {
    if (memory == nullptr) return;
    if (metering) {
        const size_t usable = malloc_usable_size(memory);
        // Memory allocated before the meter started is not in liveBytes.
        liveBytes = usable > liveBytes ? 0 : liveBytes - usable;
    }
    next(memory);
}

void* NewSingle(std::size_t size) {
    static const NewFunction next = Next<NewFunction>(sizeof(std::size_t) == 8 ? "_Znwm" : "_Znwj");
    return Allocate(size, next);
}

void* NewArray(std::size_t size) {
    static const NewFunction next = Next<NewFunction>(sizeof(std::size_t) == 8 ? "_Znam" : "_Znaj");
    return Allocate(size, next);
}

void DeleteSingle(void* memory) {
    static const DeleteFunction next = Next<DeleteFunction>("_ZdlPv");
    Release(memory, next);
}

void DeleteArray(void* memory) {
    static const DeleteFunction next = Next<DeleteFunction>("_ZdaPv");
    Release(memory, next);
}

}  // namespace

AllocationMeter::AllocationMeter() {
    liveBytes = peakBytes = largestAllocation = 0;
    metering = true;
}

AllocationMeter::~AllocationMeter() { metering = false; }

size_t AllocationMeter::PeakBytes() const { return peakBytes; }
size_t AllocationMeter::LargestAllocation() const { return largestAllocation; }

namespace allocation {

void FailAfter(long count, bool otherError) {
    if (count > 0) failureInjected = false;
    failWithOtherError = otherError;
    allocationsBeforeFailure = count;
}

bool FailureInjected() { return failureInjected; }

RefuseFrom::RefuseFrom(size_t bytes) { refuseFrom = bytes; }
RefuseFrom::~RefuseFrom() { refuseFrom = 0; }

}  // namespace allocation

void* operator new(std::size_t size) { return NewSingle(size); }
void* operator new[](std::size_t size) { return NewArray(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return NewSingle(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return NewArray(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* memory) noexcept { DeleteSingle(memory); }
void operator delete(void* memory, std::size_t) noexcept { DeleteSingle(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { DeleteSingle(memory); }
void operator delete[](void* memory) noexcept { DeleteArray(memory); }
void operator delete[](void* memory, std::size_t) noexcept { DeleteArray(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { DeleteArray(memory); }
