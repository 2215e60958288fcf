// NifFile: the blocks of one NIF 4.0.0.2 file, loaded by the constructor.
//
// The load checks the header line and the version, reads the block count,
// creates one block per type name through the factory (each block reads its
// own fields), reads the footer, demands that no byte is left, runs every
// block's ResolveLinks in file order and then the parent walk from block 0
// (parent_walk.h).
// Any failure raises a TextException; reading errors and walk-bound errors
// are written to the debug printer first. The table owns every block.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "importer/nif/block_table.h"

class DebugPrinter;
class NifBlock;
class Qiv_Stream;

class NifFile : public BlockTable {
public:
    // Loads the whole file from an opened stream. Throws TextException.
    // `walkAnimationNodes` ("Apply scene transforms"): the parent walk enters
    // the children of NiBSAnimationNode and NiBSParticleNode too.
    explicit NifFile(Qiv_Stream* stream, bool walkAnimationNodes = false);
    ~NifFile();
    NifFile(const NifFile&) = delete;
    NifFile& operator=(const NifFile&) = delete;

    // Block 0, or null when the file has no block (a block count of 0 or less).
    NifBlock* GetRoot() const { return GetBlock(0); }

    const std::string& GetHeaderText() const { return headerText_; }
    int32_t GetVersion() const { return version_; }
    int32_t GetDeclaredBlockCount() const { return declaredBlockCount_; }
    // The footer's root list, kept as read and not checked; block 0 stays the root.
    int32_t GetRootCount() const { return rootCount_; }
    const std::vector<int32_t>& GetRootIndices() const { return rootIndices_; }

private:
    void ReadBlocks();
    void ReadFooter();
    void ResolveAllLinks();

    Qiv_Stream* stream_;
    std::string headerText_;
    int32_t version_ = 0;
    int32_t declaredBlockCount_ = 0;
    int32_t rootCount_ = 0;
    std::vector<int32_t> rootIndices_;
};
