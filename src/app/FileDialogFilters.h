#pragma once

#include <QString>

#include <array>
#include <span>

class QFileDialog;

// One filter of a file dialog: the text the list shows and the patterns it matches.
struct FileFilter {
    const char* text;
    const char* patterns;
};

// Gives the dialog the filters, each shown by its own text alone, and selects filter `index`
// (1-based; an index outside the list selects the nearest end).
void SetFileFilters(QFileDialog& dialog, std::span<const FileFilter> filters, int index);
// The 1-based index of the filter the dialog has selected, or 1 when it names none of them.
int SelectedFileFilter(const QFileDialog& dialog, std::span<const FileFilter> filters);
// The extension of the filter's first pattern, such as "tif" for "*.tif *.tiff".
QString FirstExtension(const FileFilter& filter);
// Keeps the dialog's default suffix the first extension of the selected filter, now and each
// time the user picks another one: a name typed without an extension gets the chosen format's.
void SuffixFollowsFilter(QFileDialog& dialog, std::span<const FileFilter> filters);

// "All Supported Images", the six image formats and RAW, which only an export writes. The image
// open dialog shows the first seven, Export Texture the last seven.
inline constexpr std::array<FileFilter, 8> kImageFileFilters{{
    {"All Supported Images", "*.bmp *.pcx *.png *.tga *.tif *.tiff *.jpg *.jpe *.jpeg *.jfif"},
    {"BMP (*.bmp)", "*.bmp"},
    {"PCX (*.pcx)", "*.pcx"},
    {"PNG (*.png)", "*.png"},
    {"TGA (*.tga)", "*.tga"},
    {"TIFF (*.tif, *.tiff)", "*.tif *.tiff"},
    {"JPEG (*.jpg, *.jpe, *.jpeg, *.jfif)", "*.jpg *.jpe *.jpeg *.jfif"},
    {"RAW (*.raw)", "*.raw"},
}};
inline constexpr std::span<const FileFilter, 7> kImageOpenFilters{kImageFileFilters.data(), 7};
inline constexpr std::span<const FileFilter, 7> kExportFilters{kImageFileFilters.data() + 1, 7};
