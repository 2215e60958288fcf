// The factory: one exact, case-sensitive type name per block class.
#pragma once

#include <string>

class BlockArena;
class NifBlock;
class BlockTable;
class Qiv_Stream;

// Creates the block named `typeName`, which reads its fields from `stream`
// and knows its kind from then on; returns null when no class has that name.
// The block lives in `arena`: its owner calls its destructor, and the arena
// frees its memory.
NifBlock* CreateBlock(BlockArena& arena, BlockTable* owner, const std::string& typeName, Qiv_Stream* stream);
