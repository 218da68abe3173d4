// vornix-cli add-texture of 1000 PNG files of 64 x 64 against decoding the same files with
// GraphicsMagick alone.
//
// add-texture is timed as a user runs it: the whole command in its own process (start, read
// the wad, load and fit every image, append it, pack, write the wad). The baseline reads and
// decodes each file with GraphicsMagick and takes its pixels as 24-bit BGR, twice: as a
// process of its own (this program run with --decode), which pays the same start and loading
// of GraphicsMagick as the command, and inside this process, already started, the strictest
// comparison. All read the files from the page cache; every measurement is repeated and the
// best run is kept. Wall time is what a user waits for; on a machine shared with other work it
// swings with the load, so the processor time (user and system, all threads) is given too.
#include "BenchCheck.h"
#include "formats/SwdFile.h"
#include "support/Fixtures.h"

#include <Magick++.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kImages = 1000;
constexpr int kSide = 64;
constexpr int kRepeats = 11;

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

double CpuSeconds(const rusage& usage) {
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

struct Timing {
    double wall = 1e30;
    double cpu = 1e30;
};

// Best wall time and best processor time over the repeats; `run` returns the processor
// time it used.
Timing Best(const std::function<double()>& run) {
    Timing best;
    for (int i = 0; i < kRepeats; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const double cpu = run();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best.wall = std::min(best.wall, took.count());
        best.cpu = std::min(best.cpu, cpu);
    }
    return best;
}

// Runs a program with its output thrown away and returns the processor time it used; fails
// the bench if the program fails.
double RunProcess(std::string binary, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(binary.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    Check(child >= 0, "fork failed");
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    Check(WIFEXITED(status) && WEXITSTATUS(status) == 0, "a timed program failed");
    return CpuSeconds(usage);
}

// Decodes every file with GraphicsMagick into 24-bit BGR; returns a checksum of the pixels.
std::size_t DecodeAll(const std::vector<std::string>& files) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kSide) * kSide * 3);
    std::size_t sum = 0;
    for (const std::string& file : files) {
        Magick::Image picture;
        picture.read(file);
        picture.write(0, 0, kSide, kSide, "BGR", Magick::CharPixel, pixels.data());
        sum += pixels[0];
    }
    return sum;
}

} // namespace

int main(int argc, char** argv) {
    Magick::InitializeMagick(nullptr);
    if (argc > 1 && std::string(argv[1]) == "--decode") {
        std::printf("%zu\n", DecodeAll({argv + 2, argv + argc}));
        return 0;
    }
    fixtures::TempDir dir;
    fixtures::WriteFileBytes(dir / "in.swd", fixtures::SmallWad().Build());
    std::vector<std::string> files;
    for (int i = 0; i < kImages; ++i) {
        const SpriteTexture texture =
            fixtures::MakeTexture(kSide, kSide, static_cast<std::uint32_t>(i));
        Magick::Image picture(kSide, kSide, "BGR", Magick::CharPixel, texture.GetBits());
        files.push_back((dir / ("img" + std::to_string(i) + ".png")).string());
        picture.write("PNG:" + files.back());
    }
    std::vector<std::string> args{"add-texture", (dir / "in.swd").string(), "464",
                                  (dir / "out.swd").string()};
    args.insert(args.end(), files.begin(), files.end());

    std::size_t sink = 0;
    const Timing decode = Best([&] {
        rusage before{};
        ::getrusage(RUSAGE_SELF, &before);
        sink += DecodeAll(files);
        rusage after{};
        ::getrusage(RUSAGE_SELF, &after);
        return CpuSeconds(after) - CpuSeconds(before);
    });
    std::vector<std::string> decodeArgs{"--decode"};
    decodeArgs.insert(decodeArgs.end(), files.begin(), files.end());
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const Timing decodeProcess = Best([&] { return RunProcess(self, decodeArgs); });
    const Timing command = Best([&] { return RunProcess(VORNIX_CLI_PATH, args); });
    // What the command costs before any image: start, library loading, one file, the write.
    const Timing oneFile = Best([&] {
        return RunProcess(VORNIX_CLI_PATH,
                          {"add-texture", args[1], "464", (dir / "one.swd").string(), files[0]});
    });

    SpriteWad out;
    Check(swd::ReadSwdFile((dir / "out.swd").string(), out).ok(), "the result does not load");
    Check(out.m_sequences.back().slotId == 464 && out.m_sequences.back().TextureCount() == kImages,
          "the result does not hold the added textures");

    std::printf("%d PNG files of %d x %d, best of %d runs (checksum %zu)\n", kImages, kSide, kSide,
                kRepeats, sink % 10);
    const auto row = [](const char* what, const Timing& t) {
        std::printf("  %-38s %8.1f %8.1f\n", what, t.wall * 1e3, t.cpu * 1e3);
    };
    const auto ratio = [](const char* what, const Timing& a, const Timing& b) {
        std::printf("  %-38s %8.2f %8.2f\n", what, a.wall / b.wall, a.cpu / b.cpu);
    };
    std::printf("  %-38s %8s %8s\n", "", "wall ms", "cpu ms");
    row("GraphicsMagick decode, in this process", decode);
    row("GraphicsMagick decode, own process", decodeProcess);
    row("vornix-cli add-texture", command);
    row("vornix-cli add-texture, 1 file", oneFile);
    ratio("add-texture / decode, own process", command, decodeProcess);
    ratio("add-texture / decode, in this process", command, decode);
    const bool met =
        command.wall <= 1.5 * decodeProcess.wall && command.cpu <= 1.5 * decodeProcess.cpu;
    std::printf("  at most 1.50 against the decoding process: %s\n", met ? "met" : "NOT met");
    return 0;
}
