#include "exporter/texture_key.h"

std::string TextureKey(const std::string& textureName, TextureNaming naming) {
    if (naming == TextureNaming::kFileNameOnly) {
        const size_t separator = textureName.find_last_of("/\\");
        return separator == std::string::npos ? textureName : textureName.substr(separator + 1);
    }
    if (textureName.empty() || textureName[0] != '.') return textureName;
    return textureName.size() >= 2 ? textureName.substr(2) : std::string();
}

bool KeyNamesNoFile(const std::string& key) { return key.empty() || key == "." || key == ".."; }
