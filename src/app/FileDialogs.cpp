#include "app/FileDialogs.h"

#include "app/AppResources.h"
#include "app/PlainMessageBox.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

bool Run(QFileDialog& dialog) {
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
}

} // namespace

QStringList ExecFileDialog(QFileDialog& dialog, FileKind kind) {
    AppSettings settings;
    const QString folder = settings.Folder(kind);
    if (!folder.isEmpty()) {
        dialog.setDirectory(folder);
    }
    if (!Run(dialog)) {
        return {};
    }
    const QStringList files = dialog.selectedFiles();
    settings.SetFolderOf(kind, files.constFirst());
    return files;
}

QString ChooseFileToOpen(QWidget* parent, const QString& filter, FileKind kind) {
    QFileDialog dialog(parent, QStringLiteral("Open"), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList files = ExecFileDialog(dialog, kind);
    return files.isEmpty() ? QString() : files.constFirst();
}

QString ExecSaveDialog(QFileDialog& dialog, FileKind kind, const QString& proposed) {
    AppSettings settings;
    QString offered = proposed;
    if (QFileInfo(offered).isRelative()) {
        const QString folder = settings.Folder(kind);
        if (!folder.isEmpty()) {
            dialog.setDirectory(folder);
        }
    }
    for (;;) {
        if (!offered.isEmpty()) {
            dialog.selectFile(offered);
        }
        if (!Run(dialog)) {
            return {};
        }
        const QString chosen = dialog.selectedFiles().constFirst();
        const QFileInfo info(chosen);
        if (info.absoluteDir().exists()) {
            settings.SetFolderOf(kind, chosen);
            return chosen;
        }
        PlainMessageBox box(QMessageBox::Warning, appres::kAppTitle,
                            QStringLiteral("%1\nThe folder does not exist.")
                                .arg(QDir::toNativeSeparators(info.absolutePath())),
                            QMessageBox::Ok, dialog.parentWidget());
        box.exec();
        offered = chosen;
    }
}
