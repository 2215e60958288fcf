// NifFile: the blocks of one NIF 4.0.0.2 file, loaded by the constructor.
//
// The load checks the header line and the version, reads the block count,
// creates one block per type name through the factory (each block reads its
// own fields), reads the footer, demands that no byte is left, runs every
// block's ResolveLinks in file order and then LinkParents from block 0.
// Any failure raises a TextException; reading errors and walk-bound errors
// are written to the debug printer first. The NifFile owns every block.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Diagnostics;
class NifBlock;
class Qiv_Stream;

class NifFile {
public:
    // The most link-type warning lines written in one load; later ones are only counted.
    static constexpr int kMaxLinkWarningLines = 100;
    // Bounds of the parent-linking walk (block 0 is at depth 1 and is the first visit).
    static constexpr int kMaxWalkDepth = 1000;
    static constexpr long kMaxWalkVisits = 1000000;

    // Loads the whole file from an opened stream. Throws TextException.
    explicit NifFile(Qiv_Stream* stream);
    ~NifFile();
    NifFile(const NifFile&) = delete;
    NifFile& operator=(const NifFile&) = delete;

    // The block at `index`, or null when the index names no block.
    NifBlock* GetBlock(int index) const;
    // Block 0, or null when the file has no block (a block count of 0 or less).
    NifBlock* GetRoot() const;
    // The number of blocks read: the block count, or 0 when it was 0 or less.
    int GetBlockCount() const;

    const std::string& GetHeaderText() const { return headerText_; }
    int32_t GetVersion() const { return version_; }
    int32_t GetDeclaredBlockCount() const { return declaredBlockCount_; }
    // The footer's root list, kept as read and not checked; block 0 stays the root.
    int32_t GetRootCount() const { return rootCount_; }
    const std::vector<int32_t>& GetRootIndices() const { return rootIndices_; }
    Diagnostics* GetPrinter() const { return printer_; }

    // Called by the link checks of ResolveLinks: one warning line, "message"
    // followed by the linked block's type name, within the per-load cap.
    void WriteLinkWarning(const char* message, const char* typeName);
    // Called by LinkParents: makes `parent` the parent of `child`, counts the
    // arrival against the walk bounds, and passes the walk on to `child`.
    void LinkChild(NifBlock* parent, NifBlock* child);
    // Skin data applications during the walk: the stamp changes with each one.
    unsigned long BoneDataStamp() const { return boneDataStamp_; }
    unsigned long NextBoneDataStamp() { return ++boneDataStamp_; }

private:
    void ReadBlocks();
    void ReadFooter();
    void ResolveAllLinks();
    void ArriveAndLinkParents(NifBlock* block);

    Qiv_Stream* stream_;
    Diagnostics* printer_;
    std::string headerText_;
    int32_t version_ = 0;
    int32_t declaredBlockCount_ = 0;
    std::vector<std::unique_ptr<NifBlock>> blocks_;
    int32_t rootCount_ = 0;
    std::vector<int32_t> rootIndices_;

    int linkWarningsWritten_ = 0;
    int linkWarningsHidden_ = 0;
    int walkDepth_ = 0;
    long walkVisits_ = 0;
    unsigned long boneDataStamp_ = 0;
};
