#pragma once

#include "images/ImageFormats.h"
#include "io/Status.h"
#include "pixels/BTCImageData.h"

#include <string>

// How an image is written, for the formats that take a setting (FormatOption).
struct ExportOptions {
    int jpegQuality = 100; // 0..100, clamped
    bool tgaRunLength = false;
};

// Loads and saves image files and holds one image. Reading goes through GraphicsMagick
// (the readable formats of kImageFormats, paletted and alpha images converted to 24 bits);
// writing through GraphicsMagick, except TGA, which stb_image_write writes so that it can be
// run-length encoded, and RAW, which is the pixel rows as they are.
class BTCImageObject {
public:
    // On failure leaves the held image as it was and says why, naming the file. Never throws.
    Status Load(const std::string& path);
    // The same for an encoded image in memory (the format is found from its bytes).
    Status LoadFromMemory(const void* data, std::size_t size);
    // Writes the held image; the target is replaced as a whole or left as it was. Options
    // that the format does not take are ignored. Never throws.
    Status Save(const std::string& path, ImageFormat format,
                const ExportOptions& options = {}) const;

    // The object keeps its own copy of image.
    void Attach(const BTCImageData& image) { m_image = image; }
    BTCImageData* GetObjectDataPtr() { return &m_image; }
    BTCImageData GetObjectData() const { return m_image; }

private:
    BTCImageData m_image;
};
