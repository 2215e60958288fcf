// The tests' one replacement of the global operator new and delete: it
// measures what the code under test allocates and can make allocations
// fail on purpose. Linked into a test program (the `allocation_meter`
// object library), it passes every request on to the operator new and
// delete it replaces (the address sanitizer's in the sanitizer build, so
// its checks stay in force). The tests run on one thread.
#pragma once

#include <cstddef>

// While a meter exists, every allocation is counted. The peak is of live
// bytes: allocated and not yet released, the most held at one time.
// One meter at a time.
class AllocationMeter {
public:
    AllocationMeter();   // starts counting from zero
    ~AllocationMeter();  // stops counting

    AllocationMeter(const AllocationMeter&) = delete;
    AllocationMeter& operator=(const AllocationMeter&) = delete;

    size_t PeakBytes() const;
    size_t LargestAllocation() const;
};

namespace allocation {

// Makes the `count`-th allocation from now fail (1: the next one) with
// std::bad_alloc or, when `otherError` is set, std::length_error; 0 disarms.
void FailAfter(long count, bool otherError = false);
// Whether the failure armed last (by a count above 0) has happened.
bool FailureInjected();

// Refuses every allocation of `bytes` or more with std::bad_alloc, the way
// an exhausted heap would, until the object goes away.
class RefuseFrom {
public:
    explicit RefuseFrom(size_t bytes);
    ~RefuseFrom();
    RefuseFrom(const RefuseFrom&) = delete;
    RefuseFrom& operator=(const RefuseFrom&) = delete;
};

}  // namespace allocation
