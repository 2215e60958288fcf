#include "exporter/nif4/nif4_file.h"

#include <cstdint>
#include <cstring>

namespace {

// The header line and the version, written as one run.
constexpr char kHeaderLine[] = "NetImmerse File Format, Version 4.0.0.2\n";
constexpr uint32_t kVersion = 0x04000002;

// Bytes a header or footer writes.
template <class Part>
uint64_t SizeOf(const Part& part) {
    Nif4Output counter = Nif4Output::Counter();
    part.Write(counter);
    return counter.Length();
}

}  // namespace

void CNIF4_Header::Write(Nif4Output& out) const {
    static_assert(sizeof kHeaderLine - 1 == 40);
    uint8_t run[44];
    std::memcpy(run, kHeaderLine, 40);
    for (int i = 0; i < 4; ++i) run[40 + i] = static_cast<uint8_t>(kVersion >> (8 * i));
    out.WriteBytes(run, sizeof run);
    out.WriteUInt32(numBlocks_);
}

void CNIF4_Footer::Write(Nif4Output& out) const {
    out.WriteUInt32(1);  // one root
    out.WriteInt32(0);   // block 0 is the root
}

CNIF4_File::~CNIF4_File() {
    header_.reset();
    footer_.reset();
    for (auto& block : blocks_) block.reset();
}

void CNIF4_File::SetHeader(std::unique_ptr<CNIF4_Header> header) { header_ = std::move(header); }

void CNIF4_File::SetFooter(std::unique_ptr<CNIF4_Footer> footer) { footer_ = std::move(footer); }

int32_t CNIF4_File::AddBlock(std::unique_ptr<CNIF4_Block> block) {
    blocks_.push_back(std::move(block));
    return static_cast<int32_t>(blocks_.size() - 1);
}

void CNIF4_File::AddBlockFirst(std::unique_ptr<CNIF4_Block> block) { blocks_.insert(blocks_.begin(), std::move(block)); }

int32_t CNIF4_File::ReserveBlock() { return AddBlock(nullptr); }

void CNIF4_File::PlaceBlock(int32_t index, std::unique_ptr<CNIF4_Block> block) {
    if (index < 0 || static_cast<size_t>(index) >= blocks_.size() || blocks_[static_cast<size_t>(index)]) {
        misplaced_ = true;
        return;
    }
    blocks_[static_cast<size_t>(index)] = std::move(block);
}

bool CNIF4_File::Complete() const {
    if (misplaced_) return false;
    for (const auto& block : blocks_) {
        if (!block) return false;
    }
    return true;
}

bool CNIF4_File::Write(Nif4Output* out) {
    if (!header_ || !out || !Complete()) return false;
    header_->SetNumBlocks(static_cast<uint32_t>(blocks_.size()));
    const uint64_t size = ByteSize();
    const uint64_t start = out->Length();
    if (size <= SIZE_MAX - out->Size()) out->Reserve(out->Size() + static_cast<size_t>(size));
    header_->Write(*out);
    for (const auto& block : blocks_) block->Write(*out);
    // The root record is the same whether or not a footer object was set.
    const CNIF4_Footer standIn;
    (footer_ ? *footer_ : standIn).Write(*out);
    return out->Length() - start == size;
}

uint64_t CNIF4_File::ByteSize() const {
    uint64_t size = header_ ? SizeOf(*header_) : SizeOf(CNIF4_Header());
    for (const auto& block : blocks_) {
        if (block) size += block->ByteSize();
    }
    return size + SizeOf(footer_ ? *footer_ : CNIF4_Footer());
}
