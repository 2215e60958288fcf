#include "importer/nif/nif_file.h"

#include <algorithm>

#include "importer/nif/block_factory.h"
#include "importer/nif/diagnostics.h"
#include "importer/nif/messages.h"
#include "importer/nif/nif_block.h"
#include "importer/nif/qiv_stream.h"

using namespace nif_messages;

namespace {

constexpr int32_t kVersion4002 = 0x04000002;
// Type names longer than this are not repeated in the unknown-type message.
constexpr size_t kMaxShownTypeNameLength = 100;
// Every block starts with the 4-byte length of its type name.
constexpr size_t kSmallestBlockBytes = 4;

}  // namespace

NifFile::NifFile(Qiv_Stream* stream) : stream_(stream), printer_(stream->GetPrinter()) {
    headerText_ = stream_->StringUptoVerify('\n', kHeaderLine);
    version_ = stream_->LongVerify(kVersion4002);
    declaredBlockCount_ = stream_->Long();
    ReadBlocks();
    ReadFooter();
    stream_->CheckFinished();
    ResolveAllLinks();
    if (NifBlock* root = GetRoot()) ArriveAndLinkParents(root);
}

NifFile::~NifFile() = default;

NifBlock* NifFile::GetBlock(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= blocks_.size()) return nullptr;
    return blocks_[static_cast<size_t>(index)].get();
}

NifBlock* NifFile::GetRoot() const { return GetBlock(0); }

int NifFile::GetBlockCount() const { return static_cast<int>(blocks_.size()); }

void NifFile::ReadBlocks() {
    if (declaredBlockCount_ <= 0) return;
    // The table grows as blocks are read; the count is only a claim of the file.
    blocks_.reserve(std::min(static_cast<size_t>(declaredBlockCount_), stream_->EntriesThatFit(kSmallestBlockBytes)));
    for (int32_t i = 0; i < declaredBlockCount_; ++i) {
        const std::string typeName = stream_->LengthString();
        std::unique_ptr<NifBlock> block = CreateBlock(this, typeName, stream_);
        if (!block) {
            const char* shown = typeName.size() > kMaxShownTypeNameLength ? kUnknownNamePlaceholder : typeName.c_str();
            stream_->ReportError(FormatText(kUnknownBlockType, shown));
        }
        blocks_.push_back(std::move(block));
    }
}

void NifFile::ReadFooter() {
    rootCount_ = stream_->Long();
    if (rootCount_ <= 0) return;
    rootIndices_.reserve(std::min(static_cast<size_t>(rootCount_), stream_->EntriesThatFit(4)));
    for (int32_t i = 0; i < rootCount_; ++i) rootIndices_.push_back(stream_->Long());
}

void NifFile::ResolveAllLinks() {
    for (size_t i = 0; i < blocks_.size(); ++i) {
        blocks_[i]->SetBlockIndex(static_cast<int>(i));
        blocks_[i]->ResolveLinks();
    }
    if (linkWarningsHidden_ != 0 && printer_) {
        printer_->WriteLine(FormatText(kFurtherLinkWarnings, linkWarningsHidden_));
    }
}

void NifFile::WriteLinkWarning(const char* message, const char* typeName) {
    if (linkWarningsWritten_ >= kMaxLinkWarningLines) {
        ++linkWarningsHidden_;
        return;
    }
    ++linkWarningsWritten_;
    if (!printer_) return;
    printer_->PrintText(message);
    printer_->PrintText(typeName);
    printer_->EndLine();
}

void NifFile::LinkChild(NifBlock* parent, NifBlock* child) {
    child->SetParent(parent);
    ArriveAndLinkParents(child);
}

void NifFile::ArriveAndLinkParents(NifBlock* block) {
    ++walkVisits_;
    ++walkDepth_;
    if (walkDepth_ > kMaxWalkDepth) stream_->ReportError(kNestedTooDeeply);
    if (walkVisits_ > kMaxWalkVisits) stream_->ReportError(kTooManyVisits);
    block->LinkParents();
    --walkDepth_;
}
