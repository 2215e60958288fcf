// The parent walk: from block 0 down the links that make parents, giving
// every block it reaches its parent, marking bone nodes and applying skin
// bone data.
//
// The walk is one loop with its own stack, bounded; what happens at a block
// is the block's own (its LinkParents): it does its part on arrival (a skin
// instance marks its bone nodes, skin data hands its bone records to the
// nodes its skin instance names) and hands the walk the blocks it is the
// parent of (a NiNode's or RootCollisionNode's children in list order, a
// NiTriShape's skin instance, a NiSkinInstance's skin data), which the walk
// then enters one after the other, depth first. A block reached again is
// walked again. Every arrival counts against the table's bounds of depth
// (1,000) and visits (1,000,000).
#pragma once

#include <cstddef>
#include <span>
#include <vector>

class BlockTable;
class NifBlock;

class ParentWalk {
public:
    // From a block's LinkParents: the blocks it is the parent of, in order.
    // The view is the block's own list and must stay valid while the walk is
    // below the block.
    void Follow(std::span<NifBlock* const> children);
    // One block it is the parent of, entered after any list; none is passed over.
    void Follow(NifBlock* child);

private:
    friend void WalkParents(BlockTable& table, NifBlock* root);

    struct Frame {
        NifBlock* block;
        std::span<NifBlock* const> children;
        NifBlock* lastChild = nullptr;
        size_t next = 0;  // the position of the next child to enter
    };

    // Arrives at `block`: a frame of its own, filled by its LinkParents.
    void Enter(NifBlock* block);
    // The next child of the innermost block, or none after its last.
    NifBlock* NextChild();

    std::vector<Frame> stack_;
};

// Walks from `root`, itself the first arrival, at depth 1.
void WalkParents(BlockTable& table, NifBlock* root);
