// Every text of the importer, each written once: the reader's messages, the
// conversion's debug line, the run's error box and the debug printer's summaries.
// Formats with values are printf formats, filled by FormatText.
//
// FormatText fills a format into a std::string sized by a measuring call, so
// a message is complete however long the inserted values are (long paths,
// long type names).
#pragma once

#include <string>

namespace nif_messages {

// Stream (byte reading) errors.
inline constexpr char kUnableToOpenFile[] = "Unable to open file '%s'.";
inline constexpr char kUninitialisedStream[] = "Attempt to access uninitialised Qiv_Stream from function '%s'.";
inline constexpr char kCopyTooMuch[] = "Attempted to copy too much data (%d bytes).";
inline constexpr char kSkipTooMuch[] = "Attempted to skip too much data (%d bytes).";
inline constexpr char kUnexpectedLong[] = "Unexpected Long value - was 0x%08X (%d) expected 0x%08X (%d)";
inline constexpr char kUnexpectedShort[] = "Unexpected Short value - was 0x%04X (%d) expected 0x%04X (%d)";
inline constexpr char kUnexpectedByte[] = "Unexpected Byte value - was 0x%04X (%d) expected 0x%04X (%d)";
inline constexpr char kNoEndOfString[] = "Unable to find end of String.";
inline constexpr char kUnexpectedString[] = "Unexpected String Data '%s' expected '%s'";
inline constexpr char kDataLeftAtEnd[] = "File data left at end of file - %d bytes left";

// Envelope errors.
inline constexpr char kUnknownBlockType[] = "Unknown Block type '%s'.";
inline constexpr char kUnknownNamePlaceholder[] = "<UNKNOWN>";
inline constexpr char kHeaderLine[] = "NetImmerse File Format, Version 4.0.0.2";

// Bounds of the parent-linking walk.
inline constexpr char kNestedTooDeeply[] = "Scene graph nested too deeply (more than 1000 levels).";
inline constexpr char kTooManyVisits[] = "Scene graph too large (more than 1000000 block visits).";

// An import that would add more to the host's model than it can take.
inline constexpr char kSceneTooLargeToImport[] =
    "Scene too large to import (more than %lld meshes, materials, bones, vertices and triangles).";

// Summary line after the link-type warnings that were counted but not written.
inline constexpr char kFurtherLinkWarnings[] = "%d further link warnings not shown";

// A shape whose triangles name vertices the mesh did not receive.
inline constexpr char kSkippedTriangles[] = "Skipped %d triangles of shape '%s' that name missing vertices";

// With "Apply scene transforms": a shape whose transform W is not finite keeps its stored positions.
inline constexpr char kTransformNotFinite[] = "Transform of shape '%s' is not finite; its vertices are not placed";

// The run's error box: its caption, and the texts of the failures that carry none of their own.
inline constexpr char kImportErrorCaption[] = "NIF Import Error";
inline constexpr char kOutOfMemory[] = "Out of memory.";
inline constexpr char kUnexpectedFailure[] = "Unexpected failure while importing.";

// Written when a run ends, after the boxes and debug lines it held back.
inline constexpr char kRepeatedBoxesNotShown[] = "%d repeated message boxes not shown";
inline constexpr char kFurtherDebugLinesNotShown[] = "%d further debug lines not shown";

// The plug-in's title and its options dialog's pickers.
inline constexpr char kPlugInTitle[] = "Dravelin (Version 0.03)...";
inline constexpr char kImportFilePickerTitle[] = "Import NIF (I hope)";
inline constexpr char kImportFileFilter[] = "NIF Files (*.nif)\0*.nif\0";  // one pair; the literal's zero ends the list
inline constexpr char kImportFileExtension[] = "nif";
inline constexpr char kTextureFolderPickerTitle[] = "Texture Directory";

// Captions of the message boxes that mark a question asked of the wrong kind of block.
inline constexpr char kArghCaption[] = "ARGH";
inline constexpr char kGetIdCaption[] = "GetId - ARGH";
inline constexpr char kSetBoneDataCaption[] = "SetBoneData - ARGH";
inline constexpr char kGetBoneBlockCaption[] = "GetBoneBlock - ARGH";
inline constexpr char kGetBoneMatrixCaption[] = "GetBoneMatrix - ARGH";

}  // namespace nif_messages

// printf-style formatting into a string of exactly the needed length.
std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
