// Text and vector copying with the host's rules, shared by every setter and getter.
#include <cstring>

#include "mshost/model/model_items.h"

namespace model_items {

void SetText(std::string& target, const char* text, size_t limit) {
    if (!text) {
        target.clear();
        return;
    }
    // strnlen-like scan that never reads past the limit's cut.
    size_t length = 0;
    while (length < limit && text[length] != '\0') ++length;
    target.assign(text, length);
}

void CopyText(const std::string& text, char* buffer, int max) {
    if (!buffer || max <= 0) return;
    const size_t room = static_cast<size_t>(max);
    const size_t count = text.size() < room ? text.size() : room;
    std::memcpy(buffer, text.data(), count);
    if (count < room) buffer[count] = '\0';
}

}  // namespace model_items
