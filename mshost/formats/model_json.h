// The stand-in host's model as JSON:
//
//   { "meshes": [ { "name", "material", "vertices", "texcoords", "normals",
//                   "triangles", "triangleNormals" } ],
//     "materials": [ { "name", "ambient", "diffuse", "specular", "emissive",
//                      "shininess", "transparency", "diffuseTexture" } ],
//     "bones": [ { "name", "parent", "position", "rotation" } ] }
//
// Keys are written in that order. Values follow JsonWriter's rules (byte
// strings, shortest round-trip floats, "NaN"/"Infinity"/"-Infinity"). On
// input any field may be absent: a missing item field keeps the default of a
// new item, missing texcoords are (0, 0) and missing triangleNormals (0, 0, 0).
// Everything goes through the model library, so its text limits apply.
#pragma once

#include <string>
#include <string_view>

#include "host/msLib.h"
#include "mshost/formats/json_writer.h"

namespace mshost {

// Writes the model as one JSON object value at the writer's current position.
void WriteModelJson(JsonWriter& writer, msModel* model);

// The model as a complete JSON document ending in a line feed.
std::string ModelJsonText(msModel* model);

// Adds the items of the JSON document `text` to `model`. On failure returns
// false with a one-line reason; the model may then hold part of the items.
bool ReadModelJson(std::string_view text, msModel* model, std::string* error);

// File forms of the two above (the signatures every model format shares).
bool LoadJsonModel(const char* path, msModel* model, std::string* error);
bool SaveJsonModel(const char* path, msModel* model, std::string* error);

}  // namespace mshost
