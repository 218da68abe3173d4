// SWO object files: the bytes written, reading back, and damaged files refused whole.
#include "formats/SwoFile.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <zlib.h>

namespace {

// SWO bytes assembled field by field with zlib directly, so that tests of the reader and the
// writer do not trust the code they test.
using Bytes = std::vector<std::uint8_t>;

struct Record {
    int width, height;
    std::uint32_t pixelBytes;
    Bytes stream;
};

// The record of a texture whose rows are padded with zeros to rowBytes, compressed at level 9.
Record RecordOf(const SpriteTexture& t, std::size_t rowBytes) {
    Bytes raw;
    for (int y = 0; y < t.GetHeight(); ++y) {
        const std::uint8_t* row = t.GetBits() + y * t.GetRowSize();
        raw.insert(raw.end(), row, row + t.GetRowSize());
        raw.resize(raw.size() + rowBytes - t.GetRowSize(), 0);
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes stream(size);
    compress2(stream.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
    stream.resize(size);
    return {t.GetWidth(), t.GetHeight(), static_cast<std::uint32_t>(raw.size()), stream};
}

Bytes File(std::uint16_t id, const std::vector<Record>& records) {
    Bytes out{'S', 'W', 'D', 'O'};
    fixtures::PutLE(out, id, 2);
    fixtures::PutLE(out, static_cast<std::uint32_t>(records.size()), 2);
    for (const Record& r : records) {
        fixtures::PutLE(out, static_cast<std::uint32_t>((r.width - 1) | (r.height - 1) << 8), 2);
        fixtures::PutLE(out, r.pixelBytes, 4);
        fixtures::PutLE(out, static_cast<std::uint32_t>(r.stream.size()), 4);
        out.insert(out.end(), r.stream.begin(), r.stream.end());
    }
    return out;
}

const swo::SwoObject kHeld{77, {fixtures::MakeTexture(2, 2, 5)}};

// Object 70000 keeps its low 16 bits, 4464; an odd width, a whole page, a single pixel and a
// width whose rows need no padding.
TEST(SwoWrite, BytesAreHeaderThenOneLevel9RecordPerTextureWithRowsPaddedTo4) {
    SpriteWad wad;
    wad.m_sequences = {{70000, -4, 0}};
    std::vector<Record> records;
    for (const auto& [w, h] : {std::pair{3, 5}, {256, 256}, {1, 1}, {4, 2}}) {
        const SpriteTexture& t = wad.m_textures.emplace_back(fixtures::MakeTexture(w, h, 3));
        records.push_back(RecordOf(t, (t.GetRowSize() + 3) / 4 * 4));
    }
    Bytes bytes;
    ASSERT_TRUE(swo::EncodeSwo(wad, 0, bytes).ok());
    EXPECT_EQ(bytes, File(4464, records));
}

TEST(SwoRead, RowLengthComesFromTheStatedSizeAndNoRecordsIsTheObjectAlone) {
    const SpriteTexture t = fixtures::MakeTexture(3, 5, 11);
    for (const std::size_t row : {9u, 20u}) {
        swo::SwoObject o;
        ASSERT_TRUE(swo::DecodeSwo(File(9, {RecordOf(t, row)}), o).ok()) << row;
        EXPECT_EQ(o.textures, std::vector<SpriteTexture>{t}) << row;
    }
    swo::SwoObject none = kHeld;
    EXPECT_TRUE(swo::DecodeSwo(File(463, {}), none).ok() && none.slotId == 463 &&
                none.textures.empty());
}

TEST(SwoRead, WrongMagicLyingSizesAndBadStreamsAreRefused) {
    const Record good = RecordOf(fixtures::MakeTexture(3, 5, 4), 12);
    const std::string z = std::to_string(good.stream.size());
    // A file of a good record followed by a lying copy of it.
    const auto lying = [&good](auto lie) {
        Record r = good;
        lie(r);
        return File(1, {good, r});
    };
    const auto patched = [&good](std::size_t at, std::size_t value) {
        Bytes bytes = File(1, {good});
        bytes[at] = static_cast<std::uint8_t>(value);
        return bytes;
    };
    const struct {
        Bytes bytes;
        std::string damage; // empty: wrong magic
    } cases[] = {
        {patched(3, 'X'), ""},
        {lying([](auto& r) { r.pixelBytes += 5; }),
         "texture record 2 of 2 holds fewer than the 65 bytes of pixels it states"},
        {lying([](auto& r) { r.pixelBytes -= 5; }),
         "texture record 2 of 2: not enough room in the output buffer"},
        {lying([](auto& r) { r.pixelBytes = 40; }),
         "texture record 2 of 2 states 40 bytes of pixels, which are not 5 rows of at least 9 "
         "bytes for its 3 x 5 pixels"},
        {lying([](auto& r) { r.stream.resize(r.stream.size() - 6); }),
         "texture record 2 of 2: the input data was corrupted."},
        // Rows that need no padding inflate straight into the texture, in one call.
        {File(1, {[] {
                  Record r = RecordOf(fixtures::MakeTexture(4, 5, 4), 12);
                  r.stream.resize(r.stream.size() - 6);
                  return r;
              }()}),
         "texture record 1 of 1: the input data was corrupted."},
        {patched(14, good.stream.size() + 1),
         "texture record 1 of 1 states " + std::to_string(good.stream.size() + 1) +
             " bytes of compressed pixels, but only " + z + " are left in the file"},
        {patched(6, 2), "texture record 2 of 2 is missing: the file ends before it"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.damage);
        swo::SwoObject o = kHeld;
        const Status r = swo::DecodeSwo(c.bytes, o);
        if (c.damage.empty()) {
            EXPECT_EQ(r.fault(), Fault::WrongFormat);
            EXPECT_EQ(r.message(), swo::kWrongMagicMessage);
        } else {
            EXPECT_EQ(r.fault(), Fault::Damaged);
            EXPECT_EQ(r.message(), "This object file is damaged: " + c.damage);
        }
        EXPECT_TRUE(o == kHeld);
    }
}

} // namespace
