// mshost's own model readers on their worst cases: what a read holds beyond
// the model itself and the file's bytes must stay within 16 MB, however the
// file is made (many tiny items, deep nesting, a triangle listed over and
// over); and running out of memory while reading ends mshost with one line.
//
// The meter counts the heap: the reader's own state. The file's image comes
// from the platform layer and the model's items from the model library's
// chunks, which it does not count: they are the file and the model itself.
#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <string>

#include "mshost/cli/commands.h"
#include "mshost/files/file_io.h"
#include "mshost/model/model_control.h"
#include "mshost/formats/model_files.h"
#include "tests/exporter/temp_folder.h"
#include "tests/support/allocation_meter.h"

namespace {

constexpr size_t kSlack = size_t(16) << 20;

struct Little {
    std::string bytes;
    Little& U8(unsigned value) {
        bytes += static_cast<char>(value & 0xFF);
        return *this;
    }
    Little& U16(unsigned value) { return U8(value).U8(value >> 8); }
    Little& U32(unsigned value) { return U16(value & 0xFFFF).U16(value >> 16); }
    Little& Zeros(size_t count) {
        bytes.append(count, '\0');
        return *this;
    }
};

// An .ms3d file of one vertex and one triangle whose `groups` groups each
// list triangle 0 `listings` times.
std::string RepeatedTriangle(unsigned groups, unsigned listings) {
    Little b;
    b.bytes = "MS3D000000";
    b.U32(4).U16(1).Zeros(15).U16(1).Zeros(2).Zeros(6).Zeros(60).U8(1).U8(0);
    b.U16(groups);
    for (unsigned g = 0; g < groups; ++g) {
        b.U8(0).Zeros(32).U16(listings).Zeros(2 * size_t(listings)).U8(0xFF);
    }
    b.U16(0).Zeros(12).U16(0);
    return b.bytes;
}

// One group of 65,535 vertices and as many triangles: the largest mesh an
// .ms3d file holds.
std::string LargestMs3dMesh() {
    constexpr unsigned kCount = 65535;
    Little b;
    b.bytes = "MS3D000000";
    b.U32(4).U16(kCount);
    for (unsigned i = 0; i < kCount; ++i) b.U8(0).U32(i).U32(i >> 8).U32(0).U8(0xFF).U8(3);
    b.U16(kCount);
    for (unsigned i = 0; i < kCount; ++i) {
        b.U16(0).U16(i).U16((i + 1) % kCount).U16((i + 2) % kCount);
        b.Zeros(36 + 24).U8(1).U8(0);  // normals, s and t all zero
    }
    b.U16(1).U8(0).Zeros(32).U16(kCount);
    for (unsigned i = 0; i < kCount; ++i) b.U16(i);
    b.U8(0xFF).U16(0).Zeros(12).U16(0);
    return b.bytes;
}

std::string Repeat(const std::string& piece, size_t count, const std::string& separator) {
    std::string text;
    text.reserve(count * (piece.size() + separator.size()));
    for (size_t i = 0; i < count; ++i) text += (i ? separator : "") + piece;
    return text;
}

std::string MeshOfManyVertices(size_t count) {
    return "{\"meshes\": [{\"name\": \"m\", \"vertices\": [" + Repeat("[1.5,2.25,-0]", count, ",") + "], \"texcoords\": [" +
           Repeat("[0.5,1]", count, ",") + "], \"normals\": [" + Repeat("[0,0,1]", count, ",") + "], \"triangles\": [" +
           Repeat("[0,1,2]", count, ",") + "], \"triangleNormals\": [" + Repeat("[0,0,0]", count, ",") + "]}]}";
}

struct Case {
    const char* name;    // the file's name; its extension picks the reader
    std::string bytes;
    const char* error;   // the start of the reason, or null when the file loads
};

TEST(ModelReaderMemory, WorstCasesHoldAtMost16MBBesidesTheFileAndTheModel) {
    const Case cases[] = {
        {"materials.json", "{\"materials\": [" + Repeat("{}", 300000, ",") + "]}", nullptr},
        {"brackets.json", std::string(1000000, '[') + std::string(1000000, ']'), ": model: expected an object, found array"},
        {"deep_report.json", "{\"debug\": " + std::string(1000000, '[') + std::string(1000000, ']') + ", \"model\": {}}",
         ": arrays and objects nested deeper than 100 levels"},
        {"many_vertices.json", MeshOfManyVertices(65535), nullptr},
        {"repeated.ms3d", RepeatedTriangle(40, 65535), ": group 0 lists triangle 0, which it lists already"},
        {"largest_mesh.ms3d", LargestMs3dMesh(), nullptr},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        const std::string path = folder.Path(c.name);
        std::string error;
        ASSERT_TRUE(mshost::WriteWholeFile(path.c_str(), c.bytes, &error)) << error;
        ModelPtr model = MakeModel();
        bool loaded = false;
        size_t peak = 0;
        {
            AllocationMeter meter;
            loaded = mshost::LoadModelFile(path.c_str(), model.get(), &error);
            peak = meter.PeakBytes();
        }
        if (c.error) {
            EXPECT_FALSE(loaded) << c.name;
            EXPECT_EQ(error, path + c.error) << c.name;
        } else {
            EXPECT_TRUE(loaded) << c.name << ": " << error;
        }
        EXPECT_LE(peak, kSlack) << c.name << ": " << peak << " bytes held for a file of " << c.bytes.size();
        std::printf("%-20s %10zu file bytes, %10zu bytes held besides the file and the model\n", c.name, c.bytes.size(),
                    peak);
    }
}

// A read whose memory runs out (here: the parser's copy of a 2 MB text, the
// corner table of the largest .ms3d mesh) ends the run with status 2 and one
// line naming the file, and writes nothing.
TEST(ModelReaderMemory, OutOfMemoryWhileReadingAModelIsOneLine) {
    TempFolder folder;
    for (const char* name : {"big.json", "big.ms3d"}) {
        const std::string path = folder.Path(name);
        const std::string bytes =
            name[4] == 'j' ? "{\"bones\": [{\"name\": \"" + std::string(2 << 20, 'n') + "\"}]}" : LargestMs3dMesh();
        std::string error;
        ASSERT_TRUE(mshost::WriteWholeFile(path.c_str(), bytes, &error)) << error;
        std::string out;
        std::string err;
        int status = 0;
        {
            allocation::RefuseFrom refuse(size_t(512) << 10);
            status = mshost::RunMshost({"export", path, folder.Path("out.nif")}, &out, &err);
        }
        EXPECT_EQ(status, 2) << name;
        EXPECT_EQ(err, "mshost: out of memory while reading '" + path + "'\n");
        EXPECT_EQ(out, "");
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{name});
        std::remove(path.c_str());
    }
}

}  // namespace
