// qorkit: the library's services from the shell.
#include <string>
#include <vector>

#include "command.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return qorkit::tool::RunTool(args);
}
