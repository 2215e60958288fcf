// Measures the heap memory the code under test holds at its peak.
//
// The hostile test executable replaces the global operator new and delete
// (allocation_meter.cpp) so that every C++ allocation is counted while a
// meter is running. The peak is of live bytes: what was allocated and not yet
// released, the most that was held at one time.
#pragma once

#include <cstddef>

class AllocationMeter {
public:
    AllocationMeter();   // starts counting from zero
    ~AllocationMeter();  // stops counting

    AllocationMeter(const AllocationMeter&) = delete;
    AllocationMeter& operator=(const AllocationMeter&) = delete;

    size_t PeakBytes() const;
    size_t LargestAllocation() const;
};
