// What a shape's geometry block really stores, beyond the counts it claims.
#pragma once

class NifBlock;

struct StoredGeometry {
    // The shape's data link names a block (of any type). When it names a
    // block of the wrong type the geometry questions still go to the shape,
    // which answers them the way a block without geometry does.
    bool hasData = true;
    // Vertex positions are stored (or the vertex count is 0).
    bool hasPositions = true;
    // Texture coordinates of set 0 are stored for every vertex.
    bool hasTexCoords = true;
};

StoredGeometry FindStoredGeometry(NifBlock* shape);
