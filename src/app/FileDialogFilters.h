#pragma once

#include <QString>

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
