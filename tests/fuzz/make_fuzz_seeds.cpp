// Writes small generated seed inputs for the fuzz targets:
//
//     make_fuzz_seeds FOLDER
//
// FOLDER/nif/*.nif (reader and import), FOLDER/ms3d/*.ms3d, FOLDER/model/*.bin
// (models in the export target's layout, see model_bytes.h). The sample
// files of examples/make_examples complete the NIF seeds.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "mshost/formats/ms3d_format.h"
#include "nif_builder/nif_builder.h"
#include "tests/fuzz/model_bytes.h"
#include "tests/hostile/generated_nifs.h"

namespace {

bool Write(const std::filesystem::path& path, const void* data, size_t size) {
    std::ofstream out(path, std::ios::binary);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

bool Write(const std::filesystem::path& path, const NifBuilder& nif) { return Write(path, nif.Data(), nif.Size()); }
bool Write(const std::filesystem::path& path, const std::string& bytes) { return Write(path, bytes.data(), bytes.size()); }

ms3d::File SmallMs3d() {
    ms3d::File file;
    for (int i = 0; i < 3; ++i) {
        ms3d::Vertex vertex;
        vertex.position[0] = static_cast<float>(i == 1);
        vertex.position[1] = static_cast<float>(i == 2);
        vertex.boneId = i == 0 ? 0 : -1;
        file.vertices.push_back(vertex);
    }
    ms3d::Triangle triangle;
    triangle.vertexIndices[1] = 1;
    triangle.vertexIndices[2] = 2;
    for (auto& normal : triangle.normals) normal[2] = 1;
    file.triangles.push_back(triangle);
    ms3d::Group group;
    group.name = "Triangle";
    group.triangleIndices = {0};
    group.materialIndex = 0;
    file.groups.push_back(group);
    ms3d::Material material;
    material.name = "Red";
    material.diffuse[0] = material.diffuse[3] = 1;
    material.texture = "red.bmp";
    file.materials.push_back(material);
    ms3d::Joint joint;
    joint.name = "Bone";
    joint.positionKeys.push_back({1, {0, 1, 0}});
    file.joints.push_back(joint);
    return file;
}

// One material and one triangle mesh, as the export target decodes them.
std::string TriangleModel(const std::string& texture, int triangles) {
    modelbytes::Encoder model;
    model.Byte(1).Text("Skin");
    for (int i = 0; i < 16; ++i) model.Float(i % 4 == 3 ? 1.0f : 0.5f);
    model.Float(8).Float(0.25f).Text(texture);
    model.Byte(1).Text("Mesh").Byte(0).Word(3);
    model.Float(0).Float(0).Float(0).Float(0).Float(0);
    model.Float(1).Float(0).Float(0).Float(1).Float(0);
    model.Float(0).Float(1).Float(0).Float(0).Float(1);
    model.Word(1).Float(0).Float(0).Float(1);
    model.Word(triangles);
    for (int i = 0; i < triangles; ++i) model.Word(0).Word(1).Word(2).Word(0).Word(0).Word(0);
    model.Byte(1).Text("Bone").Text("").Float(0).Float(0).Float(0).Float(0).Float(0).Float(0);
    return model.Bytes();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    for (const char* sub : {"nif", "ms3d", "model"}) std::filesystem::create_directories(folder / sub);

    std::string ms3dBytes, error;
    const bool ok = Write(folder / "nif" / "textured_shape.nif", generated::TexturedShape()) &&
                    Write(folder / "nif" / "nested_nodes.nif", generated::NestedNodes()) &&
                    Write(folder / "nif" / "particles.nif", generated::Particles()) &&
                    ms3d::WriteFile(SmallMs3d(), "seed.ms3d", &ms3dBytes, &error) &&
                    Write(folder / "ms3d" / "triangle.ms3d", ms3dBytes) &&
                    Write(folder / "model" / "triangle.bin", TriangleModel("skin.bmp", 1)) &&
                    Write(folder / "model" / "two_triangles.bin", TriangleModel(".\\textures\\skin.bmp", 2)) &&
                    Write(folder / "model" / "empty.bin", std::string());
    if (!ok) {
        std::fprintf(stderr, "make_fuzz_seeds: cannot write into '%s' %s\n", argv[1], error.c_str());
        return 1;
    }
    return 0;
}
