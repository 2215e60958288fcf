// Fuzz target 1: the reader on arbitrary bytes. The load either succeeds or
// ends with a TextException; anything else (a crash, a sanitizer report, a
// leak, another exception) is a finding.
#include "importer/nif/debug_printer.h"
#include "importer/nif/nif_block.h"
#include "importer/nif/nif_file.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/text_exception.h"
#include "platform/headless.h"
#include "tests/fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DebugPrinter printer;
    Qiv_Stream stream(&printer);
    try {
        stream.OpenBytes(data, size, "fuzz.nif");
        NifFile file(&stream);
        // Touch every block the way the conversion does: type, parent, bone flag.
        for (int i = 0; i < file.GetBlockCount(); ++i) {
            NifBlock* block = file.GetBlock(i);
            if (block->GetTypeName() == nullptr) __builtin_trap();
            (void)block->GetParent();
            (void)block->IsBone();
        }
    } catch (const TextException&) {
    }
    // The headless platform keeps every debug line; start each input afresh.
    platform::headless::Reset();
    return 0;
}
