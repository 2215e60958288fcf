// mshost: the stand-in host. See mshost/cli/command_line.h for the commands.
#include <malloc.h>

#include <csignal>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "mshost/cli/commands.h"
#include "platform/platform.h"

namespace {

// An interrupted run leaves no temporary file behind: the files being
// written are removed, then the signal does what it would have done.
void RemoveTemporaryFilesAndStop(int signalNumber) {
    platform::RemoveTemporaryFilesNow();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

// Every signal that ends the process by default while a file may be being
// written: a closed terminal, a closed pipe, the quit key, an interrupt, a kill.
constexpr int kEndingSignals[] = {SIGHUP, SIGINT, SIGPIPE, SIGQUIT, SIGTERM};

}  // namespace

int main(int argc, char** argv) {
    // Blocks of up to 32 MB from the heap rather than mapped one by one, and
    // up to 16 MB of freed heap kept: what one step of a run frees (the model
    // reader's tables) is then reused by the next (the export's arrays and
    // output) instead of being handed back and faulted in again page by
    // page. The first is refused where the heap cannot take that much
    // (32-bit), which leaves the default there.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 16 << 20);
    for (const int signalNumber : kEndingSignals) std::signal(signalNumber, RemoveTemporaryFilesAndStop);
    // A file-size limit (ulimit -f) makes the write fail with EFBIG, which
    // the writer reports in its line, instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    std::string out;
    std::string err;
    int status = 2;
    try {
        std::vector<std::string> args(argv + 1, argv + argc);
        status = mshost::RunMshost(args, &out, &err);
    } catch (const std::bad_alloc&) {
        out.clear();
        err += "mshost: out of memory\n";
        status = 2;
    }
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        err += "mshost: cannot write the output\n";
        status = 2;
    }
    std::fwrite(err.data(), 1, err.size(), stderr);
    return status;
}
