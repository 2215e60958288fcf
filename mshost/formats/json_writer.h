// A small JSON writer with the stand-in host's value rules: texts are byte
// strings (printable ASCII as itself, every other byte as \u00XX) and floats
// are the shortest decimal that reads back to the same 32-bit float, with
// NaN and the infinities as the strings "NaN", "Infinity" and "-Infinity".
//
// Layout: objects and arrays put one member per line, indented by two spaces,
// except containers opened with `oneLine` (and everything inside them), which
// stay on one line: [1, 2, 3] or {"a": 1, "b": 2}.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mshost {

// The JSON text of one byte string, quotes included.
std::string JsonByteString(std::string_view bytes);
// The JSON text of one float: a number, or one of the three strings.
std::string JsonFloat(float value);

class JsonWriter {
public:
    void BeginObject(bool oneLine = false);
    void EndObject();
    void BeginArray(bool oneLine = false);
    void EndArray();
    // Names the next member of the current object.
    void Key(std::string_view name);

    void Integer(long long value);
    void Float(float value);
    void Floats(const float* values, int count);  // a one-line array of floats
    void Text(std::string_view bytes);
    void Null();

    // The text written so far; complete once every container is closed.
    const std::string& Output() const { return out_; }

private:
    struct Level {
        bool oneLine;
        int members;
    };
    void BeforeValue();
    void NewLine(size_t depth);
    void Begin(char open, bool oneLine);
    void End(char close);

    std::string out_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

}  // namespace mshost
