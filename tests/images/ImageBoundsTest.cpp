#include "images/BTCImageObject.h"
#include "images/MagickBridge.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Crc32(const std::uint8_t* p, std::size_t n) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void PutBig32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}

void Chunk(Bytes& out, const char* type, const Bytes& data) {
    PutBig32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBig32(out, Crc32(out.data() + start, out.size() - start));
}

// A PNG signature and header stating width x height 8-bit RGB, then a few bytes of image data.
Bytes PngHeader(std::uint32_t width, std::uint32_t height) {
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBig32(header, width);
    PutBig32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", {0x78, 0x9C, 0x63, 0x60, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01});
    Chunk(png, "IEND", {});
    return png;
}

// Headers stating more pixels than the ceiling are refused before any pixel memory is
// reserved, with GraphicsMagick's reason and no empty detail.
TEST(ImageBounds, ImagesAboveTheCeilingAreRefusedBeforeDecoding) {
    fixtures::TempDir dir;
    struct Case {
        const char* name;
        std::uint32_t width, height;
    };
    for (const Case& c : {Case{"16384 x 16384", 16384, 16384}, Case{"9000 x 8000", 9000, 8000}}) {
        SCOPED_TRACE(c.name);
        const auto path = dir / "big.png";
        fixtures::WriteFileBytes(path, PngHeader(c.width, c.height));
        BTCImageObject object;
        std::string error;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(object.Load(path.string(), &error));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_NE(error.find("it is larger than 16384 pixels a side or 64 megapixels in all ("),
                  std::string::npos)
            << error;
        EXPECT_EQ(error.find("()"), std::string::npos) << error;
    }
}

TEST(ImageBounds, MagickMessagesLoseTheirLeadSourceAndEmptyDetail) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"Magick: Pixel cache allocation failed () reported by magick/cache.c:1234 (X)",
         "Pixel cache allocation failed"},
        {"Magick: Improper image header (x.bmp)", "Improper image header (x.bmp)"},
        {"plain text", "plain text"},
    };
    for (const auto& [raw, shown] : cases) {
        EXPECT_EQ(images::MagickMessage(std::runtime_error(raw)), shown);
    }
}

// A pipe named like an image would block an open for ever; it is refused at once. Should the
// loader block after all, the test writes to the pipe to free it and fails.
TEST(ImageBounds, PipeNamedAsAnImageIsRefusedAtOnce) {
    fixtures::TempDir dir;
    const auto pipe = dir / "x.png";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto loading = std::async(std::launch::async, [&] {
        std::string error;
        BTCImageObject object;
        const bool loaded = object.Load(pipe.string(), &error);
        return std::make_pair(loaded, error);
    });
    if (loading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) {
            ::close(writer);
        }
        FAIL() << "the loader blocked on a pipe";
    }
    const auto [loaded, error] = loading.get();
    EXPECT_FALSE(loaded);
    EXPECT_EQ(error, "Cannot read \"" + pipe.string() + "\": it is not a file.");
}

} // namespace
