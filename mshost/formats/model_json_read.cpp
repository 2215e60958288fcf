// Reading the model JSON into the model library.
//
// Parsing is nlohmann-json's, instantiated with float as its floating type so
// that every decimal is rounded once, straight to the nearest 32-bit float
// (going through double first could round some texts to a neighbour).
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "mshost/formats/model_json.h"

namespace mshost {
namespace {

using Json = nlohmann::basic_json<std::map, std::vector, std::string, bool, std::int64_t, std::uint64_t, float>;

// One reason why the document is not a model; `where` is the path in the document.
struct ModelJsonError {
    std::string where;
    std::string what;
};

[[noreturn]] void Fail(const std::string& where, const std::string& what) { throw ModelJsonError{where, what}; }

// JSON reads "-0" as the integer 0 and loses the sign of a negative zero
// float; this rewrites every bare -0 outside strings as -0.0.
std::string KeepNegativeZeros(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        out += c;
        if (inString) {
            if (c == '\\' && i + 1 < text.size()) {
                out += text[++i];
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '-' && i + 1 < text.size() && text[i + 1] == '0') {
            const char after = i + 2 < text.size() ? text[i + 2] : ' ';
            const bool bareZero = !(after >= '0' && after <= '9') && after != '.' && after != 'e' && after != 'E';
            if (bareZero) {
                out += "0.0";
                ++i;
            }
        }
    }
    return out;
}

std::string Index(const std::string& where, size_t index) { return where + "[" + std::to_string(index) + "]"; }

const char* KindOf(const Json& value) { return value.type_name(); }

void CheckKeys(const Json& object, const std::string& where, std::initializer_list<const char*> known) {
    if (!object.is_object()) Fail(where, std::string("expected an object, found ") + KindOf(object));
    for (const auto& member : object.items()) {
        bool found = false;
        for (const char* key : known) found = found || member.key() == key;
        if (!found) Fail(where, "unknown field " + JsonByteString(member.key()));
    }
}

const Json* Member(const Json& object, const char* key) {
    auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

std::string Field(const std::string& where, const char* key) { return where.empty() ? key : where + "." + key; }

float ReadFloat(const Json& value, const std::string& where) {
    if (value.is_number_float()) return value.get<float>();
    if (value.is_number_integer()) return static_cast<float>(value.get<std::int64_t>());
    if (value.is_number_unsigned()) return static_cast<float>(value.get<std::uint64_t>());
    if (value.is_string()) {
        const std::string& text = value.get_ref<const std::string&>();
        if (text == "NaN") return std::numeric_limits<float>::quiet_NaN();
        if (text == "Infinity") return std::numeric_limits<float>::infinity();
        if (text == "-Infinity") return -std::numeric_limits<float>::infinity();
    }
    Fail(where, "expected a number, \"NaN\", \"Infinity\" or \"-Infinity\"");
}

long long ReadInteger(const Json& value, const std::string& where, long long lowest, long long highest) {
    if (!value.is_number_integer()) Fail(where, std::string("expected an integer, found ") + KindOf(value));
    // Integers above the signed range are stored unsigned; they are out of range too.
    const bool inRange = value.is_number_unsigned()
                             ? value.get<std::uint64_t>() <= static_cast<std::uint64_t>(highest)
                             : value.get<std::int64_t>() >= lowest && value.get<std::int64_t>() <= highest;
    if (!inRange) Fail(where, "integer out of range " + std::to_string(lowest) + " to " + std::to_string(highest));
    return value.is_number_unsigned() ? static_cast<long long>(value.get<std::uint64_t>()) : value.get<std::int64_t>();
}

// Decodes the UTF-8 that the parser made of the text back into bytes: each
// character U+0000..U+00FF is one byte.
std::string ReadBytes(const Json& value, const std::string& where) {
    if (!value.is_string()) Fail(where, std::string("expected a string, found ") + KindOf(value));
    const std::string& utf8 = value.get_ref<const std::string&>();
    std::string bytes;
    bytes.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            bytes += static_cast<char>(lead);
        } else if ((lead == 0xC2 || lead == 0xC3) && i + 1 < utf8.size()) {
            const auto next = static_cast<unsigned char>(utf8[++i]);
            bytes += static_cast<char>(((lead & 0x03) << 6) | (next & 0x3F));
        } else {
            Fail(where, "text holds a character beyond \\u00ff (texts are byte strings)");
        }
    }
    return bytes;
}

template <int Count>
void ReadFloatArray(const Json& value, const std::string& where, float (&out)[Count]) {
    if (!value.is_array() || value.size() != Count) Fail(where, "expected an array of " + std::to_string(Count) + " numbers");
    for (int i = 0; i < Count; ++i) out[i] = ReadFloat(value[static_cast<size_t>(i)], Index(where, static_cast<size_t>(i)));
}

void ReadIndexTriple(const Json& value, const std::string& where, word (&out)[3]) {
    if (!value.is_array() || value.size() != 3) Fail(where, "expected an array of 3 integers");
    for (size_t i = 0; i < 3; ++i) out[i] = static_cast<word>(ReadInteger(value[i], Index(where, i), 0, 65535));
}

// The array `key` of `object`, or an empty one when absent.
const Json& ArrayField(const Json& object, const char* key, const std::string& where) {
    static const Json kEmpty = Json::array();
    const Json* member = Member(object, key);
    if (!member) return kEmpty;
    if (!member->is_array()) Fail(Field(where, key), std::string("expected an array, found ") + KindOf(*member));
    return *member;
}

void ReadMesh(const Json& object, size_t meshIndex, msModel* model) {
    const std::string where = Index("meshes", meshIndex);
    CheckKeys(object, where, {"name", "material", "vertices", "texcoords", "normals", "triangles", "triangleNormals"});
    msMesh* mesh = msModel_GetMeshAt(model, msModel_AddMesh(model));
    if (const Json* name = Member(object, "name")) msMesh_SetName(mesh, ReadBytes(*name, Field(where, "name")).c_str());
    if (const Json* material = Member(object, "material")) {
        msMesh_SetMaterialIndex(mesh, static_cast<int>(ReadInteger(*material, Field(where, "material"), INT32_MIN, INT32_MAX)));
    }

    const Json& vertices = ArrayField(object, "vertices", where);
    const Json* texcoords = Member(object, "texcoords");
    if (texcoords) {
        const Json& list = ArrayField(object, "texcoords", where);
        if (list.size() != vertices.size()) {
            Fail(Field(where, "texcoords"), std::to_string(list.size()) + " entries for " + std::to_string(vertices.size()) + " vertices");
        }
    }
    for (size_t i = 0; i < vertices.size(); ++i) {
        msVertex* vertex = msMesh_GetVertexAt(mesh, msMesh_AddVertex(mesh));
        float xyz[3];
        ReadFloatArray(vertices[i], Index(Field(where, "vertices"), i), xyz);
        msVertex_SetVertex(vertex, xyz);
        if (texcoords) {
            float uv[2];
            ReadFloatArray((*texcoords)[i], Index(Field(where, "texcoords"), i), uv);
            msVertex_SetTexCoords(vertex, uv);
        }
    }

    const Json& normals = ArrayField(object, "normals", where);
    for (size_t i = 0; i < normals.size(); ++i) {
        float xyz[3];
        ReadFloatArray(normals[i], Index(Field(where, "normals"), i), xyz);
        msMesh_SetVertexNormalAt(mesh, msMesh_AddVertexNormal(mesh), xyz);
    }

    const Json& triangles = ArrayField(object, "triangles", where);
    const Json* triangleNormals = Member(object, "triangleNormals");
    if (triangleNormals) {
        const Json& list = ArrayField(object, "triangleNormals", where);
        if (list.size() != triangles.size()) {
            Fail(Field(where, "triangleNormals"),
                 std::to_string(list.size()) + " entries for " + std::to_string(triangles.size()) + " triangles");
        }
    }
    for (size_t i = 0; i < triangles.size(); ++i) {
        msTriangle* triangle = msMesh_GetTriangleAt(mesh, msMesh_AddTriangle(mesh));
        word indices[3];
        ReadIndexTriple(triangles[i], Index(Field(where, "triangles"), i), indices);
        for (const word index : indices) {
            // A triangle must name vertices of its own mesh, as in an .ms3d file.
            if (index >= vertices.size()) {
                Fail(Index(Field(where, "triangles"), i),
                     "mesh " + std::to_string(meshIndex) + " triangle " + std::to_string(i) + " uses vertex " +
                         std::to_string(index) + ", but the mesh has " + std::to_string(vertices.size()) + " vertices");
            }
        }
        msTriangle_SetVertexIndices(triangle, indices);
        if (triangleNormals) {
            ReadIndexTriple((*triangleNormals)[i], Index(Field(where, "triangleNormals"), i), indices);
            msTriangle_SetNormalIndices(triangle, indices);
        }
    }
}

void ReadMaterial(const Json& object, size_t materialIndex, msModel* model) {
    const std::string where = Index("materials", materialIndex);
    CheckKeys(object, where,
              {"name", "ambient", "diffuse", "specular", "emissive", "shininess", "transparency", "diffuseTexture"});
    msMaterial* material = msModel_GetMaterialAt(model, msModel_AddMaterial(model));
    if (const Json* name = Member(object, "name")) msMaterial_SetName(material, ReadBytes(*name, Field(where, "name")).c_str());
    const struct {
        const char* key;
        void (*setter)(msMaterial*, float*);
    } colours[] = {{"ambient", msMaterial_SetAmbient},
                   {"diffuse", msMaterial_SetDiffuse},
                   {"specular", msMaterial_SetSpecular},
                   {"emissive", msMaterial_SetEmissive}};
    for (const auto& colour : colours) {
        if (const Json* value = Member(object, colour.key)) {
            float rgba[4];
            ReadFloatArray(*value, Field(where, colour.key), rgba);
            colour.setter(material, rgba);
        }
    }
    if (const Json* value = Member(object, "shininess")) {
        msMaterial_SetShininess(material, ReadFloat(*value, Field(where, "shininess")));
    }
    if (const Json* value = Member(object, "transparency")) {
        msMaterial_SetTransparency(material, ReadFloat(*value, Field(where, "transparency")));
    }
    if (const Json* value = Member(object, "diffuseTexture")) {
        msMaterial_SetDiffuseTexture(material, ReadBytes(*value, Field(where, "diffuseTexture")).c_str());
    }
}

void ReadBone(const Json& object, size_t boneIndex, msModel* model) {
    const std::string where = Index("bones", boneIndex);
    CheckKeys(object, where, {"name", "parent", "position", "rotation"});
    msBone* bone = msModel_GetBoneAt(model, msModel_AddBone(model));
    if (const Json* name = Member(object, "name")) msBone_SetName(bone, ReadBytes(*name, Field(where, "name")).c_str());
    if (const Json* parent = Member(object, "parent")) {
        msBone_SetParentName(bone, ReadBytes(*parent, Field(where, "parent")).c_str());
    }
    float xyz[3];
    if (const Json* value = Member(object, "position")) {
        ReadFloatArray(*value, Field(where, "position"), xyz);
        msBone_SetPosition(bone, xyz);
    }
    if (const Json* value = Member(object, "rotation")) {
        ReadFloatArray(*value, Field(where, "rotation"), xyz);
        msBone_SetRotation(bone, xyz);
    }
}

// nlohmann's messages start with "[json.exception.parse_error.101] "; the
// reader of our one-line error needs only what follows.
std::string WithoutExceptionTag(const char* what) {
    std::string text = what;
    if (!text.empty() && text[0] == '[') {
        const size_t end = text.find("] ");
        if (end != std::string::npos) text.erase(0, end + 2);
    }
    return text;
}

// nlohmann ends a parse error with "; last read: '<the token so far>'",
// which can be the whole rest of a long input; Quote shows the place instead.
std::string WithoutLastRead(std::string text) {
    const size_t at = text.find("; last read: ");
    if (at != std::string::npos) text.erase(at);
    return text;
}

// At most kQuoteBytes bytes of `text` around `at`, in quotes, every byte
// outside printable ASCII shown as \xHH.
constexpr size_t kQuoteBytes = 80;
std::string Quote(std::string_view text, size_t at) {
    at = std::min(at, text.size());
    const size_t start = at > kQuoteBytes / 2 ? at - kQuoteBytes / 2 : 0;
    const std::string_view piece = text.substr(start, kQuoteBytes);
    std::string quoted = "'";
    for (const char c : piece) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            quoted += c;
        } else {
            static const char kHex[] = "0123456789abcdef";
            quoted += "\\x";
            quoted += kHex[byte >> 4];
            quoted += kHex[byte & 0xF];
        }
    }
    return quoted + "'";
}

// The model of a document: the document itself, or the "model" of a report
// that mshost import printed (its other fields are the run's and not read).
const Json& ModelOf(const Json& document) {
    if (!document.is_object() || !document.contains("model")) return document;
    CheckKeys(document, "report", {"kind", "title", "execute", "messages", "debug", "destroyed", "model"});
    return document["model"];
}

}  // namespace

bool ReadModelJson(std::string_view text, msModel* model, std::string* error) {
    if (!model) {
        *error = "no model to read into";
        return false;
    }
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos) {
        *error = "byte " + std::to_string(nul) + " is a NUL byte, which no JSON text holds; near " + Quote(text, nul);
        return false;
    }
    Json document;
    const std::string parsed = KeepNegativeZeros(text);
    try {
        // The whole text must be one JSON value: trailing bytes are an error too.
        document = Json::parse(parsed, nullptr, true);
    } catch (const Json::parse_error& failure) {
        *error = WithoutLastRead(WithoutExceptionTag(failure.what())) + "; near " +
                 Quote(parsed, failure.byte > 0 ? failure.byte - 1 : 0);
        return false;
    } catch (const Json::exception& failure) {
        *error = WithoutExceptionTag(failure.what());
        return false;
    }
    try {
        const Json& modelObject = ModelOf(document);
        CheckKeys(modelObject, "model", {"meshes", "materials", "bones"});
        const struct {
            const char* key;
            void (*read)(const Json&, size_t, msModel*);
        } lists[] = {{"meshes", ReadMesh}, {"materials", ReadMaterial}, {"bones", ReadBone}};
        for (const auto& list : lists) {
            const Json& items = ArrayField(modelObject, list.key, "");
            for (size_t i = 0; i < items.size(); ++i) list.read(items[i], i, model);
        }
    } catch (const ModelJsonError& failure) {
        *error = failure.where + ": " + failure.what;
        return false;
    }
    return true;
}

}  // namespace mshost
