// Numbers distinct keys of three 32-bit words in the order they are first
// seen: an open-addressing hash table of indices into the list of keys, so
// that numbering n keys costs about n probes and 20 bytes a key.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace mshost {

class FirstUseIndex {
public:
    using Key = std::array<uint32_t, 3>;

    // The table starts small and doubles as keys come.
    FirstUseIndex() { Rehash(16); }

    // The number of `key`: the count of distinct keys seen before it first came.
    uint32_t Add(const Key& key) {
        if (2 * (keys_.size() + 1) > slots_.size()) Rehash(slots_.size() * 2);
        size_t slot = SlotOf(key);
        for (;;) {
            const uint32_t entry = slots_[slot];
            if (entry == 0) break;
            if (Equal(keys_[entry - 1], key)) return entry - 1;
            slot = (slot + 1) & (slots_.size() - 1);
        }
        keys_.push_back(key);
        slots_[slot] = static_cast<uint32_t>(keys_.size());
        return static_cast<uint32_t>(keys_.size() - 1);
    }

    // Word by word: std::array's == is a memcmp call, too slow for three words.
    static bool Equal(const Key& a, const Key& b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

    size_t size() const { return keys_.size(); }
    // The distinct keys, in the order of their numbers.
    const std::vector<Key>& Keys() const { return keys_; }
    // Hands the keys over; the index is not to be used afterwards.
    std::vector<Key> TakeKeys() { return std::move(keys_); }

private:
    size_t SlotOf(const Key& key) const {
        // Multiplicative mixing of the three words; the table size is a power of two.
        uint64_t hash = key[0] * 0x9E3779B97F4A7C15ull;
        hash = (hash ^ key[1]) * 0xC2B2AE3D27D4EB4Full;
        hash = (hash ^ key[2]) * 0x165667B19E3779F9ull;
        return static_cast<size_t>(hash >> 32) & (slots_.size() - 1);
    }

    void Rehash(size_t size) {
        slots_.assign(size, 0);
        for (size_t i = 0; i < keys_.size(); ++i) {
            size_t slot = SlotOf(keys_[i]);
            while (slots_[slot] != 0) slot = (slot + 1) & (size - 1);
            slots_[slot] = static_cast<uint32_t>(i + 1);
        }
    }

    std::vector<uint32_t> slots_;  // 0: empty; else 1 + the key's number
    std::vector<Key> keys_;
};

}  // namespace mshost
