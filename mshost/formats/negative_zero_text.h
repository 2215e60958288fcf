// The characters of a JSON text with every bare -0 outside strings read as
// -0.0, produced one at a time while the parser asks for them (no copy of
// the text). JSON parsers read "-0" as the integer 0 and lose the sign of a
// negative zero float; the model's writer writes that float as "-0".
#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

namespace mshost {

class NegativeZeroText {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = char;

    // The first character of `text`; End(text) is one past its last.
    explicit NegativeZeroText(std::string_view text) : text_(text) {}
    static NegativeZeroText End(std::string_view text) {
        NegativeZeroText end(text);
        end.at_ = text.size();
        end.inserted_ = 0;
        return end;
    }

    char operator*() const { return inserted_ != 0 ? kInsertion[sizeof kInsertion - 1 - inserted_] : text_[at_]; }

    NegativeZeroText& operator++() {
        if (inserted_ != 0) {
            --inserted_;
            if (inserted_ == 0) ++at_;
            return *this;
        }
        Step(text_[at_]);
        if (inserted_ == 0) ++at_;
        return *this;
    }

    bool operator==(const NegativeZeroText& other) const { return at_ == other.at_ && inserted_ == other.inserted_; }
    bool operator!=(const NegativeZeroText& other) const { return !(*this == other); }

private:
    static constexpr char kInsertion[] = ".0";

    static bool ContinuesANumber(char c) { return (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E'; }

    // Follows strings and, after the 0 of a bare "-0", queues ".0" to come
    // before the character after it.
    void Step(char c) {
        if (inString_) {
            if (escaped_) {
                escaped_ = false;
            } else if (c == '\\') {
                escaped_ = true;
            } else if (c == '"') {
                inString_ = false;
            }
            return;
        }
        if (c == '"') {
            inString_ = true;
        } else if (c == '0' && at_ > 0 && text_[at_ - 1] == '-') {
            const bool followed = at_ + 1 < text_.size() && ContinuesANumber(text_[at_ + 1]);
            if (!followed) inserted_ = sizeof kInsertion - 1;
        }
    }

    std::string_view text_;
    size_t at_ = 0;
    // Characters of kInsertion still to come before text_[at_ + 1]; while
    // there are any, the current character is one of them, not text_[at_].
    size_t inserted_ = 0;
    bool inString_ = false;
    bool escaped_ = false;
};

}  // namespace mshost
