// mshost with the real plug-ins: importing the project's examples, a
// rejected file, export of a model and the exported file read back.
#include <gtest/gtest.h>

#include "run_process.h"

namespace {

TEST(CliRealPlugIns, PlaceHolder) {}

}  // namespace
