#include "Commands.h"
#include "VornixVersion.h"

#include "images/ImageFormats.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The usage text describes each command from this column on, in lines of at most
// kUsageWidth characters.
constexpr std::size_t kUsageIndent = 18;
constexpr std::size_t kUsageWidth = 86;

// Lays out words after a command name as the usage text does: filled up to kUsageWidth,
// continued lines indented to the description column.
std::string Describe(const std::string& name, const std::string& text) {
    std::string out = "  " + name;
    out.resize(kUsageIndent, ' ');
    std::size_t lineStart = 0;
    std::size_t at = 0;
    bool first = true;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        const std::string word = text.substr(at, end - at);
        if (!first && out.size() - lineStart + 1 + word.size() > kUsageWidth) {
            out += "\n";
            lineStart = out.size();
            out.append(kUsageIndent, ' ');
        } else if (!first) {
            out += ' ';
        }
        out += word;
        first = false;
        at = end + 1;
    }
    return out + "\n";
}

// Laid out as help2man reads it for the manual page.
const std::string& Usage() {
    static const std::string usage =
        "Usage: vornix-cli info [--recover] FILE.swd\n"
        "  or:  vornix-cli repack [--recover] IN.swd OUT.swd\n"
        "  or:  vornix-cli extract [--recover] IN.swd DIR\n"
        "  or:  vornix-cli build DIR OUT.swd\n"
        "  or:  vornix-cli export-texture IN.swd SLOT LINE OUT [--format " +
        FormatNames(FormatUse::Write, NameCase::Lower, "|", "|") +
        "] [--quality 0-100] [--rle]\n"
        "  or:  vornix-cli add-texture IN.swd SLOT OUT.swd IMAGE...\n"
        "  or:  vornix-cli split IN.swd SLOT IMAGE OUT.swd --piece WxH [--pad]\n"
        "  or:  vornix-cli resize IN.swd SLOT FIRST LAST OUT.swd --size WxH [--keep-aspect]"
        " [--filter stretch|bilinear]\n"
        "  or:  vornix-cli move-texture IN.swd SLOT FIRST LAST TO OUT.swd\n"
        "  or:  vornix-cli export-object IN.swd SLOT OUT.swo\n"
        "  or:  vornix-cli import-object IN.swd OBJ.swo OUT.swd\n"
        "  or:  vornix-cli --help | --version\n"
        "Check, edit and convert the SWD sprite wads of Tomb Raider level editors.\n"
        "\n"
        "Commands:\n"
        "  info            list the file's counts, objects and textures\n"
        "  repack          pack the textures onto fresh pages and write OUT.swd\n"
        "  extract         write every texture as DIR/<slot>_<NAME>/<k>.png and the objects\n"
        "                  as DIR/objects.txt\n" +
        Describe("build", "rebuild a wad from an extract folder (" +
                              FormatNames(FormatUse::Read, NameCase::Upper, ", ", " or ") +
                              " textures) and write OUT.swd") +
        "  export-texture  write texture LINE of object SLOT as an image; the format from\n"
        "                  --format, else from OUT's extension\n"
        "  add-texture     fit each image into 256 x 256, append it to object SLOT (made when\n"
        "                  missing) and write OUT.swd\n"
        "  split           cut IMAGE into WxH pieces, row by row, and append them to the object\n"
        "                  SLOT (made when missing); --pad fills edge pieces to the full size\n"
        "                  with magenta\n"
        "  resize          resize lines FIRST to LAST of the object SLOT to WxH, or with\n"
        "                  --keep-aspect to the largest size of their own proportions inside\n"
        "                  it; stretch (default) mixes no colours\n"
        "  move-texture    move lines FIRST to LAST of the object SLOT so that they start at\n"
        "                  line TO; the other lines keep their order\n"
        "  export-object   write the object with slot number SLOT as OUT.swo\n"
        "  import-object   add the textures of OBJ.swo to the object with its slot number\n"
        "                  (made when missing), pack and write OUT.swd\n"
        "\n"
        "Options:\n"
        "  --recover       load a wad whose header says it holds no sprites as the sprites\n"
        "                  that follow it\n"
        "  -h, --help      print this help and exit\n"
        "  --version       print the version and exit\n"
        "\n"
        "Exit status:\n"
        "  0  the command succeeded\n"
        "  1  the command failed: the reason goes to stderr and nothing is written\n"
        "  2  the command line was wrong: the reason and this help go to stderr\n";
    return usage;
}

int UsageError(const std::string& problem) {
    std::fprintf(stderr, "vornix-cli: %s\n%s", problem.c_str(), Usage().c_str());
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
    {"split", false,
     [](const Operands& op, const swd::ReadOptions&) {
         std::string problem;
         const auto request = ParseSplit(op, problem);
         return request ? RunSplit(*request) : UsageError(problem);
     }},
    {"resize", false,
     [](const Operands& op, const swd::ReadOptions&) {
         std::string problem;
         const auto request = ParseResize(op, problem);
         return request ? RunResize(*request) : UsageError(problem);
     }},
    {"move-texture", false,
     [](const Operands& op, const swd::ReadOptions&) {
         std::string problem;
         const auto request = ParseMoveTexture(op, problem);
         return request ? RunMoveTexture(*request) : UsageError(problem);
     }},
    {"export-texture", false,
     [](const Operands& op, const swd::ReadOptions&) {
         std::string problem;
         const auto request = ParseExportTexture(op, problem);
         return request ? RunExportTexture(*request) : UsageError(problem);
     }},
    {"add-texture", false,
     [](const Operands& op, const swd::ReadOptions&) {
         if (op.size() < 4) {
             return UsageError("add-texture takes a file, a slot, an output file and at least "
                               "one image");
         }
         std::string problem;
         const std::optional<std::uint32_t> slot = ParseSlot(op[1], &problem);
         return slot ? RunAddTexture(op[0], *slot, op[2], {op.begin() + 3, op.end()})
                     : UsageError(problem);
     }},
    {"export-object", false,
     [](const Operands& op, const swd::ReadOptions&) {
         if (op.size() != 3) {
             return UsageError("export-object takes an input file, a slot number and an output "
                               "file");
         }
         std::string problem;
         const std::optional<std::uint32_t> slot = ParseSlot(op[1], &problem);
         return slot ? RunExportObject(op[0], *slot, op[2]) : UsageError(problem);
     }},
    {"import-object", false,
     [](const Operands& op, const swd::ReadOptions&) {
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
        std::fputs(Usage().c_str(), stdout);
        return 0;
    }
    if (command == "--version") {
        std::printf("vornix-cli %s\n", kVornixVersion);
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
