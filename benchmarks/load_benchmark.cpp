// Loading and importing a geometry-heavy NIF file of about 100 MB (40 shapes
// of 65,535 vertices and 65,535 triangles each), against baselines in the
// same run:
// - the reader's load (stream from the file, NifFile) against a plain memcpy
//   of the same bytes: goal at least 1/3 of memcpy's bandwidth (ratio <= 3);
// - the whole import into a stand-in model against reading the file: goal
//   at most 6 x the read time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "benchmarks/ratio_reporter.h"
#include "host/msLib.h"
#include "importer/import_run.h"
#include "importer/nif/debug_printer.h"
#include "importer/nif/nif_file.h"
#include "importer/nif/qiv_stream.h"
#include "mshost/model/model_control.h"
#include "nif_builder/nif_builder.h"

namespace {

constexpr int kShapes = 40;
constexpr int kVertices = 65535;

// One shape's geometry: positions, normals, one UV set, a triangle strip.
void GeometryBlock(NifBuilder& nif, int shape) {
    nif.TypeName("NiTriShapeData").Short(kVertices);
    nif.Long(1);
    for (int i = 0; i < kVertices; ++i) nif.Vector(static_cast<float>(i % 256), static_cast<float>(i / 256), static_cast<float>(shape));
    nif.Long(1);
    for (int i = 0; i < kVertices; ++i) nif.Vector(0, 0, 1);
    nif.Vector(128, 128, static_cast<float>(shape)).Float(182);
    nif.Long(0);  // no vertex colours
    nif.Short(1).Long(1);
    for (int i = 0; i < kVertices; ++i) nif.Float(static_cast<float>(i % 256) / 255.0f).Float(static_cast<float>(i / 256) / 255.0f);
    nif.Short(kVertices).Long(3 * kVertices);
    for (int i = 0; i < kVertices; ++i) nif.Short(i).Short((i + 1) % kVertices).Short((i + 2) % kVertices);
    nif.Short(0);  // no match groups
}

// Root node, then per shape a NiTriShape and its data.
NifBuilder HeavyFile() {
    NifBuilder nif;
    nif.FileStart(1 + 2 * kShapes).TypeName("NiNode");
    ObjectHead(nif, "Scene Root");
    nif.Long(0).Long(kShapes);
    for (int i = 0; i < kShapes; ++i) nif.Long(1 + 2 * i);
    nif.LinkList({});
    for (int i = 0; i < kShapes; ++i) {
        TriShapeBlock(nif, "Shape", 2 + 2 * i);
        GeometryBlock(nif, i);
    }
    return nif.Footer();
}

// The hardest case of the memory bound: `count` of the smallest NiNode
// blocks (108 bytes each), each the only child of the one before.
NifBuilder ChainOfSmallNodes(int count) {
    NifBuilder nif;
    nif.FileStart(count);
    for (int i = 0; i < count; ++i) {
        nif.TypeName("NiNode");
        ObjectHead(nif, "");
        nif.Long(0);
        if (i + 1 < count) nif.LinkList({i + 1});
        else nif.LinkList({});
        nif.LinkList({});
    }
    return nif.Footer();
}

// The model the import of HeavyFile() builds, made by the same host calls in
// the same order with the same values, but without any file: what the
// stand-in model library alone costs in that import. The values are stepped
// along instead of computed per vertex (no division), so that this caller's
// own work stays small next to the library's.
void FillHeavyModel(msModel* model) {
    float fraction[256];  // i / 255 as the generator computes it (rows stay below 256)
    for (int i = 0; i < 256; ++i) fraction[i] = static_cast<float>(i) / 255.0f;
    for (int shape = 0; shape < kShapes; ++shape) {
        msMesh* mesh = msModel_GetMeshAt(model, msModel_AddMesh(model));
        msMesh_SetName(mesh, "Shape");
        int column = 0;  // i % 256
        int row = 0;     // i / 256
        for (int i = 0; i < kVertices; ++i) {
            msVertex* vertex = msMesh_GetVertexAt(mesh, msMesh_AddVertex(mesh));
            float xyz[3] = {static_cast<float>(column), static_cast<float>(row), static_cast<float>(shape)};
            float uv[2] = {fraction[column], fraction[row]};
            msVertex_SetVertex(vertex, xyz);
            msVertex_SetTexCoords(vertex, uv);
            if (++column == 256) {
                column = 0;
                ++row;
            }
        }
        word indices[3] = {0, 1, 2};
        for (int i = 0; i < kVertices; ++i) {
            msTriangle_SetVertexIndices(msMesh_GetTriangleAt(mesh, msMesh_AddTriangle(mesh)), indices);
            for (word& index : indices) index = index + 1 == kVertices ? 0 : static_cast<word>(index + 1);
        }
    }
}

// The file, written once for all benchmarks of the run.
struct HeavyInput {
    std::vector<unsigned char> bytes;
    std::unique_ptr<TempNifFile> file;
    HeavyInput() {
        NifBuilder nif = HeavyFile();
        bytes = nif.Bytes();
        file = std::make_unique<TempNifFile>(nif);
    }
};

const HeavyInput& Input() {
    static const HeavyInput input;
    return input;
}

void BM_Memcpy(benchmark::State& state) {
    const std::vector<unsigned char>& bytes = Input().bytes;
    std::vector<unsigned char> copy(bytes.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_Load(benchmark::State& state) {
    const HeavyInput& input = Input();
    for (auto _ : state) {
        DebugPrinter printer;
        Qiv_Stream stream(&printer);
        stream.OpenFile(input.file->Path().c_str());
        NifFile file(&stream);
        benchmark::DoNotOptimize(file.GetRoot());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.bytes.size()));
}

void BM_ReadFile(benchmark::State& state) {
    const HeavyInput& input = Input();
    std::vector<unsigned char> bytes(input.bytes.size());
    for (auto _ : state) {
        std::FILE* in = std::fopen(input.file->Path().c_str(), "rb");
        const size_t read = std::fread(bytes.data(), 1, bytes.size(), in);
        std::fclose(in);
        if (read != bytes.size()) state.SkipWithError("short read");
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.bytes.size()));
}

void BM_Import(benchmark::State& state) {
    const HeavyInput& input = Input();
    for (auto _ : state) {
        ModelPtr model = MakeModel();
        if (ImportNifFile(model.get(), input.file->Path().c_str(), "") != 0) state.SkipWithError("no mesh imported");
        benchmark::DoNotOptimize(msModel_GetMeshCount(model.get()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.bytes.size()));
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadFile)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

namespace {

// 0 when `nif` was written whole to `path`.
int WriteFile(const NifBuilder& nif, const char* path) {
    std::FILE* out = std::fopen(path, "wb");
    const bool written = out && std::fwrite(nif.Data(), 1, nif.Size(), out) == nif.Size();
    return out && std::fclose(out) == 0 && written ? 0 : 1;
}

}  // namespace

// `load_benchmark --write-heavy-nif PATH` and `--write-node-chain PATH` only
// write a generated file (the memory tests, tests/memory/, measure their loads).
// `load_benchmark --fill-heavy-model` only builds and frees the model that
// importing the heavy file gives (scripts/bench.sh times it as a whole
// process: the model library's part of that import).
int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-heavy-nif") == 0) return WriteFile(HeavyFile(), argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "--fill-heavy-model") == 0) {
        ModelPtr model = MakeModel();
        FillHeavyModel(model.get());
        return msModel_GetMeshCount(model.get()) == kShapes ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "--write-node-chain") == 0) return WriteFile(ChainOfSmallNodes(100000), argv[2]);
    bench::AddRatio("BM_Load/min_time:2.000", "BM_Memcpy/min_time:1.000", "<= 3 (1/3 of memcpy's bandwidth)");
    bench::AddRatio("BM_Import/min_time:3.000", "BM_ReadFile/min_time:1.000", "<= 6");
    return bench::RunWithRatios(argc, argv);
}
