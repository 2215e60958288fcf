// One NIF file through the importer's reader, nothing added to any model: the
// outcome that `check` prints for one file and sums up for many.
#pragma once

#include <string>
#include <vector>

#include "importer/nif/block_kind.h"

namespace mshost {

struct FileCheck {
    enum Result {
        kLoaded,    // blockKinds: the kind of every block, in file order
        kRejected,  // error: the reader's message
        kFailed,    // error: mshost's own problem (out of memory, ...), one line
    } result = kFailed;
    // One byte a block: a file of a million small blocks is listed without
    // holding a million strings.
    std::vector<BlockKind> blockKinds;
    std::string error;
};

// Loads `path` with the reader. The reader's debugger output of this load is
// left in the headless platform's records (platform::headless::DebugText).
FileCheck CheckNifFile(const std::string& path);

// The block type of a reader message "Unknown Block type 'NAME'.", or empty
// when the message is another one.
std::string UnknownBlockTypeOf(const std::string& message);

}  // namespace mshost
