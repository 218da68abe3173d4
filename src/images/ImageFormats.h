#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// Every image format the program knows, named once. The codecs, the export, the open and save
// filters and the command line's format names and extension lists all come from kImageFormats.
enum class ImageFormat { Bmp, Pcx, Png, Tga, Tiff, Jpeg, Raw };

// The one setting a format's writer takes, if any.
enum class FormatOption { None, Quality, RunLength };

struct ImageFormatInfo {
    ImageFormat id;
    std::string_view name; // upper case, as lists and messages show it
    // Lower case, without the dot, in the order the filters list them; unused ones are empty.
    std::array<std::string_view, 4> extensions;
    bool readable; // images of this format can be brought in
    bool writable; // textures can be exported in it
    FormatOption option;
};

// In the order lists show them.
inline constexpr std::array<ImageFormatInfo, 7> kImageFormats{{
    {ImageFormat::Bmp, "BMP", {"bmp"}, true, true, FormatOption::None},
    {ImageFormat::Pcx, "PCX", {"pcx"}, true, true, FormatOption::None},
    {ImageFormat::Png, "PNG", {"png"}, true, true, FormatOption::None},
    {ImageFormat::Tga, "TGA", {"tga"}, true, true, FormatOption::RunLength},
    {ImageFormat::Tiff, "TIFF", {"tif", "tiff"}, true, true, FormatOption::None},
    {ImageFormat::Jpeg, "JPEG", {"jpg", "jpe", "jpeg", "jfif"}, true, true, FormatOption::Quality},
    // The pixel rows as they are in memory, with no header: written, never read.
    {ImageFormat::Raw, "RAW", {"raw"}, false, true, FormatOption::None},
}};

const ImageFormatInfo& FormatInfo(ImageFormat format);

// A format by its name ("tiff"), in any case.
std::optional<ImageFormat> ImageFormatFromName(std::string_view name);
// A format by the extension of a file name (".tif", ".JFIF"); nothing without a known one.
std::optional<ImageFormat> ImageFormatFromPath(std::string_view path);
// Whether the extension of path names a format that can be brought in.
bool IsReadableImagePath(std::string_view path);

enum class FormatUse { Read, Write };
enum class NameCase { Upper, Lower };
// The names of the formats for one use, joined: ("BMP", ", ", " or ") gives
// "BMP, PCX, PNG, TGA, TIFF or JPEG".
std::string FormatNames(FormatUse use, NameCase nameCase, std::string_view separator,
                        std::string_view lastSeparator);
