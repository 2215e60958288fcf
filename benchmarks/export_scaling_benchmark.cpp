// Export of one mesh of N vertices and N triangles (N = 8,191, 16,383,
// 32,767, 65,535) against writing the same number of bytes to a file in the
// same folder: goal at most 10 x at 65,535, and time linear in N.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "benchmarks/ratio_reporter.h"
#include "exporter/export_plugin.h"
#include "host/msLib.h"
#include "mshost/model/model_control.h"

namespace {

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / ("nif_bench_" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

// One textured mesh: N vertices on a 256-wide grid, each with its own normal,
// and a strip of N triangles.
ModelPtr MeshModel(int n) {
    ModelPtr model = MakeModel();
    msMaterial* material = msModel_GetMaterialAt(model.get(), msModel_AddMaterial(model.get()));
    msMaterial_SetName(material, "Stone");
    msMaterial_SetDiffuseTexture(material, "stone.bmp");
    msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    msMesh_SetName(mesh, "Grid");
    msMesh_SetMaterialIndex(mesh, 0);
    for (int i = 0; i < n; ++i) {
        msVertex* vertex = msMesh_GetVertexAt(mesh, msMesh_AddVertex(mesh));
        float xyz[3] = {static_cast<float>(i % 256), static_cast<float>(i / 256), 0};
        float uv[2] = {static_cast<float>(i % 256) / 255.0f, static_cast<float>(i / 256) / 255.0f};
        msVertex_SetVertex(vertex, xyz);
        msVertex_SetTexCoords(vertex, uv);
        float normal[3] = {0, static_cast<float>(i % 2), 1};
        msMesh_SetVertexNormalAt(mesh, msMesh_AddVertexNormal(mesh), normal);
    }
    for (int i = 0; i < n; ++i) {
        msTriangle* triangle = msMesh_GetTriangleAt(mesh, msMesh_AddTriangle(mesh));
        word corners[3] = {word(i), word((i + 1) % n), word((i + 2) % n)};
        msTriangle_SetVertexIndices(triangle, corners);
        msTriangle_SetNormalIndices(triangle, corners);
    }
    return model;
}

// Bytes of the exported file per mesh size, filled by the export benchmark.
std::map<int, size_t>& ExportedSizes() {
    static std::map<int, size_t> sizes;
    return sizes;
}

void BM_Export(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    ModelPtr model = MeshModel(n);
    const std::string output = (Folder() / ("export_" + std::to_string(n) + ".nif")).string();
    CNifExportPlugIn plugin;
    plugin.SetModel(model.get());
    plugin.SetOutputFileName(output);
    for (auto _ : state) {
        if (plugin.ExportModel() != 1) state.SkipWithError("export failed");
    }
    const size_t size = std::filesystem::file_size(output);
    ExportedSizes()[n] = size;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
    state.counters["file_bytes"] = static_cast<double>(size);
}

// Writes as many bytes as the export of the same size wrote (the export
// benchmarks run first), in one call, and closes the file.
void BM_WriteBytes(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const size_t size = ExportedSizes().count(n) ? ExportedSizes()[n] : 0;
    if (size == 0) {
        state.SkipWithError("run BM_Export first");
        return;
    }
    const std::vector<char> bytes(size, 'x');
    const std::string output = (Folder() / ("write_" + std::to_string(n) + ".bin")).string();
    for (auto _ : state) {
        std::FILE* out = std::fopen(output.c_str(), "wb");
        const bool written = out && std::fwrite(bytes.data(), 1, size, out) == size;
        if (!out || std::fclose(out) != 0 || !written) state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}

constexpr int kSizes[] = {8191, 16383, 32767, 65535};

BENCHMARK(BM_Export)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Arg(kSizes[3])->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_WriteBytes)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Arg(kSizes[3])->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
    for (int n : kSizes) {
        // Built by appending: GCC 12 warns falsely (-Wrestrict) on "/" + std::string.
        std::string suffix = "/";
        suffix += std::to_string(n);
        suffix += "/min_time:1.000";
        bench::AddRatio(std::string("BM_Export").append(suffix), std::string("BM_WriteBytes").append(suffix),
                        n == 65535 ? "<= 10" : "linear in N");
    }
    const int status = bench::RunWithRatios(argc, argv);
    std::error_code ignored;
    std::filesystem::remove_all(Folder(), ignored);
    return status;
}
