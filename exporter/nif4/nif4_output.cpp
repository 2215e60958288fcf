#include "exporter/nif4/nif4_output.h"

#include <cstring>
#include <stdexcept>

Nif4Output Nif4Output::Counter() {
    Nif4Output counter;
    counter.counting_ = true;
    return counter;
}

void Nif4Output::Reserve(size_t size) {
    if (!counting_ && bytes_.size() < size) bytes_.resize(size);
}

void Nif4Output::MakeRoom(size_t size) {
    if (size > bytes_.max_size() - used_) throw std::length_error("Nif4Output: output too large");
    const size_t needed = used_ + size;
    const size_t doubled = bytes_.size() < bytes_.max_size() / 2 ? 2 * bytes_.size() : bytes_.max_size();
    bytes_.resize(needed > doubled ? needed : doubled);
}

void Nif4Output::WriteBytes(const void* data, size_t size) {
    if (uint8_t* out = Grow(size); out && size != 0) std::memcpy(out, data, size);
}

void Nif4Output::WriteZeros(size_t size) {
    if (uint8_t* out = Grow(size); out && size != 0) std::memset(out, 0, size);
}

void Nif4Output::WriteCountedText(int32_t length, const std::string& text) {
    WriteInt32(length);
    if (length <= 0) return;
    const size_t wanted = static_cast<size_t>(length);
    const size_t available = text.size() < wanted ? text.size() : wanted;
    WriteBytes(text.data(), available);
    WriteZeros(wanted - available);
}
