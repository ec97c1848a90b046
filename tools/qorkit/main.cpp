// qorkit: the library's services from the shell.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "command.h"
#include "qorkit/rtl/exceptions.h"

using namespace qorkit::tool;

int main(int argc, char** argv) {
    const std::vector<std::string> all(argv + 1, argv + argc);
    const std::string name = all.empty() ? "help" : all[0];
    const Args rest = all.empty() ? Args{} : Args(all).subspan(1);
    for (const Command& c : Commands()) {
        if (c.Name != name) continue;
        try {
            return c.Run(rest, std::cout, std::cerr);
        } catch (const std::exception& e) {
            std::cerr << "qorkit " << name << ": " << e.what() << "\n";
            return 1;
        }
    }
    std::cerr << "qorkit: unknown command '" << name << "'; try 'qorkit help'\n";
    return 2;
}
