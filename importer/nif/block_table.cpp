#include "importer/nif/block_table.h"

#include "importer/nif/block_factory.h"
#include "importer/nif/debug_printer.h"
#include "importer/nif/messages.h"
#include "importer/nif/nif_block.h"
#include "importer/nif/text_exception.h"

using namespace nif_messages;

BlockTable::~BlockTable() {
    for (NifBlock* block : table_) {
        if (block) block->~NifBlock();
    }
}

NifBlock* BlockTable::AddBlock(const std::string& typeName, Qiv_Stream* stream) {
    // The entry is taken first, so that a block that exists is always in the
    // table, whose destructor ends its life.
    table_.push_back(nullptr);
    table_.back() = CreateBlock(blockMemory_, this, typeName, stream);
    return table_.back();
}

void BlockTable::WriteLinkWarning(const char* message, const char* typeName) {
    if (linkWarningsWritten_ >= kMaxLinkWarningLines) {
        ++linkWarningsHidden_;
        return;
    }
    ++linkWarningsWritten_;
    if (!debugPrinter_) return;
    debugPrinter_->PrintText(message);
    debugPrinter_->PrintText(typeName);
    debugPrinter_->EndLine();
}

void BlockTable::WriteHiddenLinkWarnings() {
    if (linkWarningsHidden_ != 0 && debugPrinter_) debugPrinter_->WriteLine(FormatText(kFurtherLinkWarnings, linkWarningsHidden_));
}

void BlockTable::CountWalkArrival(size_t depth) {
    ++walkVisits_;
    const char* failure = depth > static_cast<size_t>(kMaxWalkDepth) ? kNestedTooDeeply
                          : walkVisits_ > kMaxWalkVisits                ? kTooManyVisits
                                                                        : nullptr;
    if (!failure) return;
    if (debugPrinter_) debugPrinter_->WriteLine(failure);
    throw TextException(failure);
}
