#include "formats/SwdFile.h"

#include "formats/PixelSwap.h"
#include "io/LittleEndian.h"
#include "io/RandomAccessFile.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>
#include <utility>

namespace swd {
namespace {

constexpr std::size_t kPageRowBytes = std::size_t{kPageSide} * 3;
// Sequences are decoded through a buffer of this many records at a time.
constexpr std::size_t kSequenceChunk = 8192;

Status Damaged(const std::string& what) {
    return Status::Failed(Fault::Damaged, "This sprite wad is damaged: " + what);
}

using io::LoadU16;
using io::LoadU32;

SpriteEntry DecodeEntry(const std::uint8_t* p) {
    SpriteEntry e;
    e.x = p[0];
    e.y = p[1];
    e.page = LoadU16(p + 2);
    e.reserved4 = p[4];
    e.widthMinusOne = p[5];
    e.reserved6 = p[6];
    e.heightMinusOne = p[7];
    e.reserved8 = LoadU32(p + 8);
    e.reserved12 = LoadU32(p + 12);
    return e;
}

ObjectSequence DecodeSequence(const std::uint8_t* p) {
    ObjectSequence s;
    s.slotId = LoadU32(p);
    s.negCount = static_cast<std::int16_t>(LoadU16(p + 4));
    s.firstTexture = LoadU16(p + 6);
    return s;
}

bool InsidePage(const SpriteEntry& e) {
    return e.x + e.Width() <= kPageSide && e.y + e.Height() <= kPageSide;
}

std::string ObjectName(std::size_t index, const ObjectSequence& s) {
    return "object " + std::to_string(index) + " (slot " + std::to_string(s.slotId) + ")";
}

// Where the parser gets its bytes: a file, or a file's bytes already in memory.
class Source {
public:
    virtual ~Source() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads exactly count bytes at offset; the parser asks only for bytes below Size().
    virtual Status Read(std::uint64_t offset, std::size_t count, std::uint8_t* into) const = 0;
};

class MemorySource : public Source {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::uint64_t Size() const override { return m_bytes.size(); }
    Status Read(std::uint64_t offset, std::size_t count, std::uint8_t* into) const override {
        if (count > 0) {
            std::memcpy(into, m_bytes.data() + offset, count);
        }
        return {};
    }

private:
    std::span<const std::uint8_t> m_bytes;
};

class FileSource : public Source {
public:
    FileSource(const io::RandomAccessFile& file, const std::string& path)
        : m_file(file), m_path(path) {}
    std::uint64_t Size() const override { return m_file.Size(); }
    Status Read(std::uint64_t offset, std::size_t count, std::uint8_t* into) const override {
        std::error_code ec;
        if (m_file.ReadAt(offset, into, count, ec)) {
            return {};
        }
        return Status::Failed(Fault::OpenFailed,
                              "Cannot read the file \"" + m_path + "\": " +
                                  (ec ? ec.message() : "it was shortened while being read"));
    }

private:
    const io::RandomAccessFile& m_file;
    std::string m_path;
};

// A file judged sound, with everything needed to cut its sprites.
struct Plan {
    std::vector<SpriteEntry> entries;
    std::vector<ObjectSequence> sequences;
    std::uint64_t pageOffset = 0;
};

// Every entry names an existing page and lies inside it; the first is sprite `firstNumber`.
Status CheckEntries(const std::vector<SpriteEntry>& entries, std::uint32_t pageCount,
                    std::size_t firstNumber = 0) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const SpriteEntry& e = entries[i];
        if (e.page >= pageCount) {
            return Damaged("sprite " + std::to_string(firstNumber + i) + " lies on page " +
                           std::to_string(e.page) + ", but the file holds " +
                           std::to_string(pageCount) + (pageCount == 1 ? " page" : " pages"));
        }
        if (!InsidePage(e)) {
            return Damaged("sprite " + std::to_string(firstNumber + i) + " lies outside page " +
                           std::to_string(e.page) + " (" + std::to_string(e.Width()) + " x " +
                           std::to_string(e.Height()) + " at column " + std::to_string(e.x) +
                           ", row " + std::to_string(e.y) + ")");
        }
    }
    return {};
}

// Every sprite becomes a texture of its own, and sprites may share page area, so a small file
// can state gigabytes of textures; the objects add theirs.
Status CheckDocumentSize(const std::vector<SpriteEntry>& entries, std::uint32_t sequenceCount) {
    std::uint64_t bytes = std::uint64_t{sequenceCount} * sizeof(ObjectSequence);
    for (const SpriteEntry& e : entries) {
        bytes += std::uint64_t{3} * static_cast<std::uint64_t>(e.Width() * e.Height());
    }
    if (bytes <= kMaxDocumentBytes) {
        return {};
    }
    constexpr std::uint64_t kMiB = 1 << 20;
    return Status::Failed(Fault::TooLarge,
                          "This sprite wad is too large to load: its textures and objects would "
                          "take " +
                              std::to_string((bytes + kMiB - 1) / kMiB) +
                              " MiB of memory, more than the " +
                              std::to_string(kMaxDocumentBytes / kMiB) + " MiB allowed");
}

// Every run lies inside the sprites (an empty one may start right after the last) and no two
// non-empty runs share a sprite. An empty object may start anywhere up to there, also inside
// another run: adding its first texture later places it behind that run.
Status CheckRuns(const std::vector<ObjectSequence>& sequences, std::size_t spriteCount) {
    struct Run {
        std::size_t first;
        std::size_t count;
        std::size_t object;
    };
    std::vector<Run> runs;
    for (std::size_t k = 0; k < sequences.size(); ++k) {
        const ObjectSequence& s = sequences[k];
        const std::size_t first = s.firstTexture;
        const auto count = static_cast<std::size_t>(s.TextureCount());
        if (count == 0 && first > spriteCount) {
            return Damaged(ObjectName(k, s) + " starts at sprite " + std::to_string(first) +
                           ", past the " + std::to_string(spriteCount) + " sprites of the file");
        }
        if (first + count > spriteCount) {
            return Damaged(ObjectName(k, s) + " runs past the last sprite: it claims sprites " +
                           std::to_string(first) + " to " + std::to_string(first + count - 1) +
                           ", but the file holds " + std::to_string(spriteCount));
        }
        if (count > 0) {
            runs.push_back({first, count, k});
        }
    }
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) {
        return a.first != b.first ? a.first < b.first : a.object < b.object;
    });
    for (std::size_t i = 1; i < runs.size(); ++i) {
        const Run& before = runs[i - 1];
        const Run& run = runs[i];
        if (before.first + before.count > run.first) {
            const std::size_t a = std::min(before.object, run.object);
            const std::size_t b = std::max(before.object, run.object);
            return Damaged(ObjectName(a, sequences[a]) + " and " + ObjectName(b, sequences[b]) +
                           " both claim sprite " + std::to_string(run.first));
        }
    }
    return {};
}

Status ReadU32(const Source& source, std::uint64_t offset, std::uint32_t& value) {
    std::uint8_t bytes[4];
    Status r = source.Read(offset, 4, bytes);
    value = LoadU32(bytes);
    return r;
}

// Judges the file as a wad of `entryCount` sprites, reading everything but the pages: the
// layout, the entries, the memory it would take and the runs. Fills `stated` as far as it gets.
Status Judge(const Source& source, std::uint32_t entryCount, SwdFileInfo& stated, Plan& plan) {
    const std::uint64_t size = source.Size();
    stated.entryCount = entryCount;
    const std::uint64_t entryEnd = 8 + std::uint64_t{entryCount} * kEntryBytes;
    if (size < entryEnd) {
        return Damaged("the file ends inside the sprite entries (" + std::to_string(entryCount) +
                       " stated, room for " + std::to_string((size - 8) / kEntryBytes) + ")");
    }
    std::vector<std::uint8_t> entryBytes(entryCount * kEntryBytes);
    if (Status r = source.Read(8, entryBytes.size(), entryBytes.data()); !r.ok()) {
        return r;
    }
    if (size < entryEnd + 4) {
        return Damaged("the file ends before the size of the texture pages");
    }
    std::uint32_t pageDataSize = 0;
    if (Status r = ReadU32(source, entryEnd, pageDataSize); !r.ok()) {
        return r;
    }
    // Bytes of D beyond the last whole page are not skipped: the object count follows the
    // last whole page.
    stated.pageCount = static_cast<std::uint32_t>(pageDataSize / kPageBytes);
    plan.pageOffset = entryEnd + 4;
    const std::uint64_t pageEnd = plan.pageOffset + std::uint64_t{stated.pageCount} * kPageBytes;
    if (size < pageEnd) {
        return Damaged("the file ends inside the texture pages (" +
                       std::to_string(stated.pageCount) + " stated, " +
                       std::to_string((size - plan.pageOffset) / kPageBytes) + " present)");
    }
    if (size < pageEnd + 4) {
        return Damaged("the file ends before the number of objects");
    }
    if (Status r = ReadU32(source, pageEnd, stated.sequenceCount); !r.ok()) {
        return r;
    }
    const std::uint64_t sequenceOffset = pageEnd + 4;
    if ((size - sequenceOffset) / kSequenceBytes < stated.sequenceCount) {
        return Damaged("the file ends inside the object sequences (" +
                       std::to_string(stated.sequenceCount) + " stated, room for " +
                       std::to_string((size - sequenceOffset) / kSequenceBytes) + ")");
    }
    stated.trailingBytes = size - sequenceOffset - std::uint64_t{stated.sequenceCount} * 8;
    // Bytes after the objects are normally a stale tail of an older, longer version of the
    // file and are ignored. A file that states no sprites, pages or objects at all but goes
    // on holds its sprites where its header does not say: showing it empty would hide them.
    if (entryCount == 0 && stated.pageCount == 0 && stated.sequenceCount == 0 &&
        stated.trailingBytes > 0) {
        return Damaged("it states no sprites, pages or objects, yet " +
                       std::to_string(stated.trailingBytes) + " more bytes follow");
    }

    plan.entries.resize(entryCount);
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        plan.entries[i] = DecodeEntry(entryBytes.data() + i * kEntryBytes);
    }
    if (Status r = CheckEntries(plan.entries, stated.pageCount); !r.ok()) {
        return r;
    }
    if (Status r = CheckDocumentSize(plan.entries, stated.sequenceCount); !r.ok()) {
        return r;
    }

    const std::size_t sequenceCount = stated.sequenceCount;
    plan.sequences.reserve(sequenceCount);
    std::vector<std::uint8_t> chunk(std::min(sequenceCount, kSequenceChunk) * kSequenceBytes);
    for (std::size_t k = 0; k < sequenceCount; k += kSequenceChunk) {
        const std::size_t count = std::min(kSequenceChunk, sequenceCount - k);
        if (Status r = source.Read(sequenceOffset + k * kSequenceBytes, count * kSequenceBytes,
                                   chunk.data());
            !r.ok()) {
            return r;
        }
        for (std::size_t i = 0; i < count; ++i) {
            plan.sequences.push_back(DecodeSequence(chunk.data() + i * kSequenceBytes));
        }
    }
    return CheckRuns(plan.sequences, plan.entries.size());
}

// For a header that says 0 sprites: the one sprite count N that makes the rest of the file a
// sound wad, or 0 when none or several do. The page size of a candidate is the first field of
// entry N; to be whole pages it must read x 0, y 0, page 3P, and every later candidate, whose
// sprites include that entry, then needs more than 3P pages. So at most a dozen counts get
// past the cheap checks below to a full judgement, however large the file.
Status FindRecoverableCount(const Source& source, std::uint32_t& found) {
    found = 0;
    const std::uint64_t size = source.Size();
    if (size < 8 + kEntryBytes + 4) {
        return {};
    }
    const auto most =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(kMaxEntries, (size - 12) / kEntryBytes));
    std::vector<std::uint8_t> head(most * kEntryBytes + 4);
    if (Status r = source.Read(8, head.size(), head.data()); !r.ok()) {
        return r;
    }
    std::uint32_t highestPage = 0;
    for (std::uint32_t n = 1; n <= most; ++n) {
        const SpriteEntry last = DecodeEntry(head.data() + (n - 1) * kEntryBytes);
        if (!InsidePage(last)) {
            break; // no larger count can have all its sprites inside their pages either
        }
        highestPage = std::max<std::uint32_t>(highestPage, last.page);
        const std::uint32_t pageDataSize = LoadU32(head.data() + n * kEntryBytes);
        if (pageDataSize % kPageBytes != 0 || highestPage >= pageDataSize / kPageBytes) {
            continue;
        }
        SwdFileInfo stated;
        Plan plan;
        const Status judged = Judge(source, n, stated, plan);
        if (judged.fault() == Fault::OpenFailed) {
            return judged;
        }
        if (judged.ok() || judged.fault() == Fault::TooLarge) {
            if (found != 0) {
                found = 0;
                return {};
            }
            found = n;
        }
    }
    return {};
}

// Asks the processor to start loading the rows of a sprite: the rows of a page are 768 bytes
// apart, a stride the hardware prefetcher picks up too late for sprites a few rows high.
void PrefetchSprite(const std::uint8_t* page, const SpriteEntry& e) {
    const std::uint8_t* row = page + e.y * kPageRowBytes + e.x * std::size_t{3};
    for (int y = 0; y < e.Height(); ++y, row += kPageRowBytes) {
        __builtin_prefetch(row);
        __builtin_prefetch(row + e.widthMinusOne * 3);
    }
}

// Cuts the sprites page by page, reading each page that any sprite uses into one buffer just
// before its sprites are cut; the others are never read.
Status CutSprites(const Source& source, const Plan& plan, std::vector<SpriteTexture>& textures) {
    const std::vector<SpriteEntry>& entries = plan.entries;
    std::vector<std::pair<std::uint16_t, std::uint32_t>> byPage(entries.size());
    for (std::uint32_t i = 0; i < entries.size(); ++i) {
        byPage[i] = {entries[i].page, i};
    }
    std::sort(byPage.begin(), byPage.end());

    textures.resize(entries.size());
    std::vector<std::uint8_t> page(entries.empty() ? 0 : kPageBytes);
    for (std::size_t k = 0; k < byPage.size(); ++k) {
        const SpriteEntry& e = entries[byPage[k].second];
        if (k == 0 || byPage[k - 1].first != e.page) {
            if (Status r = source.Read(plan.pageOffset + std::uint64_t{e.page} * kPageBytes,
                                       kPageBytes, page.data());
                !r.ok()) {
                return r;
            }
        }
        if (k + 1 < byPage.size() && byPage[k + 1].first == e.page) {
            PrefetchSprite(page.data(), entries[byPage[k + 1].second]);
        }
        SpriteTexture& texture = textures[byPage[k].second];
        texture.CreateForOverwrite(e.Width(), e.Height());
        const std::uint8_t* from = page.data() + e.y * kPageRowBytes + e.x * std::size_t{3};
        std::uint8_t* to = texture.GetBits();
        for (int row = 0; row < e.Height(); ++row) {
            CopySwappingRedBlue(to, from, static_cast<std::size_t>(e.Width()));
            from += kPageRowBytes;
            to += texture.GetRowSize();
        }
    }
    return {};
}

// The version and the number of sprites, into `stated`.
Status ReadHeader(const Source& source, SwdFileInfo& stated) {
    std::uint8_t header[8];
    const auto headerBytes = static_cast<std::size_t>(std::min<std::uint64_t>(8, source.Size()));
    if (Status r = source.Read(0, headerBytes, header); !r.ok()) {
        return r;
    }
    if (headerBytes < 4 || (stated.version = LoadU32(header)) != kVersion) {
        return Status::Failed(Fault::WrongFormat, kWrongVersionMessage);
    }
    if (headerBytes < 8) {
        return Damaged("the file ends before the number of sprites");
    }
    stated.entryCount = LoadU32(header + 4);
    if (stated.entryCount > kMaxEntries) {
        return Damaged("it states " + std::to_string(stated.entryCount) +
                       " sprites, more than the " + std::to_string(kMaxEntries) +
                       " a sprite wad can hold");
    }
    return {};
}

Status Parse(const Source& source, SpriteWad& out, SwdFileInfo& stated,
             const ReadOptions& options) {
    if (Status r = ReadHeader(source, stated); !r.ok()) {
        return r;
    }
    const std::uint32_t entryCount = stated.entryCount;
    Plan plan;
    Status judged = Judge(source, entryCount, stated, plan);
    if (entryCount == 0 && judged.fault() == Fault::Damaged) {
        std::uint32_t recoverable = 0;
        if (Status r = FindRecoverableCount(source, recoverable); !r.ok()) {
            return r;
        }
        stated.recoverableEntryCount = recoverable;
        if (recoverable != 0 && options.recoverZeroCount) {
            stated = {kVersion, 0, 0, 0, 0, recoverable};
            plan = {};
            judged = Judge(source, recoverable, stated, plan);
        }
    }
    if (!judged.ok()) {
        return judged;
    }

    // Texture i is sprite entry i, cut straight from the file's page.
    SpriteWad fresh;
    if (Status r = CutSprites(source, plan, fresh.m_textures); !r.ok()) {
        return r;
    }
    fresh.m_sequences = std::move(plan.sequences);
    std::swap(out, fresh);
    return {};
}

// Parses, turning a failed allocation into a message instead of an exception.
Status ParseReportingMemory(const Source& source, SpriteWad& out, SwdFileInfo* info,
                            const ReadOptions& options) {
    SwdFileInfo stated;
    Status result;
    try {
        result = Parse(source, out, stated, options);
    } catch (const std::bad_alloc&) {
        result =
            Status::Failed(Fault::TooLarge, "There is not enough memory to load this sprite wad");
    }
    if (info != nullptr) {
        *info = stated;
    }
    return result;
}

// The header, then the layout checks of Judge made from the stated counts and the file's length
// alone, then the first object and the entries of its first `limit` sprites.
Status ParsePreview(const Source& source, std::size_t limit, FirstObjectPreview& out) {
    const std::uint64_t size = source.Size();
    SwdFileInfo stated;
    if (Status r = ReadHeader(source, stated); !r.ok()) {
        return r;
    }
    const std::uint32_t entryCount = stated.entryCount;
    const std::uint64_t entryEnd = 8 + std::uint64_t{entryCount} * kEntryBytes;
    if (size < entryEnd + 4) {
        return Damaged("the file ends before the size of the texture pages");
    }
    std::uint32_t pageDataSize = 0;
    if (Status r = ReadU32(source, entryEnd, pageDataSize); !r.ok()) {
        return r;
    }
    const auto pageCount = static_cast<std::uint32_t>(pageDataSize / kPageBytes);
    Plan plan;
    plan.pageOffset = entryEnd + 4;
    const std::uint64_t pageEnd = plan.pageOffset + std::uint64_t{pageCount} * kPageBytes;
    if (size < pageEnd + 4) {
        return Damaged("the file ends inside the texture pages or before the number of objects");
    }
    std::uint32_t sequenceCount = 0;
    if (Status r = ReadU32(source, pageEnd, sequenceCount); !r.ok()) {
        return r;
    }
    if ((size - pageEnd - 4) / kSequenceBytes < sequenceCount) {
        return Damaged("the file ends inside the object sequences");
    }
    FirstObjectPreview preview;
    if (sequenceCount > 0) {
        std::uint8_t record[kSequenceBytes];
        if (Status r = source.Read(pageEnd + 4, kSequenceBytes, record); !r.ok()) {
            return r;
        }
        const ObjectSequence first = DecodeSequence(record);
        if (Status r = CheckRuns({first}, entryCount); !r.ok()) {
            return r;
        }
        preview.hasObject = true;
        preview.slotId = first.slotId;
        preview.textureCount = static_cast<std::size_t>(first.TextureCount());
        const std::size_t shown = std::min(limit, preview.textureCount);
        std::vector<std::uint8_t> entryBytes(shown * kEntryBytes);
        if (Status r = source.Read(8 + std::uint64_t{first.firstTexture} * kEntryBytes,
                                   entryBytes.size(), entryBytes.data());
            !r.ok()) {
            return r;
        }
        plan.entries.resize(shown);
        for (std::size_t i = 0; i < shown; ++i) {
            plan.entries[i] = DecodeEntry(entryBytes.data() + i * kEntryBytes);
        }
        if (Status r = CheckEntries(plan.entries, pageCount, first.firstTexture); !r.ok()) {
            return r;
        }
        if (Status r = CutSprites(source, plan, preview.textures); !r.ok()) {
            return r;
        }
    }
    out = std::move(preview);
    return {};
}

} // namespace

Status ReadSwd(std::span<const std::uint8_t> bytes, SpriteWad& out, SwdFileInfo* info,
               const ReadOptions& options) {
    return ParseReportingMemory(MemorySource(bytes), out, info, options);
}

Status ReadSwdFile(const std::string& path, SpriteWad& out, SwdFileInfo* info,
                   const ReadOptions& options) {
    io::RandomAccessFile file;
    if (const std::error_code ec = file.Open(path)) {
        if (info != nullptr) {
            *info = {};
        }
        return Status::Failed(Fault::OpenFailed,
                              "Cannot open the file \"" + path + "\": " + ec.message());
    }
    return ParseReportingMemory(FileSource(file, path), out, info, options);
}

Status ReadFirstObjectPreview(const std::string& path, std::size_t limit, FirstObjectPreview& out) {
    io::RandomAccessFile file;
    if (const std::error_code ec = file.Open(path)) {
        return Status::Failed(Fault::OpenFailed,
                              "Cannot open the file \"" + path + "\": " + ec.message());
    }
    try {
        return ParsePreview(FileSource(file, path), limit, out);
    } catch (const std::bad_alloc&) {
        return Status::Failed(Fault::TooLarge,
                              "There is not enough memory to read this sprite wad");
    }
}

} // namespace swd
