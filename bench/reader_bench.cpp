// The SWD reader on files whose checks used to cost more than their size: many empty objects
// (time against their number) and sparse files of gigabytes (memory against what they state).
//
// Objects: 65 535 one-pixel sprites, each its own object, then n empty objects whose first
// index lies anywhere, also inside runs; fixed seed. Times are the best of several loads of a
// file in the page cache.
#include "BenchCheck.h"
#include "formats/SwdFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr std::uint32_t kSprites = 65535;
constexpr std::size_t kPageBytes = 256 * 256 * 3;

void Put32(std::ofstream& out, std::uint32_t v) {
    const char bytes[4] = {static_cast<char>(v), static_cast<char>(v >> 8),
                           static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
    out.write(bytes, 4);
}

void Put16(std::ofstream& out, std::uint16_t v) {
    const char bytes[2] = {static_cast<char>(v), static_cast<char>(v >> 8)};
    out.write(bytes, 2);
}

// The file of the header comment with `empties` empty objects; returns its size.
std::uintmax_t WriteManyObjects(const std::string& path, std::uint32_t empties) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    Put32(out, swd::kVersion);
    Put32(out, kSprites);
    for (std::uint32_t i = 0; i < kSprites; ++i) {
        const char entry[16] = {static_cast<char>(i & 0xFF),
                                static_cast<char>(i >> 8),
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0};
        out.write(entry, 16);
    }
    Put32(out, kPageBytes);
    const std::vector<char> page(kPageBytes, 0x40);
    out.write(page.data(), static_cast<std::streamsize>(page.size()));
    Put32(out, kSprites + empties);
    for (std::uint32_t i = 0; i < kSprites; ++i) {
        Put32(out, 1000 + i);
        Put16(out, 0xFFFF);
        Put16(out, static_cast<std::uint16_t>(i));
    }
    std::mt19937 rng(4711);
    for (std::uint32_t i = 0; i < empties; ++i) {
        Put32(out, 1000 + kSprites + i);
        Put16(out, 0);
        Put16(out, static_cast<std::uint16_t>(rng() % (kSprites + 1)));
    }
    Check(static_cast<bool>(out), "cannot write the bench file");
    out.close();
    return std::filesystem::file_size(path);
}

double BestLoadSeconds(const std::string& path, std::size_t objects) {
    double best = 1e30;
    for (int run = 0; run < 9; ++run) {
        SpriteWad wad;
        const auto start = std::chrono::steady_clock::now();
        const Status r = swd::ReadSwdFile(path, wad);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        Check(r.ok() && wad.ObjectCount() == objects, "the bench file does not load");
        best = std::min(best, took.count());
    }
    return best;
}

long PeakKilobytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main() {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("vornix-reader-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "in.swd").string();

    // Sparse files first, while the process is small: the growth of its peak resident size is
    // what the loads took.
    std::printf("sparse files (5 GiB and 4 GiB on disk, holes read as zeros):\n");
    struct Sparse {
        const char* name;
        std::uint32_t pages;
        std::uint16_t spritePage;
        std::uintmax_t holeUntil;
    };
    for (const Sparse& s : {Sparse{"1 page, 1 sprite, then a 5 GiB stale tail", 1, 0, 5ull << 30},
                            Sparse{"21845 pages, 1 sprite on the last", 21845, 21844, 0}}) {
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            Put32(out, swd::kVersion);
            Put32(out, 1);
            const char entry[16] = {0,
                                    0,
                                    static_cast<char>(s.spritePage & 0xFF),
                                    static_cast<char>(s.spritePage >> 8),
                                    0,
                                    15,
                                    0,
                                    15};
            out.write(entry, 16);
            Put32(out, static_cast<std::uint32_t>(s.pages * kPageBytes));
        }
        const std::uintmax_t objectsAt = 28 + std::uintmax_t{s.pages} * kPageBytes;
        std::filesystem::resize_file(path, objectsAt);
        {
            std::ofstream out(path, std::ios::binary | std::ios::app);
            Put32(out, 1);
            Put32(out, 463);
            Put16(out, 0xFFFF);
            Put16(out, 0);
        }
        if (s.holeUntil != 0) {
            std::filesystem::resize_file(path, s.holeUntil);
        }
        const long before = PeakKilobytes();
        SpriteWad wad;
        const auto start = std::chrono::steady_clock::now();
        const Status r = swd::ReadSwdFile(path, wad);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        Check(r.ok() && wad.TextureCount() == 1, "the sparse file does not load");
        std::printf("  %-45s %12ju bytes: loaded in %.3f ms, peak resident size grew by %ld KiB\n",
                    s.name, static_cast<std::uintmax_t>(std::filesystem::file_size(path)),
                    took.count() * 1e3, PeakKilobytes() - before);
    }

    std::printf("many empty objects (65535 one-sprite objects plus n empty ones):\n");
    const std::uint32_t n = 1u << 20;
    std::vector<std::pair<std::uint32_t, double>> times;
    for (const std::uint32_t empties : {0u, n, 4 * n}) {
        const std::uintmax_t size = WriteManyObjects(path, empties);
        const double seconds = BestLoadSeconds(path, kSprites + empties);
        times.emplace_back(empties, seconds);
        std::printf("  n = %8u: %10ju bytes, load %9.3f ms\n", empties,
                    static_cast<std::uintmax_t>(size), seconds * 1e3);
    }
    const double perN = times[1].second - times[0].second;
    const double per4N = times[2].second - times[0].second;
    std::printf("  time the empty objects add: %.3f ms for n, %.3f ms for 4n, ratio %.2f "
                "(4 is linear)\n",
                perN * 1e3, per4N * 1e3, per4N / perN);

    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return 0;
}
