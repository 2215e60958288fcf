#include "importer/nif/parent_walk.h"

#include "importer/nif/block_table.h"
#include "importer/nif/nif_block.h"

void ParentWalk::Follow(std::span<NifBlock* const> children) {
    if (!stack_.empty()) stack_.back().children = children;
}

void ParentWalk::Follow(NifBlock* child) {
    if (!stack_.empty()) stack_.back().lastChild = child;
}

void ParentWalk::Enter(NifBlock* block) {
    stack_.push_back({block, {}});
    block->LinkParents(*this);
}

NifBlock* ParentWalk::NextChild() {
    Frame& frame = stack_.back();
    const size_t position = frame.next++;
    if (position < frame.children.size()) return frame.children[position];
    return position == frame.children.size() ? frame.lastChild : nullptr;
}

void WalkParents(BlockTable& table, NifBlock* root) {
    ParentWalk walk;
    table.CountWalkArrival(1);
    walk.Enter(root);
    while (!walk.stack_.empty()) {
        NifBlock* child = walk.NextChild();
        if (child == nullptr) {
            walk.stack_.pop_back();
            continue;
        }
        child->SetParent(walk.stack_.back().block);
        table.CountWalkArrival(walk.stack_.size() + 1);
        walk.Enter(child);
    }
}
