#include "app/CMainDlg.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {

enum class DroppedKind { Wad, Object, Image, Other };

DroppedKind KindOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("swd")) {
        return DroppedKind::Wad;
    }
    if (suffix == QLatin1String("swo")) {
        return DroppedKind::Object;
    }
    return CMainDlg::IsImageFileName(path) ? DroppedKind::Image : DroppedKind::Other;
}

// The local files a drop carries, or none when it carries anything else.
QStringList DroppedFiles(const QMimeData* data) {
    QStringList files;
    if (data == nullptr || !data->hasUrls()) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) {
            return {};
        }
        files.append(url.toLocalFile());
    }
    return files;
}

} // namespace

void CMainDlg::dragEnterEvent(QDragEnterEvent* event) {
    // Files of any kind are taken, so that the drop can say which ones it cannot use.
    if (!JobRuns() && !DroppedFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void CMainDlg::dropEvent(QDropEvent* event) {
    const QStringList files = DroppedFiles(event->mimeData());
    if (JobRuns() || files.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    OpenFiles(files);
}

void CMainDlg::OpenFiles(const QStringList& files) {
    StopSequence();
    QStringList refused;
    for (const QString& file : files) {
        if (KindOf(file) == DroppedKind::Other) {
            refused.append(QFileInfo(file).fileName());
        }
    }
    if (!refused.isEmpty()) {
        ShowMessage(QStringLiteral("Only sprite wads (.swd), objects (.swo) and images can be "
                                   "dropped here, not:\n\n") +
                    refused.join(u'\n'));
        return;
    }
    // In the order given; images that follow one another are added as one batch.
    QStringList images;
    const auto addImages = [this, &images] {
        if (images.isEmpty()) {
            return;
        }
        if (CurrentObject() >= 0) {
            AddTextureFiles(images);
        } else {
            QStringList names;
            for (const QString& image : images) {
                names.append(QFileInfo(image).fileName());
            }
            ShowMessage(QStringLiteral("An image needs an object to go into: open a sprite wad "
                                       "or an object before it, not:\n\n") +
                        names.join(u'\n'));
        }
        images.clear();
    };
    for (const QString& file : files) {
        switch (KindOf(file)) {
        case DroppedKind::Wad:
            addImages();
            // Whatever follows the wad waits for it: when the question stops here (Cancel, or
            // a save that opens the wad once it is done), or the wad cannot be opened, the rest
            // is left out rather than put into the wad shown before.
            if (!NoEditsLost([this, file] { OpenSwdFile(file); }) || !OpenSwdFile(file)) {
                return;
            }
            break;
        case DroppedKind::Object:
            addImages();
            ImportObjectFile(file);
            break;
        default:
            images.append(file);
            break;
        }
    }
    addImages();
}
