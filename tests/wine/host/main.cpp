// The Windows test host: loads the plug-in DLLs the way the host does and
// runs the checks of one group (or all), printing "N passed, N failed".
//
//   wine_host.exe GROUP [--name=value ...]
#include "check.h"

int HostMain(int argc, char** argv) {
    const char* group = argc > 1 ? argv[1] : nullptr;
    if (group && strcmp(group, "all") == 0) group = nullptr;
    wine_test::SetOptions(argc, argv);
    int passed = 0, failed = 0, skipped = 0;
    wine_test::RunTests(group, &passed, &failed, &skipped);
    printf("%d passed, %d failed, %d skipped\n", passed, failed, skipped);
    return failed == 0 && passed + skipped > 0 ? 0 : 1;
}
