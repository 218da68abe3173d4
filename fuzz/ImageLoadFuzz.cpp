// Any bytes given to the image loader: a refused image leaves the held one and says why; a
// loaded one has a usable size, loads the same way twice and fits into a texture.
#include "FuzzCheck.h"
#include "images/BTCImageObject.h"
#include "images/ImageFitting.h"

#include <cstddef>
#include <cstdint>
#include <string>

using fuzzcheck::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BTCImageData held;
    held.Create(3, 2);
    held.Fill(1, 0, 1, 2, 0x00336699u);
    BTCImageObject object;
    object.Attach(held);
    if (const Status read = object.LoadFromMemory(data, size); !read) {
        Require(object.GetObjectData() == held, "a refused image leaves the held one");
        Require(!read.message().empty(), "a refusal says why");
        return 0;
    }
    BTCImageData image = object.GetObjectData();
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    Require(width >= 1 && height >= 1 && width <= BTCImageData::kMaxSide &&
                height <= BTCImageData::kMaxSide,
            "a loaded image has a size we accept");
    Require(image.GetImageSize() == std::size_t{3} * width * height, "three bytes a pixel");

    BTCImageObject again;
    Require(again.LoadFromMemory(data, size).ok() && again.GetObjectData() == image,
            "the same bytes load to the same pixels");

    Require(FitTexture(image), "a loaded image fits into a texture");
    Require(image.GetWidth() <= kPageSide && image.GetHeight() <= kPageSide &&
                (width > kPageSide || height > kPageSide || image == object.GetObjectData()),
            "a fitted texture lies within a page and one that fits is kept as it is");
    return 0;
}
