// vornix-thumbnailer as a file manager runs it, on the largest wad the format can state and on
// damaged versions of it: wall time and peak memory of the process against the 1 s and 64 MiB
// a thumbnailer may take.
//
// The largest wad: 65 536 sprites, the 21 845 whole pages a 32-bit page size holds and
// 4 294 967 295 objects, about 36 GiB, written as a sparse file. Its first object holds
// 32 767 whole-page sprites, each on a page of its own, so that the picture's 64 sprites need
// 64 different pages; the pages those sprites use hold real pixels, the rest are holes.
#include "BenchCheck.h"
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
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t kPageBytes = 256 * 256 * 3;
constexpr std::uint32_t kEntries = 65536;
constexpr std::uint32_t kPages = 0xFFFFFFFFu / kPageBytes;
constexpr std::uint32_t kObjects = 0xFFFFFFFFu;
constexpr std::uint32_t kFirstObjectSprites = 32767;
constexpr std::uint64_t kPageOffset = 8 + 16ull * kEntries + 4;
constexpr std::uint64_t kObjectOffset = kPageOffset + kPages * kPageBytes;

constexpr double kSecondsAllowed = 1.0;
constexpr double kMiBAllowed = 64.0;

void PutAt(int fd, std::uint64_t offset, const std::vector<std::uint8_t>& bytes) {
    Check(pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)) ==
              static_cast<ssize_t>(bytes.size()),
          "cannot write the bench file");
}

std::vector<std::uint8_t> U32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

// Sprite i of the first object covers page i whole.
std::vector<std::uint8_t> Entry(std::uint32_t page, int width = 256) {
    return {0,
            0,
            static_cast<std::uint8_t>(page),
            static_cast<std::uint8_t>(page >> 8),
            0,
            static_cast<std::uint8_t>(width - 1),
            0,
            255,
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            0};
}

void WriteLargest(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    Check(fd >= 0, "cannot create the bench file");
    PutAt(fd, 0, U32(129));
    PutAt(fd, 4, U32(kEntries));
    std::vector<std::uint8_t> entries;
    for (std::uint32_t i = 0; i < kFirstObjectSprites; ++i) {
        const std::vector<std::uint8_t> e = Entry(i % kPages);
        entries.insert(entries.end(), e.begin(), e.end());
    }
    PutAt(fd, 8, entries);
    PutAt(fd, kPageOffset - 4, U32(kPages * static_cast<std::uint32_t>(kPageBytes)));
    std::vector<std::uint8_t> page(kPageBytes);
    for (std::uint32_t p = 0; p < 64; ++p) {
        for (std::size_t i = 0; i < page.size(); ++i) {
            page[i] = static_cast<std::uint8_t>(i * 7 + p);
        }
        PutAt(fd, kPageOffset + p * kPageBytes, page);
    }
    PutAt(fd, kObjectOffset, U32(kObjects));
    // Slot 460, -32767 sprites from 0; every later object is empty and starts at 0.
    PutAt(fd, kObjectOffset + 4, {0xCC, 0x01, 0, 0, 0x01, 0x80, 0, 0});
    Check(ftruncate(fd, static_cast<off_t>(kObjectOffset + 4 + 8ull * kObjects)) == 0,
          "cannot size the bench file");
    close(fd);
}

struct Measured {
    int exitCode = -1;
    double seconds = 0;
    double mib = 0;
};

// The worst of three runs of the real program.
Measured Run(const std::string& thumbnailer, const std::string& in, const std::string& out) {
    Measured worst;
    for (int i = 0; i < 3; ++i) {
        std::filesystem::remove(out);
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 2);
            execl(thumbnailer.c_str(), thumbnailer.c_str(), "-s", "256", in.c_str(), out.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        Check(wait4(child, &status, 0, &usage) == child, "wait4 failed");
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        worst.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        worst.seconds = std::max(worst.seconds, seconds);
        worst.mib = std::max(worst.mib, static_cast<double>(usage.ru_maxrss) / 1024.0);
    }
    return worst;
}

} // namespace

int main() {
    const std::string thumbnailer = VORNIX_THUMBNAILER_PATH;
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("thumbnailer_bench." + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string wad = (dir / "largest.swd").string(), out = (dir / "out.png").string();

    // Each case spoils the largest wad in one place; `spoil` runs on a fresh copy of it.
    const struct {
        const char* name;
        int exitCode;
        std::function<void(int fd)> spoil;
    } cases[] = {
        {"largest wad", 0, [](int) {}},
        {"cut inside the objects", 1,
         [](int fd) { Check(ftruncate(fd, kObjectOffset + 4 + 8ull * kObjects - 1) == 0, "cut"); }},
        {"cut inside the pages", 1,
         [](int fd) { Check(ftruncate(fd, kPageOffset + 5 * kPageBytes) == 0, "cut"); }},
        {"64th sprite on a missing page", 1, [](int fd) { PutAt(fd, 8 + 16 * 63, Entry(kPages)); }},
        {"64th sprite outside its page", 1,
         [](int fd) {
             PutAt(fd, 8 + 16 * 63, {1, 0, 63, 0, 0, 255, 0, 255});
         }},
        {"first object past the sprites", 1,
         [](int fd) {
             PutAt(fd, kObjectOffset + 4 + 6, {0xFF, 0xFF});
         }},
        {"more sprites than a wad holds", 1, [](int fd) { PutAt(fd, 4, U32(kEntries + 1)); }},
        {"another version", 1, [](int fd) { PutAt(fd, 0, U32(130)); }},
    };
    std::printf("%-32s %6s %10s %8s %10s %8s\n", "file", "exit", "seconds", "of 1 s", "MiB",
                "of 64");
    bool within = true;
    for (const auto& c : cases) {
        WriteLargest(wad);
        const int fd = open(wad.c_str(), O_WRONLY);
        Check(fd >= 0, "cannot open the bench file");
        c.spoil(fd);
        close(fd);
        const Measured m = Run(thumbnailer, wad, out);
        const bool ok =
            m.exitCode == c.exitCode && std::filesystem::exists(out) == (c.exitCode == 0);
        within = within && ok && m.seconds <= kSecondsAllowed && m.mib <= kMiBAllowed;
        std::printf("%-32s %6d %10.3f %8.3f %10.1f %8.3f%s\n", c.name, m.exitCode, m.seconds,
                    m.seconds / kSecondsAllowed, m.mib, m.mib / kMiBAllowed,
                    ok ? "" : "  (unexpected outcome)");
    }
    std::filesystem::remove_all(dir);
    std::printf("%s\n", within ? "every run within 1 s and 64 MiB" : "a run was NOT within limits");
    return within ? 0 : 1;
}
