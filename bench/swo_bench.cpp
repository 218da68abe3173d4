// SWO export and import speed against zlib alone on the same pixel buffers.
//
// The object: 4096 textures of 64 x 64 (rows of 192 bytes, so no padding), each a shaded
// disc with a little noise on a flat background; fixed seed. Export is
// WriteSwoFile (encode, then the atomic write with its flush to disk); zlib alone is
// compress2 at level 9 of every texture's buffer into room zlib's bound gives. Import is
// ReadSwoFile (the file sits in the page cache) plus adding the textures to an empty wad as
// Import Object does (AddTexturesToSlot, which also records the change that undoes it);
// zlib alone is uncompress of the same streams into buffers of the known size. The two
// sides run in turn and the best run of each is kept.
// Import takes fresh memory for every texture and for the file, and the first touch of those
// pages counts in its time; zlib alone writes into buffers it reuses from run to run.
#include "BenchCheck.h"
#include "edits/Edits.h"
#include "formats/SwoFile.h"
#include "support/Fixtures.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>
#include <zlib.h>

namespace {

constexpr int kTextures = 4096;
constexpr int kSide = 64;

double Seconds(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

// Runs the two sides in turn, so that a change in the machine's load hits both alike, and
// keeps the best time of each.
std::pair<double, double> BestOfPairs(int repeats, const std::function<void()>& ours,
                                      const std::function<void()>& zlibAlone) {
    double bestOurs = 1e30;
    double bestZlib = 1e30;
    for (int i = 0; i < repeats; ++i) {
        bestZlib = std::min(bestZlib, Seconds(zlibAlone));
        bestOurs = std::min(bestOurs, Seconds(ours));
    }
    return {bestOurs, bestZlib};
}

// A sprite: a shaded disc with a little noise on a flat background.
SpriteTexture MakeSprite(std::mt19937& rng, int index) {
    SpriteTexture t;
    Check(t.Create(kSide, kSide), "cannot create a texture");
    const int r = 12 + index % 20;
    std::uint8_t* p = t.GetBits();
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x, p += 3) {
            const int dx = x - kSide / 2;
            const int dy = y - kSide / 2;
            if (dx * dx + dy * dy > r * r) {
                p[0] = 255;
                p[1] = 0;
                p[2] = 255;
                continue;
            }
            const int shade = 255 - (dx * dx + dy * dy) * 200 / (r * r);
            p[0] = static_cast<std::uint8_t>(shade / 2 + (rng() & 7));
            p[1] = static_cast<std::uint8_t>(shade * (index % 5 + 1) / 5 + (rng() & 7));
            p[2] = static_cast<std::uint8_t>(std::min(255, shade / 3 + (x + index) % 32));
        }
    }
    return t;
}

SpriteWad BuildWad() {
    std::mt19937 rng(20261206);
    SpriteWad wad;
    wad.m_sequences = {{4096, -kTextures, 0}};
    for (int i = 0; i < kTextures; ++i) {
        wad.m_textures.push_back(MakeSprite(rng, i));
    }
    return wad;
}

} // namespace

int main() {
    const SpriteWad wad = BuildWad();
    const fixtures::TempDir dir;
    const std::string path = (dir / "bench.swo").string();

    std::vector<std::vector<std::uint8_t>> streams(kTextures);
    const auto [exportTime, zlibCompress] = BestOfPairs(
        5, [&] { Check(swo::WriteSwoFile(path, wad, 0).ok(), "export failed"); },
        [&] {
            for (int i = 0; i < kTextures; ++i) {
                const SpriteTexture& t = wad.m_textures[static_cast<std::size_t>(i)];
                uLongf size = compressBound(static_cast<uLong>(t.GetImageSize()));
                streams[i].resize(size);
                Check(compress2(streams[i].data(), &size, t.GetBits(),
                                static_cast<uLong>(t.GetImageSize()), 9) == Z_OK,
                      "compress2 failed");
                streams[i].resize(size);
            }
        });

    std::vector<std::vector<std::uint8_t>> pixels(kTextures);
    std::size_t imported = 0;
    const auto [importTime, zlibUncompress] = BestOfPairs(
        9,
        [&] {
            swo::SwoObject object;
            Check(swo::ReadSwoFile(path, object).ok(), "import failed");
            SpriteWad into;
            const edits::EditResult done =
                edits::AddTexturesToSlot(into, object.slotId, std::move(object.textures));
            imported = done ? into.ObjectTextureCount(done->object) : 0;
        },
        [&] {
            for (int i = 0; i < kTextures; ++i) {
                uLongf size = kSide * kSide * 3;
                pixels[i].resize(size);
                Check(uncompress(pixels[i].data(), &size, streams[i].data(),
                                 static_cast<uLong>(streams[i].size())) == Z_OK &&
                          size == pixels[i].size(),
                      "uncompress failed");
            }
        });
    Check(imported == kTextures, "not every texture was imported");

    std::size_t compressed = 0;
    for (const auto& s : streams) {
        compressed += s.size();
    }
    std::printf("%d textures of %d x %d, %zu bytes of pixels compressed to %zu\n", kTextures, kSide,
                kSide, static_cast<std::size_t>(kTextures) * kSide * kSide * 3, compressed);
    std::printf("export  %.3f s   zlib compress2 level 9  %.3f s   ratio %.2f\n", exportTime,
                zlibCompress, exportTime / zlibCompress);
    std::printf("import  %.3f s   zlib uncompress         %.3f s   ratio %.2f\n", importTime,
                zlibUncompress, importTime / zlibUncompress);
    return 0;
}
