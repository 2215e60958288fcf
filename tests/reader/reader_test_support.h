// Loading generated NIF bytes in reader tests.
#pragma once

#include <memory>
#include <string>

#include "importer/nif/debug_printer.h"
#include "importer/nif/nif_file.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/text_exception.h"
#include "platform/headless.h"
#include "tests/support/nif_builder.h"

// Holds the printer, the stream and the file of one load, as the import run does.
struct Loaded {
    DebugPrinter printer;
    Qiv_Stream stream{&printer};
    std::unique_ptr<NifFile> file;
    std::string failure;  // the load's message when it failed

    explicit Loaded(const NifBuilder& bytes) {
        stream.OpenBytes(bytes.Data(), bytes.Size(), "test.nif");
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
    DebugPrinter printer;
    Qiv_Stream stream{&printer};
    std::unique_ptr<Block> block;
    std::string failure;

    ReadAlone(const NifBuilder& bytes, const char* typeName) {
        stream.OpenBytes(bytes.Data(), bytes.Size(), "block");
        try {
            block = std::make_unique<Block>(nullptr, typeName, &stream);
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
