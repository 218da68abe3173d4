#pragma once

#include "images/ImageFormats.h"

#include <QString>

#include <span>
#include <vector>

class QFileDialog;

// One filter of a file dialog: the text the list shows and the patterns it matches.
struct FileFilter {
    QString text;
    QString patterns;
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

// The image open dialog's: "All Supported Images", then every readable format of
// kImageFormats, as "JPEG (*.jpg, *.jpe, *.jpeg, *.jfif)".
const std::vector<FileFilter>& ImageOpenFilters();
// Export Texture's: every writable format, in the order of kImageFormats.
const std::vector<FileFilter>& ExportFilters();
// The format of Export Texture's filter `index` (1-based); the first for an index outside.
ImageFormat ExportFilterFormat(int index);
