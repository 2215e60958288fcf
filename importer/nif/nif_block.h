// NifBlock: the abstract base of every block object the reader creates.
//
// Each block class reads its own fields in its constructor, in file order.
// The load then sets each block's index and calls ResolveLinks (link type
// checks, warnings only), and then the parent walk from block 0, which asks
// each block it reaches for its LinkParents (parents, bone marks, skin bone
// data). The conversion asks blocks the questions below without knowing
// their class; a question asked of a block whose kind lacks it answers with
// a neutral value, and some show an "ARGH" message box.
//
// Links are kept as block indices and looked up through the owning file's BlockTable
// each time they are followed; an index that names no block is "none".
#pragma once

#include <cstdint>

#include "importer/transform/matrix44.h"
#include "importer/nif/block_kind.h"
#include "importer/nif/file_array.h"
#include "importer/nif/records.h"

class BlockTable;
class DebugPrinter;
class ParentWalk;
class Qiv_Stream;

class NifBlock {
public:
    // `kind` is the type name the factory read, as its kind.
    NifBlock(BlockTable* owner, BlockKind kind);
    NifBlock(const NifBlock&) = delete;
    NifBlock& operator=(const NifBlock&) = delete;

    // The 28 operations, in slot order.
    /* 0 */ virtual ~NifBlock();
    /* 1 */ virtual void ResolveLinks() = 0;
    /* 2 */ virtual void Dump(DebugPrinter* printer) const;  // writes nothing
    // The parent walk arrived here: the block does its own part (bone marks,
    // bone data) and hands `walk` the blocks it is the parent of, which the
    // walk enters in turn (parent_walk.h).
    /* 3 */ virtual void LinkParents(ParentWalk& walk);       // nothing
    /* 4 */ virtual int IsShape() const;                      // 0
    /* 5 */ virtual int GetNumberVertexes() const;            // box "GetNumberVertexes"/"ARGH"; 0
    /* 6 */ virtual NifVector GetVertex(int vertex) const;  // zero vector
    /* 7 */ virtual int HasUVCoords() const;                  // box "HasUVCoords"/"ARGH"; 0
    /* 8 */ virtual NifTexCoord GetUVCoord(int vertex, int set) const;  // zero pair
    /* 9 */ virtual int GetNumberChildren() const;            // 0
    /* 10 */ virtual NifBlock* GetChild(int position) const;  // none
    /* 11 */ virtual int GetNumberTriangles() const;          // 0
    /* 12 */ virtual uint16_t GetTriangleIndex(int position) const;  // 0
    /* 13 */ virtual NifBlock* GetTexturingProperty() const;  // none
    /* 14 */ virtual NifBlock* GetMaterialProperty() const;   // none
    /* 15 */ virtual const NifColour& GetAmbientColour() const;   // shared zero
    /* 16 */ virtual const NifColour& GetDiffuseColour() const;   // shared zero
    /* 17 */ virtual const NifColour& GetSpecularColour() const;  // shared zero
    /* 18 */ virtual const NifColour& GetEmissiveColour() const;  // shared zero
    /* 19 */ virtual float GetGlossiness() const;             // 0
    /* 20 */ virtual float GetAlpha() const;                  // 0
    /* 21 */ virtual const char* getFileName() const;         // box "getFileName"/"ARGH"; none (null)
    /* 22 */ virtual const char* GetId() const;               // box type name/"GetId - ARGH"; none (null)
    /* 23 */ virtual void GetLocalTransform(Matrix44& output) const;  // identity
    /* 24 */ virtual void GetTransformAtTime(float time, Matrix44& output) const;  // identity
    /* 25 */ virtual void SetBoneData(const NifVector& translation, const Matrix33& rotation);  // box type name/"SetBoneData - ARGH"
    /* 26 */ virtual NifBlock* GetBoneBlock(int bone) const;  // box type name/"GetBoneBlock - ARGH"; none
    /* 27 */ virtual void GetBoneMatrix(Matrix44& output) const;  // box type name/"GetBoneMatrix - ARGH"; identity

    const char* GetTypeName() const { return TypeNameOf(kind_); }
    BlockKind Kind() const { return kind_; }
    NifBlock* GetParent() const { return Linked(parentIndex_); }
    bool IsBone() const { return (indexAndBone_ & kBoneBit) != 0; }
    int GetBlockIndex() const { return static_cast<int>(indexAndBone_ & ~kBoneBit) - 1; }
    BlockTable* GetOwner() const { return owner_; }

    // Set by the load: the block that links to this one as a child, skin
    // instance or skin data (it must have its index already); the bone
    // mark; the block's own position (0 to the largest int32 less one).
    void SetParent(NifBlock* parent) { parentIndex_ = parent ? parent->GetBlockIndex() : -1; }
    void MarkBone() { indexAndBone_ |= kBoneBit; }
    void SetBlockIndex(int index) { indexAndBone_ = (indexAndBone_ & kBoneBit) | (static_cast<uint32_t>(index) + 1); }

protected:
    // Shows a base answer's box through the load's debug printer.
    void ShowQuestionBox(const char* text, const char* caption) const;
    // The block a link names, or none (-1, or any index that names no block).
    NifBlock* Linked(int32_t index) const;

    // The neutral answers of the base, shared by every block.
    static const NifVector kZeroVector;
    static const NifTexCoord kZeroTexCoord;
    static const NifColour kZeroColour;

private:
    static constexpr uint32_t kBoneBit = 0x80000000u;

    // A block is small in the file (some take under 30 bytes), and a file
    // may hold nothing else: the fields every block carries come to 25 bytes
    // with the class's table pointer on a 64-bit build, and a class's own
    // fields may start in the padding after them. The parent is kept as its index; the block's own
    // index plus one shares a word with the bone mark, so 0 there means "not
    // set yet" (-1).
    BlockTable* owner_;
    int32_t parentIndex_ = -1;
    uint32_t indexAndBone_ = 0;
    BlockKind kind_;
};
