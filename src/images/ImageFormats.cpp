#include "images/ImageFormats.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool ServesUse(const ImageFormatInfo& info, FormatUse use) {
    return use == FormatUse::Read ? info.readable : info.writable;
}

} // namespace

const ImageFormatInfo& FormatInfo(ImageFormat format) {
    return *std::find_if(kImageFormats.begin(), kImageFormats.end(),
                         [format](const ImageFormatInfo& info) { return info.id == format; });
}

std::optional<ImageFormat> ImageFormatFromName(std::string_view name) {
    const std::string wanted = Lower(name);
    for (const ImageFormatInfo& info : kImageFormats) {
        if (wanted == Lower(info.name)) {
            return info.id;
        }
    }
    return std::nullopt;
}

std::optional<ImageFormat> ImageFormatFromPath(std::string_view path) {
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return std::nullopt;
    }
    const std::string wanted = Lower(path.substr(dot + 1));
    for (const ImageFormatInfo& info : kImageFormats) {
        for (std::string_view extension : info.extensions) {
            if (!extension.empty() && wanted == extension) {
                return info.id;
            }
        }
    }
    return std::nullopt;
}

bool IsReadableImagePath(std::string_view path) {
    const std::optional<ImageFormat> format = ImageFormatFromPath(path);
    return format && FormatInfo(*format).readable;
}

std::string FormatNames(FormatUse use, NameCase nameCase, std::string_view separator,
                        std::string_view lastSeparator) {
    std::vector<std::string_view> names;
    for (const ImageFormatInfo& info : kImageFormats) {
        if (ServesUse(info, use)) {
            names.push_back(info.name);
        }
    }
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            out += i + 1 == names.size() ? lastSeparator : separator;
        }
        out += nameCase == NameCase::Lower ? Lower(names[i]) : std::string(names[i]);
    }
    return out;
}
