// The property and texture blocks the exporter writes: z-buffer, vertex
// colour, material, source texture and texturing property. None of their
// constructors checks anything.
#pragma once

#include <cstdint>
#include <string>

#include "exporter/nif4/nif4_block.h"
#include "exporter/nif4/nif4_types.h"

// "NiZBufferProperty": unnamed, flags 3.
class CNIF4_ZBufferProperty : public CNIF4_Block {
public:
    static constexpr char kTypeName[] = "NiZBufferProperty";

    CNIF4_ZBufferProperty();
    void Write(Nif4Output& out) const override;
};

// "NiVertexColorProperty": unnamed, flags 0, vertex mode 0, lighting mode 1.
class CNIF4_VertexColorProperty : public CNIF4_Block {
public:
    static constexpr char kTypeName[] = "NiVertexColorProperty";

    CNIF4_VertexColorProperty();
    void Write(Nif4Output& out) const override;
};

// "NiMaterialProperty": colours arrive diffuse first and are written in the
// file's order, ambient first. An empty name (length 0) is allowed.
class CNIF4_MaterialProperty : public CNIF4_Block {
public:
    static constexpr char kTypeName[] = "NiMaterialProperty";

    CNIF4_MaterialProperty(int32_t nameLength, const char* name, Nif4Colour diffuse, Nif4Colour ambient,
                           Nif4Colour specular, Nif4Colour emissive, float shininess, float transparency);
    void Write(Nif4Output& out) const override;

private:
    int32_t nameLength_;
    std::string name_;
    Nif4Colour diffuse_;
    Nif4Colour ambient_;
    Nif4Colour specular_;
    Nif4Colour emissive_;
    float shininess_;
    float transparency_;
};

// "NiSourceTexture": an external image referred to by file name.
class CNIF4_SourceTexture : public CNIF4_Block {
public:
    static constexpr char kTypeName[] = "NiSourceTexture";

    CNIF4_SourceTexture(int32_t fileNameLength, const char* fileName);
    void Write(Nif4Output& out) const override;

private:
    int32_t fileNameLength_;
    std::string fileName_;
};

// "NiTexturingProperty": a base texture taken from one source texture block.
class CNIF4_TexturingProperty : public CNIF4_Block {
public:
    static constexpr char kTypeName[] = "NiTexturingProperty";

    explicit CNIF4_TexturingProperty(int32_t sourceTextureLink);
    void Write(Nif4Output& out) const override;

private:
    int32_t sourceTextureLink_;
};
