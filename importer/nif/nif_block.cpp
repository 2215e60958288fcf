#include "importer/nif/nif_block.h"

#include "importer/nif/messages.h"
#include "importer/nif/block_table.h"
#include "importer/nif/debug_printer.h"
#include "platform/platform.h"

using namespace nif_messages;

const NifVector NifBlock::kZeroVector{};
const NifTexCoord NifBlock::kZeroTexCoord{};
const NifColour NifBlock::kZeroColour{};

NifBlock::NifBlock(BlockTable* owner, BlockKind kind) : owner_(owner), kind_(kind) {}

NifBlock::~NifBlock() = default;

NifBlock* NifBlock::Linked(int32_t index) const { return owner_ ? owner_->GetBlock(index) : nullptr; }

void NifBlock::ShowQuestionBox(const char* text, const char* caption) const {
    if (DebugPrinter* printer = owner_ ? owner_->GetDebugPrinter() : nullptr) {
        printer->ShowBox(text, caption);
    } else {
        platform::ShowMessageBox(text, caption);
    }
}

void NifBlock::Dump(DebugPrinter*) const {}

void NifBlock::LinkParents(ParentWalk&) {}

int NifBlock::IsShape() const { return 0; }

int NifBlock::GetNumberVertexes() const {
    ShowQuestionBox("GetNumberVertexes", kArghCaption);
    return 0;
}

NifVector NifBlock::GetVertex(int) const { return kZeroVector; }

int NifBlock::HasUVCoords() const {
    ShowQuestionBox("HasUVCoords", kArghCaption);
    return 0;
}

NifTexCoord NifBlock::GetUVCoord(int, int) const { return kZeroTexCoord; }

int NifBlock::GetNumberChildren() const { return 0; }

NifBlock* NifBlock::GetChild(int) const { return nullptr; }

int NifBlock::GetNumberTriangles() const { return 0; }

uint16_t NifBlock::GetTriangleIndex(int) const { return 0; }

NifBlock* NifBlock::GetTexturingProperty() const { return nullptr; }

NifBlock* NifBlock::GetMaterialProperty() const { return nullptr; }

const NifColour& NifBlock::GetAmbientColour() const { return kZeroColour; }

const NifColour& NifBlock::GetDiffuseColour() const { return kZeroColour; }

const NifColour& NifBlock::GetSpecularColour() const { return kZeroColour; }

const NifColour& NifBlock::GetEmissiveColour() const { return kZeroColour; }

float NifBlock::GetGlossiness() const { return 0.0f; }

float NifBlock::GetAlpha() const { return 0.0f; }

const char* NifBlock::getFileName() const {
    ShowQuestionBox("getFileName", kArghCaption);
    return nullptr;
}

const char* NifBlock::GetId() const {
    ShowQuestionBox(GetTypeName(), kGetIdCaption);
    return nullptr;
}

void NifBlock::GetLocalTransform(Matrix44& output) const { Identity(output); }

void NifBlock::GetTransformAtTime(float, Matrix44& output) const { Identity(output); }

void NifBlock::SetBoneData(const NifVector&, const Matrix33&) {
    ShowQuestionBox(GetTypeName(), kSetBoneDataCaption);
}

NifBlock* NifBlock::GetBoneBlock(int) const {
    ShowQuestionBox(GetTypeName(), kGetBoneBlockCaption);
    return nullptr;
}

void NifBlock::GetBoneMatrix(Matrix44& output) const {
    ShowQuestionBox(GetTypeName(), kGetBoneMatrixCaption);
    Identity(output);
}
