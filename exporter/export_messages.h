// Every text the exporter shows, in one place, exactly as the user sees it.
#pragma once

#include <string>

namespace export_messages {

inline constexpr char kNoMeshData[] = "Fatal error: Model has no mesh data,\nexport aborted.";
inline constexpr char kNoMaterials[] = "Fatal error: Model has no materials,\nexport aborted.";
inline constexpr char kMaterialHasNoTexture[] = "Fatal error: Material has no texture";
inline constexpr char kNoTexture[] = "No texture specified, aborting export.";
inline constexpr char kInvalidTextureName[] = "Invalid texture filename, aborting export.";
inline constexpr char kOutOfMemory[] = "Export failed: out of memory.";
inline constexpr char kUnexpectedFailure[] = "Export failed: unexpected error.";

// "Unable to write file '<output name>'."
std::string UnableToWriteFile(const std::string& outputName);
// "Mesh '<mesh name>' has more than 65535 vertices or triangles,\nexport aborted."
std::string MeshTooLarge(const std::string& meshName);

}  // namespace export_messages
