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

struct CliCommand {
    const char* name;
    int (*run)(const std::vector<std::string>& operands);
};

// One entry per command; each checks its own operands.
const CliCommand kCommands[] = {
    {"info",
     [](const std::vector<std::string>& op) {
         return op.size() == 1 ? RunInfo(op[0]) : UsageError("info takes one file");
     }},
    {"repack",
     [](const std::vector<std::string>& op) {
         return op.size() == 2 ? RunRepack(op[0], op[1])
                               : UsageError("repack takes an input and an output file");
     }},
    {"extract",
     [](const std::vector<std::string>& op) {
         return op.size() == 2 ? RunExtract(op[0], op[1])
                               : UsageError("extract takes an input file and a folder");
     }},
};

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
    const std::vector<std::string> operands(args.begin() + 1, args.end());
    for (const CliCommand& entry : kCommands) {
        if (command == entry.name) {
            return entry.run(operands);
        }
    }
    return UsageError("unknown command \"" + command + "\"");
}
