#pragma once

#include "images/BTCEncoderOptions.h"
#include "pixels/BTCImageData.h"

#include <string>

// Loads and saves image files and holds one image. Reading goes through GraphicsMagick
// (BMP, PCX, PNG, TGA, TIFF, JPEG, paletted and alpha images converted to 24 bits);
// writing through GraphicsMagick, except TGA, which stb_image_write writes so that it
// can be run-length encoded.
class BTCImageObject {
public:
    enum Codec { CodecUnknown = -1, CodecBMP, CodecPCX, CodecPNG, CodecTGA, CodecTIFF, CodecJPEG };

    // "BMP", "PCX", "PNG", "TGA", "TIFF" or "JPEG" (any case); CodecUnknown otherwise.
    static int GetCodecIdFromFormat(const std::string& name);

    // On failure returns false, leaves the held image as it was and, if error is given,
    // describes the problem naming the file. Never throws.
    bool Load(const std::string& path, std::string* error = nullptr);
    // The same for an encoded image in memory (the format is found from its bytes).
    bool LoadFromMemory(const void* data, std::size_t size, std::string* error = nullptr);
    // Writes the held image; options may be null or must match the codec. Never throws.
    bool Save(const std::string& path, int codecId, const BTCEncoderOptions* options = nullptr,
              std::string* error = nullptr) const;

    // The object keeps its own copy of image.
    void Attach(const BTCImageData& image) { m_image = image; }
    BTCImageData* GetObjectDataPtr() { return &m_image; }
    BTCImageData GetObjectData() const { return m_image; }

private:
    BTCImageData m_image;
};
