#include "importer/nif/parent_walk.h"

#include <vector>

#include "importer/nif/block_table.h"
#include "importer/nif/node_blocks.h"
#include "importer/nif/skin_blocks.h"

namespace {

struct Frame {
    NifBlock* block;
    size_t next;  // the position of the next link to follow
};

// The block at `position` among the links the walk follows from `block`, or none past the last.
NifBlock* Successor(NifBlock* block, size_t position) {
    if (block->HasTypeName("NiNode") || block->HasTypeName("RootCollisionNode")) {
        const std::vector<NifBlock*>& children = static_cast<NodeBlock*>(block)->WalkChildren();
        return position < children.size() ? children[position] : nullptr;
    }
    if (position != 0) return nullptr;
    if (block->HasTypeName("NiTriShape")) return static_cast<NiTriShape*>(block)->SkinInstanceBlock();
    if (block->HasTypeName("NiSkinInstance")) return static_cast<NiSkinInstance*>(block)->SkinDataBlock();
    return nullptr;
}

void Arrive(NifBlock* block) {
    if (block->HasTypeName("NiSkinInstance")) {
        static_cast<NiSkinInstance*>(block)->MarkBoneNodes();
    } else if (block->HasTypeName("NiSkinData")) {
        static_cast<NiSkinData*>(block)->ApplyBoneData();
    }
}

}  // namespace

void WalkParents(BlockTable& table, NifBlock* start, bool countStart) {
    const size_t depthOfStart = countStart ? 1 : 0;
    if (countStart) table.CountWalkArrival(depthOfStart);
    Arrive(start);
    std::vector<Frame> stack{{start, 0}};
    while (!stack.empty()) {
        NifBlock* parent = stack.back().block;
        NifBlock* child = Successor(parent, stack.back().next++);
        if (child == nullptr) {
            stack.pop_back();
            continue;
        }
        child->SetParent(parent);
        table.CountWalkArrival(depthOfStart + stack.size());
        Arrive(child);
        stack.push_back({child, 0});
    }
}
