// Prints one known line and exits 0. The Wine test script starts it to learn
// whether this machine can run Windows programs of this build's word size.
#include <cstdio>

int main() {
    std::printf("wine probe: %u-bit program ran\n", static_cast<unsigned>(sizeof(void*) * 8));
    return 0;
}
