#include "importer/nif/node_blocks.h"

#include <cstring>
#include <span>

#include "importer/nif/link_checks.h"
#include "importer/nif/parent_walk.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/block_table.h"
#include "importer/nif/record_reading.h"

namespace {

// The one name that makes a node a bone by itself.
constexpr char kBoneNodeName[] = "Bip01";

// File bytes of a match group's count and of each of its indices.
constexpr size_t kShortBytes = 2;

bool IsKind(const NifBlock* block, BlockKind kind) { return block && block->Kind() == kind; }

}  // namespace

// ---------------------------------------------------------------- NodeBlock

NodeBlock::NodeBlock(BlockTable* owner, BlockKind kind) : NifBlock(owner, kind) {}

void NodeBlock::ReadHead(Qiv_Stream& stream, bool controllerMustBeNone) {
    object_.name = stream.LengthText();
    object_.extraData = stream.Long();
    object_.timeController = controllerMustBeNone ? stream.LongVerify(-1) : stream.Long();
    object_.ReadPlacement(stream);
}

void NodeBlock::ReadTail(Qiv_Stream& stream) {
    children_ = ReadLinkList(stream);
    dynamicEffects_ = ReadLinkList(stream);
}

void NodeBlock::ResolveLinks() {
    CheckLink(GetOwner(), LinkCheck::ExtraData, object_.extraData);
    CheckLink(GetOwner(), LinkCheck::TimeController, object_.timeController);
    CheckLinks(GetOwner(), LinkCheck::Property, object_.properties);
    CheckLinks(GetOwner(), LinkCheck::Child, children_);
    CheckLinks(GetOwner(), LinkCheck::DynamicEffect, dynamicEffects_);
}

void NodeBlock::FollowChildren(ParentWalk& walk) {
    if (walkChildCount_ == kNotGathered) {
        uint32_t count = 0;
        for (int32_t index : children_.indices) count += Linked(index) ? 1 : 0;
        if (count > 0) {  // then the node has a table: its links name blocks
            void* memory = GetOwner()->BlockMemory().Allocate(count * sizeof(NifBlock*), alignof(NifBlock*));
            walkChildren_ = static_cast<NifBlock**>(memory);
            uint32_t filled = 0;
            for (int32_t index : children_.indices) {
                if (NifBlock* child = Linked(index)) walkChildren_[filled++] = child;
            }
        }
        walkChildCount_ = count;
    }
    walk.Follow(std::span<NifBlock* const>(walkChildren_, walkChildCount_));
}

// ---------------------------------------------------------------- NiNode

NiNode::NiNode(BlockTable* owner, BlockKind kind, Qiv_Stream* stream) : NodeBlock(owner, kind) {
    ReadHead(*stream, false);
    if (std::strcmp(object_.name, kBoneNodeName) == 0) MarkBone();
    if (stream->Long() != 0) {  // Unknown_2: a bounding box follows
        boundingBox_ = std::make_unique<BoundingBox>();
        boundingBox_->volumeType = stream->LongVerify(1);
        boundingBox_->centre = ReadVector(*stream);
        boundingBox_->rotation = ReadMatrix33(*stream);
        boundingBox_->extents = ReadVector(*stream);
    }
    ReadTail(*stream);
}

void NiNode::LinkParents(ParentWalk& walk) { FollowChildren(walk); }

int NiNode::GetNumberChildren() const { return children_.Count(); }

NifBlock* NiNode::GetChild(int position) const { return Linked(children_.At(position)); }

const char* NiNode::GetId() const { return object_.name; }

void NiNode::GetLocalTransform(Matrix44& output) const { object_.LocalTransform(output); }

const BoundingBox& NiNode::GetBoundingBox() const {
    static const BoundingBox kNoBox;
    return boundingBox_ ? *boundingBox_ : kNoBox;
}

const NifVector& NiNode::BoneTranslation() const { return boneRecord_ ? boneRecord_->translation : kZeroVector; }

const Matrix33& NiNode::BoneRotation() const {
    static const Matrix33 kIdentity;
    return boneRecord_ ? boneRecord_->rotation : kIdentity;
}

void NiNode::SetBoneData(const NifVector& translation, const Matrix33& rotation) {
    if (!boneRecord_) boneRecord_ = std::make_unique<BoneRecord>();
    boneRecord_->translation = translation;
    boneRecord_->rotation = rotation;
    boneRecord_->source = -1;  // until the giver notes itself
    MarkBone();
}

void NiNode::SetBoneRecordSource(const NifBlock* skinData) {
    if (boneRecord_ && skinData != nullptr) boneRecord_->source = skinData->GetBlockIndex();
}

NifBlock* NiNode::BoneRecordSource() const { return boneRecord_ ? Linked(boneRecord_->source) : nullptr; }

void NiNode::GetBoneMatrix(Matrix44& output) const {
    Matrix44 bone, step;
    Identity(bone);
    ToMatrix44(BoneRotation(), step);
    Multiply(bone, bone, step);
    const NifVector& translation = BoneTranslation();
    MakeTranslation(step, translation.x, translation.y, translation.z);
    Multiply(bone, bone, step);
    Invert(output, bone);  // leaves output as it was when the bone record has no inverse
}

// ---------------------------------------------------------------- the other node kinds

NiBSAnimationNode::NiBSAnimationNode(BlockTable* owner, BlockKind kind, Qiv_Stream* stream)
    : NodeBlock(owner, kind) {
    ReadHead(*stream, false);
    stream->LongVerify(0);  // Unknown_2
    ReadTail(*stream);
}

void NiBSAnimationNode::LinkParents(ParentWalk& walk) {
    if (GetOwner() != nullptr && GetOwner()->WalksAnimationNodes()) FollowChildren(walk);
}

const char* NiBSAnimationNode::GetId() const { return object_.name; }

NiBSParticleNode::NiBSParticleNode(BlockTable* owner, BlockKind kind, Qiv_Stream* stream)
    : NodeBlock(owner, kind) {
    ReadHead(*stream, false);
    stream->LongVerify(0);  // Unknown_2
    ReadTail(*stream);
}

void NiBSParticleNode::LinkParents(ParentWalk& walk) {
    if (GetOwner() != nullptr && GetOwner()->WalksAnimationNodes()) FollowChildren(walk);
}

RootCollisionNode::RootCollisionNode(BlockTable* owner, BlockKind kind, Qiv_Stream* stream)
    : NodeBlock(owner, kind) {
    ReadHead(*stream, true);
    stream->LongVerify(0);  // Unknown_2
    ReadTail(*stream);
}

void RootCollisionNode::LinkParents(ParentWalk& walk) { FollowChildren(walk); }

void RootCollisionNode::GetLocalTransform(Matrix44& output) const { object_.LocalTransform(output); }

// ---------------------------------------------------------------- NiTriShape

NiTriShape::NiTriShape(BlockTable* owner, BlockKind kind, Qiv_Stream* stream) : NifBlock(owner, kind) {
    object_.name = stream->LengthText();
    object_.extraData = stream->Long();
    object_.timeController = stream->Long();
    object_.ReadPlacement(*stream);
    stream->LongVerify(0);  // Unknown_2
    shapeData_ = stream->Long();
    skinInstance_ = stream->Long();
}

void NiTriShape::ResolveLinks() {
    CheckLink(GetOwner(), LinkCheck::ExtraData, object_.extraData);
    CheckLink(GetOwner(), LinkCheck::TimeController, object_.timeController);
    CheckLink(GetOwner(), LinkCheck::TriShapeData, shapeData_);
    CheckLink(GetOwner(), LinkCheck::SkinInstance, skinInstance_);
    CheckLinks(GetOwner(), LinkCheck::Property, object_.properties);
}

void NiTriShape::LinkParents(ParentWalk& walk) { walk.Follow(Linked(skinInstance_)); }

int NiTriShape::IsShape() const { return 1; }

const NiTriShape* AsTriShape(const NifBlock* block) {
    return IsKind(block, BlockKind::NiTriShape) ? static_cast<const NiTriShape*>(block) : nullptr;
}

const NiTriShapeData* AsTriShapeData(const NifBlock* block) {
    return IsKind(block, BlockKind::NiTriShapeData) ? static_cast<const NiTriShapeData*>(block) : nullptr;
}

const NiTriShapeData* NiTriShape::ShapeData() const { return AsTriShapeData(Linked(shapeData_)); }

const NifBlock* NiTriShape::GeometrySource() const {
    const NifBlock* data = Linked(shapeData_);
    return IsKind(data, BlockKind::NiTriShape) ? nullptr : data;
}

int NiTriShape::GetNumberVertexes() const {
    const NifBlock* data = GeometrySource();
    return data ? data->GetNumberVertexes() : NifBlock::GetNumberVertexes();
}

NifVector NiTriShape::GetVertex(int vertex) const {
    const NifBlock* data = GeometrySource();
    return data ? data->GetVertex(vertex) : NifBlock::GetVertex(vertex);
}

int NiTriShape::HasUVCoords() const {
    const NifBlock* data = GeometrySource();
    return data ? data->HasUVCoords() : NifBlock::HasUVCoords();
}

NifTexCoord NiTriShape::GetUVCoord(int vertex, int set) const {
    const NifBlock* data = GeometrySource();
    return data ? data->GetUVCoord(vertex, set) : NifBlock::GetUVCoord(vertex, set);
}

int NiTriShape::GetNumberTriangles() const {
    const NifBlock* data = GeometrySource();
    return data ? data->GetNumberTriangles() : NifBlock::GetNumberTriangles();
}

uint16_t NiTriShape::GetTriangleIndex(int position) const {
    const NifBlock* data = GeometrySource();
    return data ? data->GetTriangleIndex(position) : NifBlock::GetTriangleIndex(position);
}

NifBlock* NiTriShape::LastPropertyOfKind(BlockKind kind) const {
    NifBlock* found = nullptr;
    for (int32_t index : object_.properties.indices) {
        NifBlock* property = Linked(index);
        if (IsKind(property, kind)) found = property;
    }
    return found;
}

NifBlock* NiTriShape::GetTexturingProperty() const { return LastPropertyOfKind(BlockKind::NiTexturingProperty); }

NifBlock* NiTriShape::GetMaterialProperty() const { return LastPropertyOfKind(BlockKind::NiMaterialProperty); }

const char* NiTriShape::GetId() const { return object_.name; }

void NiTriShape::GetLocalTransform(Matrix44& output) const { object_.LocalTransform(output); }

// ---------------------------------------------------------------- NiTriShapeData

NiTriShapeData::NiTriShapeData(BlockTable* owner, BlockKind kind, Qiv_Stream* stream) : NifBlock(owner, kind) {
    Qiv_Stream& s = *stream;
    vertexCount_ = s.Short();
    const int32_t hasVertices = s.Long();
    if (hasVertices != 0) vertices_ = s.Array<NifVector>(vertexCount_);
    const int32_t hasNormals = s.Long();
    if (hasNormals > 0) normals_ = s.Array<NifVector>(vertexCount_);
    ReadVector(s);  // bounding sphere centre
    s.Float();      // and radius
    const int32_t hasVertexColours = s.Long();
    if (hasVertexColours != 0) vertexColours_ = s.Array<NifColour>(vertexCount_);
    uvSetCount_ = s.Short();
    hasUV_ = s.Long();
    if (hasUV_ != 0) {
        const int64_t coordCount = int64_t(uvSetCount_) * vertexCount_;
        texCoords_ = s.Array<NifTexCoord>(coordCount);
    }
    triangleCount_ = s.Short();
    const int32_t pointCount = s.LongVerify(3 * triangleCount_);
    trianglePoints_ = s.Array<uint16_t>(pointCount).Bytes();
    const int matchGroupCount = s.Short();
    matchGroups_.ReadFrom(s, matchGroupCount, kShortBytes);
}

FileArray<uint16_t> MatchGroupReader::operator()(Qiv_Stream& stream) const { return stream.Array<uint16_t>(stream.Short()); }

void NiTriShapeData::ResolveLinks() {}

int NiTriShapeData::GetNumberVertexes() const { return vertexCount_; }

NifVector NiTriShapeData::GetVertex(int vertex) const { return VertexAt(vertex); }

int NiTriShapeData::HasUVCoords() const { return hasUV_; }

NifTexCoord NiTriShapeData::GetUVCoord(int vertex, int set) const { return UVCoordAt(vertex, set); }

int NiTriShapeData::GetNumberTriangles() const { return triangleCount_; }

uint16_t NiTriShapeData::GetTriangleIndex(int position) const { return TriangleIndexAt(position); }
