// The name a texture is written under: its key. Meshes whose keys are equal
// byte for byte share one source texture block.
#pragma once

#include <string>

enum class TextureNaming {
    // The texture name as the host holds it, except that a name starting
    // with "." loses its first two characters (".\a.bmp" gives "a.bmp";
    // "." alone gives "").
    kAsHeld,
    // The "Texture file names only" option: the part after the last "/" or
    // "\" ("C:\tex/a.bmp" gives "a.bmp"), the whole name when it has neither.
    kFileNameOnly,
};

std::string TextureKey(const std::string& textureName, TextureNaming naming = TextureNaming::kAsHeld);

// True for a key that names no file: "", "." and "..". Under kFileNameOnly
// such a key (a name ending in a separator, or in "." or "..") is refused,
// since the game could find no texture by it.
bool KeyNamesNoFile(const std::string& key);
