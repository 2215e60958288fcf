// Files to damage in the hostile tests, and what a clean failure looks like.
#pragma once

#include <string>
#include <vector>

namespace hostile {

struct NamedFile {
    std::string name;
    std::vector<unsigned char> bytes;
};

// The generated files and the project's sample files (written by the build).
std::vector<NamedFile> GeneratedAndSampleFiles();

// The 27 type names the reader knows.
const std::vector<std::string>& KnownTypeNames();

// For each known type that some file of the shared corpus holds: the smallest
// shared file whose types are all known and that holds it (several types may
// name the same file). Empty when the corpus is absent.
struct TypeExample {
    std::string typeName;
    NamedFile file;
};
std::vector<TypeExample> SmallestSharedFilePerType();

// Where the blocks of a loadable file start: the offset of each block's
// type-name length, in file order, found by looking for the known names.
struct BlockSpan {
    std::string typeName;
    size_t nameStart;  // offset of the type name's length
    size_t bodyStart;  // first byte after the type name
    size_t end;        // the next block's nameStart, or where the footer starts
};
std::vector<BlockSpan> FindBlocks(const std::vector<unsigned char>& bytes);

// True when `text` is one of the reader's failure messages (any inserted values).
bool IsReaderMessage(const std::string& text);

}  // namespace hostile
