// Running out of memory in the middle of an export must not reach the host:
// the user sees a message, execute returns -1, the model stays, and no file
// is left behind.
//
// This test binary's operator new forwards to the real one (the sanitizer's
// in the sanitizer build, so its checks stay in force) and, while armed,
// refuses large requests the way an exhausted heap would.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/exporter/export_fixture.h"

namespace {

std::atomic<size_t> gRefuseFrom{0};  // 0: refuse nothing

using NewFunction = void* (*)(std::size_t);

NewFunction Next(const char* mangledName) {
    auto next = reinterpret_cast<NewFunction>(dlsym(RTLD_NEXT, mangledName));
    if (!next) std::abort();
    return next;
}

void RefuseWhenArmed(std::size_t size) {
    const size_t from = gRefuseFrom.load();
    if (from != 0 && size >= from) throw std::bad_alloc();
}

class RefuseLargeAllocations {
public:
    explicit RefuseLargeAllocations(size_t from) { gRefuseFrom = from; }
    ~RefuseLargeAllocations() { gRefuseFrom = 0; }
};

}  // namespace

void* operator new(std::size_t size) {
    RefuseWhenArmed(size);
    static const NewFunction next = Next(sizeof(std::size_t) == 8 ? "_Znwm" : "_Znwj");
    return next(size);
}

void* operator new[](std::size_t size) {
    RefuseWhenArmed(size);
    static const NewFunction next = Next(sizeof(std::size_t) == 8 ? "_Znam" : "_Znaj");
    return next(size);
}

using OutOfMemory = ExportFixture;

TEST_F(OutOfMemory, ExportRunEndsWithAMessageAndLeavesTheModel) {
    msMesh* mesh = model.AddMesh("big", model.AddMaterial("m", "a.bmp"));
    for (int i = 0; i < 30000; ++i) TestModel::AddVertex(mesh, float(i), 0, 0, 0, 0);
    TestModel::AddTriangle(mesh, 0, 1, 2, 0, 0, 0);
    TestModel::AddNormal(mesh, 0, 0, 1);
    TempFolder::WriteAll(Output(), "precious");

    CNifExportPlugIn plugIn;
    platform::headless::QueueDialog({{platform::headless::SetText(1000, Output()), platform::headless::Press(1)}});
    int result = 0;
    {
        RefuseLargeAllocations refuse(256 * 1024);
        result = msPlugIn_Execute(&plugIn, model.get());
    }
    EXPECT_EQ(result, -1);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Export failed: out of memory."});
    EXPECT_EQ(msModel_GetDestroyCount(model.get()), 0);
    EXPECT_EQ(TempFolder::ReadAll(Output()), "precious");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.nif"});
}
