// The object record: the common head of nodes, shapes, particle systems and
// the texture effect (name, links, flags, placement, property list).
#pragma once

#include <cstdint>

#include "importer/transform/matrix44.h"
#include "importer/nif/file_array.h"

class Qiv_Stream;

struct ObjectRecord {
    const char* name = "";  // kept by the stream (Qiv_Stream::LengthText)
    int32_t extraData = -1;
    int32_t timeController = -1;
    uint16_t unknownFlags = 0;
    NifVector translation;
    Matrix33 rotation;
    float scale = 0.0f;
    NifVector velocity;
    LinkList properties;

    // The fields after the two links: flags, translation, rotation, scale,
    // velocity and the property list, in file order.
    void ReadPlacement(Qiv_Stream& stream);
    // Rotation, then uniform scaling, then translation (row vectors).
    void LocalTransform(Matrix44& output) const;
};
