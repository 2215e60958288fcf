// JSON output with the stand-in host's byte-string and float rules.
#include "mshost/formats/json_writer.h"

#include <charconv>
#include <cmath>

namespace mshost {

std::string JsonByteString(std::string_view bytes) {
    static const char kHex[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() + 2);
    text += '"';
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte == '\\') {
            text += '\\';
            text += c;
        } else if (byte >= 0x20 && byte <= 0x7E) {
            text += c;
        } else {
            text += "\\u00";
            text += kHex[byte >> 4];
            text += kHex[byte & 0x0F];
        }
    }
    text += '"';
    return text;
}

std::string JsonFloat(float value) {
    if (std::isnan(value)) return "\"NaN\"";
    if (std::isinf(value)) return value > 0 ? "\"Infinity\"" : "\"-Infinity\"";
    char buffer[32];
    // Without a format, to_chars gives the shortest text that reads back exactly.
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void JsonWriter::NewLine(size_t depth) {
    out_ += '\n';
    out_.append(depth * 2, ' ');
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty()) return;
    Level& level = levels_.back();
    if (level.members > 0) out_ += ',';
    if (level.oneLine) {
        if (level.members > 0) out_ += ' ';
    } else {
        NewLine(levels_.size());
    }
    ++level.members;
}

void JsonWriter::Begin(char open, bool oneLine) {
    BeforeValue();
    const bool insideOneLine = !levels_.empty() && levels_.back().oneLine;
    out_ += open;
    levels_.push_back({oneLine || insideOneLine, 0});
}

void JsonWriter::End(char close) {
    const Level level = levels_.back();
    levels_.pop_back();
    if (level.members > 0 && !level.oneLine) NewLine(levels_.size());
    out_ += close;
}

void JsonWriter::BeginObject(bool oneLine) { Begin('{', oneLine); }
void JsonWriter::EndObject() { End('}'); }
void JsonWriter::BeginArray(bool oneLine) { Begin('[', oneLine); }
void JsonWriter::EndArray() { End(']'); }

void JsonWriter::Key(std::string_view name) {
    BeforeValue();
    out_ += JsonByteString(name);
    out_ += ": ";
    afterKey_ = true;
}

void JsonWriter::Integer(long long value) {
    BeforeValue();
    out_ += std::to_string(value);
}

void JsonWriter::Float(float value) {
    BeforeValue();
    out_ += JsonFloat(value);
}

void JsonWriter::Floats(const float* values, int count) {
    BeginArray(true);
    for (int i = 0; i < count; ++i) Float(values[i]);
    EndArray();
}

void JsonWriter::Text(std::string_view bytes) {
    BeforeValue();
    out_ += JsonByteString(bytes);
}

void JsonWriter::Null() {
    BeforeValue();
    out_ += "null";
}

}  // namespace mshost
