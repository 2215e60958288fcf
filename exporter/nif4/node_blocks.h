// The scene-graph blocks the exporter writes: NiNode and NiTriShape.
//
// Ownership of link arrays: the constructors take them as rvalue
// references and move from them only after every argument check passed.
// A constructor that throws EInvalidParam therefore leaves the caller's
// arrays with the caller; one that succeeds owns them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "exporter/nif4/nif4_block.h"

using Nif4LinkArray = std::unique_ptr<int32_t[]>;

// "NiNode": a named node with property, child and effect ("other") links.
// Each array must hold at least as many entries as its count.
class CNIF4_Node : public CNIF4_Block {
public:
    static constexpr char kTypeName[] = "NiNode";

    CNIF4_Node(int32_t nodeNameLength, const char* name, int32_t numProperties, Nif4LinkArray&& properties,
               int32_t numChildren, Nif4LinkArray&& children, int32_t numOthers, Nif4LinkArray&& others);

    void Write(Nif4Output& out) const override;

private:
    int32_t nodeNameLength_;
    std::string name_;
    int32_t numProperties_;
    Nif4LinkArray properties_;
    int32_t numChildren_;
    Nif4LinkArray children_;
    int32_t numOthers_;
    Nif4LinkArray others_;
};

// "NiTriShape": a named shape with property links and one geometry-data link.
class CNIF4_TriShape : public CNIF4_Block {
public:
    static constexpr char kTypeName[] = "NiTriShape";

    CNIF4_TriShape(int32_t triShapeNameLength, const char* name, int32_t numProperties, Nif4LinkArray&& properties,
                   int32_t dataLink);

    void Write(Nif4Output& out) const override;

private:
    int32_t triShapeNameLength_;
    std::string name_;
    int32_t numProperties_;
    Nif4LinkArray properties_;
    int32_t dataLink_;
};
