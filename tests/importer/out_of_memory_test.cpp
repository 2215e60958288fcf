// Execute never lets an exception reach the host: every allocation of a
// whole run, one at a time, is made to fail (out of memory, or any other
// error), and each run must end in execute's own handler (the error box) or
// in a cancelled dialog.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <stdexcept>

#include "host/plugin_abi.h"
#include "importer/import_dialog.h"
#include "importer/import_plugin.h"
#include "tests/importer/import_fixture.h"
#include "tests/importer/scene_bytes.h"

namespace {

// Counts down allocations while armed; the one that reaches 0 fails.
thread_local long allocationsBeforeFailure = 0;
thread_local bool failureInjected = false;
// What the failing allocation throws: out of memory, or any other error.
thread_local bool failWithOtherError = false;

}  // namespace

// This test program's allocations all pass through here (and stay checked
// by the address sanitizer underneath malloc and free).
void* operator new(std::size_t size) {
    if (allocationsBeforeFailure > 0 && --allocationsBeforeFailure == 0) {
        failureInjected = true;
        if (failWithOtherError) throw std::length_error("injected");
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return operator new(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

namespace {

namespace headless = platform::headless;
using namespace scene;

using FailingAllocation = ImportTest;

NifBuilder TexturedShapeUnderBip01() {
    NifBuilder nif;
    nif.FileStart(7);
    Node(nif, "Bip01", {1});
    Shape(nif, "Box", 4, {2, 3});
    Texturing(nif, 5);
    Material(nif, "Mat");
    ShapeData(nif, Triangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    SourceTexture(nif, "box.bmp");
    Node(nif, "Unused", {});
    nif.Footer();
    return nif;
}

// One execute with allocation `failAt` failing; returns execute's result.
int ExecuteFailingAt(CNifImportPlugIn& plugin, msModel* model, const std::string& path, long failAt) {
    headless::QueueDialog({{headless::SetText(kImportFileField, path), headless::Press(platform::kIdOk)}});
    failureInjected = false;
    allocationsBeforeFailure = failAt;
    const int result = msPlugIn_Execute(&plugin, model);
    allocationsBeforeFailure = 0;
    return result;
}

TEST_F(FailingAllocation, OutOfMemoryEndsInTheErrorBoxOrACancel) {
    TempNifFile file(TexturedShapeUnderBip01());
    CNifImportPlugIn plugin;

    const std::string unableToOpen = "Unable to open file '" + file.Path() + "'.";
    int errorBoxes = 0;
    for (long failAt = 1; failAt < 100000; ++failAt) {
        headless::Reset();
        ModelPtr model = MakeModel();
        const int result = ExecuteFailingAt(plugin, model.get(), file.Path(), failAt);
        if (!failureInjected) {
            // Every allocation of the run has now failed once.
            EXPECT_EQ(result, 0);
            EXPECT_EQ(msModel_GetMeshCount(model.get()), 1);
            break;
        }
        EXPECT_EQ(result, 0) << "allocation " << failAt;
        const auto& boxes = headless::MessageBoxes();
        if (!boxes.empty()) {
            ASSERT_EQ(boxes.size(), 1u) << "allocation " << failAt;
            EXPECT_EQ(boxes[0].caption, "NIF Import Error");
            // The stream reports a file image it cannot hold as a file it cannot open.
            if (boxes[0].text != unableToOpen) {
                EXPECT_EQ(boxes[0].text, "Out of memory.") << "allocation " << failAt;
                ++errorBoxes;
            }
        }
    }
    EXPECT_GT(errorBoxes, 10);
}

TEST_F(FailingAllocation, AnyOtherErrorEndsInTheErrorBox) {
    TempNifFile file(TexturedShapeUnderBip01());
    CNifImportPlugIn plugin;
    failWithOtherError = true;
    int unexpectedBoxes = 0;
    for (long failAt = 1; failAt < 100000; ++failAt) {
        headless::Reset();
        ModelPtr model = MakeModel();
        const int result = ExecuteFailingAt(plugin, model.get(), file.Path(), failAt);
        if (!failureInjected) break;
        EXPECT_EQ(result, 0) << "allocation " << failAt;
        const auto& boxes = headless::MessageBoxes();
        if (!boxes.empty() && boxes[0].text == "Unexpected failure while importing.") {
            EXPECT_EQ(boxes[0].caption, "NIF Import Error");
            ++unexpectedBoxes;
        }
    }
    failWithOtherError = false;
    EXPECT_GT(unexpectedBoxes, 10);
}

}  // namespace
