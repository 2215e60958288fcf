// The factory: one exact, case-sensitive type name per block class.
#pragma once

#include <memory>
#include <string>

class NifBlock;
class BlockTable;
class Qiv_Stream;

// Creates the block named `typeName`, which reads its fields from `stream`
// and knows its kind from then on; returns null when no class has that name.
std::unique_ptr<NifBlock> CreateBlock(BlockTable* owner, const std::string& typeName, Qiv_Stream* stream);
