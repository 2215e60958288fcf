// What the importer library remembers between runs: the file name, the
// texture directory and the "Apply scene transforms" box that the user last
// confirmed in the options dialog.
// One set per loaded library, zero-filled at load, never saved anywhere.
#pragma once

// Each buffer holds at most 999 characters of text; the dialog always
// stores a terminating zero at position 1000.
inline constexpr int kImportPathBufferSize = 1001;

extern char ImportFileName[kImportPathBufferSize];
extern char TextureDirectory[kImportPathBufferSize];

// The "Apply scene transforms" box as last confirmed with OK: off at load.
// Unlike the two texts, the dialog opens showing it.
extern bool ApplySceneTransforms;
