#include "Commands.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "Usage: vornix-cli info FILE.swd\n"
    "       vornix-cli repack IN.swd OUT.swd\n"
    "       vornix-cli extract IN.swd DIR\n"
    "       vornix-cli export-object IN.swd SLOT OUT.swo\n"
    "       vornix-cli import-object IN.swd OBJ.swo OUT.swd\n"
    "\n"
    "  info           list the file's counts, objects and textures\n"
    "  repack         pack the textures onto fresh pages and write OUT.swd\n"
    "  extract        write every texture as DIR/<slot>_<NAME>/<k>.png\n"
    "  export-object  write the object with slot number SLOT as OUT.swo\n"
    "  import-object  add the textures of OBJ.swo to the object with its slot number (made\n"
    "                 when missing), pack and write OUT.swd\n";

int UsageError(const std::string& problem) {
    std::fprintf(stderr, "vornix-cli: %s\n%s", problem.c_str(), kUsage);
    return 2;
}

// A slot number: decimal digits only, within 32 bits.
std::optional<std::uint32_t> ParseSlot(const std::string& text) {
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
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
    {"export-object",
     [](const std::vector<std::string>& op) {
         if (op.size() != 3) {
             return UsageError("export-object takes an input file, a slot number and an output "
                               "file");
         }
         const std::optional<std::uint32_t> slot = ParseSlot(op[1]);
         return slot ? RunExportObject(op[0], *slot, op[2])
                     : UsageError("\"" + op[1] + "\" is not a slot number");
     }},
    {"import-object",
     [](const std::vector<std::string>& op) {
         return op.size() == 3
                    ? RunImportObject(op[0], op[1], op[2])
                    : UsageError("import-object takes an input file, an object file and an "
                                 "output file");
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
