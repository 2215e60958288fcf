#include "exporter/nif4/node_blocks.h"

#include "exporter/nif4/invalid_param.h"

namespace {

constexpr uint16_t kNodeFlags = 0x000C;
constexpr uint16_t kShapeFlags = 0x0004;

}  // namespace

CNIF4_Node::CNIF4_Node(int32_t nodeNameLength, const char* name, int32_t numProperties, Nif4LinkArray&& properties,
                       int32_t numChildren, Nif4LinkArray&& children, int32_t numOthers, Nif4LinkArray&& others)
    : nodeNameLength_(nodeNameLength),
      numProperties_(numProperties),
      numChildren_(numChildren),
      numOthers_(numOthers) {
    if (nodeNameLength < 1) throw EInvalidParam("CNIF4_Node::CNIF4_Node: nodeNameLength less than 1");
    if (numProperties < 0) throw EInvalidParam("CNIF4_Node::CNIF4_Node: numProperties less than 0");
    if (numChildren < 0) throw EInvalidParam("CNIF4_Node::CNIF4_Node: numChildren less than 0");
    if (numOthers < 0) throw EInvalidParam("CNIF4_Node::CNIF4_Node: numOthers less than 0");
    SetTypeName(nif4::LengthOf(kTypeName), kTypeName);
    name_ = name ? name : "";
    properties_ = std::move(properties);
    children_ = std::move(children);
    others_ = std::move(others);
}

void CNIF4_Node::Write(Nif4Output& out) const {
    WriteTypeName(out);
    nif4::WriteNamedObjectHeader(out, nodeNameLength_, name_);
    nif4::WriteIdentityTransform(out, kNodeFlags);
    nif4::WriteLinkList(out, numProperties_, properties_.get());
    out.WriteInt32(0);  // no bounding box
    nif4::WriteLinkList(out, numChildren_, children_.get());
    nif4::WriteLinkList(out, numOthers_, others_.get());
}

CNIF4_TriShape::CNIF4_TriShape(int32_t triShapeNameLength, const char* name, int32_t numProperties,
                               Nif4LinkArray&& properties, int32_t dataLink)
    : triShapeNameLength_(triShapeNameLength), numProperties_(numProperties), dataLink_(dataLink) {
    if (triShapeNameLength < 1) {
        throw EInvalidParam("CNIF4_TriShape::CNIF4_TriShape: triShapeNameLength less than 1");
    }
    if (numProperties < 0) throw EInvalidParam("CNIF4_TriShape::CNIF4_TriShape: numProperties less than 0");
    if (numProperties >= 1 && !properties) {
        throw EInvalidParam("CNIF4_TriShape::CNIF4_TriShape: properties equals NULL");
    }
    SetTypeName(nif4::LengthOf(kTypeName), kTypeName);
    name_ = name ? name : "";
    properties_ = std::move(properties);
}

void CNIF4_TriShape::Write(Nif4Output& out) const {
    WriteTypeName(out);
    nif4::WriteNamedObjectHeader(out, triShapeNameLength_, name_);
    nif4::WriteIdentityTransform(out, kShapeFlags);
    nif4::WriteLinkList(out, numProperties_, properties_.get());
    out.WriteInt32(0);  // no bounding box
    out.WriteInt32(dataLink_);
    out.WriteInt32(-1);  // no skin instance
}
