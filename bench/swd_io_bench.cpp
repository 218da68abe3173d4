// SWD load and save speed against plain file I/O of the same bytes.
//
// The file: 64 pages of random pixels, 4096 sprites (one per 32 x 32 cell, each of a random
// size up to 32 x 32), 4 objects; fixed seed. Every measurement is repeated and the best run
// is kept. The file sits in the page cache for both sides of the load comparison.
#include "BenchCheck.h"
#include "formats/SwdFile.h"
#include "packing/PackTextures.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kPages = 64;
constexpr int kSprites = 4096;
constexpr int kRepeats = 21;

SpriteWad BuildLaidOutWad() {
    std::mt19937 rng(20240613);
    SpriteWad wad;
    for (int p = 0; p < kPages; ++p) {
        TexturePage page;
        page.Create(256, 256);
        for (std::size_t i = 0; i < page.GetImageSize(); ++i) {
            page.GetBits()[i] = static_cast<std::uint8_t>(rng());
        }
        wad.m_pages.push_back(std::move(page));
    }
    for (int i = 0; i < kSprites; ++i) {
        const int cell = i % 64;
        SpriteEntry e;
        e.page = static_cast<std::uint16_t>(i / 64);
        e.x = static_cast<std::uint8_t>(cell % 8 * 32);
        e.y = static_cast<std::uint8_t>(cell / 8 * 32);
        // Whole 32 x 32 cells, so that the saved file is again 64 full pages.
        e.widthMinusOne = 31;
        e.heightMinusOne = 31;
        wad.m_entries.push_back(e);
    }
    wad.m_sequences = {{460, -16, 0}, {463, -1000, 16}, {494, -2000, 1016}, {470, -1080, 3016}};
    return wad;
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

// The plain read: open, size, read the whole file into one buffer that is not cleared first,
// close.
std::size_t PlainRead(const std::string& path, std::vector<std::uint8_t>* copy = nullptr) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    Check(fd >= 0, "cannot open the bench file");
    struct stat st {};
    ::fstat(fd, &st);
    const auto size = static_cast<std::size_t>(st.st_size);
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[size]);
    std::size_t have = 0;
    while (have < size) {
        const ssize_t got = ::read(fd, bytes.get() + have, size - have);
        Check(got > 0, "cannot read the bench file");
        have += static_cast<std::size_t>(got);
    }
    ::close(fd);
    if (copy != nullptr) {
        copy->assign(bytes.get(), bytes.get() + size);
    }
    return size;
}

// The plain write: create or truncate, write everything, fsync, close.
void PlainWrite(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    Check(fd >= 0, "cannot create the baseline file");
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        Check(put > 0, "cannot write the baseline file");
        done += static_cast<std::size_t>(put);
    }
    Check(::fsync(fd) == 0, "cannot sync the baseline file");
    ::close(fd);
}

} // namespace

int main() {
    const auto folder =
        std::filesystem::temp_directory_path() / ("vornix-swd-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string input = (folder / "in.swd").string();
    const std::string output = (folder / "out.swd").string();
    const std::string baseline = (folder / "baseline.swd").string();

    Check(swd::WriteSwdFile(input, BuildLaidOutWad()).ok(), "cannot write the bench input");
    const auto inputSize = std::filesystem::file_size(input);

    // Load: ReadSwdFile (read, parse, check, cut 4096 textures) vs the plain read alone. Each
    // run loads into an empty document and frees it at the end of the run, as the plain read
    // frees its buffer.
    std::size_t sink = 0;
    const auto loadOnce = [&] {
        SpriteWad fresh;
        Check(swd::ReadSwdFile(input, fresh).ok(), "the bench input does not load");
        Check(fresh.TextureCount() == kSprites, "wrong texture count after load");
        sink += fresh.TextureCount();
    };
    // With glibc's default policy the 12 MB the load frees go back to the system after every
    // run and the next run faults them in afresh, while the plain read's single buffer is
    // reused without a fault: the two would not be paying for the same thing. Measured both
    // ways; the second, with trimming off for both sides, compares the work itself.
    const double loadTrimmed = BestSeconds(loadOnce);
    const double plainReadTrimmed = BestSeconds([&] { sink += PlainRead(input); });
    ::mallopt(M_TRIM_THRESHOLD, 1 << 30);
    ::mallopt(M_MMAP_THRESHOLD, 1 << 30);
    const double load = BestSeconds(loadOnce);
    const double plainRead = BestSeconds([&] { sink += PlainRead(input); });
    SpriteWad wad;
    Check(swd::ReadSwdFile(input, wad).ok(), "the bench input does not load");

    // Save: PackTextures + WriteSwdFile (serialise, temporary file, write, fsync, rename) vs
    // writing the very bytes that save produced to a file with write + fsync.
    std::size_t pages = 0;
    const double save = BestSeconds([&] {
        Check(PackTextures(wad).ok(), "packing failed");
        Check(swd::WriteSwdFile(output, wad).ok(), "saving failed");
        pages = wad.m_pages.size();
    });
    std::vector<std::uint8_t> saved;
    PlainRead(output, &saved);
    const double plainWrite = BestSeconds([&] { PlainWrite(baseline, saved); });

    // Where the save time goes, without the disk.
    const double pack = BestSeconds([&] { sink += PackTextures(wad).ok() ? 1 : 0; });
    const double serialise = BestSeconds([&] { sink += swd::SerializeSwd(wad).size(); });

    std::printf("SWD I/O bench: %d pages, %d sprites, input %ju bytes; best of %d runs\n", kPages,
                kSprites, static_cast<std::uintmax_t>(inputSize), kRepeats);
    std::printf("load: ReadSwdFile (read + parse + cut textures) into an empty document, "
                "freed after each run  %8.3f ms\n",
                load * 1e3);
    std::printf("      plain open/read/close of the same file      %8.3f ms\n", plainRead * 1e3);
    std::printf("      ratio %.2fx (target <= 3x); both with malloc trimming off\n",
                load / plainRead);
    std::printf("      with glibc's default trimming, where only the load faults its memory in "
                "again every run: %.3f ms vs %.3f ms, ratio %.2fx\n",
                loadTrimmed * 1e3, plainReadTrimmed * 1e3, loadTrimmed / plainReadTrimmed);
    std::printf("save: PackTextures + WriteSwdFile (temp file, write, fsync, rename), %zu pages, "
                "%zu bytes  %8.3f ms\n",
                pages, saved.size(), save * 1e3);
    std::printf("      plain open/write/fsync/close of the same bytes  %8.3f ms\n",
                plainWrite * 1e3);
    std::printf("      ratio %.2fx (target <= 5x)\n", save / plainWrite);
    std::printf("      of the save: PackTextures %.3f ms, SerializeSwd %.3f ms\n", pack * 1e3,
                serialise * 1e3);

    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return sink == 0 ? 1 : 0;
}
