// .ms3d bytes to records and back. Every read of the parse goes through
// ByteReader::Take, which holds the one bounds check; lists are checked as a
// whole against the bytes left before any entry is read, so no count the file
// only claims ever sizes memory beyond what the data can fill. The record
// views (VertexRecords, TriangleRecords) read only inside lists checked so.
#include "mshost/formats/ms3d_format.h"

#include <bit>
#include <cstring>
#include <string_view>

#include "mshost/files/quoted_name.h"

namespace ms3d {
namespace {

constexpr char kId[] = "MS3D000000";
constexpr size_t kIdSize = 10;

// One error message of the form "<file>: <what is wrong>".
std::string Message(const char* name, const std::string& what) {
    return mshost::Unquoted(name ? name : "") + ": " + what;
}

class ByteReader {
public:
    ByteReader(const void* data, size_t size, const char* name, std::string* error)
        : data_(static_cast<const unsigned char*>(data)), size_(size), name_(name), error_(error) {}

    size_t Position() const { return position_; }
    const unsigned char* Here() const { return data_ + position_; }
    // Moves past bytes a Need call has covered.
    void Skip(size_t count) { position_ += count; }

    // True when `count` records of `recordSize` bytes are left; otherwise
    // records a truncation error that names `what`.
    bool Need(size_t count, size_t recordSize, const std::string& what) {
        size_t left = size_ - position_;
        if (recordSize == 0 || count <= left / recordSize) return true;
        // Counts are 16-bit and records at most a few hundred bytes: the product fits even a 32-bit size_t.
        Fail("truncated at offset " + std::to_string(position_) + ": " + std::to_string(count * recordSize) +
             " bytes for " + what + ", but only " + std::to_string(left) + " left");
        return false;
    }

    bool Fail(const std::string& what) {
        if (error_) *error_ = Message(name_, what);
        return false;
    }

    // Reads without a check: callers have called Need for the whole record.
    void Take(void* out, size_t count) {
        std::memcpy(out, data_ + position_, count);
        position_ += count;
    }
    uint8_t U8() {
        uint8_t value;
        Take(&value, 1);
        return value;
    }
    int8_t I8() { return static_cast<int8_t>(U8()); }
    uint16_t U16() {
        unsigned char b[2];
        Take(b, 2);
        return static_cast<uint16_t>(b[0] | (b[1] << 8));
    }
    uint32_t U32() {
        unsigned char b[4];
        Take(b, 4);
        return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
               (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
    }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    float F32() { return std::bit_cast<float>(U32()); }
    void Floats(float* out, size_t count) {
        for (size_t i = 0; i < count; ++i) out[i] = F32();
    }
    // A zero-padded text field: the bytes before the first zero, or all of
    // them when the text fills the field.
    std::string Text(size_t field) {
        const char* start = reinterpret_cast<const char*>(data_ + position_);
        size_t length = 0;
        while (length < field && start[length] != '\0') ++length;
        position_ += field;
        return std::string(start, length);
    }

private:
    const unsigned char* data_;
    size_t size_;
    size_t position_ = 0;
    const char* name_;
    std::string* error_;
};

// Reads a 16-bit list count; false (with the error set) when it is missing.
bool ReadCount(ByteReader& in, const char* what, size_t* count) {
    if (!in.Need(1, 2, what)) return false;
    *count = in.U16();
    return true;
}

std::string Counted(size_t count, const char* singular, const char* plural) {
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

bool ReadHeader(ByteReader& in, File* file) {
    if (!in.Need(1, kHeaderSize, "the header")) return false;
    char id[kIdSize];
    in.Take(id, kIdSize);
    if (std::memcmp(id, kId, kIdSize) != 0) return in.Fail("not an .ms3d file (the id is not MS3D000000)");
    file->version = in.I32();
    if (file->version != 3 && file->version != 4)
        return in.Fail(".ms3d version " + std::to_string(file->version) + " is not supported (only 3 and 4)");
    return true;
}

// Every vertex record is valid: they are left where they are for VertexRecords.
bool ReadVertices(ByteReader& in, VertexRecords* vertices) {
    size_t count;
    if (!ReadCount(in, "the vertex count", &count)) return false;
    if (!in.Need(count, kVertexSize, Counted(count, "vertex", "vertices"))) return false;
    vertices->data = in.Here();
    vertices->count = count;
    in.Skip(count * kVertexSize);
    return true;
}

// Checks the triangle records where they are; TriangleRecords decodes them.
bool ReadTriangles(ByteReader& in, size_t vertexCount, TriangleRecords* triangles) {
    size_t count;
    if (!ReadCount(in, "the triangle count", &count)) return false;
    if (!in.Need(count, kTriangleSize, Counted(count, "triangle", "triangles"))) return false;
    triangles->data = in.Here();
    triangles->count = count;
    for (size_t i = 0; i < count; ++i) {
        in.Skip(2);  // flags
        for (int corner = 0; corner < 3; ++corner) {
            const uint16_t index = in.U16();
            if (index >= vertexCount)
                return in.Fail("triangle " + std::to_string(i) + " uses vertex " + std::to_string(index) +
                               ", but the file has " + Counted(vertexCount, "vertex", "vertices"));
        }
        in.Skip(kTriangleSize - 8);
    }
    return true;
}

bool ReadGroups(ByteReader& in, size_t triangleCount, File* file) {
    size_t count;
    if (!ReadCount(in, "the group count", &count)) return false;
    // Each group is at least its fixed part long: check that much for the whole list.
    if (!in.Need(count, kGroupFixedSize, Counted(count, "group", "groups"))) return false;
    file->groups.resize(count);
    // Each triangle belongs to one group at most: a triangle listed again, in
    // the same group or another, is refused, which also bounds the listed
    // triangles of all groups by the triangle count.
    std::vector<int32_t> listedBy(triangleCount, -1);
    for (size_t i = 0; i < count; ++i) {
        Group& group = file->groups[i];
        std::string what = "group " + std::to_string(i);
        if (!in.Need(1, kGroupFixedSize, what)) return false;
        group.flags = in.U8();
        group.name = in.Text(kNameField);
        size_t listed = in.U16();
        // The material index (1 byte) follows the list.
        if (!in.Need(listed, 2, what + "'s " + Counted(listed, "triangle index", "triangle indices")))
            return false;
        group.triangleIndices.resize(listed);
        for (uint16_t& index : group.triangleIndices) {
            index = in.U16();
            if (index >= triangleCount)
                return in.Fail(what + " lists triangle " + std::to_string(index) + ", but the file has " +
                               Counted(triangleCount, "triangle", "triangles"));
            if (listedBy[index] >= 0)
                return in.Fail(what + " lists triangle " + std::to_string(index) + ", which " +
                               (static_cast<size_t>(listedBy[index]) == i ? "it" : "group " + std::to_string(listedBy[index])) +
                               " lists already");
            listedBy[index] = static_cast<int32_t>(i);
        }
        if (!in.Need(1, 1, what + "'s material index")) return false;
        group.materialIndex = in.I8();
    }
    return true;
}

bool ReadMaterials(ByteReader& in, File* file) {
    size_t count;
    if (!ReadCount(in, "the material count", &count)) return false;
    if (!in.Need(count, kMaterialSize, Counted(count, "material", "materials"))) return false;
    file->materials.resize(count);
    for (Material& material : file->materials) {
        material.name = in.Text(kNameField);
        in.Floats(material.ambient, 4);
        in.Floats(material.diffuse, 4);
        in.Floats(material.specular, 4);
        in.Floats(material.emissive, 4);
        material.shininess = in.F32();
        material.transparency = in.F32();
        material.mode = in.I8();
        material.texture = in.Text(kPathField);
        material.alphaMap = in.Text(kPathField);
    }
    return true;
}

// Group material indices can only be checked once the materials are known.
bool CheckGroupMaterials(ByteReader& in, const File& file) {
    for (size_t i = 0; i < file.groups.size(); ++i) {
        int index = file.groups[i].materialIndex;
        if (index == -1) continue;
        if (index < 0 || static_cast<size_t>(index) >= file.materials.size())
            return in.Fail("group " + std::to_string(i) + " uses material " + std::to_string(index) +
                           ", but the file has " + Counted(file.materials.size(), "material", "materials"));
    }
    return true;
}

bool ReadAnimation(ByteReader& in, File* file) {
    if (!in.Need(1, kAnimationSize, "the animation record")) return false;
    file->fps = in.F32();
    file->currentTime = in.F32();
    file->totalFrames = in.I32();
    return true;
}

bool ReadKeys(ByteReader& in, size_t count, const std::string& what, std::vector<Keyframe>* keys) {
    if (!in.Need(count, kKeySize, what)) return false;
    keys->resize(count);
    for (Keyframe& key : *keys) {
        key.time = in.F32();
        in.Floats(key.value, 3);
    }
    return true;
}

bool ReadJoints(ByteReader& in, File* file) {
    size_t count;
    if (!ReadCount(in, "the joint count", &count)) return false;
    if (!in.Need(count, kJointFixedSize, Counted(count, "joint", "joints"))) return false;
    file->joints.resize(count);
    for (size_t i = 0; i < count; ++i) {
        Joint& joint = file->joints[i];
        std::string what = "joint " + std::to_string(i);
        if (!in.Need(1, kJointFixedSize, what)) return false;
        joint.flags = in.U8();
        joint.name = in.Text(kNameField);
        joint.parentName = in.Text(kNameField);
        in.Floats(joint.rotation, 3);
        in.Floats(joint.position, 3);
        size_t rotationKeys = in.U16();
        size_t positionKeys = in.U16();
        if (!ReadKeys(in, rotationKeys, what + "'s " + Counted(rotationKeys, "rotation key", "rotation keys"),
                      &joint.rotationKeys))
            return false;
        if (!ReadKeys(in, positionKeys, what + "'s " + Counted(positionKeys, "position key", "position keys"),
                      &joint.positionKeys))
            return false;
    }
    return true;
}

// Little-endian output into a growing byte string.
class ByteWriter {
public:
    explicit ByteWriter(std::string* out) : out_(out) {}
    void U8(uint8_t value) { out_->push_back(static_cast<char>(value)); }
    void I8(int8_t value) { U8(static_cast<uint8_t>(value)); }
    void U16(uint16_t value) {
        U8(static_cast<uint8_t>(value & 0xFF));
        U8(static_cast<uint8_t>(value >> 8));
    }
    void U32(uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) U8(static_cast<uint8_t>((value >> shift) & 0xFF));
    }
    void I32(int32_t value) { U32(static_cast<uint32_t>(value)); }
    void F32(float value) { U32(std::bit_cast<uint32_t>(value)); }
    void Floats(const float* values, size_t count) {
        for (size_t i = 0; i < count; ++i) F32(values[i]);
    }
    // Zero-padded, always terminated: at most field - 1 characters are kept,
    // and nothing after a zero byte inside the text.
    void Text(const std::string& text, size_t field) {
        size_t length = std::string_view(text.c_str()).size();
        if (length > field - 1) length = field - 1;
        out_->append(text.data(), length);
        out_->append(field - length, '\0');
    }

private:
    std::string* out_;
};

bool CheckCount(size_t count, const char* what, const char* name, std::string* error) {
    if (count <= kMaxCount) return true;
    if (error)
        *error = Message(name, std::to_string(count) + " " + what + " do not fit an .ms3d file (at most " +
                                   std::to_string(kMaxCount) + ")");
    return false;
}

}  // namespace

Vertex VertexRecords::operator[](size_t index) const {
    Vertex vertex;
    ByteReader in(data + index * kVertexSize, kVertexSize, nullptr, nullptr);
    vertex.flags = in.U8();
    in.Floats(vertex.position, 3);
    vertex.boneId = in.I8();
    vertex.referenceCount = in.U8();
    return vertex;
}

Triangle TriangleRecords::operator[](size_t index) const {
    Triangle triangle;
    ByteReader in(data + index * kTriangleSize, kTriangleSize, nullptr, nullptr);
    triangle.flags = in.U16();
    for (uint16_t& vertex : triangle.vertexIndices) vertex = in.U16();
    for (float* normal : triangle.normals) in.Floats(normal, 3);
    in.Floats(triangle.s, 3);
    in.Floats(triangle.t, 3);
    triangle.smoothingGroup = in.U8();
    triangle.groupIndex = in.U8();
    return triangle;
}

bool ScanFile(const void* data, size_t size, const char* name, File* file, VertexRecords* vertices,
              TriangleRecords* triangles, std::string* error) {
    File parsed;
    VertexRecords vertexRecords;
    TriangleRecords triangleRecords;
    ByteReader in(data, size, name, error);
    if (!ReadHeader(in, &parsed) || !ReadVertices(in, &vertexRecords) ||
        !ReadTriangles(in, vertexRecords.size(), &triangleRecords) || !ReadGroups(in, triangleRecords.size(), &parsed) ||
        !ReadMaterials(in, &parsed) || !CheckGroupMaterials(in, parsed) || !ReadAnimation(in, &parsed) ||
        !ReadJoints(in, &parsed))
        return false;
    // Whatever follows the joints (comments, vertex/joint/model extras) is optional and unused.
    *file = std::move(parsed);
    *vertices = vertexRecords;
    *triangles = triangleRecords;
    return true;
}

bool ParseFile(const void* data, size_t size, const char* name, File* file, std::string* error) {
    File parsed;
    VertexRecords vertices;
    TriangleRecords triangles;
    if (!ScanFile(data, size, name, &parsed, &vertices, &triangles, error)) return false;
    parsed.vertices.reserve(vertices.size());
    for (size_t i = 0; i < vertices.size(); ++i) parsed.vertices.push_back(vertices[i]);
    parsed.triangles.reserve(triangles.size());
    for (size_t i = 0; i < triangles.size(); ++i) parsed.triangles.push_back(triangles[i]);
    *file = std::move(parsed);
    return true;
}

bool WriteFile(const File& file, const char* name, std::string* bytes, std::string* error) {
    if (!CheckCount(file.vertices.size(), "vertices", name, error) ||
        !CheckCount(file.triangles.size(), "triangles", name, error) ||
        !CheckCount(file.groups.size(), "groups", name, error) ||
        !CheckCount(file.materials.size(), "materials", name, error) ||
        !CheckCount(file.joints.size(), "joints", name, error))
        return false;
    for (const Group& group : file.groups)
        if (!CheckCount(group.triangleIndices.size(), "triangles in one group", name, error)) return false;
    for (const Joint& joint : file.joints)
        if (!CheckCount(joint.rotationKeys.size(), "rotation keys of one joint", name, error) ||
            !CheckCount(joint.positionKeys.size(), "position keys of one joint", name, error))
            return false;

    std::string result;
    ByteWriter out(&result);
    result.append(kId, kIdSize);
    out.I32(file.version);

    out.U16(static_cast<uint16_t>(file.vertices.size()));
    for (const Vertex& vertex : file.vertices) {
        out.U8(vertex.flags);
        out.Floats(vertex.position, 3);
        out.I8(vertex.boneId);
        out.U8(vertex.referenceCount);
    }

    out.U16(static_cast<uint16_t>(file.triangles.size()));
    for (const Triangle& triangle : file.triangles) {
        out.U16(triangle.flags);
        for (uint16_t index : triangle.vertexIndices) out.U16(index);
        for (const float* normal : triangle.normals) out.Floats(normal, 3);
        out.Floats(triangle.s, 3);
        out.Floats(triangle.t, 3);
        out.U8(triangle.smoothingGroup);
        out.U8(triangle.groupIndex);
    }

    out.U16(static_cast<uint16_t>(file.groups.size()));
    for (const Group& group : file.groups) {
        out.U8(group.flags);
        out.Text(group.name, kNameField);
        out.U16(static_cast<uint16_t>(group.triangleIndices.size()));
        for (uint16_t index : group.triangleIndices) out.U16(index);
        out.I8(group.materialIndex);
    }

    out.U16(static_cast<uint16_t>(file.materials.size()));
    for (const Material& material : file.materials) {
        out.Text(material.name, kNameField);
        out.Floats(material.ambient, 4);
        out.Floats(material.diffuse, 4);
        out.Floats(material.specular, 4);
        out.Floats(material.emissive, 4);
        out.F32(material.shininess);
        out.F32(material.transparency);
        out.I8(material.mode);
        out.Text(material.texture, kPathField);
        out.Text(material.alphaMap, kPathField);
    }

    out.F32(file.fps);
    out.F32(file.currentTime);
    out.I32(file.totalFrames);

    out.U16(static_cast<uint16_t>(file.joints.size()));
    for (const Joint& joint : file.joints) {
        out.U8(joint.flags);
        out.Text(joint.name, kNameField);
        out.Text(joint.parentName, kNameField);
        out.Floats(joint.rotation, 3);
        out.Floats(joint.position, 3);
        out.U16(static_cast<uint16_t>(joint.rotationKeys.size()));
        out.U16(static_cast<uint16_t>(joint.positionKeys.size()));
        for (const Keyframe& key : joint.rotationKeys) {
            out.F32(key.time);
            out.Floats(key.value, 3);
        }
        for (const Keyframe& key : joint.positionKeys) {
            out.F32(key.time);
            out.Floats(key.value, 3);
        }
    }
    *bytes = std::move(result);
    return true;
}

}  // namespace ms3d
