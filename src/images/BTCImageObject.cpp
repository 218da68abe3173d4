#include "images/BTCImageObject.h"
#include "images/MagickBridge.h"
#include "io/AtomicFileWriter.h"
#include "io/ReadFileBytes.h"

#include <stb_image_write.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

namespace {

constexpr const char* kReadableFormats = "BMP, PCX, PNG, TGA, TIFF or JPEG";

// Largest file worth reading: an uncompressed 32-bit image of the largest size we accept,
// with room for headers and palettes.
constexpr std::size_t kMaxFileBytes =
    std::size_t{BTCImageData::kMaxSide} * std::size_t{BTCImageData::kMaxSide} * 4 +
    (std::size_t{1} << 20);

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool HasTgaExtension(const std::string& path) {
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of('/');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash) &&
           Upper(path.substr(dot)) == ".TGA";
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

bool IsReadableFormat(const std::string& format) {
    static const std::array<std::string, 5> formats{"BMP", "PCX", "PNG", "TIFF", "JPEG"};
    return std::find(formats.begin(), formats.end(), format) != formats.end();
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

std::string TooLarge(const std::string& name, const std::exception& e) {
    return "Cannot read " + name + ": it is larger than " + std::to_string(BTCImageData::kMaxSide) +
           " pixels a side or " + std::to_string(images::kMaxDecodedPixels >> 20) +
           " megapixels in all (" + images::MagickMessage(e) + ").";
}

// Decodes one image of an allowed format into out; name says where it came from in messages.
bool Decode(const Magick::Blob& blob, bool tgaAllowed, const std::string& name, BTCImageData& out,
            std::string& error) {
    images::EnsureMagick();
    std::string format = SniffFormat(static_cast<const std::uint8_t*>(blob.data()), blob.length());
    if (format.empty() && tgaAllowed) {
        format = "TGA"; // TGA has no magic bytes; only the name or the caller can tell.
    }
    if (format.empty()) {
        error = "Cannot read " + name + ": it is not a " + kReadableFormats + " image.";
        return false;
    }
    if (format != "TGA" && !IsReadableFormat(format)) {
        error = "Cannot read " + name + ": it is a " + format + " file, not a " + kReadableFormats +
                " image.";
        return false;
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
            error = "Cannot read " + name + ": it holds no pixels.";
            return false;
        }
        return true;
    } catch (const Magick::ErrorResourceLimit& e) {
        // The limits set in EnsureMagick stop the decoder before it allocates pixels.
        error = TooLarge(name, e);
    } catch (const Magick::WarningCorruptImage& e) {
        error =
            "Cannot read " + name + ": the image is damaged (" + images::MagickMessage(e) + ").";
    } catch (const std::bad_alloc&) {
        error = "Cannot read " + name + ": there is not enough memory for the image.";
    } catch (const std::exception& e) {
        // Some decoders (PNG) report the same limits as errors of their own.
        const bool overLimit = std::string(e.what()).find("resource limit") != std::string::npos;
        error = overLimit ? TooLarge(name, e)
                          : "Cannot read " + name + ": " + images::MagickMessage(e) + ".";
    }
    return false;
}

bool Fail(std::string* error, std::string text) {
    if (error != nullptr) {
        *error = std::move(text);
    }
    return false;
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

int BTCImageObject::GetCodecIdFromFormat(const std::string& name) {
    static const std::array<std::pair<const char*, Codec>, 6> codecs{{{"BMP", CodecBMP},
                                                                      {"PCX", CodecPCX},
                                                                      {"PNG", CodecPNG},
                                                                      {"TGA", CodecTGA},
                                                                      {"TIFF", CodecTIFF},
                                                                      {"JPEG", CodecJPEG}}};
    const std::string wanted = Upper(name);
    for (const auto& [format, codec] : codecs) {
        if (wanted == format) {
            return codec;
        }
    }
    return CodecUnknown;
}

bool BTCImageObject::Load(const std::string& path, std::string* error) {
    std::string why;
    // The file is read straight into memory that the blob then owns: read once, never copied.
    std::unique_ptr<std::uint8_t, decltype(&std::free)> bytes(nullptr, &std::free);
    const auto allocate = [&bytes](std::size_t size) {
        bytes.reset(static_cast<std::uint8_t*>(std::malloc(size == 0 ? 1 : size)));
        return bytes.get();
    };
    std::size_t size = 0;
    if (!io::ReadFileInto(path, kMaxFileBytes, allocate, size, why)) {
        return Fail(error, why);
    }
    Magick::Blob blob;
    blob.updateNoCopy(bytes.release(), size, Magick::Blob::MallocAllocator);
    BTCImageData image;
    if (!Decode(blob, HasTgaExtension(path), Quoted(path), image, why)) {
        return Fail(error, why);
    }
    m_image = std::move(image);
    return true;
}

bool BTCImageObject::LoadFromMemory(const void* data, std::size_t size, std::string* error) {
    std::string why;
    BTCImageData image;
    if (data == nullptr || size == 0) {
        return Fail(error, "Cannot read the image data: there is none.");
    }
    if (!Decode(Magick::Blob(data, size), true, "the image data", image, why)) {
        return Fail(error, why);
    }
    m_image = std::move(image);
    return true;
}

bool BTCImageObject::Save(const std::string& path, int codecId, const BTCEncoderOptions* options,
                          std::string* error) const {
    const std::string cannot = "Cannot save " + Quoted(path) + ": ";
    if (!m_image.IsLoaded()) {
        return Fail(error, cannot + "there is no image to save.");
    }
    const auto* jpegOptions = dynamic_cast<const BTCEncoderOptionsJPEG*>(options);
    const auto* tgaOptions = dynamic_cast<const BTCEncoderOptionsTGA*>(options);
    const bool optionsMatch = options == nullptr ||
                              (codecId == CodecJPEG && jpegOptions != nullptr) ||
                              (codecId == CodecTGA && tgaOptions != nullptr);
    if (!optionsMatch) {
        return Fail(error, cannot + "the encoder options are not for this format.");
    }
    std::vector<std::uint8_t> bytes;
    try {
        switch (codecId) {
        case CodecBMP:
            // BMP3 is the plain 40-byte-header, uncompressed 24-bit layout every reader knows.
            bytes = EncodeWithMagick(m_image, "BMP3", -1);
            break;
        case CodecPCX:
            bytes = EncodeWithMagick(m_image, "PCX", -1);
            break;
        case CodecPNG:
            bytes = EncodeWithMagick(m_image, "PNG", -1);
            break;
        case CodecTIFF:
            bytes = EncodeWithMagick(m_image, "TIFF", -1);
            break;
        case CodecJPEG:
            bytes = EncodeWithMagick(m_image, "JPEG",
                                     jpegOptions != nullptr ? jpegOptions->Quality()
                                                            : BTCEncoderOptionsJPEG().Quality());
            break;
        case CodecTGA:
            // GraphicsMagick cannot write run-length TGA; stb_image_write can.
            if (!EncodeTga(m_image, tgaOptions != nullptr && tgaOptions->RunLength(), bytes)) {
                return Fail(error, cannot + "the TGA encoder failed.");
            }
            break;
        default:
            return Fail(error, cannot + "unknown image format.");
        }
    } catch (const std::bad_alloc&) {
        return Fail(error, cannot + "there is not enough memory to encode the image.");
    } catch (const std::exception& e) {
        return Fail(error, cannot + images::MagickMessage(e) + ".");
    }
    if (std::string why = WriteFileAtomically(path, bytes); !why.empty()) {
        return Fail(error, why);
    }
    return true;
}
