#include "mshost/files/quoted_name.h"

namespace mshost {
namespace {

void AppendEscaped(std::string& out, std::string_view name, bool quoted) {
    static const char kHex[] = "0123456789abcdef";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (quoted && (c == '\'' || c == '\\')) {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
}

}  // namespace

std::string Quoted(std::string_view name) {
    std::string out = "'";
    AppendEscaped(out, name, true);
    return out + "'";
}

std::string Unquoted(std::string_view name) {
    std::string out;
    AppendEscaped(out, name, false);
    return out;
}

}  // namespace mshost
