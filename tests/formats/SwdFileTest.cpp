// SWD files: sprites cut from their pages, the first object read alone for a picture, damaged
// files refused whole, zero counts recovered only when asked, the limits and the bytes written.
#include "formats/SwdFile.h"
#include "io/LittleEndian.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <system_error>
#include <utility>

using fixtures::MakeTexture;
using fixtures::SwdBuilder;
using swd::kPageBytes;

// The bytes operator new hands out while `call` runs: an upper bound on the memory it takes.
std::size_t BytesAllocatedBy(const std::function<void()>& call);

namespace {

// Offset of the first page byte in a file with `entries` sprite entries.
std::size_t PageOffset(std::size_t entries) {
    return 12 + 16 * entries;
}

// A document as another file loads, to see that failed reads leave it alone.
SpriteWad LoadedDocument() {
    SpriteWad wad;
    wad.m_textures = {MakeTexture(7, 9, 77)};
    wad.m_sequences = {{470, -1, 0}};
    return wad;
}

// A sprite of a file's page block, cut and turned to B,G,R by a plain pixel walk.
SpriteTexture CutFromFile(const std::vector<std::uint8_t>& file, std::size_t pageOffset, int page,
                          int x, int y, int width, int height) {
    SpriteTexture t;
    t.Create(width, height);
    std::uint8_t* out = t.GetBits();
    for (int row = 0; row < height; ++row) {
        const std::size_t at = pageOffset + static_cast<std::size_t>(page) * kPageBytes +
                               static_cast<std::size_t>((y + row) * 256 + x) * 3;
        for (std::size_t i = 0; i < static_cast<std::size_t>(width) * 3; ++i) {
            *out++ = file.at(at + i / 3 * 3 + 2 - i % 3);
        }
    }
    return t;
}

// The wad a file holds, with its entries and pages taken straight from the file's bytes as
// though the packer had laid them out so: writing it must give the file back.
SpriteWad WithFileLayout(const std::vector<std::uint8_t>& file) {
    SpriteWad wad;
    swd::SwdFileInfo info;
    EXPECT_TRUE(swd::ReadSwd(file, wad, &info).ok());
    static_assert(std::endian::native == std::endian::little && sizeof(SpriteEntry) == 16);
    wad.m_entries.resize(info.entryCount);
    std::memcpy(wad.m_entries.data(), file.data() + 8, 16 * wad.m_entries.size());
    for (int p = 0; p < static_cast<int>(info.pageCount); ++p) {
        wad.m_pages.push_back(CutFromFile(file, PageOffset(info.entryCount), p, 0, 0, 256, 256));
    }
    return wad;
}

// Each sprite is its rectangle of its page and the document is replaced. With the entries
// and pages taken from the file, writing gives back exactly the bytes read. Files other
// tools write load too: a page size of whole pages and 5 bytes, a positive count, unsorted
// slots, an empty object inside a run, reserved bytes set, overlapping rectangles, no objects,
// and more than 8 192 objects. The preview of each holds its first object's first textures.
TEST(ReadSwd, CutsEverySpriteFromItsPageAndWritesTheFileBackByteForByte) {
    const TexturePage p1 = MakeTexture(256, 256, 4), p2 = MakeTexture(256, 256, 5);
    struct File {
        std::vector<std::uint8_t> bytes;
        std::vector<ObjectSequence> sequences;
        bool writesBack = false;
    };
    // More objects than the reader decodes at a time, each a sprite and a slot of its own.
    File many{{}, {}, true};
    SwdBuilder manyObjects;
    for (int k = 0; k < 8192 + 3; ++k) {
        const auto first = static_cast<std::uint16_t>(k);
        manyObjects.Entry(static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(k >> 8), 0, 1, 1)
            .Sequence(1000u + first, -1, first);
        many.sequences.push_back({1000u + first, -1, first});
    }
    many.bytes = manyObjects.Page(p1).Build();
    // clang-format off
    std::vector<File> files{
        many,
        {fixtures::SmallWad().Build(), {{463, -3, 2}, {460, -2, 0}, {494, 0, 5}}, true},
        {SwdBuilder().Entry(0, 0, 1, 4, 4).Page(p1).Page(p2).StatedPageBytes(2 * kPageBytes + 5)
             .Sequence(463, -1, 0).Build(), {{463, -1, 0}}},
        {SwdBuilder().Entry(0, 0, 0, 8, 8).Entry(8, 0, 0, 8, 8).Page(p1).Sequence(494, 1, 1)
             .Sequence(470, 0, 2).Sequence(463, -1, 0).Tail({0xAB}).Build(),
         {{494, 1, 1}, {470, 0, 2}, {463, -1, 0}}},
        {SwdBuilder().Entry(2, 3, 0, 4, 5).Entry(0, 0, 0, 256, 256).Entry(250, 3, 0, 6, 9).Page(p1)
             .Sequence(460, -3, 0).Build(), {{460, -3, 0}}, true},
        {SwdBuilder().Entry(0, 0, 0, 4, 4).Page(p1).Build(), {}, true},
    };
    // clang-format on
    if (const auto dir = fixtures::RealSwdDir(); !dir.empty()) {
        files.push_back({fixtures::ReadFileBytes(dir / "tdr_title.swd"),
                         {{460, -4, 0}, {463, -33, 4}, {494, -24, 37}, {470, -21, 61}},
                         true});
    }
    const fixtures::TempDir dir;
    for (auto& [bytes, sequences, writesBack] : files) {
        SCOPED_TRACE(bytes.size());
        for (const int at : {4, 6, 8, 11, 12, 15}) {
            bytes[8 + at] = static_cast<std::uint8_t>(at); // reserved bytes of the first entry
        }
        SpriteWad wad = LoadedDocument();
        ASSERT_TRUE(swd::ReadSwd(bytes, wad).ok());
        EXPECT_TRUE(wad.m_entries.empty() && wad.m_pages.empty());
        EXPECT_EQ(wad.m_sequences, sequences);
        const SpriteWad laidOut = WithFileLayout(bytes);
        ASSERT_EQ(laidOut.m_entries.size(), wad.m_textures.size());
        for (std::size_t i = 0; i < wad.m_textures.size(); ++i) {
            const SpriteEntry& e = laidOut.m_entries[i];
            EXPECT_EQ(wad.m_textures[i], CutFromFile(bytes, PageOffset(wad.m_textures.size()),
                                                     e.page, e.x, e.y, e.Width(), e.Height()))
                << i;
        }
        EXPECT_TRUE(!writesBack || swd::SerializeSwd(laidOut) == bytes);

        fixtures::WriteFileBytes(dir / "in.swd", bytes);
        const ObjectSequence first = sequences.empty() ? ObjectSequence{} : sequences[0];
        for (const std::size_t limit : {0, 2, 3, 64}) {
            SCOPED_TRACE(limit);
            swd::FirstObjectPreview preview;
            ASSERT_TRUE(
                swd::ReadFirstObjectPreview((dir / "in.swd").string(), limit, preview).ok());
            EXPECT_EQ(std::pair(preview.slotId, preview.textureCount),
                      std::pair(first.slotId, static_cast<std::size_t>(first.TextureCount())));
            const auto shown = wad.m_textures.begin() + first.firstTexture;
            EXPECT_TRUE(preview.textures ==
                        std::vector<SpriteTexture>(
                            shown, shown + std::min<std::ptrdiff_t>(limit, first.TextureCount())));
        }
    }
}

// The system's own reason follows the file's name (Windows words it its own way).
TEST(ReadSwdFile, UnopenableFilesAreRefusedWithTheSystemsReasonAndTheDocumentUnchanged) {
    const SpriteWad before = LoadedDocument();
    SpriteWad wad = before;
    fixtures::TempDir dir;
    const std::pair<std::string, int> unopenable[] = {{(dir / "absent.swd").string(), ENOENT},
                                                      {dir.path().string(), EISDIR}};
    for (const auto& [file, error] : unopenable) {
        const std::string message = swd::ReadSwdFile(file, wad).message();
        EXPECT_EQ(message.rfind("Cannot open the file \"" + file + "\": ", 0), 0u) << message;
#ifndef _WIN32
        EXPECT_TRUE(message.ends_with(std::generic_category().message(error))) << message;
#endif
    }
    EXPECT_TRUE(wad == before);
}

// `count` 1 x 1 sprites side by side on one page.
SwdBuilder Pixels(int count) {
    SwdBuilder b;
    for (int i = 0; i < count; ++i) {
        b.Entry(static_cast<std::uint8_t>(i), 0, 0, 1, 1);
    }
    return b.Page(MakeTexture(256, 256, 20));
}

// Whether the preview of the file refuses it and hands nothing out.
bool PreviewRefuses(const std::filesystem::path& path) {
    swd::FirstObjectPreview preview{true, 7, 9, {MakeTexture(2, 2, 1)}};
    return !swd::ReadFirstObjectPreview(path.string(), 64, preview).ok() && preview.slotId == 7 &&
           preview.textureCount == 9 && preview.textures.size() == 1;
}

// The file reader fetches the parts of the file as the parser reaches them; it must judge
// every damaged file exactly as the reader of bytes in memory does. The preview refuses the
// damage in what it reads. Every cut of a sound file is refused too.
TEST(DamagedSwd, EveryDamageIsRefusedByNameAndTheDocumentStays) {
    const std::vector<std::uint8_t> page = Pixels(0).Build(), one = Pixels(1).Build();
    const struct {
        std::vector<std::uint8_t> bytes;
        std::string message; // empty: another version
        bool previewRefuses = true;
    } cases[] = {
        // clang-format off
        {SwdBuilder().Version(128).Build(), ""},
        {SwdBuilder().Version(130).Build(), ""},
        {SwdBuilder().Version(0x81000000u).Build(), ""},
        {{0x81, 0, 0, 0, 1, 0}, "the file ends before the number of sprites"},
        {SwdBuilder().StatedEntryCount(65537).Build(),
         "it states 65537 sprites, more than the 65536 a sprite wad can hold"},
        {SwdBuilder().Entry(0, 0, 0, 1, 1).StatedEntryCount(40).Build(),
         "the file ends inside the sprite entries (40 stated, room for 1)"},
        {{one.begin(), one.begin() + 26}, "the file ends before the size of the texture pages"},
        {Pixels(0).StatedPageBytes(3 * kPageBytes).Build(),
         "the file ends inside the texture pages (3 stated, 1 present)"},
        {{page.begin(), page.end() - 4}, "the file ends before the number of objects"},
        {SwdBuilder().StatedSequenceCount(0xFFFFFFFF).Build(),
         "the file ends inside the object sequences (4294967295 stated, room for 0)"},
        {Pixels(1).Entry(0, 0, 1, 4, 4).Sequence(460, -2, 0).Build(),
         "sprite 1 lies on page 1, but the file holds 1 page"},
        // An entry names its page in 16 bits: its low byte alone would name page 0.
        {Pixels(0).Entry(0, 0, 256, 4, 4).Sequence(460, -1, 0).Build(),
         "sprite 0 lies on page 256, but the file holds 1 page"},
        {Pixels(0).Entry(0, 1, 0, 1, 256).Sequence(460, -1, 0).Build(),
         "sprite 0 lies outside page 0 (1 x 256 at column 0, row 1)"},
        {Pixels(0).Entry(200, 0, 0, 57, 4).Sequence(460, -1, 0).Build(),
         "sprite 0 lies outside page 0 (57 x 4 at column 200, row 0)"},
        {Pixels(2).Sequence(460, -1, 0).Sequence(463, -2, 1).Build(),
         "object 1 (slot 463) runs past the last sprite: it claims sprites 1 to 2, but the file holds 2", false},
        {Pixels(1).Sequence(460, 2, 0).Build(),
         "object 0 (slot 460) runs past the last sprite: it claims sprites 0 to 1, but the file holds 1"},
        {Pixels(1).Sequence(494, 0, 2).Sequence(460, -1, 0).Build(),
         "object 0 (slot 494) starts at sprite 2, past the 1 sprites of the file"},
        {Pixels(3).Sequence(463, -1, 2).Sequence(460, -2, 1).Sequence(494, -2, 0).Build(),
         "object 1 (slot 460) and object 2 (slot 494) both claim sprite 1", false},
        {SwdBuilder().Tail(std::vector<std::uint8_t>(40, 7)).Build(),
         "it states no sprites, pages or objects, yet 40 more bytes follow", false},
        // clang-format on
    };
    fixtures::TempDir dir;
    const SpriteWad before = LoadedDocument();
    SpriteWad wad = before;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        fixtures::WriteFileBytes(dir / "damaged.swd", c.bytes);
        for (const Status& r :
             {swd::ReadSwd(c.bytes, wad), swd::ReadSwdFile((dir / "damaged.swd").string(), wad)}) {
            EXPECT_EQ(r.fault(), c.message.empty() ? Fault::WrongFormat : Fault::Damaged);
            EXPECT_EQ(r.message(), c.message.empty() ? swd::kWrongVersionMessage
                                                     : "This sprite wad is damaged: " + c.message);
        }
        EXPECT_TRUE(!c.previewRefuses || PreviewRefuses(dir / "damaged.swd"));
        EXPECT_TRUE(wad == before);
    }
    const auto full = fixtures::SmallWad().Build();
    for (std::size_t size = 0; size < full.size(); ++size) {
        const Fault expected = size < 4 ? Fault::WrongFormat : Fault::Damaged;
        ASSERT_EQ(swd::ReadSwd(std::span(full.data(), size), wad).fault(), expected) << size;
    }
    EXPECT_TRUE(wad == before);
}

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) {
    io::StoreU32(&bytes.at(at + 3) - 3, v);
}

// A file that reads as 1 sprite on 1 page and, with the pages of the first reading holding
// the rest, as 2 sprites on 4 pages; `count` is its stated sprite count.
std::vector<std::uint8_t> TwoCountsFit(std::uint32_t count) {
    std::vector<std::uint8_t> bytes(PageOffset(2) + 4 * kPageBytes + 4);
    PutU32(bytes, 0, 129);
    PutU32(bytes, 4, count);
    PutU32(bytes, 24, 3 << 16);        // sprite 1 at (0, 0) of page 3; D = 1 page
    PutU32(bytes, 40, 4 * kPageBytes); // D of the second reading
    return bytes;
}

TEST(ZeroCountRecovery, OneFittingCountIsOfferedAndLoadedOnlyWhenAsked) {
    const struct {
        std::vector<std::uint8_t> bytes;
        std::uint32_t recoverable; // 0: refused even when recovering
        std::uint64_t tail;
    } cases[] = {
        {fixtures::SmallWad().StatedEntryCount(0).Build(), 5, 0},
        {fixtures::SmallWad().StatedEntryCount(0).Tail(std::vector<std::uint8_t>(777, 9)).Build(),
         5, 777},
        {TwoCountsFit(0), 0, 0},
    };
    SpriteWad original;
    ASSERT_TRUE(swd::ReadSwd(fixtures::SmallWad().Build(), original).ok());
    const SpriteWad before = LoadedDocument();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tail);
        SpriteWad wad = before;
        swd::SwdFileInfo info;
        EXPECT_EQ(swd::ReadSwd(c.bytes, wad, &info).fault(), Fault::Damaged);
        EXPECT_EQ(info.recoverableEntryCount, c.recoverable);
        EXPECT_TRUE(wad == before);
        const Status r = swd::ReadSwd(c.bytes, wad, &info, {.recoverZeroCount = true});
        EXPECT_EQ(r.ok(), c.recoverable != 0);
        EXPECT_TRUE(wad == (r.ok() ? original : before));
        EXPECT_TRUE(!r.ok() || info.trailingBytes == c.tail) << info.trailingBytes;
    }
    // Each reading of the two alone loads, so both really fit.
    SpriteWad wad;
    EXPECT_TRUE(swd::ReadSwd(TwoCountsFit(1), wad).ok());
    EXPECT_TRUE(swd::ReadSwd(TwoCountsFit(2), wad).ok());
    // The most sprites a wad can hold, all on one page, are found too.
    fixtures::SwdBuilder most;
    for (int i = 0; i < 65536; ++i) {
        most.Entry(0, 0, 0, 1, 1);
    }
    swd::SwdFileInfo info;
    const auto bytes = most.Page(fixtures::MakeTexture(256, 256, 1)).StatedEntryCount(0).Build();
    EXPECT_FALSE(swd::ReadSwd(bytes, wad, &info).ok());
    EXPECT_EQ(info.recoverableEntryCount, 65536u);
}

// 65 535 full-page sprites on one page would take 12 GiB of textures: refused from a file of
// about a megabyte, before anything near that is allocated.
TEST(SwdLimits, TexturesAboveTheCeilingAreRefusedBeforeAllocating) {
    SwdBuilder b;
    for (int i = 0; i < 65535; ++i) {
        b.Entry(0, 0, 0, 256, 256);
    }
    const auto bytes = b.Page(MakeTexture(256, 256, 33)).Sequence(463, -32767, 0).Build();
    SpriteWad wad = LoadedDocument();
    const SpriteWad before = wad;
    Status r;
    const std::size_t allocated = BytesAllocatedBy([&] { r = swd::ReadSwd(bytes, wad); });
    EXPECT_EQ(r.message(), "This sprite wad is too large to load: its textures and objects would "
                           "take 12288 MiB of memory, more than the 2048 MiB allowed");
    EXPECT_LT(allocated, std::size_t{4} << 20);
    EXPECT_TRUE(wad == before);
}

// A file of several gigabytes on disk that holds little (21 845 pages, 4 100 sprites on the
// last, the objects past 4 GiB): memory follows what the file states, and no other page is read.
TEST(SwdLimits, SparseFilesOfSeveralGigabytesLoadInBoundedMemory) {
    constexpr int pages = 21845, sprites = 4100;
    fixtures::TempDir dir;
    const auto path = dir / "sparse.swd";
    SwdBuilder b;
    for (int i = 0; i < sprites; ++i) {
        b.Entry(0, 0, pages - 1, 2, 2);
    }
    fixtures::WriteFileBytes(path, b.StatedPageBytes(pages * kPageBytes).Build());
    std::filesystem::resize_file(path, PageOffset(sprites) + pages * kPageBytes);
    const std::uint8_t objects[] = {1, 0, 0, 0, 0xCF, 1, 0, 0, 0xFC, 0xEF, 0, 0}; // 463, -4100
    std::ofstream(path, std::ios::binary | std::ios::app)
        .write(reinterpret_cast<const char*>(objects), sizeof objects);
    SpriteWad wad;
    Status r;
    const std::size_t allocated =
        BytesAllocatedBy([&] { r = swd::ReadSwdFile(path.string(), wad); });
    ASSERT_TRUE(r.ok()) << r.message();
    EXPECT_EQ(wad.m_sequences, (std::vector<ObjectSequence>{{463, -sprites, 0}}));
    EXPECT_EQ(wad.TextureCount(), static_cast<std::size_t>(sprites));
    EXPECT_LT(allocated, std::size_t{2} << 20);
}

TEST(WriteSwd, SmallPagesArePaddedWithWhite) {
    SpriteWad wad;
    wad.m_pages = {MakeTexture(10, 10, 3)};
    const auto bytes = swd::SerializeSwd(wad);
    ASSERT_EQ(bytes.size(), 12 + kPageBytes + 4);
    // The 10 x 10 pixels in R,G,B order, then white to the page's end.
    const std::uint8_t* pixels = wad.m_pages[0].GetBits();
    for (std::size_t i = 0; i < kPageBytes; ++i) {
        ASSERT_EQ(bytes[12 + i], i < 300 ? pixels[i / 3 * 3 + 2 - i % 3] : 0xFF) << i;
    }
}

} // namespace
