#include "command.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace qorkit::tool {

namespace {

// Function-local statics: registration runs during static initialisation of the tool.
std::vector<Command>& CommandList() {
    static std::vector<Command> list;
    return list;
}
std::vector<TourSection>& TourList() {
    static std::vector<TourSection> list;
    return list;
}

}  // namespace

RegisterCommand::RegisterCommand(Command c) {
    CommandList().push_back(c);
}
RegisterTourSection::RegisterTourSection(TourSection s) {
    TourList().push_back(s);
}

std::vector<Command> Commands() {
    auto list = CommandList();
    std::sort(list.begin(), list.end(),
              [](const Command& a, const Command& b) { return a.Name < b.Name; });
    return list;
}

std::vector<TourSection> TourSections() {
    auto list = TourList();
    std::stable_sort(list.begin(), list.end(),
                     [](const TourSection& a, const TourSection& b) { return a.Order < b.Order; });
    return list;
}

int UsageError(const Command& c, std::ostream& err) {
    err << "usage: " << c.Usage << "\n";
    return 2;
}

String JoinArgs(Args args) {
    std::string joined;
    for (const std::string& a : args) {
        if (!joined.empty()) joined += ' ';
        joined += a;
    }
    return FromUtf8(joined);
}

bool ReadFileBytes(const std::string& name, std::string& bytes) {
    std::error_code ec;
    if (std::filesystem::is_directory(name, ec)) return false;
    std::ifstream in(name, std::ios::binary);
    if (!in.is_open()) return false;
    char block[65536];
    while (in.read(block, sizeof block) || in.gcount() > 0)
        bytes.append(block, static_cast<std::size_t>(in.gcount()));
    return in.eof() && !in.bad();
}

}  // namespace qorkit::tool
