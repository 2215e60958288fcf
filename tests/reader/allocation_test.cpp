// Counts read from a file never size memory beyond what the unread bytes could fill.
//
// The allocation meter sees every allocation; each hostile file here claims
// a huge count somewhere and must fail at the end of its data without any
// allocation larger than a small multiple of the file.
#include <gtest/gtest.h>

#include <cstddef>

#include "nif_builder/nif_builder.h"
#include "tests/reader/reader_test_support.h"
#include "tests/support/allocation_meter.h"

namespace {

class Allocation : public ::testing::Test {
protected:
    void SetUp() override { platform::headless::Reset(); }

    // Loads `bytes` and returns the failure; `largest` gets the largest single allocation of the load.
    std::string LoadWatching(const NifBuilder& bytes, size_t& largest) {
        DebugPrinter printer;
        Qiv_Stream stream(&printer);
        stream.OpenBytes(bytes.Data(), bytes.Size(), "hostile.nif");
        std::string failure;
        {
            AllocationMeter meter;
            try {
                NifFile file(&stream);
            } catch (const TextException& error) {
                failure = error.Text();
            }
            largest = meter.LargestAllocation();
        }
        return failure;
    }

    void ExpectBoundedFailure(const NifBuilder& bytes, const std::string& expected) {
        size_t largest = 0;
        EXPECT_EQ(LoadWatching(bytes, largest), expected);
        // Entries may be larger in memory than in the file, but never by more than this.
        EXPECT_LE(largest, 64 * bytes.Size() + 1024) << "file of " << bytes.Size() << " bytes";
    }
};

const char kCopyFour[] = "Attempted to copy too much data (4 bytes).";
const char kCopyTwo[] = "Attempted to copy too much data (2 bytes).";

TEST_F(Allocation, BlockCount) {
    NifBuilder b;
    b.FileStart(0x7FFFFFFF).TypeName("NiZBufferProperty").String("").Long(-1).Long(-1).Short(0);
    ExpectBoundedFailure(b, kCopyFour);
}

TEST_F(Allocation, ChildListCount) {
    NifBuilder b;
    b.FileStart(1).TypeName("NiNode");
    ObjectHead(b, "n");
    b.Long(0).Long(0x7FFFFFFF).Long(0);
    ExpectBoundedFailure(b, kCopyFour);
}

TEST_F(Allocation, TextureCoordinatesOfManySets) {
    NifBuilder b;
    b.FileStart(1).TypeName("NiTriShapeData").Short(65535).Long(0).Long(0).Vector(0, 0, 0).Float(1).Long(0);
    b.Short(65535).Long(1).Floats({1, 2, 3});
    ExpectBoundedFailure(b, kCopyFour);
}

TEST_F(Allocation, TrianglePointsAndMatchGroups) {
    NifBuilder points;
    points.FileStart(1).TypeName("NiTriShapeData").Short(0).Long(0).Long(0).Vector(0, 0, 0).Float(1).Long(0).Short(0).Long(0);
    points.Short(65535).Long(3 * 65535).Short(1);
    ExpectBoundedFailure(points, kCopyTwo);

    NifBuilder groups;
    groups.FileStart(1).TypeName("NiTriShapeData").Short(0).Long(0).Long(0).Vector(0, 0, 0).Float(1).Long(0).Short(0).Long(0);
    groups.Short(0).Long(0).Short(65535).Short(0).Short(0);
    ExpectBoundedFailure(groups, kCopyTwo);
}

TEST_F(Allocation, SkinBonesAndWeights) {
    NifBuilder bones;
    bones.FileStart(1).TypeName("NiSkinData").Float(1).Vector(0, 0, 0).IdentityMatrix33().Long(0x7FFFFFFF).Long(-1).Float(1);
    ExpectBoundedFailure(bones, kCopyFour);

    NifBuilder weights;
    weights.FileStart(1).TypeName("NiSkinData").Float(1).Vector(0, 0, 0).IdentityMatrix33().Long(1).Long(-1);
    weights.IdentityMatrix33().Vector(0, 0, 0).Float(1).Vector(0, 0, 0).Float(1).Short(32767).Short(0);
    ExpectBoundedFailure(weights, kCopyFour);
}

TEST_F(Allocation, AnimationKeys) {
    NifBuilder keys;
    keys.FileStart(1).TypeName("NiKeyframeData").Long(0x7FFFFFFF).Long(2).Float(0);
    ExpectBoundedFailure(keys, kCopyFour);

    NifBuilder morphs;
    morphs.FileStart(1).TypeName("NiMorphData").Long(0x7FFFFFFF).Long(0x7FFFFFFF).Byte(1).Long(0).Long(0).Float(0);
    ExpectBoundedFailure(morphs, kCopyFour);

    NifBuilder uv;
    uv.FileStart(1).TypeName("NiUVData").Long(0x7FFFFFFF).Long(3).Float(0);
    ExpectBoundedFailure(uv, kCopyFour);
}

TEST_F(Allocation, ParticlesAndTextKeys) {
    NifBuilder particles;
    particles.FileStart(1).TypeName("NiParticleSystemController").Long(-1).Short(0).Floats({0, 0, 0, 1}).Long(-1);
    particles.RepeatFloat(0, 16).Long(0).Long(0).Long(0).Byte(0).Long(0).Long(0).Long(0).Long(0).Long(0).Float(0).Long(0).Long(0);
    particles.Short(0).Short(65535).Short(0).Float(0);
    ExpectBoundedFailure(particles, kCopyFour);

    NifBuilder textKeys;
    textKeys.FileStart(1).TypeName("NiTextKeyExtraData").Long(-1).Long(0).Long(0x7FFFFFFF).Long(0);
    ExpectBoundedFailure(textKeys, kCopyFour);
}

TEST_F(Allocation, StringLengthAndFooterRoots) {
    NifBuilder name;
    name.FileStart(1).Long(0x7FFFFFF0).Raw("NiNode");
    ExpectBoundedFailure(name, "Attempted to copy too much data (2147483632 bytes).");

    NifBuilder roots;
    roots.FileStart(0).Long(0x7FFFFFFF).Long(0);
    ExpectBoundedFailure(roots, kCopyFour);
}

}  // namespace
