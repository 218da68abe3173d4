#include "SwdTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using fixtures::MakeTexture;
using fixtures::SwdBuilder;

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
    ASSERT_TRUE(swd::WriteSwdFile(path, wad).ok());
    SpriteWad back;
    ASSERT_TRUE(swd::ReadSwdFile(path, back).ok());
    EXPECT_EQ(back.m_sequences, wad.m_sequences);
    ASSERT_EQ(back.m_textures.size(), 65536u);

    const auto bytes = fixtures::ReadFileBytes(path);
    wad.m_entries.push_back(SpriteEntry::At(0, 0, 1, 1, 1));
    wad.m_pages.push_back(MakeTexture(256, 256, 6));
    EXPECT_EQ(swd::WriteSwdFile(path, wad).fault(), Fault::WriteFailed);
    EXPECT_TRUE(fixtures::ReadFileBytes(path) == bytes);
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
    Status r;
    const std::size_t allocated = swdtest::BytesAllocatedBy([&] { r = swd::ReadSwd(bytes, wad); });
    EXPECT_EQ(r.message(), "This sprite wad is too large to load: its textures and objects would "
                           "take 12288 MiB of memory, more than the 2048 MiB allowed");
    EXPECT_LT(allocated, std::size_t{4} << 20);
    EXPECT_TRUE(wad == before);
}

// A file of several gigabytes on disk that holds little (21 845 pages, one sprite on the
// last): memory follows what the file states, and no other page is read.
TEST(SwdLimits, SparseFilesOfSeveralGigabytesLoadInBoundedMemory) {
    constexpr int pages = 21845;
    fixtures::TempDir dir;
    const auto path = dir / "sparse.swd";
    fixtures::WriteFileBytes(path, SwdBuilder()
                                       .Entry(0, 0, pages - 1, 2, 2)
                                       .StatedPageBytes(pages * swdtest::kPageBytes)
                                       .Build());
    std::filesystem::resize_file(path, swdtest::PageOffset(1) + pages * swdtest::kPageBytes);
    const std::uint8_t objects[] = {1, 0, 0, 0, 0xCF, 1, 0, 0, 0xFF, 0xFF, 0, 0};
    std::ofstream(path, std::ios::binary | std::ios::app)
        .write(reinterpret_cast<const char*>(objects), sizeof objects);
    SpriteWad wad;
    Status r;
    const std::size_t allocated =
        swdtest::BytesAllocatedBy([&] { r = swd::ReadSwdFile(path.string(), wad); });
    ASSERT_TRUE(r.ok()) << r.message();
    EXPECT_EQ(wad.TextureCount() * 10 + wad.ObjectCount(), 11u);
    EXPECT_LT(allocated, std::size_t{1} << 20);
}
