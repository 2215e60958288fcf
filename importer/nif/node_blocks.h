// Node, shape and geometry blocks: the scene graph and its triangle meshes.
#pragma once

#include <cstdint>
#include <memory>

#include "importer/nif/nif_block.h"
#include "importer/nif/object_record.h"
#include "importer/nif/record_bytes.h"

// What the four node kinds share: the object record, an optional bounding
// box (NiNode only), and the child and dynamic-effect lists. The classes
// read the same head and tails in the same order; they differ in what they
// accept in between and in which questions they answer.
class NodeBlock : public NifBlock {
public:
    void ResolveLinks() override;

    const ObjectRecord& Object() const { return object_; }
    const LinkList& Children() const { return children_; }

protected:
    NodeBlock(BlockTable* owner, BlockKind kind);
    // Fields 1-9; the controller link must be -1 when `controllerMustBeNone`.
    void ReadHead(Qiv_Stream& stream, bool controllerMustBeNone);
    // Children and Dynamic Effects.
    void ReadTail(Qiv_Stream& stream);
    // The parent walk's step of NiNode and RootCollisionNode: hands it the
    // children entries that name a block, in list order, gathered on the
    // first arrival into the table's memory: a node the walk reaches again
    // and again costs only its real children, however many entries name no block.
    void FollowChildren(ParentWalk& walk);

    ObjectRecord object_;
    LinkList children_;
    LinkList dynamicEffects_;

private:
    static constexpr uint32_t kNotGathered = UINT32_MAX;

    NifBlock** walkChildren_ = nullptr;  // in the table's arena; none without children
    uint32_t walkChildCount_ = kNotGathered;
};

struct BoundingBox {
    int32_t volumeType = 0;
    NifVector centre;
    Matrix33 rotation;
    NifVector extents;
};

class NiNode : public NodeBlock {
public:
    NiNode(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);

    void LinkParents(ParentWalk& walk) override;
    int GetNumberChildren() const override;
    NifBlock* GetChild(int position) const override;
    const char* GetId() const override;
    void GetLocalTransform(Matrix44& output) const override;
    void SetBoneData(const NifVector& translation, const Matrix33& rotation) override;
    void GetBoneMatrix(Matrix44& output) const override;

    bool HasBoundingBox() const { return boundingBox_ != nullptr; }
    // An all-default box when the node has none.
    const BoundingBox& GetBoundingBox() const;
    // Zero and identity until SetBoneData.
    const NifVector& BoneTranslation() const;
    const Matrix33& BoneRotation() const;
    // The skin data block whose record SetBoneData holds (the last one to
    // give it), noted by that block right after; none without a record.
    void SetBoneRecordSource(const NifBlock* skinData);
    NifBlock* BoneRecordSource() const;

private:
    struct BoneRecord {
        NifVector translation;
        Matrix33 rotation;
        int32_t source = -1;  // block index of the skin data
    };

    // Held only when present: most nodes have neither, and a file of nothing
    // but small nodes must not need much more memory than its bytes.
    std::unique_ptr<BoundingBox> boundingBox_;
    std::unique_ptr<BoneRecord> boneRecord_;
};

class NiBSAnimationNode : public NodeBlock {
public:
    NiBSAnimationNode(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    // The walk enters the children only when the table walks animation nodes.
    void LinkParents(ParentWalk& walk) override;
    const char* GetId() const override;
};

class NiBSParticleNode : public NodeBlock {
public:
    NiBSParticleNode(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    // As NiBSAnimationNode.
    void LinkParents(ParentWalk& walk) override;
};

class RootCollisionNode : public NodeBlock {
public:
    RootCollisionNode(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void LinkParents(ParentWalk& walk) override;
    void GetLocalTransform(Matrix44& output) const override;
};

class NiTriShapeData;

class NiTriShape : public NifBlock {
public:
    NiTriShape(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);

    void ResolveLinks() override;
    // The parent walk goes on to the skin instance.
    void LinkParents(ParentWalk& walk) override;
    int IsShape() const override;
    int GetNumberVertexes() const override;
    NifVector GetVertex(int vertex) const override;
    int HasUVCoords() const override;
    NifTexCoord GetUVCoord(int vertex, int set) const override;
    int GetNumberTriangles() const override;
    uint16_t GetTriangleIndex(int position) const override;
    NifBlock* GetTexturingProperty() const override;
    NifBlock* GetMaterialProperty() const override;
    const char* GetId() const override;
    void GetLocalTransform(Matrix44& output) const override;

    const ObjectRecord& Object() const { return object_; }
    int32_t ShapeDataLink() const { return shapeData_; }
    // The block the data link names when it is a NiTriShapeData, else none.
    const NiTriShapeData* ShapeData() const;
    int32_t SkinInstanceLink() const { return skinInstance_; }

private:
    // The data block the geometry questions go to; none when the link names
    // no block or names a shape (which would forward them back in a loop).
    const NifBlock* GeometrySource() const;
    NifBlock* LastPropertyOfKind(BlockKind kind) const;

    ObjectRecord object_;
    int32_t shapeData_ = -1;
    int32_t skinInstance_ = -1;
};

// Reads one match group: a Short count and that many Shorts (vertex indices).
struct MatchGroupReader {
    FileArray<uint16_t> operator()(Qiv_Stream& stream) const;
};

// The match groups of a NiTriShapeData, read again from where the file holds them.
using MatchGroupList = RecordList<MatchGroupReader>;

class NiTriShapeData : public NifBlock {
public:
    NiTriShapeData(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);

    void ResolveLinks() override;
    int GetNumberVertexes() const override;
    NifVector GetVertex(int vertex) const override;
    int HasUVCoords() const override;
    NifTexCoord GetUVCoord(int vertex, int set) const override;
    int GetNumberTriangles() const override;
    uint16_t GetTriangleIndex(int position) const override;

    // The answers of GetVertex, GetUVCoord and GetTriangleIndex without a
    // virtual call, for loops over every vertex and triangle.
    NifVector VertexAt(int vertex) const {
        if (vertex < 0 || static_cast<size_t>(vertex) >= vertices_.size()) return kZeroVector;
        return vertices_[static_cast<size_t>(vertex)];
    }
    NifTexCoord UVCoordAt(int vertex, int set) const {
        if (vertex < 0 || vertex >= vertexCount_ || set < 0 || set >= uvSetCount_) return kZeroTexCoord;
        const size_t position = static_cast<size_t>(set) * static_cast<size_t>(vertexCount_) + static_cast<size_t>(vertex);
        return position < texCoords_.size() ? texCoords_[position] : kZeroTexCoord;
    }
    uint16_t TriangleIndexAt(int position) const {
        const FileArray<uint16_t> points = TrianglePoints();
        if (position < 0 || static_cast<size_t>(position) >= points.size()) return 0;
        return points[static_cast<size_t>(position)];
    }

    const FileArray<NifVector>& Vertices() const { return vertices_; }
    const FileArray<NifVector>& Normals() const { return normals_; }
    const FileArray<NifColour>& VertexColours() const { return vertexColours_; }
    const FileArray<NifTexCoord>& TexCoords() const { return texCoords_; }
    // Three points a triangle: the load demands that count of the file.
    FileArray<uint16_t> TrianglePoints() const {
        return FileArray<uint16_t>(trianglePoints_, trianglePoints_ ? 3 * static_cast<size_t>(triangleCount_) : 0);
    }
    const MatchGroupList& MatchGroups() const { return matchGroups_; }

private:
    // Counts as the file holds them (16 bits each); the presence flags that
    // only choose which arrays are read are not kept.
    uint16_t vertexCount_ = 0;
    uint16_t triangleCount_ = 0;
    uint16_t uvSetCount_ = 0;
    int32_t hasUV_ = 0;
    FileArray<NifVector> vertices_;
    FileArray<NifVector> normals_;
    FileArray<NifColour> vertexColours_;
    FileArray<NifTexCoord> texCoords_;  // all of set 0, then set 1, ...
    const unsigned char* trianglePoints_ = nullptr;  // where they start; none when there are none
    MatchGroupList matchGroups_;
};

// The block as its class when it is of that class's kind; none for any other block.
const NiTriShape* AsTriShape(const NifBlock* block);
const NiTriShapeData* AsTriShapeData(const NifBlock* block);
