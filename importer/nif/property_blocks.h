// Property and texture blocks: how a shape is drawn.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "importer/nif/nif_block.h"
#include "importer/nif/qiv_stream.h"

// One texture slot of a texturing property.
struct TextureSlot {
    int32_t source = -1;  // -1 when the slot is absent
    int32_t clampMode = 0;
    int32_t filterMode = 0;
    int32_t uvSet = 0;
    uint16_t unknownShorts[3] = {0, 0, 0};
};

class NiTexturingProperty : public NifBlock {
public:
    // Base, dark, detail, gloss, glow, bump map.
    static constexpr int kSlotCount = 6;
    static constexpr int kBumpMapSlot = 5;

    NiTexturingProperty(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;
    // The file name of the source texture of the base slot; none when the
    // slot names no block.
    const char* getFileName() const override;

    // The slots, read again from where the file holds them; an absent slot reads as all defaults.
    TextureSlot Slot(int slot) const { return ReadSlotsAgain().slots[slot]; }
    bool HasSlot(int slot) const { return ReadSlotsAgain().hasTexture[slot] != 0; }
    std::array<float, 6> BumpMapValues() const { return ReadSlotsAgain().bumpMapValues; }  // when the bump slot is present
    bool HasDecal() const { return ReadSlotsAgain().hasDecal != 0; }
    TextureSlot DecalSlot() const { return ReadSlotsAgain().decal; }

private:
    struct Slots {
        int32_t hasTexture[kSlotCount] = {};
        TextureSlot slots[kSlotCount];
        std::array<float, 6> bumpMapValues = {};
        int32_t hasDecal = 0;
        TextureSlot decal;
    };
    // The slots as the file holds them: the load reads them with this, and so does every question.
    static Slots ReadSlots(Qiv_Stream& stream);
    Slots ReadSlotsAgain() const;

    uint16_t unknownFlags_ = 0;
    int32_t controller_ = -1;
    int32_t baseSource_ = -1;  // the base slot's source, which the conversion asks for
    // Where the slots lie in the file: most slots are absent, and a file of
    // nothing but small properties must not need much more memory than its bytes.
    uint32_t slotByteCount_ = 0;
    const unsigned char* slotBytes_ = nullptr;
};

class NiSourceTexture : public NifBlock {
public:
    NiSourceTexture(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;
    const char* getFileName() const override;

    std::string_view Name() const { return name_; }
    const int32_t* FormatValues() const { return formatValues_; }
    uint8_t LastFlag() const { return lastFlag_; }

private:
    const char* name_ = "";  // kept by the stream
    int32_t extraData_ = -1;
    int32_t timeController_ = -1;
    const char* fileName_ = "";  // kept by the stream
    int32_t formatValues_[3] = {};
    uint8_t lastFlag_ = 0;
};

class NiMaterialProperty : public NifBlock {
public:
    NiMaterialProperty(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;
    const NifColour& GetAmbientColour() const override;
    const NifColour& GetDiffuseColour() const override;
    const NifColour& GetSpecularColour() const override;
    const NifColour& GetEmissiveColour() const override;
    float GetGlossiness() const override;
    float GetAlpha() const override;
    const char* GetId() const override;

    uint16_t UnknownFlags() const { return unknownFlags_; }

private:
    const char* name_ = "";  // kept by the stream
    int32_t extraData_ = -1;
    int32_t timeController_ = -1;
    uint16_t unknownFlags_ = 0;
    NifColour ambient_, diffuse_, specular_, emissive_;
    float glossiness_ = 0.0f;
    float alpha_ = 0.0f;
};

class NiVertexColorProperty : public NifBlock {
public:
    NiVertexColorProperty(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;

    int32_t LightingMode() const { return lightingMode_; }

private:
    const char* name_ = "";  // kept by the stream
    int32_t extraData_ = -1;
    int32_t timeController_ = -1;
    uint16_t unknownFlags_ = 0;
    int32_t lightingMode_ = 0;
};

class NiAlphaProperty : public NifBlock {
public:
    NiAlphaProperty(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;

    const uint8_t* Values() const { return values_; }

private:
    const char* name_ = "";  // kept by the stream
    int32_t extraData_ = -1;
    int32_t timeController_ = -1;
    uint8_t values_[3] = {};
};

class NiZBufferProperty : public NifBlock {
public:
    NiZBufferProperty(BlockTable* owner, BlockKind kind, Qiv_Stream* stream);
    void ResolveLinks() override;

    uint16_t UnknownFlags() const { return unknownFlags_; }

private:
    const char* name_ = "";  // kept by the stream
    int32_t extraData_ = -1;
    int32_t timeController_ = -1;
    uint16_t unknownFlags_ = 0;
};
