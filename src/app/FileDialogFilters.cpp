#include "app/FileDialogFilters.h"

#include <QFileDialog>

#include <algorithm>

namespace {

QString FullFilter(const FileFilter& filter) {
    return QStringLiteral("%1 (%2)").arg(QLatin1String(filter.text),
                                         QLatin1String(filter.patterns));
}

// The 1-based index of the filter `chosen` names, by its text alone or in full; 1 for none.
int FilterIndexOf(const QString& chosen, std::span<const FileFilter> filters) {
    for (std::size_t i = 0; i < filters.size(); ++i) {
        if (chosen == QLatin1String(filters[i].text) || chosen == FullFilter(filters[i])) {
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
    const QString first = QString::fromLatin1(filter.patterns).section(u' ', 0, 0);
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
