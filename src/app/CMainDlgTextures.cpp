#include "app/CMainDlg.h"

#include "app/AppResources.h"
#include "app/CJpegOptionsDlg.h"
#include "app/COwnerDrawCombo.h"
#include "app/CTgaOptionsDlg.h"
#include "app/FileDialogFilters.h"
#include "app/FileDialogs.h"
#include "app/PlainMessageBox.h"
#include "app/QtImage.h"
#include "app/WaitCursor.h"
#include "document/TextureFileName.h"
#include "edits/Edits.h"
#include "images/ImageFitting.h"
#include "images/TextureExport.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>

#include <algorithm>
#include <array>
#include <utility>

namespace {

// The clipboard's image as 24 bits fitted into a page, or an image without pixels when it
// offers none. An image too large to be held at all is refused with a message.
BTCImageData FittedClipboardImage(QWidget* parent) {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
    if (data == nullptr || !data->hasImage()) {
        return {};
    }
    const QImage image = clipboard->image();
    BTCImageData pixels = FromQImage(image);
    if (!image.isNull() && !pixels.IsLoaded()) {
        PlainMessageBox box(QMessageBox::Warning, appres::kAppTitle,
                            QStringLiteral("The image on the clipboard is larger than %1 pixels a "
                                           "side and cannot be pasted.")
                                .arg(BTCImageData::kMaxSide),
                            QMessageBox::Ok, parent);
        box.exec();
    }
    WaitCursor wait;
    if (pixels.IsLoaded() && !FitTexture(pixels)) {
        return {};
    }
    return pixels;
}

} // namespace

void CMainDlg::OnExportTexture() {
    const int object = CurrentObject();
    const int line = CurrentLine();
    if (object < 0 || line < 0) {
        return;
    }
    const std::uint32_t slot = Wad().ObjectSlot(static_cast<std::size_t>(object));
    QFileDialog dialog(this, QStringLiteral("Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    SetFileFilters(dialog, ExportFilters(), m_choices.exportFilterIndex);
    SuffixFollowsFilter(dialog, ExportFilters());
    const QString chosen = ExecSaveDialog(
        dialog, FileKind::Exports, QString::fromStdString(ProposedTextureFileName(slot, line)));
    if (chosen.isEmpty()) {
        return;
    }
    // The format follows the filter, whatever extension the name was given.
    m_choices.exportFilterIndex = SelectedFileFilter(dialog, ExportFilters());
    const ImageFormat format = ExportFilterFormat(m_choices.exportFilterIndex);
    const QString path = QDir::toNativeSeparators(chosen);

    // Both option dialogs hand their value back however they were closed.
    if (format == ImageFormat::Tga) {
        CTgaOptionsDlg options(this);
        options.m_enableRle = m_choices.tgaRle;
        options.exec();
        m_choices.tgaRle = options.m_enableRle;
    } else if (format == ImageFormat::Jpeg) {
        CJpegOptionsDlg options(this);
        options.m_quality = m_choices.jpegQuality;
        options.exec();
        m_choices.jpegQuality = static_cast<std::uint8_t>(options.m_quality);
    }
    KeepChoices();

    ExportOptions options;
    options.jpegQuality = m_choices.jpegQuality;
    options.tgaRunLength = m_choices.tgaRle != 0;
    Status saved;
    {
        WaitCursor wait;
        saved = ExportImage(Wad().ObjectTexture(static_cast<std::size_t>(object), line),
                            QFile::encodeName(path).toStdString(), format, options);
    }
    if (saved) {
        return;
    }
    if (format == ImageFormat::Raw) {
        ShowMessage(QString::fromStdString(saved.message()));
        return;
    }
    PlainMessageBox box(QMessageBox::Critical, QStringLiteral("Error Saving!"),
                        QStringLiteral("Error saving to\n[%1]").arg(path), QMessageBox::Ok, this);
    box.exec();
}

void CMainDlg::OnImportTexture() {
    const int object = CurrentObject();
    const int line = CurrentLine();
    if (object < 0 || line < 0) {
        return;
    }
    const QString path = ChooseImageFile();
    if (path.isEmpty()) {
        return;
    }
    WaitCursor wait;
    BTCImageData image;
    if (LoadImageFile(path, image) && FitTexture(image)) {
        ReplaceCurrentTexture(std::move(image), QStringLiteral("Import Texture"));
    }
}

void CMainDlg::ReplaceCurrentTexture(SpriteTexture texture, const QString& action) {
    const int line = CurrentLine();
    ShowEdit(m_document.Apply(action.toStdString(), edits::ReplaceTexture,
                              static_cast<std::size_t>(CurrentObject()), line, std::move(texture)),
             line);
}

void CMainDlg::OnAddTexture() {
    if (CurrentObject() < 0) {
        return;
    }
    AddTextureFiles(ChooseImageFiles(QFileDialog::ExistingFiles));
}

void CMainDlg::AddTextureFiles(const QStringList& paths) {
    if (CurrentObject() < 0 || paths.isEmpty()) {
        return;
    }
    WaitCursor wait;
    std::vector<SpriteTexture> textures;
    if (paths.size() == 1) {
        BTCImageData image;
        if (LoadImageFile(paths.constFirst(), image) && FitTexture(image)) {
            textures.push_back(std::move(image));
        }
        AddTextures(std::move(textures), QStringLiteral("Add Texture"));
        return;
    }
    // A file that cannot be read is skipped and named afterwards.
    QStringList failed;
    for (const QString& path : paths) {
        BTCImageData image;
        if (!ReadImageFile(path, image) || !FitTexture(image)) {
            failed.append(QFileInfo(path).fileName());
        } else {
            textures.push_back(std::move(image));
        }
    }
    AddTextures(std::move(textures), QStringLiteral("Add Texture"));
    if (!failed.isEmpty()) {
        ShowMessage(QStringLiteral("Failed To Load Image...\n\n") + failed.join(u'\n'));
    }
}

void CMainDlg::OnDeleteTexture() {
    const int object = CurrentObject();
    const int line = CurrentLine();
    if (object < 0 || line < 0) {
        return;
    }
    ShowEdit(m_document.Apply("Delete Texture", edits::DeleteTexture,
                              static_cast<std::size_t>(object), line),
             std::max(line - 1, 0));
}

void CMainDlg::OnCopyTexture() {
    const int object = CurrentObject();
    const int line = CurrentLine();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (object < 0 || line < 0 || clipboard == nullptr) {
        return;
    }
    WaitCursor wait;
    clipboard->setImage(ToQImage(Wad().ObjectTexture(static_cast<std::size_t>(object), line)));
}

void CMainDlg::OnPasteTexture() {
    const int object = CurrentObject();
    const int line = CurrentLine();
    if (object < 0 || line < 0) {
        return;
    }
    BTCImageData image = FittedClipboardImage(this);
    if (image.IsLoaded()) {
        ReplaceCurrentTexture(std::move(image), QStringLiteral("Paste Texture"));
    }
}

void CMainDlg::OnPasteAsNew() {
    const int object = CurrentObject();
    if (object < 0) {
        return;
    }
    BTCImageData image = FittedClipboardImage(this);
    if (image.IsLoaded()) {
        std::vector<SpriteTexture> textures;
        textures.push_back(std::move(image));
        AddTextures(std::move(textures), QStringLiteral("Paste As New"));
    }
}
