// Reading the records that many block layouts share.
//
// Arrays of plain values (geometry, keys, weights, links) are not copied:
// the stream hands out a view into the file's image (Qiv_Stream::Array).
// Records of their own size are read into a vector that grows as they are
// read: a count from the file reserves at most as many entries as the unread
// bytes could hold, so a count larger than the data ends with the stream's
// copy error at the first entry that does not fit.
#pragma once

#include <cstdint>
#include <vector>

#include "importer/nif/file_array.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/records.h"

NifVector ReadVector(Qiv_Stream& stream);
// Three Floats r, g, b; alpha is 1.0 in memory.
NifColour ReadColourRgb(Qiv_Stream& stream);
NifColour ReadColourRgba(Qiv_Stream& stream);
NifTexCoord ReadTexCoord(Qiv_Stream& stream);
Matrix33 ReadMatrix33(Qiv_Stream& stream);
// A Long count, then count block indices.
LinkList ReadLinkList(Qiv_Stream& stream);

// Reserves room for `count` entries of `bytesPerEntry` file bytes each, but
// never more than the unread bytes could fill.
template <class Entry>
void ReserveForEntries(std::vector<Entry>& entries, int64_t count, const Qiv_Stream& stream, size_t bytesPerEntry) {
    if (count <= 0) return;
    const size_t fit = stream.EntriesThatFit(bytesPerEntry);
    entries.reserve(static_cast<uint64_t>(count) < fit ? static_cast<size_t>(count) : fit);
}

// Appends `count` entries read one by one with `readEntry`; none when count <= 0.
template <class Entry, class ReadEntry>
void ReadEntries(Qiv_Stream& stream, std::vector<Entry>& entries, int64_t count, size_t bytesPerEntry, ReadEntry readEntry) {
    ReserveForEntries(entries, count, stream, bytesPerEntry);
    for (int64_t i = 0; i < count; ++i) entries.push_back(readEntry(stream));
}
