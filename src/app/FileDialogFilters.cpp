#include "app/FileDialogFilters.h"

#include <QFileDialog>

#include <algorithm>

namespace {

QString FullFilter(const FileFilter& filter) {
    return QStringLiteral("%1 (%2)").arg(filter.text, filter.patterns);
}

// The formats for one use, in the order of the table.
std::vector<const ImageFormatInfo*> FormatsFor(FormatUse use) {
    std::vector<const ImageFormatInfo*> formats;
    for (const ImageFormatInfo& info : kImageFormats) {
        if (use == FormatUse::Read ? info.readable : info.writable) {
            formats.push_back(&info);
        }
    }
    return formats;
}

// Each extension as "*.ext".
QStringList Patterns(const ImageFormatInfo& info) {
    QStringList patterns;
    for (std::string_view extension : info.extensions) {
        if (!extension.empty()) {
            patterns << QStringLiteral("*.") +
                            QString::fromLatin1(extension.data(),
                                                static_cast<qsizetype>(extension.size()));
        }
    }
    return patterns;
}

// "TIFF (*.tif, *.tiff)", matching "*.tif *.tiff".
FileFilter FormatFilter(const ImageFormatInfo& info) {
    const QStringList patterns = Patterns(info);
    return {QStringLiteral("%1 (%2)").arg(
                QString::fromLatin1(info.name.data(), static_cast<qsizetype>(info.name.size())),
                patterns.join(QStringLiteral(", "))),
            patterns.join(u' ')};
}

// The 1-based index of the filter `chosen` names, by its text alone or in full; 1 for none.
int FilterIndexOf(const QString& chosen, std::span<const FileFilter> filters) {
    for (std::size_t i = 0; i < filters.size(); ++i) {
        if (chosen == filters[i].text || chosen == FullFilter(filters[i])) {
            return static_cast<int>(i) + 1;
        }
    }
    return 1;
}

} // namespace

void SetFileFilters(QFileDialog& dialog, std::span<const FileFilter> filters, int index) {
    QStringList list;
    for (const FileFilter& filter : filters) {
        list << FullFilter(filter);
    }
    // The list shows each filter's own text; the patterns after it are only for matching.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(list);
    if (!list.isEmpty()) {
        dialog.selectNameFilter(list[std::clamp(index, 1, static_cast<int>(list.size())) - 1]);
    }
}

int SelectedFileFilter(const QFileDialog& dialog, std::span<const FileFilter> filters) {
    // With the details hidden, a dialog reports the filter by the text it shows; a system
    // dialog may report the whole filter.
    return FilterIndexOf(dialog.selectedNameFilter(), filters);
}

QString FirstExtension(const FileFilter& filter) {
    const QString first = filter.patterns.section(u' ', 0, 0);
    return first.section(u'.', 1);
}

void SuffixFollowsFilter(QFileDialog& dialog, std::span<const FileFilter> filters) {
    if (filters.empty()) {
        return;
    }
    const auto follow = [&dialog, filters](const QString& chosen) {
        const auto index = static_cast<std::size_t>(FilterIndexOf(chosen, filters));
        dialog.setDefaultSuffix(FirstExtension(filters[index - 1]));
    };
    follow(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
}

const std::vector<FileFilter>& ImageOpenFilters() {
    static const std::vector<FileFilter> filters = [] {
        std::vector<FileFilter> list{{QStringLiteral("All Supported Images"), {}}};
        QStringList all;
        for (const ImageFormatInfo* info : FormatsFor(FormatUse::Read)) {
            list.push_back(FormatFilter(*info));
            all << Patterns(*info);
        }
        list.front().patterns = all.join(u' ');
        return list;
    }();
    return filters;
}

const std::vector<FileFilter>& ExportFilters() {
    static const std::vector<FileFilter> filters = [] {
        std::vector<FileFilter> list;
        for (const ImageFormatInfo* info : FormatsFor(FormatUse::Write)) {
            list.push_back(FormatFilter(*info));
        }
        return list;
    }();
    return filters;
}

ImageFormat ExportFilterFormat(int index) {
    const std::vector<const ImageFormatInfo*> formats = FormatsFor(FormatUse::Write);
    const bool inside = index >= 1 && index <= static_cast<int>(formats.size());
    return formats[inside ? static_cast<std::size_t>(index - 1) : 0]->id;
}
