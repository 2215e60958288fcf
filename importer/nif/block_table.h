// BlockTable: what a block sees of the file that holds it.
//
// Blocks follow their links by index through the table, write link warnings
// and show boxes through its debug printer, and the parent walk keeps its
// bounds here. NifFile fills the table as it loads; this header needs no
// block class, so blocks and the file do not depend on each other.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "importer/nif/block_arena.h"

class DebugPrinter;
class NifBlock;
class Qiv_Stream;

class BlockTable {
public:
    // The most link-type warning lines written in one load; later ones are only counted.
    static constexpr int kMaxLinkWarningLines = 100;
    // Bounds of the parent-linking walk (block 0 is at depth 1 and is the first visit).
    static constexpr int kMaxWalkDepth = 1000;
    static constexpr long kMaxWalkVisits = 1000000;

    explicit BlockTable(DebugPrinter* printer) : debugPrinter_(printer) {}
    ~BlockTable();  // destroys the blocks of the table
    BlockTable(const BlockTable&) = delete;
    BlockTable& operator=(const BlockTable&) = delete;

    // The block at `index`, or null when the index names no block.
    NifBlock* GetBlock(int index) const {
        if (index < 0 || static_cast<size_t>(index) >= table_.size()) return nullptr;
        return table_[static_cast<size_t>(index)];
    }
    // The number of blocks read: the block count, or 0 when it was 0 or less.
    int GetBlockCount() const { return static_cast<int>(table_.size()); }
    DebugPrinter* GetDebugPrinter() const { return debugPrinter_; }
    // Memory that lives as long as the blocks, for what a block gathers later.
    BlockArena& BlockMemory() { return blockMemory_; }

    // Called by the link checks of ResolveLinks: one warning line, "message"
    // followed by the linked block's type name, within the per-load cap.
    void WriteLinkWarning(const char* message, const char* typeName);
    // After the link checks: the count of the warnings held back, as one line.
    void WriteHiddenLinkWarnings();

    // The parent walk's arrivals: counts one at `depth` and fails (a line on
    // the debug printer, then a TextException) beyond the bounds.
    void CountWalkArrival(size_t depth);
    // Skin data applications during the walk: the stamp changes with each one.
    unsigned long BoneDataStamp() const { return boneDataStamp_; }
    unsigned long NextBoneDataStamp() { return ++boneDataStamp_; }
    // "Apply scene transforms": the parent walk enters NiBSAnimationNode and
    // NiBSParticleNode children as it enters a NiNode's.
    bool WalksAnimationNodes() const { return walksAnimationNodes_; }

protected:
    void SetWalksAnimationNodes(bool walks) { walksAnimationNodes_ = walks; }
    // Creates the block named `typeName` in the table's arena and appends it
    // to the table; returns it, or null when no class has that name (the
    // null entry stays: the load fails on it).
    NifBlock* AddBlock(const std::string& typeName, Qiv_Stream* stream);
    // One pointer per block and no second list, as a block may take fewer
    // than 30 bytes of the file. Filled only through AddBlock.
    std::vector<NifBlock*> table_;

private:
    // The blocks' memory: the destructor's body ends every block's life, then
    // the arena is freed with the table.
    BlockArena blockMemory_;
    DebugPrinter* debugPrinter_;
    int linkWarningsWritten_ = 0;
    int linkWarningsHidden_ = 0;
    long walkVisits_ = 0;
    unsigned long boneDataStamp_ = 0;
    bool walksAnimationNodes_ = false;
};
