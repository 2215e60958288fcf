// mshost: the stand-in host. See mshost/command_line.h for the commands.
#include <cstdio>
#include <string>
#include <vector>

#include "mshost/commands.h"

int main(int argc, char** argv) {
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
