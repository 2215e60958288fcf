// Running out of memory in the middle of an export must not reach the host:
// the user sees a message, execute returns -1, the model stays, and no file
// is left behind.
// Large requests are refused the way an exhausted heap would.
#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <stdexcept>

#include "tests/exporter/export_fixture.h"
#include "tests/support/allocation_meter.h"

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
        allocation::RefuseFrom refuse(256 * 1024);
        result = msPlugIn_Execute(&plugIn, model.get());
    }
    EXPECT_EQ(result, -1);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Export failed: out of memory."});
    EXPECT_EQ(msModel_GetDestroyCount(model.get()), 0);
    EXPECT_EQ(TempFolder::ReadAll(Output()), "precious");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.nif"});
}

// The meter and the failures the tests above rely on.
TEST(AllocationMeterTest, MeasuresLargestAndPeakAndFailsOnRequest) {
    {
        AllocationMeter meter;
        auto first = std::make_unique<char[]>(3000);
        auto second = std::make_unique<char[]>(5000);
        first.reset();
        auto third = std::make_unique<char[]>(100);
        EXPECT_EQ(meter.LargestAllocation(), 5000u);
        EXPECT_GE(meter.PeakBytes(), 8000u);
        EXPECT_LT(meter.PeakBytes(), 8000u + 1024u);
    }

    allocation::FailAfter(2);
    auto kept = std::make_unique<int>(1);
    EXPECT_FALSE(allocation::FailureInjected());
    EXPECT_THROW(std::make_unique<int>(2), std::bad_alloc);
    EXPECT_TRUE(allocation::FailureInjected());
    EXPECT_NO_THROW(std::make_unique<int>(3)) << "a failure happens once";

    allocation::FailAfter(1, true);
    EXPECT_THROW(std::make_unique<int>(4), std::length_error);
    allocation::FailAfter(0);
    EXPECT_TRUE(allocation::FailureInjected()) << "disarming keeps the answer";

    {
        allocation::RefuseFrom refuse(4096);
        EXPECT_NO_THROW(std::make_unique<char[]>(4095));
        EXPECT_THROW(std::make_unique<char[]>(4096), std::bad_alloc);
    }
    EXPECT_NO_THROW(std::make_unique<char[]>(4096));
}
