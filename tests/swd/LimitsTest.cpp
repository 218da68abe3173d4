#include "SwdTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using fixtures::MakeTexture;
using fixtures::SwdBuilder;
using swdtest::kPageBytes;

namespace {

// 65 536 one-pixel sprites fill one page exactly, the most entries a first index and a count
// can reach: that file is written and reads back, one entry more is refused before the file
// is touched.
TEST(SwdLimits, WriterTakesSixtyFiveThousandFiveHundredThirtySixEntriesAndRefusesOneMore) {
    fixtures::TempDir dir;
    const std::string path = (dir / "full.swd").string();
    SpriteWad wad;
    for (int i = 0; i < 65536; ++i) {
        wad.m_entries.push_back(SpriteEntry::At(i % 256, i / 256, 0, 1, 1));
    }
    wad.m_pages = {MakeTexture(256, 256, 5)};
    wad.m_sequences = {{463, -32768, 0}, {464, -32768, 32768}};
    const swd::Result written = swd::WriteSwdFile(path, wad);
    ASSERT_TRUE(written.ok()) << written.message;
    SpriteWad back;
    const swd::Result read = swd::ReadSwdFile(path, back);
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_EQ(back.m_sequences, wad.m_sequences);
    ASSERT_EQ(back.m_textures.size(), 65536u);
    for (int i = 0; i < 65536; ++i) {
        ASSERT_EQ(fixtures::PixelAt(back.m_textures[i], 0, 0),
                  fixtures::PixelAt(wad.m_pages[0], i % 256, i / 256))
            << i;
    }

    const auto bytes = fixtures::ReadFileBytes(path);
    wad.m_entries.push_back(SpriteEntry::At(0, 0, 1, 1, 1));
    wad.m_pages.push_back(MakeTexture(256, 256, 6));
    EXPECT_EQ(swd::WriteSwdFile(path, wad).status, swd::Status::WriteFailed);
    EXPECT_TRUE(fixtures::ReadFileBytes(path) == bytes);
    EXPECT_EQ(swd::WriteSwdFile((dir / "more.swd").string(), wad).status, swd::Status::WriteFailed);
    EXPECT_FALSE(std::filesystem::exists(dir / "more.swd"));
}

// 65 535 full-page sprites on one page would take 12 GiB of textures: refused from a file of
// about a megabyte, before anything near that is allocated.
TEST(SwdLimits, TexturesAboveTheCeilingAreRefusedBeforeAllocating) {
    SwdBuilder b;
    for (int i = 0; i < 65535; ++i) {
        b.Entry(0, 0, 0, 256, 256);
    }
    const auto bytes = b.Page(MakeTexture(256, 256, 33)).Sequence(463, -32767, 0).Build();
    SpriteWad wad = swdtest::LoadedDocument();
    const SpriteWad before = wad;
    swd::Result r;
    const std::size_t allocated = swdtest::BytesAllocatedBy([&] { r = swd::ReadSwd(bytes, wad); });
    EXPECT_EQ(r.status, swd::Status::TooLarge);
    EXPECT_EQ(r.message, "This sprite wad is too large to load: its textures and objects would "
                         "take 12288 MiB of memory, more than the 2048 MiB allowed");
    // The 65 535 entries themselves are read and kept: the counter sees a megabyte or two.
    EXPECT_GT(allocated, std::size_t{1} << 20);
    EXPECT_LT(allocated, std::size_t{4} << 20);
    swdtest::ExpectSameDocument(wad, before);
}

// Files of several gigabytes on disk that hold little: memory follows what the file states.
TEST(SwdLimits, SparseFilesOfSeveralGigabytesLoadInBoundedMemory) {
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
        const std::size_t allocated =
            swdtest::BytesAllocatedBy([&] { r = swd::ReadSwdFile(path.string(), wad); });
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(wad.TextureCount(), 1u);
        EXPECT_EQ(wad.ObjectCount(), 1u);
        EXPECT_LT(allocated, std::size_t{1} << 20);
    }
}

} // namespace
