// A stream over test bytes, with the text a read failed with.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "importer/nif/debug_printer.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/text_exception.h"
#include "nif_builder/nif_builder.h"
#include "platform/headless.h"

class StreamTest : public ::testing::Test {
protected:
    void SetUp() override { platform::headless::Reset(); }

    void Open(const NifBuilder& bytes) { stream.OpenBytes(bytes.Data(), bytes.Size(), "memory"); }

    // Runs `read` and returns the text it failed with ("" when it did not fail).
    template <class Read>
    std::string FailureOf(Read read) {
        try {
            read();
        } catch (const TextException& failure) {
            return failure.Text();
        }
        return "";
    }

    DebugPrinter printer;
    Qiv_Stream stream{&printer};
};
