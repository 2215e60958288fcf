// mshost: the stand-in host. See mshost/cli/command_line.h for the commands.
#include <csignal>
#include <cstdio>
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

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGINT, RemoveTemporaryFilesAndStop);
    std::signal(SIGTERM, RemoveTemporaryFilesAndStop);
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string out;
    std::string err;
    int status = mshost::RunMshost(args, &out, &err);
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        err += "mshost: cannot write the output\n";
        status = 2;
    }
    std::fwrite(err.data(), 1, err.size(), stderr);
    return status;
}
