// SWO object files: the bytes written, reading back, and damaged files refused whole.
#include "ObjectTestSupport.h"
#include "SwoBytes.h"

#include "objects/ObjectOperations.h"
#include "objects/SwoFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

using swotest::RecordOf;

namespace {

constexpr const char* kDamaged = "This object file is damaged: ";

// Object 70000 (stored as its low 16 bits, 4464) with an odd width, a whole page, a single
// pixel and a width whose rows need no padding.
SpriteWad SampleWad() {
    SpriteWad wad = objtest::MakeWad({{463, 1, 0}}, 1);
    ObjectSequence s;
    s.slotId = 70000;
    s.SetTextureCount(4);
    s.firstTexture = 1;
    wad.m_sequences.push_back(s);
    for (const auto& [w, h] : {std::pair{3, 5}, {256, 256}, {1, 1}, {4, 2}}) {
        wad.m_textures.push_back(fixtures::MakeTexture(w, h, static_cast<std::uint32_t>(w + h)));
    }
    return wad;
}

// An SWO file, as our writer and any reader of rows padded to 4 bytes see it.
std::vector<std::uint8_t> PaddedFile(const SpriteWad& wad, std::size_t object) {
    std::vector<swotest::Record> records;
    for (int k = 0; k < wad.m_sequences[object].TextureCount(); ++k) {
        const SpriteTexture& t = wad.ObjectTexture(object, k);
        records.push_back(RecordOf(t, (t.GetRowSize() + 3) / 4 * 4));
    }
    return swotest::File(static_cast<std::uint16_t>(wad.m_sequences[object].slotId), records);
}

// A decoded object that a failed read must leave alone.
swo::SwoObject Untouched() {
    swo::SwoObject o;
    o.slotId = 77;
    o.textures.push_back(fixtures::MakeTexture(2, 2, 5));
    return o;
}

void ExpectUntouched(const swo::SwoObject& o) {
    EXPECT_EQ(o.slotId, 77);
    ASSERT_EQ(o.textures.size(), 1u);
    EXPECT_TRUE(o.textures[0] == fixtures::MakeTexture(2, 2, 5));
}

TEST(SwoWrite, BytesAreHeaderThenOneLevel9RecordPerTexture) {
    const SpriteWad wad = SampleWad();
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(swo::EncodeSwo(wad, 1, bytes).ok());
    const std::vector<std::uint8_t> expected = PaddedFile(wad, 1);
    // The header by hand: 70000 = 0x11170 keeps 0x1170 = 4464.
    ASSERT_GE(bytes.size(), 18u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8),
              (std::vector<std::uint8_t>{'S', 'W', 'D', 'O', 0x70, 0x11, 4, 0}));
    // First record: 3 x 5, rows of 9 bytes padded to 12, so U = 60.
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 8, bytes.begin() + 14),
              (std::vector<std::uint8_t>{2, 4, 60, 0, 0, 0}));
    EXPECT_EQ(bytes, expected);
}

TEST(SwoWrite, EmptyObjectNamesAndWriteFailures) {
    SpriteWad wad = objtest::MakeWad({{460, 4, 0}, {463, 33, 4}, {464, 0, 37}}, 37);
    std::vector<std::uint8_t> bytes{1, 2};
    const swo::Result empty = swo::EncodeSwo(wad, 2, bytes);
    EXPECT_EQ(empty.status, swo::Status::NoTextures);
    EXPECT_EQ(empty.message,
              "Object 464: MISC_SPRITES doesn't have any textures,\n add some first and try "
              "again...");
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(swo::ProposedFileName(wad.m_sequences[0]), "SKY_GRAPHICS_4sprites");
    EXPECT_EQ(swo::ProposedFileName(wad.m_sequences[1]), "DEFAULT_SPRITES_33sprites");

    fixtures::TempDir dir;
    const std::string nowhere = (dir / "missing" / "x.swo").string();
    const swo::Result failed = swo::WriteSwoFile(nowhere, wad, 0);
    EXPECT_EQ(failed.status, swo::Status::WriteFailed);
    EXPECT_EQ(failed.message,
              "Cannot write the file \"" + nowhere + "\": No such file or directory");
    EXPECT_EQ(fixtures::Tree(dir.path()), std::vector<std::string>{});
}

TEST(SwoRoundTrip, ExportThenImportRecreatesTheObject) {
    const SpriteWad source = SampleWad();
    fixtures::TempDir dir;
    const std::string path = (dir / "obj.swo").string();
    ASSERT_TRUE(swo::WriteSwoFile(path, source, 1).ok());

    // Object 4464 with the same textures in the same order.
    swo::SwoObject read;
    ASSERT_TRUE(swo::ReadSwoFile(path, read).ok());
    EXPECT_EQ(read.slotId, 4464);
    SpriteWad empty;
    ASSERT_TRUE(objects::ImportTextures(empty, read.slotId, read.textures).target.ok());
    ASSERT_EQ(objtest::Objects(empty), (std::vector<objtest::Obj>{{4464, 4, 0}}));
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(empty.ObjectTexture(0, k) == source.ObjectTexture(1, k)) << k;
    }
}

TEST(SwoRead, RowLengthComesFromTheStatedSize) {
    const SpriteTexture t = fixtures::MakeTexture(3, 5, 11);
    for (const std::size_t row : {9u, 10u, 12u, 20u}) {
        swo::SwoObject o;
        const swo::Result r = swo::DecodeSwo(swotest::File(9, {RecordOf(t, row)}), o);
        ASSERT_TRUE(r.ok()) << row << ": " << r.message;
        ASSERT_EQ(o.textures.size(), 1u);
        EXPECT_TRUE(o.textures[0] == t) << row;
    }
    // No records: the object alone.
    swo::SwoObject none = Untouched();
    ASSERT_TRUE(swo::DecodeSwo(swotest::Header("SWDO", 463, 0), none).ok());
    EXPECT_EQ(none.slotId, 463);
    EXPECT_TRUE(none.textures.empty());
}

TEST(SwoRead, WrongMagicIsRefused) {
    const std::vector<std::vector<std::uint8_t>> files{
        {},
        {'S', 'W', 'D'},
        swotest::Header("SWDX", 1, 0),
        swotest::Header("swdo", 1, 0),
        fixtures::SmallWad().Build(),
    };
    for (const auto& bytes : files) {
        swo::SwoObject o = Untouched();
        const swo::Result r = swo::DecodeSwo(bytes, o);
        EXPECT_EQ(r.status, swo::Status::WrongMagic) << bytes.size();
        EXPECT_EQ(r.message, swo::kWrongMagicMessage);
        ExpectUntouched(o);
    }
}

TEST(SwoRead, EveryTruncationIsRefusedNamingTheRecord) {
    const SpriteTexture a = fixtures::MakeTexture(3, 5, 1);
    const SpriteTexture b = fixtures::MakeTexture(2, 2, 2);
    const std::vector<std::uint8_t> whole = swotest::File(460, {RecordOf(a, 12), RecordOf(b, 8)});
    const std::size_t second = 8 + 10 + RecordOf(a, 12).stream.size();
    for (std::size_t size = 0; size < whole.size(); ++size) {
        SCOPED_TRACE(size);
        swo::SwoObject o = Untouched();
        const swo::Result r = swo::DecodeSwo(std::span<const std::uint8_t>(whole.data(), size), o);
        ExpectUntouched(o);
        if (size < 4) {
            EXPECT_EQ(r.status, swo::Status::WrongMagic);
            continue;
        }
        ASSERT_EQ(r.status, swo::Status::Damaged);
        const char* where = size < 8        ? "its 8-byte header"
                            : size < second ? "texture record 1 of 2"
                                            : "texture record 2 of 2";
        EXPECT_NE(r.message.find(where), std::string::npos) << r.message;
    }
}

TEST(SwoRead, LyingSizesAndBadStreamsAreRefused) {
    const SpriteTexture t = fixtures::MakeTexture(3, 5, 4);
    const swotest::Record good = RecordOf(t, 12);
    const std::string stream = std::to_string(good.stream.size());
    const struct {
        const char* name;
        std::function<void(swotest::Record&)> lie;
        std::string message;
    } cases[] = {
        {"U a byte per row more", [](swotest::Record& r) { r.pixelBytes += 5; },
         "texture record 2 of 2 holds fewer than the 65 bytes of pixels it states"},
        {"U a byte per row less", [](swotest::Record& r) { r.pixelBytes -= 5; },
         "texture record 2 of 2: not enough room in the output buffer"},
        {"U not whole rows", [](swotest::Record& r) { r.pixelBytes = 61; },
         "texture record 2 of 2 states 61 bytes of pixels, which are not 5 rows of at least 9 "
         "bytes for its 3 x 5 pixels"},
        {"rows too short", [](swotest::Record& r) { r.pixelBytes = 40; },
         "texture record 2 of 2 states 40 bytes of pixels, which are not 5 rows of at least 9 "
         "bytes for its 3 x 5 pixels"},
        {"huge U", [](swotest::Record& r) { r.pixelBytes = 0xFFFFFFFF; },
         "texture record 2 of 2 holds fewer than the 4294967295 bytes of pixels it states"},
        {"stream cut short",
         [](swotest::Record& r) { r.stream.erase(r.stream.end() - 6, r.stream.end()); },
         "texture record 2 of 2: the input data was corrupted."},
        {"not a zlib stream", [](swotest::Record& r) { r.stream[0] = 0x12; },
         "texture record 2 of 2: the input data was corrupted."},
        {"checksum wrong", [](swotest::Record& r) { r.stream.back() ^= 1; },
         "texture record 2 of 2: the input data was corrupted."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        swotest::Record lying = good;
        c.lie(lying);
        swo::SwoObject o = Untouched();
        const swo::Result r = swo::DecodeSwo(swotest::File(1, {good, lying}), o);
        EXPECT_EQ(r.status, swo::Status::Damaged);
        EXPECT_EQ(r.message, kDamaged + c.message);
        ExpectUntouched(o);
    }
    // Z past the end of the file, and a count with more records than the file holds.
    std::vector<std::uint8_t> bytes = swotest::File(1, {good});
    bytes[8 + 6] = static_cast<std::uint8_t>(good.stream.size() + 1);
    swo::SwoObject o = Untouched();
    EXPECT_EQ(swo::DecodeSwo(bytes, o).message,
              kDamaged + std::string("texture record 1 of 1 states ") +
                  std::to_string(good.stream.size() + 1) +
                  " bytes of compressed pixels, but only " + stream + " are left in the file");
    bytes = swotest::File(1, {good});
    bytes[6] = 2;
    EXPECT_EQ(swo::DecodeSwo(bytes, o).message,
              kDamaged + std::string("texture record 2 of 2 is missing: the file ends before it"));
    ExpectUntouched(o);
}

TEST(SwoRead, FilesThatCannotBeReadAreNamed) {
    fixtures::TempDir dir;
    const std::string missing = (dir / "none.swo").string();
    const std::string pipe = (dir / "pipe.swo").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {missing, "Cannot open \"" + missing + "\": No such file or directory."},
        {dir.path().string(), "Cannot read \"" + dir.path().string() + "\": it is not a file."},
        // A pipe with no writer would keep an open waiting for ever.
        {pipe, "Cannot read \"" + pipe + "\": it is not a file."},
    };
    for (const auto& [path, message] : cases) {
        swo::SwoObject o = Untouched();
        const swo::Result r = swo::ReadSwoFile(path, o);
        EXPECT_EQ(r.status, swo::Status::OpenFailed);
        EXPECT_EQ(r.message, message);
        ExpectUntouched(o);
    }
}

} // namespace
