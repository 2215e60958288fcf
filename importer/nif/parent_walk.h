// The parent walk: from a block down the links that make parents, giving
// every block it reaches its parent, marking bone nodes and applying skin
// bone data.
//
// The whole walk is here, iterative, with its own stack: the links it follows
// (a NiNode's or RootCollisionNode's children in list order, a NiTriShape's
// skin instance, a NiSkinInstance's skin data) and what it does on arriving
// at a block (a skin instance marks its bone nodes, skin data hands its bone
// records to the nodes its skin instance names). A block reached again is
// walked again. Every arrival counts against the table's bounds of depth
// (1,000) and visits (1,000,000).
#pragma once

class BlockTable;
class NifBlock;

// Walks from `start`. `countStart`: the start is an arrival of its own, at
// depth 1 (the load's walk from block 0); otherwise the blocks it links to
// are at depth 1.
void WalkParents(BlockTable& table, NifBlock* start, bool countStart);
