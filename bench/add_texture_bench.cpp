// vornix-cli add-texture of 1000 PNG files of 64 x 64 against decoding the same files with
// GraphicsMagick alone.
//
// add-texture is timed as a user runs it: the whole command in its own process (start, read
// the wad, load and fit every image, append it, pack, write the wad). The baseline reads and
// decodes each file with GraphicsMagick in this process, already started, and takes its
// pixels as 24-bit BGR. Both read the files from the page cache; every measurement is
// repeated and the best run is kept.
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
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kImages = 1000;
constexpr int kSide = 64;
constexpr int kRepeats = 7;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "add_texture_bench: %s\n", what);
        std::exit(1);
    }
}

double BestSeconds(const std::function<void()>& run) {
    double best = 1e30;
    for (int i = 0; i < kRepeats; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

// Runs vornix-cli with its output thrown away; fails the bench if the command fails.
void RunCli(const std::vector<std::string>& args) {
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
    ::waitpid(child, &status, 0);
    Check(WIFEXITED(status) && WEXITSTATUS(status) == 0, "vornix-cli add-texture failed");
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
    const double decode = BestSeconds([&] {
        for (const std::string& file : files) {
            Magick::Image picture;
            picture.read(file);
            picture.write(0, 0, kSide, kSide, "BGR", Magick::CharPixel, pixels.data());
            sink += pixels[0];
        }
    });
    const double command = BestSeconds([&] { RunCli(args); });

    SpriteWad out;
    Check(swd::ReadSwdFile((dir / "out.swd").string(), out).ok(), "the result does not load");
    Check(out.m_sequences.back().slotId == 464 && out.m_sequences.back().TextureCount() == kImages,
          "the result does not hold the added textures");

    std::printf("%d PNG files of %d x %d, best of %d runs (checksum %zu)\n", kImages, kSide, kSide,
                kRepeats, sink % 10);
    std::printf("  GraphicsMagick decode alone   %8.1f ms\n", decode * 1e3);
    std::printf("  vornix-cli add-texture        %8.1f ms\n", command * 1e3);
    std::printf("  ratio                         %8.2f (at most 1.50: %s)\n", command / decode,
                command / decode <= 1.5 ? "met" : "NOT met");
    return 0;
}
