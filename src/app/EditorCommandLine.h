#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The editor's command line, read before any QApplication exists so that --help and
// --version answer without a display.
struct EditorCommandLine {
    // The files to open in the window, in order.
    QStringList files;
    // Set when the program ends here instead: `text` goes to stdout on status 0, else to
    // stderr.
    std::optional<int> exitStatus;
    QString text;
};

// `arguments` as main() gets them, the program's name first.
EditorCommandLine ParseEditorCommandLine(const QStringList& arguments);
