// The renderer in-process: what a drawn model looks like (not blank, fitted
// to the picture, nearer faces in front, faces lit by their angle), the same
// pixels every time, the PNG bytes read back by libpng, and the models it
// cannot draw from.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "mshost/model/model_control.h"
#include "mshost/render/draw_model.h"
#include "mshost/render/png_file.h"

namespace {

using mshost::render::Picture;

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
};

Rgb At(const Picture& picture, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(picture.width) + static_cast<size_t>(x)) * 3;
    return {picture.rgb[i], picture.rgb[i + 1], picture.rgb[i + 2]};
}

// Adds a mesh of the given triangles (three corners each) to `model`.
void AddMesh(msModel* model, const std::vector<std::vector<float>>& triangles) {
    msMesh* mesh = msModel_GetMeshAt(model, msModel_AddMesh(model));
    for (const std::vector<float>& corners : triangles) {
        word indices[3];
        for (int c = 0; c < 3; ++c) {
            const int v = msMesh_AddVertex(mesh);
            float xyz[3] = {corners[static_cast<size_t>(c) * 3], corners[static_cast<size_t>(c) * 3 + 1],
                            corners[static_cast<size_t>(c) * 3 + 2]};
            msVertex_SetVertex(msMesh_GetVertexAt(mesh, v), xyz);
            indices[c] = static_cast<word>(v);
        }
        msTriangle_SetVertexIndices(msMesh_GetTriangleAt(mesh, msMesh_AddTriangle(mesh)), indices);
    }
}

// A cube from x0 to x0 + size on every axis, its faces as twelve triangles.
std::vector<std::vector<float>> Cube(float x0, float size) {
    const float a = x0;
    const float b = x0 + size;
    const float c[8][3] = {{a, a, a}, {b, a, a}, {b, b, a}, {a, b, a}, {a, a, b}, {b, a, b}, {b, b, b}, {a, b, b}};
    const int faces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4}, {3, 2, 6, 7}, {0, 3, 7, 4}, {1, 2, 6, 5}};
    std::vector<std::vector<float>> triangles;
    auto corners = [&](int p, int q, int r) {
        return std::vector<float>{c[p][0], c[p][1], c[p][2], c[q][0], c[q][1], c[q][2], c[r][0], c[r][1], c[r][2]};
    };
    for (const auto& f : faces) {
        triangles.push_back(corners(f[0], f[1], f[2]));
        triangles.push_back(corners(f[0], f[2], f[3]));
    }
    return triangles;
}

// Pixels that are not the background (the colour of the top left corner).
int Covered(const Picture& picture) {
    int covered = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) covered += !(At(picture, x, y) == At(picture, 0, 0));
    }
    return covered;
}

// The distinct colours of the picture's pixels.
size_t Colours(const Picture& picture) {
    std::vector<int> seen;
    for (size_t i = 0; i < picture.rgb.size(); i += 3) {
        const int key = picture.rgb[i] << 16 | picture.rgb[i + 1] << 8 | picture.rgb[i + 2];
        if (std::find(seen.begin(), seen.end(), key) == seen.end()) seen.push_back(key);
    }
    return seen.size();
}

TEST(Render, CubeFillsThePictureCentreWithThreeLitFaces) {
    ModelPtr model = MakeModel();
    AddMesh(model.get(), Cube(-5.0f, 10.0f));
    const Picture picture = mshost::render::DrawModel(model.get(), 200, 150);
    ASSERT_EQ(picture.rgb.size(), 200u * 150u * 3u);
    // Fitted: the cube reaches close to the top and bottom margins, and the
    // corners stay background.
    const int covered = Covered(picture);
    EXPECT_GT(covered, 200 * 150 / 4);
    EXPECT_LT(covered, 200 * 150 * 3 / 4);
    EXPECT_FALSE(At(picture, 100, 75) == At(picture, 0, 0));
    EXPECT_TRUE(At(picture, 199, 149) == At(picture, 0, 0));
    EXPECT_FALSE(At(picture, 100, 12) == At(picture, 0, 0));
    EXPECT_TRUE(At(picture, 100, 5) == At(picture, 0, 0));
    // Three faces in view, lit differently: the top, the front and the right
    // side each have their own shade (plus background and edge blends).
    const Rgb top = At(picture, 100, 30);
    const Rgb left = At(picture, 70, 100);
    const Rgb right = At(picture, 130, 100);
    EXPECT_FALSE(top == left);
    EXPECT_FALSE(left == right);
    EXPECT_FALSE(top == right);
    EXPECT_GE(Colours(picture), 4u);
}

TEST(Render, SameModelGivesTheSamePixelsAndTheSameFileBytes) {
    ModelPtr model = MakeModel();
    AddMesh(model.get(), Cube(0.0f, 1.0f));
    AddMesh(model.get(), Cube(2.0f, 0.5f));
    const Picture first = mshost::render::DrawModel(model.get(), 120, 90);
    const Picture second = mshost::render::DrawModel(model.get(), 120, 90);
    EXPECT_EQ(first.rgb, second.rgb);
    std::string firstPng;
    std::string secondPng;
    std::string error;
    ASSERT_TRUE(mshost::render::EncodePng(first, &firstPng, &error)) << error;
    ASSERT_TRUE(mshost::render::EncodePng(second, &secondPng, &error)) << error;
    EXPECT_EQ(firstPng, secondPng);
}

TEST(Render, PngReadsBackAsThePicture) {
    ModelPtr model = MakeModel();
    AddMesh(model.get(), Cube(0.0f, 1.0f));
    const Picture picture = mshost::render::DrawModel(model.get(), 64, 48);
    std::string png;
    std::string error;
    ASSERT_TRUE(mshost::render::EncodePng(picture, &png, &error)) << error;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size())) << image.message;
    EXPECT_EQ(image.width, 64u);
    EXPECT_EQ(image.height, 48u);
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << image.message;
    EXPECT_EQ(pixels, picture.rgb);
}

TEST(Render, NearerFaceHidesTheFartherOneWhateverTheOrder) {
    // Two squares facing the viewer's side, one behind the other; drawn in
    // both orders, the picture is the same and shows the nearer one's colour.
    const std::vector<float> nearSquare1 = {-1, -1, 1, 1, -1, 1, 1, 1, 1};
    const std::vector<float> nearSquare2 = {-1, -1, 1, 1, 1, 1, -1, 1, 1};
    const std::vector<float> farSquare1 = {-1, -1, -1, 1, -1, -1, 1, 1, -1};
    const std::vector<float> farSquare2 = {-1, -1, -1, 1, 1, -1, -1, 1, -1};
    ModelPtr nearFirst = MakeModel();
    AddMesh(nearFirst.get(), {nearSquare1, nearSquare2});
    AddMesh(nearFirst.get(), {farSquare1, farSquare2});
    ModelPtr farFirst = MakeModel();
    AddMesh(farFirst.get(), {farSquare1, farSquare2});
    AddMesh(farFirst.get(), {nearSquare1, nearSquare2});
    const Picture a = mshost::render::DrawModel(nearFirst.get(), 100, 75);
    const Picture b = mshost::render::DrawModel(farFirst.get(), 100, 75);
    // The meshes' colours differ (first and second in turn), so only the
    // middle, where the near square covers the far one, is alike.
    EXPECT_FALSE(At(a, 50, 37) == At(a, 0, 0));
    EXPECT_FALSE(At(a, 50, 37) == At(b, 50, 37));
}

TEST(Render, ModelsWithNothingToDrawGiveThePlainBackground) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        const char* what;
        std::vector<std::vector<float>> triangles;
    } cases[] = {
        {"no triangles", {}},
        {"a triangle on a line", {{0, 0, 0, 1, 1, 1, 2, 2, 2}}},
        {"a corner that is not a number", {{0, 0, 0, 1, 0, 0, nan, 1, 0}}},
    };
    for (const auto& c : cases) {
        ModelPtr model = MakeModel();
        AddMesh(model.get(), c.triangles);
        const Picture picture = mshost::render::DrawModel(model.get(), 40, 30);
        EXPECT_EQ(Covered(picture), 0) << c.what;
    }
    // A triangle naming a vertex its mesh does not have is left out too.
    ModelPtr model = MakeModel();
    msMesh* mesh = msModel_GetMeshAt(model.get(), msModel_AddMesh(model.get()));
    msMesh_AddVertex(mesh);
    word indices[3] = {0, 0, 7};
    msTriangle_SetVertexIndices(msMesh_GetTriangleAt(mesh, msMesh_AddTriangle(mesh)), indices);
    EXPECT_EQ(Covered(mshost::render::DrawModel(model.get(), 40, 30)), 0);
}

}  // namespace
