// The reader's older name for the run's diagnostics sink, kept for the code
// that creates a sink only to read a file.
#pragma once

#include "importer/nif/diagnostics.h"

using DebugPrinter = Diagnostics;
