// The allocation meter is shared by every test program: tests/support/allocation_meter.h.
#pragma once

#include "tests/support/allocation_meter.h"
