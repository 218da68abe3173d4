#include "model/SwdFile.h"

#include "io/AtomicFileWriter.h"
#include "model/ByteCursor.h"
#include "model/PixelSwap.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <new>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace swd {
namespace {

// A sprite number is what a 16-bit first index plus a count can reach; more entries than
// this cannot all belong to objects.
constexpr std::uint32_t kMaxEntries = 65536;
constexpr std::size_t kEntryBytes = 16;
constexpr std::size_t kSequenceBytes = 8;
constexpr std::size_t kPageRowBytes = 256 * 3;

Result Damaged(const std::string& what) {
    return {Status::Damaged, "This sprite wad is damaged: " + what};
}

std::string SystemReason(int error) {
    return std::system_category().message(error);
}

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

SpriteEntry DecodeEntry(const std::uint8_t* p) {
    SpriteEntry e;
    e.x = p[0];
    e.y = p[1];
    e.page = U16(p + 2);
    e.reserved4 = p[4];
    e.widthMinusOne = p[5];
    e.reserved6 = p[6];
    e.heightMinusOne = p[7];
    e.reserved8 = U32(p + 8);
    e.reserved12 = U32(p + 12);
    return e;
}

ObjectSequence DecodeSequence(const std::uint8_t* p) {
    ObjectSequence s;
    s.slotId = U32(p);
    s.negCount = static_cast<std::int16_t>(U16(p + 4));
    s.firstTexture = U16(p + 6);
    return s;
}

std::string ObjectName(std::size_t index, const ObjectSequence& s) {
    return "object " + std::to_string(index) + " (slot " + std::to_string(s.slotId) + ")";
}

// Every entry names an existing page and lies inside it, and the sprites of a page cover no
// more pixels than the page has: each sprite becomes a texture of its own, so a small file
// naming one page area thousands of times would otherwise cost gigabytes.
Result CheckEntries(const std::vector<SpriteEntry>& entries, std::uint32_t pageCount) {
    std::vector<std::size_t> covered(pageCount, 0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const SpriteEntry& e = entries[i];
        if (e.page >= pageCount) {
            return Damaged("sprite " + std::to_string(i) + " lies on page " +
                           std::to_string(e.page) + ", but the file holds " +
                           std::to_string(pageCount) + (pageCount == 1 ? " page" : " pages"));
        }
        if (e.x + e.Width() > 256 || e.y + e.Height() > 256) {
            return Damaged("sprite " + std::to_string(i) + " lies outside page " +
                           std::to_string(e.page) + " (" + std::to_string(e.Width()) + " x " +
                           std::to_string(e.Height()) + " at column " + std::to_string(e.x) +
                           ", row " + std::to_string(e.y) + ")");
        }
        covered[e.page] +=
            static_cast<std::size_t>(e.Width()) * static_cast<std::size_t>(e.Height());
        if (covered[e.page] > 256 * 256) {
            return Damaged("the sprites on page " + std::to_string(e.page) +
                           " cover more pixels than the page holds (from sprite " +
                           std::to_string(i) + " on)");
        }
    }
    return {};
}

// Every run lies inside the sprites (an empty one may start right after the last) and no two
// non-empty runs share a sprite.
Result CheckRuns(const std::vector<ObjectSequence>& sequences, std::size_t spriteCount) {
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
    // An empty object marks where its first texture will go; inside another run, that
    // texture would split the run.
    for (std::size_t k = 0; k < sequences.size(); ++k) {
        const std::size_t first = sequences[k].firstTexture;
        if (sequences[k].TextureCount() != 0) {
            continue;
        }
        for (const Run& run : runs) {
            if (first > run.first && first < run.first + run.count) {
                return Damaged(ObjectName(k, sequences[k]) +
                               " has no sprites but starts at sprite " + std::to_string(first) +
                               ", inside the sprites of " +
                               ObjectName(run.object, sequences[run.object]));
            }
        }
    }
    return {};
}

// Brings bytes [begin, end) of the file into the buffer being parsed; the parser calls it
// before it looks at any byte. A file already in memory has nothing to fetch.
using FetchBytes = std::function<Result(std::size_t begin, std::size_t end)>;

// Asks the processor to start loading the rows of a sprite: the rows of a page are 768 bytes
// apart, a stride the hardware prefetcher picks up too late for sprites a few rows high.
void PrefetchSprite(const std::uint8_t* page, const SpriteEntry& e) {
    const std::uint8_t* row = page + e.y * kPageRowBytes + e.x * std::size_t{3};
    for (int y = 0; y < e.Height(); ++y, row += kPageRowBytes) {
        __builtin_prefetch(row);
        __builtin_prefetch(row + e.widthMinusOne * 3);
    }
}

// Cuts the sprites page by page in file order, fetching each page just before its sprites
// are cut, so that a file being read is cut while its newest bytes are still in the cache.
Result CutSprites(const std::vector<SpriteEntry>& entries, std::uint32_t pageCount,
                  std::span<const std::uint8_t> pageBytes, std::size_t pageOffset,
                  const FetchBytes& fetch, std::vector<SpriteTexture>& textures) {
    std::vector<std::uint32_t> pageStart(std::size_t{pageCount} + 1, 0);
    for (const SpriteEntry& e : entries) {
        ++pageStart[e.page + std::size_t{1}];
    }
    for (std::size_t p = 0; p < pageCount; ++p) {
        pageStart[p + 1] += pageStart[p];
    }
    std::vector<std::uint32_t> byPage(entries.size());
    std::vector<std::uint32_t> next(pageStart.begin(), pageStart.end() - 1);
    for (std::uint32_t i = 0; i < entries.size(); ++i) {
        byPage[next[entries[i].page]++] = i;
    }

    textures.resize(entries.size());
    for (std::size_t p = 0; p < pageCount; ++p) {
        if (Result r = fetch(pageOffset + p * kPageBytes, pageOffset + (p + 1) * kPageBytes);
            !r.ok()) {
            return r;
        }
        const std::uint8_t* page = pageBytes.data() + p * kPageBytes;
        for (std::size_t k = pageStart[p]; k < pageStart[p + 1]; ++k) {
            if (k + 1 < pageStart[p + 1]) {
                PrefetchSprite(page, entries[byPage[k + 1]]);
            }
            const SpriteEntry& e = entries[byPage[k]];
            SpriteTexture& texture = textures[byPage[k]];
            texture.CreateForOverwrite(e.Width(), e.Height());
            const std::uint8_t* from = page + e.y * kPageRowBytes + e.x * std::size_t{3};
            std::uint8_t* to = texture.GetBits();
            for (int row = 0; row < e.Height(); ++row) {
                CopySwappingRedBlue(to, from, static_cast<std::size_t>(e.Width()));
                from += kPageRowBytes;
                to += texture.GetRowSize();
            }
        }
    }
    return {};
}

Result Parse(std::span<const std::uint8_t> bytes, SpriteWad& out, SwdFileInfo& stated,
             const FetchBytes& fetch) {
    ByteCursor cursor(bytes);
    // The counts and records ahead of the pages; clamped to the file, whose size bounds
    // every read below.
    const auto fetchAhead = [&](std::size_t count) {
        return fetch(cursor.Offset(), cursor.Offset() + std::min(count, cursor.Remaining()));
    };

    if (Result r = fetchAhead(8); !r.ok()) {
        return r;
    }
    if (!cursor.ReadU32(stated.version) || stated.version != kVersion) {
        return {Status::WrongVersion, kWrongVersionMessage};
    }

    if (!cursor.ReadU32(stated.entryCount)) {
        return Damaged("the file ends before the number of sprites");
    }
    if (stated.entryCount > kMaxEntries) {
        return Damaged("it states " + std::to_string(stated.entryCount) +
                       " sprites, more than the " + std::to_string(kMaxEntries) +
                       " a sprite wad can hold");
    }
    if (Result r = fetchAhead(stated.entryCount * kEntryBytes + 4); !r.ok()) {
        return r;
    }
    std::span<const std::uint8_t> entryBytes;
    if (!cursor.Take(stated.entryCount * kEntryBytes, entryBytes)) {
        return Damaged("the file ends inside the sprite entries (" +
                       std::to_string(stated.entryCount) + " stated, room for " +
                       std::to_string(cursor.Remaining() / kEntryBytes) + ")");
    }

    std::uint32_t pageDataSize = 0;
    if (!cursor.ReadU32(pageDataSize)) {
        return Damaged("the file ends before the size of the texture pages");
    }
    // Bytes of D beyond the last whole page are not skipped: the object count follows the
    // last whole page.
    stated.pageCount = static_cast<std::uint32_t>(pageDataSize / kPageBytes);
    const std::size_t pageOffset = cursor.Offset();
    std::span<const std::uint8_t> pageBytes;
    if (!cursor.Take(stated.pageCount * kPageBytes, pageBytes)) {
        return Damaged("the file ends inside the texture pages (" +
                       std::to_string(stated.pageCount) + " stated, " +
                       std::to_string(cursor.Remaining() / kPageBytes) + " present)");
    }

    if (Result r = fetchAhead(4); !r.ok()) {
        return r;
    }
    if (!cursor.ReadU32(stated.sequenceCount)) {
        return Damaged("the file ends before the number of objects");
    }
    // Only the sequences are read: whatever follows them is never looked at.
    if (Result r = fetchAhead(std::size_t{stated.sequenceCount} * kSequenceBytes); !r.ok()) {
        return r;
    }
    std::span<const std::uint8_t> sequenceBytes;
    if (!cursor.Take(std::size_t{stated.sequenceCount} * kSequenceBytes, sequenceBytes)) {
        return Damaged("the file ends inside the object sequences (" +
                       std::to_string(stated.sequenceCount) + " stated, room for " +
                       std::to_string(cursor.Remaining() / kSequenceBytes) + ")");
    }
    stated.trailingBytes = cursor.Remaining();
    // Bytes after the objects are normally a stale tail of an older, longer version of the
    // file and are ignored. A file that states no sprites, pages or objects at all but goes
    // on holds its sprites where its header does not say: showing it empty would hide them.
    if (stated.entryCount == 0 && stated.pageCount == 0 && stated.sequenceCount == 0 &&
        stated.trailingBytes > 0) {
        return Damaged("it states no sprites, pages or objects, yet " +
                       std::to_string(stated.trailingBytes) + " more bytes follow");
    }

    std::vector<SpriteEntry> entries(stated.entryCount);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i] = DecodeEntry(entryBytes.data() + i * kEntryBytes);
    }
    if (Result r = CheckEntries(entries, stated.pageCount); !r.ok()) {
        return r;
    }

    SpriteWad fresh;
    fresh.m_sequences.resize(stated.sequenceCount);
    for (std::size_t k = 0; k < fresh.m_sequences.size(); ++k) {
        fresh.m_sequences[k] = DecodeSequence(sequenceBytes.data() + k * kSequenceBytes);
    }
    if (Result r = CheckRuns(fresh.m_sequences, entries.size()); !r.ok()) {
        return r;
    }

    // Texture i is sprite entry i, cut straight from the file's page.
    if (Result r =
            CutSprites(entries, stated.pageCount, pageBytes, pageOffset, fetch, fresh.m_textures);
        !r.ok()) {
        return r;
    }
    std::swap(out, fresh);
    return {};
}

// Parses, turning a failed allocation into a message instead of an exception.
Result ParseReportingMemory(std::span<const std::uint8_t> bytes, SpriteWad& out, SwdFileInfo* info,
                            const FetchBytes& fetch) {
    SwdFileInfo stated;
    Result result;
    try {
        result = Parse(bytes, out, stated, fetch);
    } catch (const std::bad_alloc&) {
        result = {Status::OpenFailed, "There is not enough memory to load this sprite wad"};
    }
    if (info != nullptr) {
        *info = stated;
    }
    return result;
}

struct FileHandle {
    explicit FileHandle(int descriptor) : fd(descriptor) {}
    int fd;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

void PutU16(std::uint8_t*& p, std::uint16_t v) {
    *p++ = static_cast<std::uint8_t>(v);
    *p++ = static_cast<std::uint8_t>(v >> 8);
}

void PutU32(std::uint8_t*& p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        *p++ = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

} // namespace

Result ReadSwd(std::span<const std::uint8_t> bytes, SpriteWad& out, SwdFileInfo* info) {
    return ParseReportingMemory(bytes, out, info,
                                [](std::size_t, std::size_t) { return Result{}; });
}

Result ReadSwdFile(const std::string& path, SpriteWad& out, SwdFileInfo* info) {
    const auto failed = [&path](const char* what, int error) {
        return Result{Status::OpenFailed,
                      std::string(what) + " \"" + path + "\": " + SystemReason(error)};
    };
    // Non-blocking so that a named pipe cannot hang the open; regular files ignore it.
    const FileHandle file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0) {
        return failed("Cannot open the file", errno);
    }
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) {
        return failed("Cannot read the file", errno);
    }
    if (!S_ISREG(st.st_mode)) {
        return failed("Cannot open the file", S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    }

    // The whole file is read into this buffer, each part just before the parser needs it;
    // every byte is overwritten by the read, so it is not cleared first.
    const auto size = static_cast<std::size_t>(st.st_size);
    std::unique_ptr<std::uint8_t[]> bytes(new (std::nothrow) std::uint8_t[size == 0 ? 1 : size]);
    if (!bytes) {
        return failed("Cannot read the file", ENOMEM);
    }
    const auto fetch = [&](std::size_t begin, std::size_t end) -> Result {
        while (begin < end) {
            const ssize_t got =
                ::pread(file.fd, bytes.get() + begin, end - begin, static_cast<off_t>(begin));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                return failed("Cannot read the file", errno);
            }
            if (got == 0) {
                return {Status::OpenFailed,
                        "Cannot read the file \"" + path + "\": it was shortened while being read"};
            }
            begin += static_cast<std::size_t>(got);
        }
        return {};
    };
    return ParseReportingMemory({bytes.get(), size}, out, info, fetch);
}

std::vector<std::uint8_t> SerializeSwd(const SpriteWad& wad) {
    const std::size_t size = 16 + wad.m_entries.size() * kEntryBytes +
                             wad.m_pages.size() * kPageBytes +
                             wad.m_sequences.size() * kSequenceBytes;
    // Filled with 0xFF: a page image smaller than a whole page leaves the rest of its block so.
    std::vector<std::uint8_t> bytes(size, 0xFF);
    std::uint8_t* p = bytes.data();

    PutU32(p, kVersion);
    PutU32(p, static_cast<std::uint32_t>(wad.m_entries.size()));
    for (const SpriteEntry& e : wad.m_entries) {
        *p++ = e.x;
        *p++ = e.y;
        PutU16(p, e.page);
        *p++ = e.reserved4;
        *p++ = e.widthMinusOne;
        *p++ = e.reserved6;
        *p++ = e.heightMinusOne;
        PutU32(p, e.reserved8);
        PutU32(p, e.reserved12);
    }

    PutU32(p, static_cast<std::uint32_t>(wad.m_pages.size() * kPageBytes));
    for (const TexturePage& page : wad.m_pages) {
        const std::size_t used = std::min(page.GetImageSize(), kPageBytes);
        CopySwappingRedBlue(p, page.GetBits(), used / 3);
        std::memcpy(p + used / 3 * 3, page.GetBits() + used / 3 * 3, used % 3);
        p += kPageBytes;
    }

    PutU32(p, static_cast<std::uint32_t>(wad.m_sequences.size()));
    for (const ObjectSequence& s : wad.m_sequences) {
        PutU32(p, s.slotId);
        PutU16(p, static_cast<std::uint16_t>(s.negCount));
        PutU16(p, s.firstTexture);
    }
    return bytes;
}

Result WriteSwdFile(const std::string& path, const SpriteWad& wad) {
    const auto refused = [&path](const std::string& why) {
        return Result{Status::WriteFailed, "Cannot write the file \"" + path + "\": " + why};
    };
    // Counts the format cannot state, or that no reader would accept, are refused before
    // anything is touched on disk.
    if (wad.m_entries.size() > kMaxEntries) {
        return refused("the sprite wad holds " + std::to_string(wad.m_entries.size()) +
                       " sprites, more than " + std::to_string(kMaxEntries));
    }
    if (wad.m_pages.size() > std::numeric_limits<std::uint32_t>::max() / kPageBytes) {
        return refused("the sprite wad holds too many pages (" +
                       std::to_string(wad.m_pages.size()) + ")");
    }
    try {
        const std::vector<std::uint8_t> bytes = SerializeSwd(wad);
        std::string error = WriteFileAtomically(path, bytes);
        if (!error.empty()) {
            return {Status::WriteFailed, std::move(error)};
        }
    } catch (const std::bad_alloc&) {
        return refused(SystemReason(ENOMEM));
    }
    return {};
}

} // namespace swd
