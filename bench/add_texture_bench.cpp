// vornix-cli add-texture of 1000 PNG files of 64 x 64 against decoding the same files with
// GraphicsMagick alone.
//
// add-texture is timed as a user runs it: the whole command in its own process (start, read
// the wad, load and fit every image, append it, pack, write the wad). The baseline reads and
// decodes each file with GraphicsMagick in this process, already started, and takes its
// pixels as 24-bit BGR. Both read the files from the page cache; every measurement is
// repeated and the best run is kept. Wall time is what a user waits for; on a machine shared
// with other work it swings with the load, so the processor time (user and system, all
// threads) of both sides is given as well.
#include "model/SwdFile.h"
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

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "add_texture_bench: %s\n", what);
        std::exit(1);
    }
}

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

// Runs vornix-cli with its output thrown away and returns the processor time it used; fails
// the bench if the command fails.
double RunCli(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::string binary = VORNIX_CLI_PATH;
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
    Check(WIFEXITED(status) && WEXITSTATUS(status) == 0, "vornix-cli add-texture failed");
    return CpuSeconds(usage);
}

} // namespace

int main() {
    Magick::InitializeMagick(nullptr);
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

    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kSide) * kSide * 3);
    std::size_t sink = 0;
    const Timing decode = Best([&] {
        rusage before{};
        ::getrusage(RUSAGE_SELF, &before);
        for (const std::string& file : files) {
            Magick::Image picture;
            picture.read(file);
            picture.write(0, 0, kSide, kSide, "BGR", Magick::CharPixel, pixels.data());
            sink += pixels[0];
        }
        rusage after{};
        ::getrusage(RUSAGE_SELF, &after);
        return CpuSeconds(after) - CpuSeconds(before);
    });
    const Timing command = Best([&] { return RunCli(args); });
    // What the command costs before any image: start, library loading, one file, the write.
    const Timing oneFile = Best([&] {
        return RunCli({"add-texture", args[1], "464", (dir / "one.swd").string(), files[0]});
    });

    SpriteWad out;
    Check(swd::ReadSwdFile((dir / "out.swd").string(), out).ok(), "the result does not load");
    Check(out.m_sequences.back().slotId == 464 && out.m_sequences.back().TextureCount() == kImages,
          "the result does not hold the added textures");

    std::printf("%d PNG files of %d x %d, best of %d runs (checksum %zu)\n", kImages, kSide, kSide,
                kRepeats, sink % 10);
    std::printf("                                 wall ms    cpu ms\n");
    std::printf("  GraphicsMagick decode alone  %8.1f  %8.1f\n", decode.wall * 1e3,
                decode.cpu * 1e3);
    std::printf("  vornix-cli add-texture       %8.1f  %8.1f\n", command.wall * 1e3,
                command.cpu * 1e3);
    std::printf("  vornix-cli add-texture, 1 file %6.1f  %8.1f\n", oneFile.wall * 1e3,
                oneFile.cpu * 1e3);
    const double wallRatio = command.wall / decode.wall;
    const double cpuRatio = command.cpu / decode.cpu;
    std::printf("  ratio                        %8.2f  %8.2f   (at most 1.50: %s)\n", wallRatio,
                cpuRatio, wallRatio <= 1.5 && cpuRatio <= 1.5 ? "met" : "NOT met");
    return 0;
}
