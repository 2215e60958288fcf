// The allocation meter now lives with the other shared test helpers.
#pragma once

#include "tests/support/allocation_meter.h"
