#include "formats/SwoFile.h"

#include "document/ObjectSlotNames.h"
#include "io/AtomicFileWriter.h"
#include "io/ByteCursor.h"
#include "io/LittleEndian.h"
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

Status Damaged(const std::string& what) {
    return Status::Failed(Fault::Damaged, "This object file is damaged: " + what);
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

Status Decode(std::span<const std::uint8_t> bytes, SwoObject& out) {
    io::ByteCursor cursor(bytes);
    std::span<const std::uint8_t> magic;
    if (!cursor.Take(4, magic) || !std::equal(magic.begin(), magic.end(), kMagic)) {
        return Status::Failed(Fault::WrongFormat, kWrongMagicMessage);
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
        record.pixelBytes = io::LoadU32(head.data() + 2);
        const std::uint32_t compressed = io::LoadU32(head.data() + 6);
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

Status Encode(const SpriteWad& wad, std::size_t object, std::vector<std::uint8_t>& bytes) {
    const ObjectSequence& sequence = wad.m_sequences.at(object);
    const int count = sequence.TextureCount();
    if (count < 1) {
        return Status::Failed(Fault::Refused, NoTexturesMessage(sequence.slotId));
    }
    std::vector<std::uint8_t> out(std::begin(kMagic), std::end(kMagic));
    out.resize(8);
    io::StoreU16(out.data() + 4, static_cast<std::uint16_t>(sequence.slotId));
    io::StoreU16(out.data() + 6, static_cast<std::uint16_t>(count));
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
            return Status::Failed(Fault::WriteFailed,
                                  "Texture " + std::to_string(k) + " of object " +
                                      std::to_string(sequence.slotId) +
                                      " cannot be compressed: " + ZlibMessage(code));
        }
        out[at] = static_cast<std::uint8_t>(texture.GetWidth() - 1);
        out[at + 1] = static_cast<std::uint8_t>(texture.GetHeight() - 1);
        io::StoreU32(out.data() + at + 2, static_cast<std::uint32_t>(size));
        io::StoreU32(out.data() + at + 6, static_cast<std::uint32_t>(compressed));
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

Status EncodeSwo(const SpriteWad& wad, std::size_t object, std::vector<std::uint8_t>& bytes) {
    try {
        return Encode(wad, object, bytes);
    } catch (const std::bad_alloc&) {
        return Status::Failed(Fault::WriteFailed, ZlibMessage(Z_MEM_ERROR));
    }
}

Status WriteSwoFile(const std::string& path, const SpriteWad& wad, std::size_t object) {
    std::vector<std::uint8_t> bytes;
    if (Status encoded = EncodeSwo(wad, object, bytes); !encoded.ok()) {
        return encoded;
    }
    return WriteFileAtomically(path, bytes);
}

Status DecodeSwo(std::span<const std::uint8_t> bytes, SwoObject& out) {
    try {
        return Decode(bytes, out);
    } catch (const std::bad_alloc&) {
        return Status::Failed(Fault::TooLarge,
                              "There is not enough memory to read this object file.");
    }
}

Status ReadSwoFile(const std::string& path, SwoObject& out) {
    // The reader refuses a pipe or a device before it could wait on one.
    try {
        const Result<std::vector<std::uint8_t>> bytes =
            io::ReadFileBytes(path, std::numeric_limits<std::size_t>::max());
        return bytes ? DecodeSwo(*bytes, out) : bytes.status();
    } catch (const std::bad_alloc&) {
        return Status::Failed(Fault::TooLarge,
                              "Cannot read " + Quoted(path) + ": " + std::strerror(ENOMEM) + ".");
    }
}

} // namespace swo
