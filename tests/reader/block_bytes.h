// The block writers are part of the NIF builder; this name is kept for the
// one test that still includes it.
#pragma once

#include "tests/support/nif_builder.h"
