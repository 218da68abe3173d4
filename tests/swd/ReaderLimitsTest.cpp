#include "AllocationCounter.h"
#include "SwdTestSupport.h"

#include "model/PackTextures.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

using fixtures::MakeTexture;
using fixtures::SwdBuilder;
using swdtest::kPageBytes;

namespace {

SpriteTexture Cut(const TexturePage& page, int x, int y, int width, int height) {
    SpriteTexture t;
    EXPECT_TRUE(t.Copy(page, x, y, width, height));
    return t;
}

struct SoundCase {
    const char* name;
    SwdBuilder file;
    // Each texture as (x, y, width, height) on page 0.
    std::vector<std::array<int, 4>> sprites;
};

// Files other tools write: sprites sharing a rectangle or overlapping, and empty objects whose
// first index lies inside another run. Each loads, repacks and reads back the same.
TEST(SwdReaderLimits, OverlappingSpritesAndEmptyObjectsInsideRunsLoadAndRepack) {
    const TexturePage page = MakeTexture(256, 256, 30);
    const std::vector<SoundCase> cases{
        {"two entries on one rectangle",
         SwdBuilder().Entry(8, 8, 0, 16, 16).Entry(8, 8, 0, 16, 16).Page(page).Sequence(463, -2, 0),
         {{8, 8, 16, 16}, {8, 8, 16, 16}}},
        {"full page and a small sprite on it",
         SwdBuilder()
             .Entry(0, 0, 0, 256, 256)
             .Entry(250, 3, 0, 6, 9)
             .Page(page)
             .Sequence(460, -2, 0),
         {{0, 0, 256, 256}, {250, 3, 6, 9}}},
        {"empty object inside a run",
         SwdBuilder()
             .Entry(0, 0, 0, 4, 4)
             .Entry(4, 0, 0, 4, 4)
             .Entry(8, 0, 0, 4, 4)
             .Page(page)
             .Sequence(463, -3, 0)
             .Sequence(470, 0, 1),
         {{0, 0, 4, 4}, {4, 0, 4, 4}, {8, 0, 4, 4}}},
    };
    for (const SoundCase& c : cases) {
        SCOPED_TRACE(c.name);
        SpriteWad wad;
        swd::Result r = swd::ReadSwd(c.file.Build(), wad);
        ASSERT_TRUE(r.ok()) << r.message;
        ASSERT_EQ(wad.TextureCount(), c.sprites.size());
        for (std::size_t i = 0; i < c.sprites.size(); ++i) {
            const auto [x, y, w, h] = c.sprites[i];
            EXPECT_EQ(wad.m_textures[i], Cut(page, x, y, w, h)) << i;
        }
        const SpriteWad loaded = wad;
        ASSERT_EQ(PackTextures(wad).status, PackStatus::Done);
        SpriteWad again;
        r = swd::ReadSwd(swd::SerializeSwd(wad), again);
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(again.m_sequences, loaded.m_sequences);
        EXPECT_TRUE(again.m_textures == loaded.m_textures);
    }
}

// The empty object of a file that starts inside another run gets its first texture behind
// that run, which stays whole.
TEST(SwdReaderLimits, FirstTextureOfAnEmptyObjectInsideARunGoesBehindTheRun) {
    SpriteWad wad;
    ASSERT_TRUE(swd::ReadSwd(SwdBuilder()
                                 .Entry(0, 0, 0, 4, 4)
                                 .Entry(4, 0, 0, 4, 4)
                                 .Entry(8, 0, 0, 4, 4)
                                 .Page(MakeTexture(256, 256, 31))
                                 .Sequence(463, -2, 0)
                                 .Sequence(470, 0, 1)
                                 .Sequence(494, -1, 2)
                                 .Build(),
                             wad)
                    .ok());
    ASSERT_TRUE(wad.AddTexture(1, MakeTexture(2, 2, 32)));
    EXPECT_EQ(wad.m_sequences,
              (std::vector<ObjectSequence>{{463, -2, 0}, {470, -1, 2}, {494, -1, 3}}));
    EXPECT_TRUE(wad.RunsAreValid());
    EXPECT_EQ(wad.m_textures[2], MakeTexture(2, 2, 32));
}

// 65 535 full-page sprites on one page would take 12 GiB of textures: refused from a file of
// about a megabyte, before anything near that is allocated.
TEST(SwdReaderLimits, TexturesAboveTheCeilingAreRefusedBeforeAllocating) {
    SwdBuilder b;
    for (int i = 0; i < 65535; ++i) {
        b.Entry(0, 0, 0, 256, 256);
    }
    const auto bytes = b.Page(MakeTexture(256, 256, 33)).Sequence(463, -32767, 0).Build();
    SpriteWad wad = swdtest::LoadedDocument();
    const SpriteWad before = wad;
    swd::Result r;
    std::size_t allocated = 0;
    {
        swdtest::AllocationCounter counter;
        r = swd::ReadSwd(bytes, wad);
        allocated = counter.Bytes();
    }
    EXPECT_EQ(r.status, swd::Status::TooLarge);
    EXPECT_EQ(r.message, "This sprite wad is too large to load: its textures and objects would "
                         "take 12288 MiB of memory, more than the 2048 MiB allowed");
    // The 65 535 entries themselves are read and kept: the counter sees a megabyte or two.
    EXPECT_GT(allocated, std::size_t{1} << 20);
    EXPECT_LT(allocated, std::size_t{4} << 20);
    swdtest::ExpectSameDocument(wad, before);
}

// Files of several gigabytes on disk that hold little: memory follows what the file states.
TEST(SwdReaderLimits, SparseFilesOfSeveralGigabytesLoadInBoundedMemory) {
    fixtures::TempDir dir;
    struct SparseCase {
        const char* name;
        std::vector<std::uint8_t> head; // then a hole up to `size`, then `tail`
        std::uint64_t size;
        std::vector<std::uint8_t> tail;
    };
    const std::vector<SparseCase> cases{
        {"stale tail of gigabytes",
         SwdBuilder()
             .Entry(1, 1, 0, 3, 3)
             .Page(MakeTexture(256, 256, 35))
             .Sequence(463, -1, 0)
             .Build(),
         std::uint64_t{5} << 30,
         {}},
        // 21 845 pages, one sprite on the last; no other page is read.
        {"pages of gigabytes",
         SwdBuilder().Entry(0, 0, 21844, 2, 2).StatedPageBytes(21845 * kPageBytes).Build(),
         swdtest::PageOffset(1) + std::uint64_t{21845} * kPageBytes,
         {1, 0, 0, 0, 0xCF, 1, 0, 0, 0xFF, 0xFF, 0, 0}},
    };
    for (const SparseCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = dir / "sparse.swd";
        fixtures::WriteFileBytes(path, c.head);
        std::filesystem::resize_file(path, c.size);
        std::ofstream(path, std::ios::binary | std::ios::app)
            .write(reinterpret_cast<const char*>(c.tail.data()),
                   static_cast<std::streamsize>(c.tail.size()));
        SpriteWad wad;
        swd::Result r;
        std::size_t allocated = 0;
        {
            swdtest::AllocationCounter counter;
            r = swd::ReadSwdFile(path.string(), wad);
            allocated = counter.Bytes();
        }
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(wad.TextureCount(), 1u);
        EXPECT_EQ(wad.ObjectCount(), 1u);
        EXPECT_LT(allocated, std::size_t{1} << 20);
    }
}

} // namespace
