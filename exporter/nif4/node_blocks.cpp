#include "exporter/nif4/node_blocks.h"

#include "exporter/nif4/invalid_param.h"

namespace {

constexpr uint16_t kNodeFlags = 0x000C;
constexpr uint16_t kShapeFlags = 0x0004;

}  // namespace

CNIF4_Node::CNIF4_Node(int32_t nodeNameLength, const char* name, int32_t numProperties, Nif4LinkArray&& properties,
                       int32_t numChildren, Nif4LinkArray&& children, int32_t numOthers, Nif4LinkArray&& others)
    : m_nodeNameLength(nodeNameLength),
      m_numProperties(numProperties),
      m_numChildren(numChildren),
      m_numOthers(numOthers) {
    if (nodeNameLength < 1) throw EInvalidParam("CNIF4_Node::CNIF4_Node: nodeNameLength less than 1");
    if (numProperties < 0) throw EInvalidParam("CNIF4_Node::CNIF4_Node: numProperties less than 0");
    if (numChildren < 0) throw EInvalidParam("CNIF4_Node::CNIF4_Node: numChildren less than 0");
    if (numOthers < 0) throw EInvalidParam("CNIF4_Node::CNIF4_Node: numOthers less than 0");
    SetTypeName(6, "NiNode");
    m_name = name ? name : "";
    m_properties = std::move(properties);
    m_children = std::move(children);
    m_others = std::move(others);
}

bool CNIF4_Node::Write(Nif4Output& out) const {
    WriteTypeName(out);
    nif4::WriteNamedObjectHeader(out, m_nodeNameLength, m_name);
    nif4::WriteIdentityTransform(out, kNodeFlags);
    nif4::WriteLinkList(out, m_numProperties, m_properties.get());
    out.WriteInt32(0);  // no bounding box
    nif4::WriteLinkList(out, m_numChildren, m_children.get());
    nif4::WriteLinkList(out, m_numOthers, m_others.get());
    return true;
}

uint64_t CNIF4_Node::ByteSize() const {
    return TypeNameSize() + nif4::CountedTextSize(m_nodeNameLength) + 8 + nif4::kTransformSize +
           nif4::LinkListSize(m_numProperties) + 4 + nif4::LinkListSize(m_numChildren) +
           nif4::LinkListSize(m_numOthers);
}

CNIF4_TriShape::CNIF4_TriShape(int32_t triShapeNameLength, const char* name, int32_t numProperties,
                               Nif4LinkArray&& properties, int32_t dataLink)
    : m_triShapeNameLength(triShapeNameLength), m_numProperties(numProperties), m_dataLink(dataLink) {
    if (triShapeNameLength < 1) {
        throw EInvalidParam("CNIF4_TriShape::CNIF4_TriShape: triShapeNameLength less than 1");
    }
    if (numProperties < 0) throw EInvalidParam("CNIF4_TriShape::CNIF4_TriShape: numProperties less than 0");
    if (numProperties >= 1 && !properties) {
        throw EInvalidParam("CNIF4_TriShape::CNIF4_TriShape: properties equals NULL");
    }
    SetTypeName(10, "NiTriShape");
    m_name = name ? name : "";
    m_properties = std::move(properties);
}

bool CNIF4_TriShape::Write(Nif4Output& out) const {
    WriteTypeName(out);
    nif4::WriteNamedObjectHeader(out, m_triShapeNameLength, m_name);
    nif4::WriteIdentityTransform(out, kShapeFlags);
    nif4::WriteLinkList(out, m_numProperties, m_properties.get());
    out.WriteInt32(0);  // no bounding box
    out.WriteInt32(m_dataLink);
    out.WriteInt32(-1);  // no skin instance
    return true;
}

uint64_t CNIF4_TriShape::ByteSize() const {
    return TypeNameSize() + nif4::CountedTextSize(m_triShapeNameLength) + 8 + nif4::kTransformSize +
           nif4::LinkListSize(m_numProperties) + 12;
}
