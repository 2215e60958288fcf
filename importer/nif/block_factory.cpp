#include "importer/nif/block_factory.h"

#include <cstring>

#include "importer/nif/nif_block.h"

namespace {

using Constructor = std::unique_ptr<NifBlock> (*)(NifFile*, const char*, Qiv_Stream*);

template <class Block>
std::unique_ptr<NifBlock> Construct(NifFile* owner, const char* typeName, Qiv_Stream* stream) {
    return std::make_unique<Block>(owner, typeName, stream);
}

struct FactoryEntry {
    const char* typeName;
    Constructor construct;
};

// The whole vocabulary of the reader. Every other name is rejected.
const FactoryEntry kFactoryTable[] = {
    {"", nullptr},
};

}  // namespace

std::unique_ptr<NifBlock> CreateBlock(NifFile* owner, const std::string& typeName, Qiv_Stream* stream) {
    for (const FactoryEntry& entry : kFactoryTable) {
        if (entry.construct && std::strcmp(entry.typeName, typeName.c_str()) == 0) {
            return entry.construct(owner, typeName.c_str(), stream);
        }
    }
    return nullptr;
}
