#include "importer/nif/nif_file.h"

#include <algorithm>

#include "importer/nif/messages.h"
#include "importer/nif/nif_block.h"
#include "importer/nif/parent_walk.h"
#include "importer/nif/qiv_stream.h"

using namespace nif_messages;

namespace {

constexpr int32_t kVersion4002 = 0x04000002;
// Type names longer than this are not repeated in the unknown-type message.
constexpr size_t kMaxShownTypeNameLength = 100;
// Every block starts with the 4-byte length of its type name.
constexpr size_t kSmallestBlockBytes = 4;

}  // namespace

NifFile::NifFile(Qiv_Stream* stream, bool walkAnimationNodes) : BlockTable(stream->GetDebugPrinter()), stream_(stream) {
    SetWalksAnimationNodes(walkAnimationNodes);
    headerText_ = stream_->StringUptoVerify('\n', kHeaderLine);
    version_ = stream_->LongVerify(kVersion4002);
    declaredBlockCount_ = stream_->Long();
    ReadBlocks();
    ReadFooter();
    stream_->CheckFinished();
    ResolveAllLinks();
    if (NifBlock* root = GetRoot()) WalkParents(*this, root);
}

NifFile::~NifFile() = default;

void NifFile::ReadBlocks() {
    if (declaredBlockCount_ <= 0) return;
    // The table grows as blocks are read; the count is only a claim of the file.
    const size_t fit = std::min(static_cast<size_t>(declaredBlockCount_), stream_->EntriesThatFit(kSmallestBlockBytes));
    table_.reserve(fit);
    for (int32_t i = 0; i < declaredBlockCount_; ++i) {
        const std::string typeName = stream_->LengthString();
        if (!AddBlock(typeName, stream_)) {
            const char* shown = typeName.size() > kMaxShownTypeNameLength ? kUnknownNamePlaceholder : typeName.c_str();
            stream_->ReportError(FormatText(kUnknownBlockType, shown));
        }
    }
}

void NifFile::ReadFooter() {
    rootCount_ = stream_->Long();
    if (rootCount_ <= 0) return;
    rootIndices_.reserve(std::min(static_cast<size_t>(rootCount_), stream_->EntriesThatFit(4)));
    for (int32_t i = 0; i < rootCount_; ++i) rootIndices_.push_back(stream_->Long());
}

void NifFile::ResolveAllLinks() {
    for (size_t i = 0; i < table_.size(); ++i) {
        table_[i]->SetBlockIndex(static_cast<int>(i));
        table_[i]->ResolveLinks();
    }
    WriteHiddenLinkWarnings();
}
