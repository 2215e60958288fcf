// The scene container of one export: header, blocks in file order, footer.
//
// A block's position in the list is its block index in the file. Links
// inside the blocks are computed by whoever fills the container, from the
// final positions; the container never changes a link.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "exporter/nif4/nif4_block.h"
#include "exporter/nif4/nif4_output.h"

// The header line, the version and the block count.
class CNIF4_Header {
public:
    void SetNumBlocks(uint32_t count) { numBlocks_ = count; }
    uint32_t NumBlocks() const { return numBlocks_; }
    bool Write(Nif4Output& out) const;
    static constexpr uint64_t kByteSize = 48;

private:
    uint32_t numBlocks_ = 0;
};

// One root, block 0.
class CNIF4_Footer {
public:
    bool Write(Nif4Output& out) const;
    static constexpr uint64_t kByteSize = 8;
};

class CNIF4_File {
public:
    CNIF4_File() = default;
    ~CNIF4_File();
    CNIF4_File(const CNIF4_File&) = delete;
    CNIF4_File& operator=(const CNIF4_File&) = delete;

    // Each takes ownership; a header or footer set earlier is destroyed at once.
    bool SetHeader(std::unique_ptr<CNIF4_Header> header);
    bool SetFooter(std::unique_ptr<CNIF4_Footer> footer);
    // Appends at the end of the list.
    bool AddBlock(std::unique_ptr<CNIF4_Block> block);
    // Inserts at the front: every block already held moves up one index.
    bool AddBlockFirst(std::unique_ptr<CNIF4_Block> block);

    size_t BlockCount() const { return blocks_.size(); }
    const CNIF4_Block* BlockAt(size_t index) const { return blocks_[index].get(); }

    // Writes header (with the current block count), every block in list
    // order and the footer. False, with nothing written, when no header is
    // set or `out` is null.
    bool Write(Nif4Output* out);
    // Bytes `Write` appends.
    uint64_t ByteSize() const;

private:
    std::unique_ptr<CNIF4_Header> header_;
    std::vector<std::unique_ptr<CNIF4_Block>> blocks_;
    std::unique_ptr<CNIF4_Footer> footer_;
};
