#include "images/BTCImageObject.h"
#include "images/MagickBridge.h"
#include "images/TextureExport.h"
#include "io/AtomicFileWriter.h"
#include "io/ReadFileBytes.h"

#include <stb_image_write.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

namespace {

// Largest file worth reading: an uncompressed 32-bit image of the largest size we accept,
// with room for headers and palettes.
constexpr std::size_t kMaxFileBytes =
    std::size_t{BTCImageData::kMaxSide} * std::size_t{BTCImageData::kMaxSide} * 4 +
    (std::size_t{1} << 20);

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

const std::string& ReadableFormats() {
    static const std::string names = FormatNames(FormatUse::Read, NameCase::Upper, ", ", " or ");
    return names;
}

// The format GraphicsMagick would pick from the leading bytes, or "" when none matches.
// We decide before decoding, because GraphicsMagick trusts the bytes over any format we
// name and would otherwise hand a renamed PostScript or SVG file to its delegates.
std::string SniffFormat(const std::uint8_t* data, std::size_t size) {
    std::array<char, 64> format{};
    MagickLib::ExceptionInfo exception;
    MagickLib::GetExceptionInfo(&exception);
    const auto found = MagickLib::GetMagickFileFormat(data, std::min<std::size_t>(size, 1 << 16),
                                                      format.data(), format.size(), &exception);
    MagickLib::DestroyExceptionInfo(&exception);
    return found == MagickPass ? std::string(format.data()) : std::string();
}

// GraphicsMagick names the readable formats as the table does.
bool IsReadableFormat(const std::string& format) {
    const std::optional<ImageFormat> known = ImageFormatFromName(format);
    return known && FormatInfo(*known).readable && format == FormatInfo(*known).name;
}

// Warnings: GraphicsMagick reports a truncated or damaged JPEG only as a CorruptImage warning
// and fills the missing part in grey. A texture editor that accepted that would put the damage
// into the user's sprite wad without a word, so a CorruptImage warning fails the load like an
// error. Other warnings (unknown TIFF tags, odd PNG ancillary chunks) leave the pixels whole
// and are accepted.
template <class Step> void RunAcceptingHarmlessWarnings(Step step) {
    try {
        step();
    } catch (const Magick::WarningCorruptImage&) {
        throw;
    } catch (const Magick::Warning&) {
    }
}

Status TooLarge(const std::string& name, const std::exception& e) {
    return Status::Failed(Fault::TooLarge,
                          "Cannot read " + name + ": it is larger than " +
                              std::to_string(BTCImageData::kMaxSide) + " pixels a side or " +
                              std::to_string(images::kMaxDecodedPixels >> 20) +
                              " megapixels in all (" + images::MagickMessage(e) + ").");
}

// Decodes one image of an allowed format into out; name says where it came from in messages.
Status Decode(const Magick::Blob& blob, bool tgaAllowed, const std::string& name,
              BTCImageData& out) {
    images::EnsureMagick();
    std::string format = SniffFormat(static_cast<const std::uint8_t*>(blob.data()), blob.length());
    if (format.empty() && tgaAllowed) {
        format = "TGA"; // TGA has no magic bytes; only the name or the caller can tell.
    }
    if (format.empty()) {
        return Status::Failed(Fault::WrongFormat, "Cannot read " + name + ": it is not a " +
                                                      ReadableFormats() + " image.");
    }
    if (format != "TGA" && !IsReadableFormat(format)) {
        return Status::Failed(Fault::WrongFormat, "Cannot read " + name + ": it is a " + format +
                                                      " file, not a " + ReadableFormats() +
                                                      " image.");
    }
    try {
        Magick::Image image;
        // Only the first picture of a multi-page file is used; do not decode the others.
        image.subImage(0);
        image.subRange(1);
        RunAcceptingHarmlessWarnings([&] { image.read(blob, Magick::Geometry(), format); });
        // CMYK JPEG and TIFF hold ink values; exported as they are they would show as
        // inverted, swapped colours.
        image.colorSpace(Magick::RGBColorspace);
        if (!images::FromMagick(image, out)) {
            return Status::Failed(Fault::Damaged, "Cannot read " + name + ": it holds no pixels.");
        }
        return {};
    } catch (const Magick::ErrorResourceLimit& e) {
        // The limits set in EnsureMagick stop the decoder before it allocates pixels.
        return TooLarge(name, e);
    } catch (const Magick::WarningCorruptImage& e) {
        return Status::Failed(Fault::Damaged, "Cannot read " + name + ": the image is damaged (" +
                                                  images::MagickMessage(e) + ").");
    } catch (const std::bad_alloc&) {
        return Status::Failed(Fault::TooLarge, "Cannot read " + name +
                                                   ": there is not enough memory for the image.");
    } catch (const std::exception& e) {
        // Some decoders (PNG) report the same limits as errors of their own.
        if (std::string(e.what()).find("resource limit") != std::string::npos) {
            return TooLarge(name, e);
        }
        return Status::Failed(Fault::Damaged,
                              "Cannot read " + name + ": " + images::MagickMessage(e) + ".");
    }
}

std::vector<std::uint8_t> EncodeWithMagick(const BTCImageData& image, const std::string& format,
                                           int jpegQuality) {
    Magick::Image picture = images::ToMagick(image);
    // Keeps every writer on its 24-bit layout, never a palette, whatever colours are used.
    picture.type(Magick::TrueColorType);
    if (jpegQuality >= 0) {
        picture.quality(static_cast<unsigned>(jpegQuality));
    }
    Magick::Blob blob;
    picture.write(&blob, format);
    const auto* bytes = static_cast<const std::uint8_t*>(blob.data());
    return std::vector<std::uint8_t>(bytes, bytes + blob.length());
}

void AppendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

// stb_image_write takes its run-length switch from a global; the lock keeps two saves on
// different threads from using each other's setting.
std::mutex g_tgaWriterLock;

bool EncodeTga(const BTCImageData& image, bool runLength, std::vector<std::uint8_t>& out) {
    std::vector<std::uint8_t> rgb(image.GetBits(), image.GetBits() + image.GetImageSize());
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        std::swap(rgb[i], rgb[i + 2]);
    }
    std::lock_guard lock(g_tgaWriterLock);
    stbi_write_tga_with_rle = runLength ? 1 : 0;
    return stbi_write_tga_to_func(AppendBytes, &out, image.GetWidth(), image.GetHeight(), 3,
                                  rgb.data()) != 0;
}

} // namespace

Status BTCImageObject::Load(const std::string& path) {
    // The file is read straight into memory that the blob then owns: read once, never copied.
    std::unique_ptr<std::uint8_t, decltype(&std::free)> bytes(nullptr, &std::free);
    const auto allocate = [&bytes](std::size_t size) {
        bytes.reset(static_cast<std::uint8_t*>(std::malloc(size == 0 ? 1 : size)));
        return bytes.get();
    };
    const Result<std::size_t> size = io::ReadFileInto(path, kMaxFileBytes, allocate);
    if (!size) {
        return size.status();
    }
    Magick::Blob blob;
    blob.updateNoCopy(bytes.release(), *size, Magick::Blob::MallocAllocator);
    BTCImageData image;
    if (Status decoded =
            Decode(blob, ImageFormatFromPath(path) == ImageFormat::Tga, Quoted(path), image);
        !decoded) {
        return decoded;
    }
    m_image = std::move(image);
    return {};
}

Status BTCImageObject::LoadFromMemory(const void* data, std::size_t size) {
    if (data == nullptr || size == 0) {
        return Status::Failed(Fault::WrongFormat, "Cannot read the image data: there is none.");
    }
    BTCImageData image;
    if (Status decoded = Decode(Magick::Blob(data, size), true, "the image data", image);
        !decoded) {
        return decoded;
    }
    m_image = std::move(image);
    return {};
}

Status BTCImageObject::Save(const std::string& path, ImageFormat format,
                            const ExportOptions& options) const {
    const std::string cannot = "Cannot save " + Quoted(path) + ": ";
    if (!m_image.IsLoaded()) {
        return Status::Failed(Fault::Refused, cannot + "there is no image to save.");
    }
    std::vector<std::uint8_t> bytes;
    try {
        switch (format) {
        case ImageFormat::Bmp:
            // BMP3 is the plain 40-byte-header, uncompressed 24-bit layout every reader knows.
            bytes = EncodeWithMagick(m_image, "BMP3", -1);
            break;
        case ImageFormat::Pcx:
            bytes = EncodeWithMagick(m_image, "PCX", -1);
            break;
        case ImageFormat::Png:
            bytes = EncodeWithMagick(m_image, "PNG", -1);
            break;
        case ImageFormat::Tiff:
            bytes = EncodeWithMagick(m_image, "TIFF", -1);
            break;
        case ImageFormat::Jpeg:
            bytes = EncodeWithMagick(m_image, "JPEG", std::clamp(options.jpegQuality, 0, 100));
            break;
        case ImageFormat::Tga:
            // GraphicsMagick cannot write run-length TGA; stb_image_write can.
            if (!EncodeTga(m_image, options.tgaRunLength, bytes)) {
                return Status::Failed(Fault::WriteFailed, cannot + "the TGA encoder failed.");
            }
            break;
        case ImageFormat::Raw:
            // Written by us rather than the library, so a failure carries the system's reason.
            bytes = RawDump(m_image);
            break;
        }
    } catch (const std::bad_alloc&) {
        return Status::Failed(Fault::WriteFailed,
                              cannot + "there is not enough memory to encode the image.");
    } catch (const std::exception& e) {
        return Status::Failed(Fault::WriteFailed, cannot + images::MagickMessage(e) + ".");
    }
    return WriteFileAtomically(path, bytes);
}
