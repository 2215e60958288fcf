// Loading generated NIF bytes in reader tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "importer/nif/block_kind.h"
#include "importer/nif/debug_printer.h"
#include "importer/nif/nif_file.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/text_exception.h"
#include "nif_builder/nif_builder.h"
#include "platform/headless.h"

// Holds the printer, the stream and the file of one load, as the import run does.
// The bytes are copied, exactly sized: blocks keep views into the image and
// decode some fields only when asked, after a temporary builder is gone.
struct Loaded {
    std::vector<unsigned char> image;
    DebugPrinter printer;
    Qiv_Stream stream{&printer};
    std::unique_ptr<NifFile> file;
    std::string failure;  // the load's message when it failed

    explicit Loaded(const NifBuilder& bytes) : image(bytes.Data(), bytes.Data() + bytes.Size()) {
        stream.OpenBytes(image.data(), image.size(), "test.nif");
        try {
            file = std::make_unique<NifFile>(&stream);
        } catch (const TextException& error) {
            failure = error.Text();
        }
    }
};

// The message the load of `bytes` fails with, or "" when it loads.
inline std::string LoadFailure(const NifBuilder& bytes) { return Loaded(bytes).failure; }

// Reads one block of class `Block` on its own: `bytes` hold its fields only
// (no type name), and no file owns it. For byte counts and verify messages.
template <class Block>
struct ReadAlone {
    // A copy of the bytes, exactly sized: blocks decode some fields from the
    // image when asked, so it must live as long as the block, while callers
    // often pass a builder that is gone once the block is read.
    std::vector<unsigned char> image;
    DebugPrinter printer;
    Qiv_Stream stream{&printer};
    std::unique_ptr<Block> block;
    std::string failure;

    ReadAlone(const NifBuilder& bytes, BlockKind kind) : image(bytes.Data(), bytes.Data() + bytes.Size()) {
        stream.OpenBytes(image.data(), image.size(), "block");
        try {
            block = std::make_unique<Block>(nullptr, kind, &stream);
        } catch (const TextException& error) {
            failure = error.Text();
        }
    }
    size_t BytesRead() const { return stream.Position(); }
};

// The message boxes shown since the last reset, as "text|caption" lines.
inline std::string MessageBoxLog() {
    std::string log;
    for (const auto& box : platform::headless::MessageBoxes()) {
        log += box.text + "|" + (box.caption ? *box.caption : std::string("<default>")) + "\n";
    }
    return log;
}
