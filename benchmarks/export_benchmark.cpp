// How long the exporter takes for the largest mesh a file can hold:
// 65,535 vertices and 65,535 triangles, from the host's model to the file
// on disk, and the two halves of that (geometry conversion; building and
// serialising the blocks in memory).
//
//   cmake --preset release && cmake --build --preset release --target export_benchmark
//   build/release/bin/export_benchmark
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "exporter/export_plugin.h"
#include "exporter/mesh_geometry.h"
#include "exporter/model_to_scene.h"
#include "exporter/nif4/nif4_file.h"
#include "host/msLib.h"
#include "mshost/model/model_control.h"
#include "platform/headless.h"

namespace {

constexpr int kCount = 65535;

// One textured mesh with kCount vertices, kCount normals and kCount triangles.
ModelPtr MakeLargestMesh() {
    ModelPtr model = MakeModel();
    const int materialIndex = msModel_AddMaterial(model.get());
    msMaterial* material = msModel_GetMaterialAt(model.get(), materialIndex);
    msMaterial_SetName(material, "surface");
    msMaterial_SetDiffuseTexture(material, ".\\surface.bmp");
    msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    msMesh_SetName(mesh, "large");
    msMesh_SetMaterialIndex(mesh, materialIndex);
    for (int i = 0; i < kCount; ++i) {
        msVertex* vertex = msMesh_GetVertexAt(mesh, msMesh_AddVertex(mesh));
        float xyz[3] = {float(i % 256), float(i / 256), float(i % 7)};
        float uv[2] = {float(i % 256) / 255.0f, float(i / 256) / 255.0f};
        msVertex_SetVertex(vertex, xyz);
        msVertex_SetTexCoords(vertex, uv);
        float normal[3] = {0.0f, 0.0f, 1.0f};
        msMesh_SetVertexNormalAt(mesh, msMesh_AddVertexNormal(mesh), normal);
    }
    for (int t = 0; t < kCount; ++t) {
        msTriangle* triangle = msMesh_GetTriangleAt(mesh, msMesh_AddTriangle(mesh));
        word corners[3] = {word(t), word((t + 1) % kCount), word((t + 256) % kCount)};
        msTriangle_SetVertexIndices(triangle, corners);
        msTriangle_SetNormalIndices(triangle, corners);
    }
    return model;
}

msModel* LargestMesh() {
    static ModelPtr model = MakeLargestMesh();
    return model.get();
}

void ExportLargestMesh(benchmark::State& state) {
    msModel* model = LargestMesh();
    const std::string output = (std::filesystem::temp_directory_path() / "korbastel_benchmark.nif").string();
    CNifExportPlugIn plugIn;
    plugIn.SetModel(model);
    plugIn.SetOutputFileName(output);
    for (auto _ : state) {
        if (plugIn.ExportModel() != 1) state.SkipWithError("export failed");
    }
    state.counters["bytes"] = double(std::filesystem::file_size(output));
    std::remove(output.c_str());
    platform::headless::Reset();
}
BENCHMARK(ExportLargestMesh)->Unit(benchmark::kMillisecond);

void ConvertLargestMesh(benchmark::State& state) {
    msMesh* mesh = msModel_GetMeshAt(LargestMesh(), 0);
    for (auto _ : state) {
        MeshGeometry geometry = ConvertMeshGeometry(mesh);
        benchmark::DoNotOptimize(geometry.vertices.get());
    }
}
BENCHMARK(ConvertLargestMesh)->Unit(benchmark::kMillisecond);

void SerialiseLargestMesh(benchmark::State& state) {
    msModel* model = LargestMesh();
    for (auto _ : state) {
        CNIF4_File file;
        std::string failure;
        GatherScene(model, 1, TextureNaming::kAsHeld, file, &failure);
        Nif4Output out;
        file.Write(&out);
        benchmark::DoNotOptimize(out.Bytes().data());
    }
}
BENCHMARK(SerialiseLargestMesh)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
