// SWO object files: the bytes written, reading back, and damaged files refused whole.
#include "ObjectTestSupport.h"
#include "SwoBytes.h"

#include "objects/ObjectOperations.h"
#include "objects/SwoFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using swotest::Bytes;
using swotest::RecordOf;

namespace {

// Object 70000 (stored as its low 16 bits, 4464) with an odd width, a whole page, a single
// pixel and a width whose rows need no padding.
SpriteWad SampleWad() {
    SpriteWad wad = objtest::MakeWad("463:1@0 70000:4@1", 1);
    for (const auto& [w, h] : {std::pair{3, 5}, {256, 256}, {1, 1}, {4, 2}}) {
        wad.m_textures.push_back(fixtures::MakeTexture(w, h, static_cast<std::uint32_t>(w + h)));
    }
    return wad;
}

// A decoded object that a failed read must leave alone.
const swo::SwoObject kHeld{77, {fixtures::MakeTexture(2, 2, 5)}};

bool IsHeld(const swo::SwoObject& o) {
    return o.slotId == kHeld.slotId && o.textures == kHeld.textures;
}

TEST(SwoWrite, BytesAreHeaderThenOneLevel9RecordPerTextureWithRowsPaddedTo4) {
    const SpriteWad wad = SampleWad();
    Bytes bytes;
    ASSERT_TRUE(swo::EncodeSwo(wad, 1, bytes).ok());
    // 70000 = 0x11170 keeps 0x1170; the first record is 3 x 5, rows of 9 bytes padded to 12.
    const Bytes start{'S', 'W', 'D', 'O', 0x70, 0x11, 4, 0, 2, 4, 60, 0, 0, 0};
    ASSERT_GE(bytes.size(), start.size());
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 14), start);
    std::vector<swotest::Record> records;
    for (int k = 0; k < 4; ++k) {
        const SpriteTexture& t = wad.ObjectTexture(1, k);
        records.push_back(RecordOf(t, (t.GetRowSize() + 3) / 4 * 4));
    }
    EXPECT_EQ(bytes, swotest::File(4464, records));
}

TEST(SwoWrite, EmptyObjectNamesAndWriteFailures) {
    SpriteWad wad = objtest::MakeWad("460:4@0 463:33@4 464:0@37");
    Bytes bytes{1, 2};
    const swo::Result empty = swo::EncodeSwo(wad, 2, bytes);
    EXPECT_EQ(empty.status, swo::Status::NoTextures);
    EXPECT_EQ(empty.message, "Object 464: MISC_SPRITES doesn't have any textures,\n add some "
                             "first and try again...");
    EXPECT_EQ(bytes, (Bytes{1, 2}));
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
    ASSERT_TRUE(swo::WriteSwoFile((dir / "obj.swo").string(), source, 1).ok());
    swo::SwoObject read;
    ASSERT_TRUE(swo::ReadSwoFile((dir / "obj.swo").string(), read).ok());
    SpriteWad empty;
    ASSERT_TRUE(objects::ImportTextures(empty, read.slotId, read.textures).target.ok());
    ASSERT_EQ(objtest::Layout(empty), "4464:4@0");
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(empty.ObjectTexture(0, k) == source.ObjectTexture(1, k)) << k;
    }
}

TEST(SwoRead, RowLengthComesFromTheStatedSizeAndNoRecordsIsTheObjectAlone) {
    const SpriteTexture t = fixtures::MakeTexture(3, 5, 11);
    for (const std::size_t row : {9u, 10u, 12u, 20u}) {
        swo::SwoObject o;
        const swo::Result r = swo::DecodeSwo(swotest::File(9, {RecordOf(t, row)}), o);
        ASSERT_TRUE(r.ok()) << row << ": " << r.message;
        EXPECT_EQ(o.textures, std::vector<SpriteTexture>{t}) << row;
    }
    swo::SwoObject none = kHeld;
    ASSERT_TRUE(swo::DecodeSwo(swotest::Header("SWDO", 463, 0), none).ok());
    EXPECT_EQ(none.slotId, 463);
    EXPECT_TRUE(none.textures.empty());
}

TEST(SwoRead, EveryTruncationIsRefusedNamingTheRecord) {
    const swotest::Record first = RecordOf(fixtures::MakeTexture(3, 5, 1), 12);
    const Bytes whole = swotest::File(460, {first, RecordOf(fixtures::MakeTexture(2, 2, 2), 8)});
    const std::size_t second = 8 + 10 + first.stream.size();
    for (std::size_t size = 0; size < whole.size(); ++size) {
        SCOPED_TRACE(size);
        swo::SwoObject o = kHeld;
        const swo::Result r = swo::DecodeSwo(std::span<const std::uint8_t>(whole.data(), size), o);
        EXPECT_TRUE(IsHeld(o));
        EXPECT_EQ(r.status, size < 4 ? swo::Status::WrongMagic : swo::Status::Damaged);
        const char* where = size < 4        ? swo::kWrongMagicMessage
                            : size < 8      ? "its 8-byte header"
                            : size < second ? "texture record 1 of 2"
                                            : "texture record 2 of 2";
        EXPECT_NE(r.message.find(where), std::string::npos) << r.message;
    }
}

TEST(SwoRead, WrongMagicLyingSizesAndBadStreamsAreRefused) {
    const swotest::Record good = RecordOf(fixtures::MakeTexture(3, 5, 4), 12);
    const std::string z = std::to_string(good.stream.size());
    // A file of a good record followed by a lying copy of it.
    const auto lying = [&good](auto lie) {
        swotest::Record r = good;
        lie(r);
        return swotest::File(1, {good, r});
    };
    const auto patched = [&good](std::size_t at, std::size_t value) {
        Bytes bytes = swotest::File(1, {good});
        bytes[at] = static_cast<std::uint8_t>(value);
        return bytes;
    };
    const auto notRows = [](const std::string& u) {
        return "texture record 2 of 2 states " + u +
               " bytes of pixels, which are not 5 rows of at least 9 bytes for its 3 x 5 pixels";
    };
    const std::string corrupted = "texture record 2 of 2: the input data was corrupted.";
    const struct {
        Bytes bytes;
        std::string damage; // empty: wrong magic
    } cases[] = {
        {{'S', 'W', 'D'}, ""},
        {swotest::Header("SWDX", 1, 0), ""},
        {swotest::Header("swdo", 1, 0), ""},
        {fixtures::SmallWad().Build(), ""},
        {lying([](auto& r) { r.pixelBytes += 5; }),
         "texture record 2 of 2 holds fewer than the 65 bytes of pixels it states"},
        {lying([](auto& r) { r.pixelBytes -= 5; }),
         "texture record 2 of 2: not enough room in the output buffer"},
        {lying([](auto& r) { r.pixelBytes = 61; }), notRows("61")},
        {lying([](auto& r) { r.pixelBytes = 40; }), notRows("40")},
        {lying([](auto& r) { r.pixelBytes = 0xFFFFFFFF; }),
         "texture record 2 of 2 holds fewer than the 4294967295 bytes of pixels it states"},
        {lying([](auto& r) { r.stream.resize(r.stream.size() - 6); }), corrupted},
        {lying([](auto& r) { r.stream[0] = 0x12; }), corrupted},
        {lying([](auto& r) { r.stream.back() ^= 1; }), corrupted},
        {patched(14, good.stream.size() + 1),
         "texture record 1 of 1 states " + std::to_string(good.stream.size() + 1) +
             " bytes of compressed pixels, but only " + z + " are left in the file"},
        {patched(6, 2), "texture record 2 of 2 is missing: the file ends before it"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.damage);
        swo::SwoObject o = kHeld;
        const swo::Result r = swo::DecodeSwo(c.bytes, o);
        if (c.damage.empty()) {
            EXPECT_EQ(r.status, swo::Status::WrongMagic);
            EXPECT_EQ(r.message, swo::kWrongMagicMessage);
        } else {
            EXPECT_EQ(r.status, swo::Status::Damaged);
            EXPECT_EQ(r.message, "This object file is damaged: " + c.damage);
        }
        EXPECT_TRUE(IsHeld(o));
    }
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
        swo::SwoObject o = kHeld;
        const swo::Result r = swo::ReadSwoFile(path, o);
        EXPECT_EQ(r.status, swo::Status::OpenFailed);
        EXPECT_EQ(r.message, message);
        EXPECT_TRUE(IsHeld(o));
    }
}

} // namespace
