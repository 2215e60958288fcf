// The scene container of one export: header, blocks in file order, footer.
//
// A block's position in the list is its block index in the file. Whoever
// fills the container gets each block's index from it, when appending or
// ahead of time by reserving a place (needed for a block whose index other
// blocks link to before it is built); the container never changes a link.
#pragma once

#include <cstddef>
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
    void Write(Nif4Output& out) const;

private:
    uint32_t numBlocks_ = 0;
};

// One root, block 0.
class CNIF4_Footer {
public:
    void Write(Nif4Output& out) const;
};

class CNIF4_File {
public:
    CNIF4_File() = default;
    ~CNIF4_File();
    CNIF4_File(const CNIF4_File&) = delete;
    CNIF4_File& operator=(const CNIF4_File&) = delete;

    // Each takes ownership; a header or footer set earlier is destroyed at once.
    void SetHeader(std::unique_ptr<CNIF4_Header> header);
    void SetFooter(std::unique_ptr<CNIF4_Footer> footer);
    // Appends at the end of the list and returns the block's index.
    int32_t AddBlock(std::unique_ptr<CNIF4_Block> block);
    // Inserts at the front: every block already held moves up one index.
    void AddBlockFirst(std::unique_ptr<CNIF4_Block> block);
    // Appends an empty place and returns its index; `PlaceBlock` fills it.
    int32_t ReserveBlock();
    // Puts `block` in the empty place `index` from `ReserveBlock`. Any other
    // index is a fault of the caller: the block is dropped and `Write`
    // refuses the file.
    void PlaceBlock(int32_t index, std::unique_ptr<CNIF4_Block> block);

    size_t BlockCount() const { return blocks_.size(); }
    // Null for a place reserved and not yet filled.
    const CNIF4_Block* BlockAt(size_t index) const { return blocks_[index].get(); }

    // Writes header (with the current block count), every block in list
    // order and the footer. False, with nothing written, when no header is
    // set, `out` is null, a reserved place is still empty or a block was
    // misplaced. False too when the bytes appended differ from the sum of
    // the parts' sizes (the file is then not to be used).
    bool Write(Nif4Output* out);
    // Bytes `Write` appends: header, every block and footer.
    uint64_t ByteSize() const;

private:
    bool Complete() const;

    std::unique_ptr<CNIF4_Header> header_;
    std::vector<std::unique_ptr<CNIF4_Block>> blocks_;
    std::unique_ptr<CNIF4_Footer> footer_;
    bool misplaced_ = false;
};
