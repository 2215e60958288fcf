// Reading the model JSON into the model library, straight from the parser's
// events: no document tree is built, so reading costs the model itself and
// the text, whatever the text holds.
//
// Parsing is nlohmann-json's SAX interface, instantiated with float as its
// floating type so that every decimal is rounded once, straight to the
// nearest 32-bit float (going through double first could round some texts
// to a neighbour). Values are checked as they arrive and stored at once; the
// first fault ends the read with one line naming its place in the document.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "mshost/formats/model_json.h"
#include "mshost/formats/negative_zero_text.h"

namespace mshost {
namespace {

using Json = nlohmann::basic_json<std::map, std::vector, std::string, bool, std::int64_t, std::uint64_t, float>;

// Arrays and objects nest at most this deep. A model needs 5 levels and a
// report 6; deeper values can only be report fields that are not read.
constexpr size_t kMaxNesting = 100;

// The fields of the three item kinds, and the model's lists.
enum class Field : uint8_t {
    kName, kMaterial, kVertices, kTexcoords, kNormals, kTriangles, kTriangleNormals,  // meshes
    kAmbient, kDiffuse, kSpecular, kEmissive, kShininess, kTransparency, kDiffuseTexture,  // materials
    kParent, kPosition, kRotation,  // bones (and kName)
};

enum class List : uint8_t { kMeshes, kMaterials, kBones };

struct FieldName {
    const char* key;
    Field field;
};

constexpr FieldName kMeshFields[] = {{"name", Field::kName},           {"material", Field::kMaterial},
                                     {"vertices", Field::kVertices},   {"texcoords", Field::kTexcoords},
                                     {"normals", Field::kNormals},     {"triangles", Field::kTriangles},
                                     {"triangleNormals", Field::kTriangleNormals}};
constexpr FieldName kMaterialFields[] = {{"name", Field::kName},           {"ambient", Field::kAmbient},
                                         {"diffuse", Field::kDiffuse},     {"specular", Field::kSpecular},
                                         {"emissive", Field::kEmissive},   {"shininess", Field::kShininess},
                                         {"transparency", Field::kTransparency},
                                         {"diffuseTexture", Field::kDiffuseTexture}};
constexpr FieldName kBoneFields[] = {
    {"name", Field::kName}, {"parent", Field::kParent}, {"position", Field::kPosition}, {"rotation", Field::kRotation}};
constexpr const char* kListKeys[] = {"meshes", "materials", "bones"};
// The fields of an import report besides its "model"; their values are not read.
constexpr const char* kReportKeys[] = {"kind", "title", "execute", "messages", "debug", "destroyed"};

template <size_t N>
const FieldName* FindField(const FieldName (&fields)[N], const std::string& key) {
    for (const FieldName& entry : fields) {
        if (key == entry.key) return &entry;
    }
    return nullptr;
}

const FieldName* FindItemField(List list, const std::string& key) {
    switch (list) {
        case List::kMeshes: return FindField(kMeshFields, key);
        case List::kMaterials: return FindField(kMaterialFields, key);
        case List::kBones: return FindField(kBoneFields, key);
    }
    return nullptr;
}

const char* KeyOf(List list, Field field) {
    const auto find = [field](const auto& fields) -> const char* {
        for (const FieldName& entry : fields) {
            if (entry.field == field) return entry.key;
        }
        return "";
    };
    switch (list) {
        case List::kMeshes: return find(kMeshFields);
        case List::kMaterials: return find(kMaterialFields);
        case List::kBones: return find(kBoneFields);
    }
    return "";
}

bool IsListKey(const std::string& key) {
    return std::any_of(std::begin(kListKeys), std::end(kListKeys), [&key](const char* known) { return key == known; });
}

bool IsReportKey(const std::string& key) {
    return std::any_of(std::begin(kReportKeys), std::end(kReportKeys), [&key](const char* known) { return key == known; });
}

// What a field's value is made of.
enum class Shape : uint8_t { kText, kInteger, kFloat, kFloats, kFloatsList, kIndexList };

Shape ShapeOf(Field field) {
    switch (field) {
        case Field::kName:
        case Field::kParent:
        case Field::kDiffuseTexture: return Shape::kText;
        case Field::kMaterial: return Shape::kInteger;
        case Field::kShininess:
        case Field::kTransparency: return Shape::kFloat;
        case Field::kAmbient:
        case Field::kDiffuse:
        case Field::kSpecular:
        case Field::kEmissive:
        case Field::kPosition:
        case Field::kRotation: return Shape::kFloats;
        case Field::kVertices:
        case Field::kTexcoords:
        case Field::kNormals: return Shape::kFloatsList;
        case Field::kTriangles:
        case Field::kTriangleNormals: return Shape::kIndexList;
    }
    return Shape::kText;
}

// Numbers in one array of a field: a colour has 4, a texture coordinate 2,
// every other array 3.
int TupleSize(Field field) {
    switch (field) {
        case Field::kAmbient:
        case Field::kDiffuse:
        case Field::kSpecular:
        case Field::kEmissive: return 4;
        case Field::kTexcoords: return 2;
        default: return 3;
    }
}

std::string Index(const std::string& where, size_t index) { return where + "[" + std::to_string(index) + "]"; }
std::string Member(const std::string& where, const char* key) { return where.empty() ? key : where + "." + key; }

constexpr char kExpectedFloat[] = "expected a number, \"NaN\", \"Infinity\" or \"-Infinity\"";

// One JSON value as the parser gives it; numbers keep their kind, as the
// model's checks tell integers from other numbers.
struct Value {
    enum Kind { kNull, kBoolean, kInteger, kUnsigned, kFloat, kString, kArray, kObject } kind;
    std::int64_t integer = 0;
    std::uint64_t unsignedInteger = 0;
    float number = 0;
    const std::string* text = nullptr;

    const char* TypeName() const {
        switch (kind) {
            case kNull: return "null";
            case kBoolean: return "boolean";
            case kInteger:
            case kUnsigned:
            case kFloat: return "number";
            case kString: return "string";
            case kArray: return "array";
            case kObject: return "object";
        }
        return "null";
    }
};

// A float of the model: a number, or one of the three texts for the values
// JSON has no number for. False when the value is neither.
bool ToFloat(const Value& value, float* out) {
    switch (value.kind) {
        case Value::kFloat: *out = value.number; return true;
        case Value::kInteger: *out = static_cast<float>(value.integer); return true;
        case Value::kUnsigned: *out = static_cast<float>(value.unsignedInteger); return true;
        case Value::kString:
            if (*value.text == "NaN") *out = std::numeric_limits<float>::quiet_NaN();
            else if (*value.text == "Infinity") *out = std::numeric_limits<float>::infinity();
            else if (*value.text == "-Infinity") *out = -std::numeric_limits<float>::infinity();
            else return false;
            return true;
        default: return false;
    }
}

// An integer from `lowest` to `highest`, or the reason it is not one.
bool ToInteger(const Value& value, long long lowest, long long highest, long long* out, std::string* why) {
    if (value.kind != Value::kInteger && value.kind != Value::kUnsigned) {
        *why = std::string("expected an integer, found ") + value.TypeName();
        return false;
    }
    // Integers above the signed range are given unsigned; they are out of range too.
    const bool inRange = value.kind == Value::kUnsigned
                             ? value.unsignedInteger <= static_cast<std::uint64_t>(highest)
                             : value.integer >= lowest && value.integer <= highest;
    if (!inRange) {
        *why = "integer out of range " + std::to_string(lowest) + " to " + std::to_string(highest);
        return false;
    }
    *out = value.kind == Value::kUnsigned ? static_cast<long long>(value.unsignedInteger) : value.integer;
    return true;
}

// Decodes the UTF-8 that the parser made of the text back into bytes: each
// character U+0000..U+00FF is one byte. False when a character lies beyond.
bool ToBytes(const std::string& utf8, std::string* bytes) {
    bytes->clear();
    bytes->reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            *bytes += static_cast<char>(lead);
        } else if ((lead == 0xC2 || lead == 0xC3) && i + 1 < utf8.size()) {
            const auto next = static_cast<unsigned char>(utf8[++i]);
            *bytes += static_cast<char>(((lead & 0x03) << 6) | (next & 0x3F));
        } else {
            return false;
        }
    }
    return true;
}

// The reader proper: a stack of the open arrays and objects, each knowing
// what its entries are for.
class ModelReader {
public:
    explicit ModelReader(msModel* model) : model_(model) {}

    // Set when the reader stopped the parse: the one-line reason.
    const std::string& Failure() const { return failure_; }
    bool Failed() const { return !failure_.empty(); }

    // The nlohmann SAX interface.
    bool null() { return Scalar(Value{Value::kNull}); }
    bool boolean(bool) { return Scalar(Value{Value::kBoolean}); }
    bool number_integer(std::int64_t number) {
        Value value{Value::kInteger};
        value.integer = number;
        return Scalar(value);
    }
    bool number_unsigned(std::uint64_t number) {
        Value value{Value::kUnsigned};
        value.unsignedInteger = number;
        return Scalar(value);
    }
    bool number_float(float number, const std::string&) {
        Value value{Value::kFloat};
        value.number = number;
        return Scalar(value);
    }
    bool string(std::string& text) {
        Value value{Value::kString};
        value.text = &text;
        return Scalar(value);
    }
    bool binary(Json::binary_t&) { return Fail("", "binary values are not JSON text"); }
    bool start_object(std::size_t) { return Open(Value{Value::kObject}); }
    bool start_array(std::size_t) { return Open(Value{Value::kArray}); }
    bool key(std::string& name) { return Key(name); }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& error) {
        parseFailure_ = true;
        parsePosition_ = position;
        parseError_ = error.what();
        parseErrorId_ = error.id;
        return false;
    }

    bool ParseFailed() const { return parseFailure_; }
    size_t ParsePosition() const { return parsePosition_; }
    const std::string& ParseError() const { return parseError_; }
    int ParseErrorId() const { return parseErrorId_; }

private:
    // What an open array or object is.
    enum class Kind : uint8_t {
        kDocument,  // the outermost object: a model, or a report holding one
        kModel,     // the "model" object of a report
        kList,      // "meshes", "materials" or "bones"
        kItem,      // one mesh, material or bone
        kTupleList, // vertices, texcoords, normals, triangles or triangleNormals
        kTuple,     // the numbers of one colour, position, vertex or triangle
        kSkipped,   // a report field's value, or a bad entry of a tuple
    };

    struct Frame {
        Kind kind;
        List list = List::kMeshes;
        Field field = Field::kName;
        size_t index = 0;    // kItem: the item's index; kTuple: its entry index in a list (or 0)
        size_t entries = 0;  // entries seen so far
        bool inList = false; // kTuple: an entry of a kTupleList
    };

    // What the next value of an object is for, set by its key.
    enum class Pending : uint8_t { kNothing, kModel, kList, kField, kSkip };

    // ---- places in the document, for messages ----

    std::string ItemPlace(const Frame& item) const { return Index(kListKeys[static_cast<int>(item.list)], item.index); }
    std::string FieldPlace(const Frame& item, Field field) const { return Member(ItemPlace(item), KeyOf(item.list, field)); }
    // The place of `tuple`, an entry of the innermost item open.
    std::string TuplePlace(const Frame& tuple) const {
        const Frame& item = ItemOf();
        const std::string field = FieldPlace(item, tuple.field);
        return tuple.inList ? Index(field, tuple.index) : field;
    }
    const Frame& ItemOf() const {
        for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
            if (it->kind == Kind::kItem) return *it;
        }
        return stack_.front();
    }

    bool Fail(const std::string& where, const std::string& what) {
        if (failure_.empty()) failure_ = (where.empty() ? std::string() : where + ": ") + what;
        return false;
    }

    // ---- events ----

    bool Open(const Value& value) {
        if (stack_.size() >= kMaxNesting) {
            return Fail("", "arrays and objects nested deeper than " + std::to_string(kMaxNesting) + " levels");
        }
        if (stack_.empty()) {
            if (value.kind != Value::kObject) return Fail("model", std::string("expected an object, found ") + value.TypeName());
            stack_.push_back({Kind::kDocument});
            return true;
        }
        return Entry(value);
    }

    bool Scalar(const Value& value) {
        if (stack_.empty()) return Fail("model", std::string("expected an object, found ") + value.TypeName());
        return Entry(value);
    }

    // A value inside the top frame: an object member (after its key) or an array entry.
    bool Entry(const Value& value) {
        Frame& top = stack_.back();
        switch (top.kind) {
            case Kind::kDocument:
            case Kind::kModel: return ModelMember(value);
            case Kind::kList: return ListEntry(value);
            case Kind::kItem: return ItemMember(value);
            case Kind::kTupleList: return TupleListEntry(value);
            case Kind::kTuple: return TupleEntry(value);
            case Kind::kSkipped: return Skip(value);
        }
        return false;
    }

    bool Skip(const Value& value) {
        if (value.kind == Value::kArray || value.kind == Value::kObject) stack_.push_back({Kind::kSkipped});
        return true;
    }

    bool ModelMember(const Value& value) {
        const Pending pending = pending_;
        pending_ = Pending::kNothing;
        switch (pending) {
            case Pending::kModel:
                if (value.kind != Value::kObject) return Fail("model", std::string("expected an object, found ") + value.TypeName());
                stack_.push_back({Kind::kModel});
                return true;
            case Pending::kList:
                if (value.kind != Value::kArray) {
                    return Fail(kListKeys[static_cast<int>(pendingList_)],
                                std::string("expected an array, found ") + value.TypeName());
                }
                stack_.push_back({Kind::kList, pendingList_});
                return true;
            case Pending::kSkip: return Skip(value);
            case Pending::kNothing:
            case Pending::kField: break;
        }
        return Fail("", "value without a key");
    }

    bool ListEntry(const Value& value) {
        Frame& list = stack_.back();
        Frame item{Kind::kItem, list.list};
        item.index = list.entries++;
        if (value.kind != Value::kObject) {
            return Fail(ItemPlace(item), std::string("expected an object, found ") + value.TypeName());
        }
        switch (list.list) {
            case List::kMeshes: mesh_ = msModel_GetMeshAt(model_, msModel_AddMesh(model_)); break;
            case List::kMaterials: material_ = msModel_GetMaterialAt(model_, msModel_AddMaterial(model_)); break;
            case List::kBones: bone_ = msModel_GetBoneAt(model_, msModel_AddBone(model_)); break;
        }
        meshCounts_ = {};
        stack_.push_back(item);
        return true;
    }

    bool ItemMember(const Value& value) {
        Frame& item = stack_.back();
        const Field field = pendingField_;
        // Built only for a message: most fields are read without one.
        auto place = [&] { return FieldPlace(item, field); };
        switch (ShapeOf(field)) {
            case Shape::kText: {
                if (value.kind != Value::kString) return Fail(place(), std::string("expected a string, found ") + value.TypeName());
                if (!ToBytes(*value.text, &bytes_)) {
                    return Fail(place(), "text holds a character beyond \\u00ff (texts are byte strings)");
                }
                SetText(item.list, field, bytes_.c_str());
                return true;
            }
            case Shape::kInteger: {
                long long index = 0;
                std::string why;
                if (!ToInteger(value, INT32_MIN, INT32_MAX, &index, &why)) return Fail(place(), why);
                msMesh_SetMaterialIndex(mesh_, static_cast<int>(index));
                return true;
            }
            case Shape::kFloat: {
                float number = 0;
                if (!ToFloat(value, &number)) return Fail(place(), kExpectedFloat);
                if (field == Field::kShininess) msMaterial_SetShininess(material_, number);
                else msMaterial_SetTransparency(material_, number);
                return true;
            }
            case Shape::kFloats:
                return OpenTuple(value, Frame{Kind::kTuple, item.list, field});
            case Shape::kFloatsList:
            case Shape::kIndexList:
                if (value.kind != Value::kArray) return Fail(place(), std::string("expected an array, found ") + value.TypeName());
                stack_.push_back({Kind::kTupleList, item.list, field});
                if (field == Field::kTexcoords) meshCounts_.texcoordsGiven = true;
                if (field == Field::kTriangleNormals) meshCounts_.triangleNormalsGiven = true;
                return true;
        }
        return false;
    }

    bool TupleListEntry(const Value& value) {
        Frame& list = stack_.back();
        Frame tuple{Kind::kTuple, list.list, list.field};
        tuple.index = list.entries++;
        tuple.inList = true;
        return OpenTuple(value, tuple);
    }

    // A tuple must be an array; its numbers are checked as they come and its
    // size at its end, so a tuple of the wrong size is named as such first.
    bool OpenTuple(const Value& value, const Frame& tuple) {
        if (value.kind != Value::kArray) return Fail(TuplePlace(tuple), ExpectedTuple(tuple.field));
        stack_.push_back(tuple);
        tupleFault_.clear();
        return true;
    }

    static std::string ExpectedTuple(Field field) {
        const bool indices = ShapeOf(field) == Shape::kIndexList;
        return "expected an array of " + std::to_string(TupleSize(field)) + (indices ? " integers" : " numbers");
    }

    bool TupleEntry(const Value& value) {
        Frame& tuple = stack_.back();
        const size_t at = tuple.entries++;
        const bool indices = ShapeOf(tuple.field) == Shape::kIndexList;
        if (value.kind == Value::kArray || value.kind == Value::kObject) {
            if (tupleFault_.empty()) {
                tupleFault_ = Index(TuplePlace(tuple), at) + ": " +
                              (indices ? std::string("expected an integer, found ") + value.TypeName() : kExpectedFloat);
            }
            stack_.push_back({Kind::kSkipped});
            return true;
        }
        // Entries past the tuple's size are counted only: the size is refused at its end.
        if (at >= static_cast<size_t>(TupleSize(tuple.field)) || !tupleFault_.empty()) return true;
        if (indices) {
            long long index = 0;
            std::string why;
            if (!ToInteger(value, 0, 65535, &index, &why)) {
                tupleFault_ = Index(TuplePlace(tuple), at) + ": " + why;
                return true;
            }
            indices_[at] = static_cast<word>(index);
        } else if (!ToFloat(value, &floats_[at])) {
            tupleFault_ = Index(TuplePlace(tuple), at) + ": " + kExpectedFloat;
        }
        return true;
    }

    bool Key(const std::string& name) {
        Frame& top = stack_.back();
        switch (top.kind) {
            case Kind::kDocument: return DocumentKey(name);
            case Kind::kModel: return ModelKey(name, "model");
            case Kind::kItem: return ItemKey(top, name);
            case Kind::kSkipped: return true;
            case Kind::kList:
            case Kind::kTupleList:
            case Kind::kTuple: break;
        }
        return Fail("", "key outside an object");
    }

    // Keys of an object are given once; a second value would have to undo the first.
    bool Once(const std::string& where, uint32_t* seen, int bit, const std::string& name) {
        if (*seen & (uint32_t(1) << bit)) return Fail(where, "field " + JsonByteString(name) + " given twice");
        *seen |= uint32_t(1) << bit;
        return true;
    }

    bool ModelKey(const std::string& name, const char* where) {
        for (int list = 0; list < 3; ++list) {
            if (name == kListKeys[list]) {
                if (!Once(where, &modelKeysSeen_, list, name)) return false;
                pending_ = Pending::kList;
                pendingList_ = static_cast<List>(list);
                return true;
            }
        }
        return Fail(where, "unknown field " + JsonByteString(name));
    }

    // The outermost object is a report when it has a "model", else a model.
    // Until that is known, model lists are read as the model's and report
    // fields are passed over; a key that fits the kind it turns out to be
    // not is refused as soon as the kind is known, or at the end.
    bool DocumentKey(const std::string& name) {
        if (name == "model") {
            if (isReport_) return Fail("report", "field \"model\" given twice");
            isReport_ = true;
            if (!firstNotReportKey_.empty()) return Fail("report", "unknown field " + JsonByteString(firstNotReportKey_));
            pending_ = Pending::kModel;
            return true;
        }
        const bool listKey = IsListKey(name);
        if (isReport_) {
            if (!IsReportKey(name)) return Fail("report", "unknown field " + JsonByteString(name));
            pending_ = Pending::kSkip;
            return true;
        }
        if (listKey) {
            if (firstNotReportKey_.empty()) firstNotReportKey_ = name;
            return ModelKey(name, "model");
        }
        if (!IsReportKey(name) && firstNotReportKey_.empty()) firstNotReportKey_ = name;
        if (firstNotModelKey_.empty()) firstNotModelKey_ = name;
        pending_ = Pending::kSkip;
        return true;
    }

    bool ItemKey(Frame& item, const std::string& name) {
        const FieldName* field = FindItemField(item.list, name);
        if (!field) return Fail(ItemPlace(item), "unknown field " + JsonByteString(name));
        if (!Once(ItemPlace(item), &fieldsSeen_, static_cast<int>(field->field), name)) return false;
        pendingField_ = field->field;
        return true;
    }

    bool Close() {
        Frame frame = stack_.back();
        switch (frame.kind) {
            case Kind::kTuple:
                if (!CloseTuple(frame)) return false;
                break;
            case Kind::kItem:
                if (frame.list == List::kMeshes && !CloseMesh(frame)) return false;
                break;
            case Kind::kTupleList:
                if (frame.field == Field::kVertices) meshCounts_.vertices = frame.entries;
                if (frame.field == Field::kTexcoords) meshCounts_.texcoords = frame.entries;
                if (frame.field == Field::kTriangles) meshCounts_.triangles = frame.entries;
                if (frame.field == Field::kTriangleNormals) meshCounts_.triangleNormals = frame.entries;
                break;
            case Kind::kDocument:
                if (!isReport_ && !firstNotModelKey_.empty()) {
                    return Fail("model", "unknown field " + JsonByteString(firstNotModelKey_));
                }
                break;
            case Kind::kModel:
            case Kind::kList:
            case Kind::kSkipped: break;
        }
        stack_.pop_back();
        if (frame.kind == Kind::kItem) fieldsSeen_ = 0;
        if (frame.kind == Kind::kModel || frame.kind == Kind::kDocument) modelKeysSeen_ = 0;
        return true;
    }

    bool CloseTuple(const Frame& tuple) {
        const int size = TupleSize(tuple.field);
        if (tuple.entries != static_cast<size_t>(size)) return Fail(TuplePlace(tuple), ExpectedTuple(tuple.field));
        if (!tupleFault_.empty()) {
            failure_ = tupleFault_;
            return false;
        }
        Store(tuple);
        return true;
    }

    // The item a tuple belongs to was made when its object opened.
    void Store(const Frame& tuple) {
        switch (tuple.field) {
            case Field::kVertices: msVertex_SetVertex(VertexAt(tuple.index), floats_); break;
            case Field::kTexcoords: msVertex_SetTexCoords(VertexAt(tuple.index), floats_); break;
            case Field::kNormals: msMesh_SetVertexNormalAt(mesh_, msMesh_AddVertexNormal(mesh_), floats_); break;
            case Field::kTriangles: msTriangle_SetVertexIndices(TriangleAt(tuple.index), indices_); break;
            case Field::kTriangleNormals: msTriangle_SetNormalIndices(TriangleAt(tuple.index), indices_); break;
            case Field::kAmbient: msMaterial_SetAmbient(material_, floats_); break;
            case Field::kDiffuse: msMaterial_SetDiffuse(material_, floats_); break;
            case Field::kSpecular: msMaterial_SetSpecular(material_, floats_); break;
            case Field::kEmissive: msMaterial_SetEmissive(material_, floats_); break;
            case Field::kPosition: msBone_SetPosition(bone_, floats_); break;
            case Field::kRotation: msBone_SetRotation(bone_, floats_); break;
            default: break;
        }
    }

    // Vertices and triangles are made by whichever of their two lists reaches
    // an index first; both lists must end up the same length.
    msVertex* VertexAt(size_t index) {
        while (static_cast<size_t>(msMesh_GetVertexCount(mesh_)) <= index) msMesh_AddVertex(mesh_);
        return msMesh_GetVertexAt(mesh_, static_cast<int>(index));
    }
    msTriangle* TriangleAt(size_t index) {
        while (static_cast<size_t>(msMesh_GetTriangleCount(mesh_)) <= index) msMesh_AddTriangle(mesh_);
        return msMesh_GetTriangleAt(mesh_, static_cast<int>(index));
    }

    void SetText(List list, Field field, const char* text) {
        if (list == List::kMeshes) msMesh_SetName(mesh_, text);
        else if (list == List::kMaterials && field == Field::kName) msMaterial_SetName(material_, text);
        else if (list == List::kMaterials) msMaterial_SetDiffuseTexture(material_, text);
        else if (field == Field::kName) msBone_SetName(bone_, text);
        else msBone_SetParentName(bone_, text);
    }

    // The checks of a whole mesh: its paired lists agree in length and its
    // triangles name its own vertices, as in an .ms3d file.
    bool CloseMesh(const Frame& item) {
        const MeshCounts& counts = meshCounts_;
        if (counts.texcoordsGiven && counts.texcoords != counts.vertices) {
            return Fail(FieldPlace(item, Field::kTexcoords),
                        std::to_string(counts.texcoords) + " entries for " + std::to_string(counts.vertices) + " vertices");
        }
        if (counts.triangleNormalsGiven && counts.triangleNormals != counts.triangles) {
            return Fail(FieldPlace(item, Field::kTriangleNormals), std::to_string(counts.triangleNormals) + " entries for " +
                                                                       std::to_string(counts.triangles) + " triangles");
        }
        for (size_t i = 0; i < counts.triangles; ++i) {
            word corners[3];
            msTriangle_GetVertexIndices(msMesh_GetTriangleAt(mesh_, static_cast<int>(i)), corners);
            for (const word index : corners) {
                if (index >= counts.vertices) {
                    return Fail(Index(FieldPlace(item, Field::kTriangles), i),
                                "mesh " + std::to_string(item.index) + " triangle " + std::to_string(i) + " uses vertex " +
                                    std::to_string(index) + ", but the mesh has " + std::to_string(counts.vertices) +
                                    " vertices");
                }
            }
        }
        return true;
    }

    struct MeshCounts {
        size_t vertices = 0;
        size_t texcoords = 0;
        size_t triangles = 0;
        size_t triangleNormals = 0;
        bool texcoordsGiven = false;
        bool triangleNormalsGiven = false;
    };

    msModel* model_;
    std::vector<Frame> stack_;
    Pending pending_ = Pending::kNothing;
    List pendingList_ = List::kMeshes;
    Field pendingField_ = Field::kName;
    bool isReport_ = false;
    std::string firstNotModelKey_;   // a key of the outermost object a model does not have
    std::string firstNotReportKey_;  // a key of the outermost object a report does not have
    uint32_t modelKeysSeen_ = 0;
    uint32_t fieldsSeen_ = 0;
    msMesh* mesh_ = nullptr;
    msMaterial* material_ = nullptr;
    msBone* bone_ = nullptr;
    MeshCounts meshCounts_;
    float floats_[4] = {};
    word indices_[3] = {};
    std::string tupleFault_;
    std::string bytes_;
    std::string failure_;
    bool parseFailure_ = false;
    size_t parsePosition_ = 0;
    std::string parseError_;
    int parseErrorId_ = 0;
};

// nlohmann's messages start with "[json.exception.parse_error.101] "; the
// reader of our one-line error needs only what follows.
std::string WithoutExceptionTag(const std::string& what) {
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

// At most kQuoteBytes characters of what the parser read (`text` with its
// negative zeros as -0.0) around character `at`, in quotes, every byte
// outside printable ASCII shown as \xHH.
constexpr size_t kQuoteBytes = 80;
std::string Quote(std::string_view text, size_t at, bool asParsed) {
    std::string piece;
    const size_t start = at > kQuoteBytes / 2 ? at - kQuoteBytes / 2 : 0;
    if (asParsed) {
        size_t position = 0;
        for (NegativeZeroText c(text), end = NegativeZeroText::End(text); c != end && piece.size() < kQuoteBytes; ++c, ++position) {
            if (position >= start) piece += *c;
        }
    } else {
        piece = std::string(text.substr(std::min(start, text.size()), kQuoteBytes));
    }
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

}  // namespace

bool ReadModelJson(std::string_view text, msModel* model, std::string* error) {
    if (!model) {
        *error = "no model to read into";
        return false;
    }
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos) {
        *error = "byte " + std::to_string(nul) + " is a NUL byte, which no JSON text holds; near " + Quote(text, nul, false);
        return false;
    }
    ModelReader reader(model);
    // The whole text must be one JSON value: trailing bytes are an error too (strict).
    const bool parsed = Json::sax_parse(NegativeZeroText(text), NegativeZeroText::End(text), &reader,
                                        nlohmann::detail::input_format_t::json, true);
    if (reader.Failed()) {
        *error = reader.Failure();
        return false;
    }
    if (reader.ParseFailed()) {
        // Parse errors (ids 101 to 199) say where; the others (a number too large for a float) say what.
        const bool syntax = reader.ParseErrorId() >= 100 && reader.ParseErrorId() < 200;
        *error = syntax ? WithoutLastRead(WithoutExceptionTag(reader.ParseError())) + "; near " +
                              Quote(text, reader.ParsePosition() > 0 ? reader.ParsePosition() - 1 : 0, true)
                        : WithoutExceptionTag(reader.ParseError());
        return false;
    }
    if (!parsed) {
        *error = "the text is not a model";
        return false;
    }
    return true;
}

}  // namespace mshost
