#include "Commands.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = "Usage: vornix-cli info FILE.swd\n"
                               "       vornix-cli repack IN.swd OUT.swd\n"
                               "       vornix-cli extract IN.swd DIR\n"
                               "\n"
                               "  info     list the file's counts, objects and textures\n"
                               "  repack   pack the textures onto fresh pages and write OUT.swd\n"
                               "  extract  write every texture as DIR/<slot>_<NAME>/<k>.png\n";

int UsageError(const std::string& problem) {
    std::fprintf(stderr, "vornix-cli: %s\n%s", problem.c_str(), kUsage);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        return UsageError("no command given");
    }
    const std::string& command = args[0];
    if (command == "-h" || command == "--help" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const auto expect = [&](std::size_t operands) { return args.size() == operands + 1; };
    if (command == "info") {
        return expect(1) ? RunInfo(args[1]) : UsageError("info takes one file");
    }
    if (command == "repack") {
        return expect(2) ? RunRepack(args[1], args[2])
                         : UsageError("repack takes an input and an output file");
    }
    if (command == "extract") {
        return expect(2) ? RunExtract(args[1], args[2])
                         : UsageError("extract takes an input file and a folder");
    }
    return UsageError("unknown command \"" + command + "\"");
}
