// A one-mesh model in the stand-in's JSON form that the exporter accepts:
// a textured quad of four vertices and two triangles.
#pragma once

inline constexpr char kQuadModel[] =
    "{\"meshes\": [{\"name\": \"Quad\", \"material\": 0,"
    " \"vertices\": [[0, 0, 0], [1, 0, 0], [1, 1, 0], [0, 1, 0]],"
    " \"texcoords\": [[0, 1], [1, 1], [1, 0], [0, 0]],"
    " \"triangles\": [[0, 1, 2], [0, 2, 3]]}],"
    " \"materials\": [{\"name\": \"Mat\", \"diffuseTexture\": \"quad.bmp\"}]}";
