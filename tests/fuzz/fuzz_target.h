// The one entry point every fuzz target defines. libFuzzer calls it for each
// input; replay_main.cpp calls it for each saved input when the normal build
// replays the regression inputs.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
