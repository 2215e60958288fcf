// The little start-up code a program without the C runtime's entry needs:
// run the static constructors, then main, then leave with its status.
#include "win32_api.h"

typedef void (*Initializer)();

// The linker orders ".CRT$XC?" sections by name, so everything that the
// compiler put into ".CRT$XCU" lies between these two markers.
#pragma section(".CRT$XCA", read)
#pragma section(".CRT$XCZ", read)
__declspec(allocate(".CRT$XCA")) Initializer initializersBegin = nullptr;
__declspec(allocate(".CRT$XCZ")) Initializer initializersEnd = nullptr;

extern "C" int _fltused = 0;  // the compiler's marker that floating point is used

int HostMain(int argc, char** argv);

namespace {

// Splits the command line the way the C runtime does for simple arguments:
// spaces separate, double quotes group.
int SplitCommandLine(char* line, char** argv, int max) {
    int argc = 0;
    char* p = line;
    while (*p && argc < max) {
        while (*p == ' ' || *p == '\t') ++p;
        if (!*p) break;
        char* out = p;
        argv[argc++] = out;
        bool quoted = false;
        while (*p && (quoted || (*p != ' ' && *p != '\t'))) {
            if (*p == '"') {
                quoted = !quoted;
                ++p;
                continue;
            }
            *out++ = *p++;
        }
        if (*p) ++p;
        *out = '\0';
    }
    return argc;
}

}  // namespace

extern "C" IMPORT char* WINAPI GetCommandLineA();

extern "C" void HostEntry() {
    for (Initializer* init = &initializersBegin + 1; init < &initializersEnd; ++init) {
        if (*init) (*init)();
    }
    static char line[32768];
    strncpy(line, GetCommandLineA(), sizeof(line) - 1);
    static char* argv[64];
    const int argc = SplitCommandLine(line, argv, 64);
    const int status = HostMain(argc, argv);
    fflush(nullptr);
    ExitProcess(static_cast<UINT>(status));
}
