#include "formats/SwoFile.h"

#include "document/ObjectSlotNames.h"
#include "formats/ByteCursor.h"
#include "io/AtomicFileWriter.h"
#include "io/ReadFileBytes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>
#include <zlib.h>

namespace swo {

namespace {

constexpr std::uint8_t kMagic[4] = {'S', 'W', 'D', 'O'};
constexpr std::size_t kRecordHeaderBytes = 10;
constexpr int kLevel = 9;

// Rows go out padded to whole 4-byte words, as a bitmap holds them.
std::size_t PaddedRowBytes(int width) {
    return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

void PutU16(std::vector<std::uint8_t>& out, std::size_t at, std::uint16_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void PutU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) {
        out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

std::uint32_t GetU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::string ZlibMessage(int code) {
    switch (code) {
    case Z_BUF_ERROR:
        return "not enough room in the output buffer";
    case Z_MEM_ERROR:
        return "not enough memory";
    case Z_DATA_ERROR:
        return "the input data was corrupted.";
    default:
        return "zlib failed with code " + std::to_string(code);
    }
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

Result Damaged(const std::string& what) {
    return {Status::Damaged, "This object file is damaged: " + what};
}

std::string RecordName(std::size_t index, std::size_t count) {
    return "texture record " + std::to_string(index + 1) + " of " + std::to_string(count);
}

// One record as found in the file, before its pixels are inflated.
struct Record {
    int width = 0;
    int height = 0;
    std::uint32_t pixelBytes = 0;
    std::span<const std::uint8_t> stream;
};

// Inflates one record's stream into the texture, keeping the first 3 x width bytes of every
// row of rowBytes. Returns Z_OK when the stream gives exactly height rows, Z_BUF_ERROR when
// it gives more, kShort when it ends early, or the zlib error that stopped it.
constexpr int kShort = 1;
int InflateRows(const Record& record, std::size_t rowBytes, SpriteTexture& texture,
                std::vector<std::uint8_t>& chunk) {
    z_stream stream{};
    if (const int init = inflateInit(&stream); init != Z_OK) {
        return init;
    }
    stream.next_in = const_cast<Bytef*>(record.stream.data());
    stream.avail_in = static_cast<uInt>(record.stream.size());
    const std::size_t keep = texture.GetRowSize();
    std::uint8_t* bits = texture.GetBits();
    std::size_t produced = 0;
    int code = Z_OK;
    if (rowBytes == keep) {
        // Rows laid out as the image holds them go straight into its pixels in one call.
        stream.next_out = bits;
        stream.avail_out = record.pixelBytes;
        code = inflate(&stream, Z_FINISH);
        produced = record.pixelBytes - stream.avail_out;
        // Stopped with room left: the stream breaks off. Stopped full: it holds more.
        if (code == Z_BUF_ERROR && stream.avail_out > 0) {
            code = Z_DATA_ERROR;
        }
    }
    while (code == Z_OK) {
        stream.next_out = chunk.data();
        stream.avail_out = static_cast<uInt>(chunk.size());
        code = inflate(&stream, Z_NO_FLUSH);
        const std::size_t got = chunk.size() - stream.avail_out;
        if (got > record.pixelBytes - produced) {
            code = Z_BUF_ERROR;
            break;
        }
        for (std::size_t done = 0; done < got;) {
            const std::size_t at = produced + done;
            const std::size_t column = at % rowBytes;
            const std::size_t run = std::min(got - done, rowBytes - column);
            if (column < keep) {
                std::memcpy(bits + at / rowBytes * keep + column, chunk.data() + done,
                            std::min(run, keep - column));
            }
            done += run;
        }
        produced += got;
        // With room left for output, no progress means the stream breaks off.
        if (code == Z_BUF_ERROR) {
            code = Z_DATA_ERROR;
        }
    }
    inflateEnd(&stream);
    if (code == Z_NEED_DICT) {
        return Z_DATA_ERROR;
    }
    if (code != Z_STREAM_END) {
        return code;
    }
    return produced == record.pixelBytes ? Z_OK : kShort;
}

Result Decode(std::span<const std::uint8_t> bytes, SwoObject& out) {
    ByteCursor cursor(bytes);
    std::span<const std::uint8_t> magic;
    if (!cursor.Take(4, magic) || !std::equal(magic.begin(), magic.end(), kMagic)) {
        return {Status::WrongMagic, kWrongMagicMessage};
    }
    std::uint16_t slotId = 0;
    std::uint16_t count = 0;
    if (!cursor.ReadU16(slotId) || !cursor.ReadU16(count)) {
        return Damaged("it ends inside its 8-byte header");
    }

    // Every record must be whole and able to hold its texture before any pixels are inflated.
    std::vector<Record> records(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name = RecordName(i, count);
        std::span<const std::uint8_t> head;
        if (!cursor.Take(kRecordHeaderBytes, head)) {
            return Damaged(name + (cursor.Remaining() == 0 ? " is missing: the file ends before it"
                                                           : " ends inside its 10-byte header"));
        }
        Record& record = records[i];
        record.width = head[0] + 1;
        record.height = head[1] + 1;
        record.pixelBytes = GetU32(head.data() + 2);
        const std::uint32_t compressed = GetU32(head.data() + 6);
        const std::size_t height = static_cast<std::size_t>(record.height);
        const std::size_t tightRow = static_cast<std::size_t>(record.width) * 3;
        if (record.pixelBytes % height != 0 || record.pixelBytes / height < tightRow) {
            return Damaged(name + " states " + std::to_string(record.pixelBytes) +
                           " bytes of pixels, which are not " + std::to_string(height) +
                           " rows of at least " + std::to_string(tightRow) + " bytes for its " +
                           std::to_string(record.width) + " x " + std::to_string(height) +
                           " pixels");
        }
        if (!cursor.Take(compressed, record.stream)) {
            return Damaged(name + " states " + std::to_string(compressed) +
                           " bytes of compressed pixels, but only " +
                           std::to_string(cursor.Remaining()) + " are left in the file");
        }
    }

    std::vector<SpriteTexture> textures(count);
    std::vector<std::uint8_t> chunk(std::size_t{1} << 16);
    for (std::size_t i = 0; i < count; ++i) {
        const Record& record = records[i];
        textures[i].CreateForOverwrite(record.width, record.height);
        const int code = InflateRows(record, record.pixelBytes / record.height, textures[i], chunk);
        if (code == kShort) {
            return Damaged(RecordName(i, count) + " holds fewer than the " +
                           std::to_string(record.pixelBytes) + " bytes of pixels it states");
        }
        if (code != Z_OK) {
            return Damaged(RecordName(i, count) + ": " + ZlibMessage(code));
        }
    }
    out.slotId = slotId;
    out.textures = std::move(textures);
    return {};
}

Result Encode(const SpriteWad& wad, std::size_t object, std::vector<std::uint8_t>& bytes) {
    const ObjectSequence& sequence = wad.m_sequences.at(object);
    const int count = sequence.TextureCount();
    if (count < 1) {
        return {Status::NoTextures, NoTexturesMessage(sequence.slotId)};
    }
    std::vector<std::uint8_t> out(std::begin(kMagic), std::end(kMagic));
    out.resize(8);
    PutU16(out, 4, static_cast<std::uint16_t>(sequence.slotId));
    PutU16(out, 6, static_cast<std::uint16_t>(count));
    std::vector<std::uint8_t> padded;
    for (int k = 0; k < count; ++k) {
        const SpriteTexture& texture = wad.ObjectTexture(object, k);
        const std::size_t tightRow = texture.GetRowSize();
        const std::size_t row = PaddedRowBytes(texture.GetWidth());
        const std::size_t size = row * static_cast<std::size_t>(texture.GetHeight());
        const std::uint8_t* pixels = texture.GetBits();
        if (row != tightRow) {
            padded.assign(size, 0);
            for (int y = 0; y < texture.GetHeight(); ++y) {
                std::memcpy(padded.data() + y * row, pixels + y * tightRow, tightRow);
            }
            pixels = padded.data();
        }
        // Compressed straight into the file's bytes, in room zlib says always suffices.
        const std::size_t at = out.size();
        uLongf compressed = compressBound(static_cast<uLong>(size));
        out.resize(at + kRecordHeaderBytes + compressed);
        const int code = compress2(out.data() + at + kRecordHeaderBytes, &compressed, pixels,
                                   static_cast<uLong>(size), kLevel);
        if (code != Z_OK) {
            return {Status::CompressFailed, "Texture " + std::to_string(k) + " of object " +
                                                std::to_string(sequence.slotId) +
                                                " cannot be compressed: " + ZlibMessage(code)};
        }
        out[at] = static_cast<std::uint8_t>(texture.GetWidth() - 1);
        out[at + 1] = static_cast<std::uint8_t>(texture.GetHeight() - 1);
        PutU32(out, at + 2, static_cast<std::uint32_t>(size));
        PutU32(out, at + 6, static_cast<std::uint32_t>(compressed));
        out.resize(at + kRecordHeaderBytes + compressed);
    }
    bytes = std::move(out);
    return {};
}

} // namespace

std::string NoTexturesMessage(std::uint32_t slotId) {
    return "Object " + std::to_string(slotId) + ": " + LookupSlotName(slotId) +
           " doesn't have any textures,\n add some first and try again...";
}

std::string ProposedFileName(std::uint32_t slotId, int textureCount) {
    return LookupSlotName(slotId) + "_" + std::to_string(textureCount) + "sprites";
}

Result EncodeSwo(const SpriteWad& wad, std::size_t object, std::vector<std::uint8_t>& bytes) {
    try {
        return Encode(wad, object, bytes);
    } catch (const std::bad_alloc&) {
        return {Status::CompressFailed, ZlibMessage(Z_MEM_ERROR)};
    }
}

Result WriteSwoFile(const std::string& path, const SpriteWad& wad, std::size_t object) {
    std::vector<std::uint8_t> bytes;
    if (Result encoded = EncodeSwo(wad, object, bytes); !encoded.ok()) {
        return encoded;
    }
    std::string error = WriteFileAtomically(path, bytes);
    if (!error.empty()) {
        return {Status::WriteFailed, std::move(error)};
    }
    return {};
}

Result DecodeSwo(std::span<const std::uint8_t> bytes, SwoObject& out) {
    try {
        return Decode(bytes, out);
    } catch (const std::bad_alloc&) {
        return {Status::OpenFailed, "There is not enough memory to read this object file."};
    }
}

Result ReadSwoFile(const std::string& path, SwoObject& out) {
    // The reader refuses a pipe or a device before it could wait on one.
    std::vector<std::uint8_t> bytes;
    std::string error;
    try {
        if (!io::ReadFileBytes(path, std::numeric_limits<std::size_t>::max(), bytes, error)) {
            return {Status::OpenFailed, std::move(error)};
        }
    } catch (const std::bad_alloc&) {
        return {Status::OpenFailed,
                "Cannot read " + Quoted(path) + ": " + std::strerror(ENOMEM) + "."};
    }
    return DecodeSwo(bytes, out);
}

} // namespace swo
