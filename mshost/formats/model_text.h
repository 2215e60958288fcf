// Reads a text of a model item through one of the library's getters, which
// leave the buffer unterminated when they have to cut; the buffer here is
// larger than any text the library holds and is terminated regardless.
#pragma once

#include <string>

namespace mshost {

template <class Item>
std::string ModelText(void (*getter)(Item*, char*, int), Item* item) {
    char buffer[1024] = {};
    getter(item, buffer, static_cast<int>(sizeof buffer - 1));
    return std::string(buffer);
}

}  // namespace mshost
