#include "Commands.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "Usage: vornix-cli info [--recover] FILE.swd\n"
    "       vornix-cli repack [--recover] IN.swd OUT.swd\n"
    "       vornix-cli extract [--recover] IN.swd DIR\n"
    "       vornix-cli build DIR OUT.swd\n"
    "\n"
    "  info       list the file's counts, objects and textures\n"
    "  repack     pack the textures onto fresh pages and write OUT.swd\n"
    "  extract    write every texture as DIR/<slot>_<NAME>/<k>.png and the objects\n"
    "             as DIR/objects.txt\n"
    "  build      rebuild a wad from an extract folder (BMP, PCX, PNG, TGA, TIFF or JPEG\n"
    "             textures) and write OUT.swd\n"
    "  --recover  load a wad whose header says it holds no sprites as the sprites that\n"
    "             follow it\n";

int UsageError(const std::string& problem) {
    std::fprintf(stderr, "vornix-cli: %s\n%s", problem.c_str(), kUsage);
    return 2;
}

using Operands = std::vector<std::string>;

struct CliCommand {
    const char* name;
    bool takesRecover;
    int (*run)(const Operands& operands, const swd::ReadOptions& options);
};

// One entry per command; each checks its own operands.
const CliCommand kCommands[] = {
    {"info", true,
     [](const Operands& op, const swd::ReadOptions& options) {
         return op.size() == 1 ? RunInfo(op[0], options) : UsageError("info takes one file");
     }},
    {"repack", true,
     [](const Operands& op, const swd::ReadOptions& options) {
         return op.size() == 2 ? RunRepack(op[0], op[1], options)
                               : UsageError("repack takes an input and an output file");
     }},
    {"extract", true,
     [](const Operands& op, const swd::ReadOptions& options) {
         return op.size() == 2 ? RunExtract(op[0], op[1], options)
                               : UsageError("extract takes an input file and a folder");
     }},
    {"build", false,
     [](const Operands& op, const swd::ReadOptions&) {
         return op.size() == 2 ? RunBuild(op[0], op[1])
                               : UsageError("build takes a folder and an output file");
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
    Operands operands(args.begin() + 1, args.end());
    const auto recover = std::remove(operands.begin(), operands.end(), "--recover");
    swd::ReadOptions options;
    options.recoverZeroCount = recover != operands.end();
    operands.erase(recover, operands.end());
    for (const CliCommand& entry : kCommands) {
        if (command == entry.name) {
            if (options.recoverZeroCount && !entry.takesRecover) {
                return UsageError(command + " does not take --recover");
            }
            return entry.run(operands, options);
        }
    }
    return UsageError("unknown command \"" + command + "\"");
}
