#include "app/CMainDlg.h"

#include "app/COwnerDrawCombo.h"
#include "app/FileDialogFilters.h"
#include "document/ListLines.h"
#include "images/BTCImageObject.h"
#include "images/ImageFitting.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <utility>

int CMainDlg::CurrentLine() const {
    return m_sprites->count() > 0 ? m_sprites->currentIndex() : -1;
}

void CMainDlg::ReplaceObjectLine(int object) {
    const ObjectSequence& sequence = m_wad.m_sequences.at(static_cast<std::size_t>(object));
    m_objects->removeItem(object);
    m_objects->insertItem(object, QString::fromStdString(FormatObjectLine(sequence)));
    m_objects->setCurrentIndex(object);
}

void CMainDlg::ReplaceSpriteLine(int line) {
    const SpriteTexture& texture =
        m_wad.ObjectTexture(static_cast<std::size_t>(CurrentObject()), line);
    m_sprites->removeItem(line);
    m_sprites->insertItem(line, QString::fromStdString(FormatTextureLine(line, texture.GetWidth(),
                                                                         texture.GetHeight())));
    m_sprites->setCurrentIndex(line);
}

bool CMainDlg::InsertTexture(SpriteTexture texture) {
    const int object = CurrentObject();
    if (object < 0) {
        return false;
    }
    const int width = texture.GetWidth();
    const int height = texture.GetHeight();
    if (!m_wad.AddTexture(static_cast<std::size_t>(object), std::move(texture))) {
        ShowMessage(QStringLiteral("No texture can be added here: an object holds at most "
                                   "32767 textures and a sprite wad at most 65535."));
        return false;
    }
    ReplaceObjectLine(object);
    const int line = m_sprites->count();
    m_sprites->addItem(QString::fromStdString(FormatTextureLine(line, width, height)));
    m_sprites->setCurrentIndex(line);
    OnSelchangeSprites();
    return true;
}

bool CMainDlg::AppendTextureToCurrentObject(BTCImageData image) {
    if (CurrentObject() < 0 || !FitTexture(image)) {
        return false;
    }
    return InsertTexture(std::move(image));
}

QStringList CMainDlg::ChooseImageFiles(QFileDialog::FileMode mode) {
    QFileDialog dialog(this, QStringLiteral("Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(mode);
    SetFileFilters(dialog, kImageOpenFilters, m_imageFilterIndex);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    m_imageFilterIndex = SelectedFileFilter(dialog, kImageOpenFilters);
    return dialog.selectedFiles();
}

QString CMainDlg::ChooseImageFile() {
    const QStringList files = ChooseImageFiles(QFileDialog::ExistingFile);
    return files.isEmpty() ? QString() : files.constFirst();
}

bool CMainDlg::IsImageFileName(const QString& path) {
    const QString suffix = QStringLiteral("*.") + QFileInfo(path).suffix().toLower();
    return QString::fromLatin1(kImageOpenFilters[0].patterns).split(u' ').contains(suffix);
}

bool CMainDlg::ReadImageFile(const QString& path, BTCImageData& image) {
    BTCImageObject object;
    if (!object.Load(QFile::encodeName(path).toStdString())) {
        return false;
    }
    image = std::move(*object.GetObjectDataPtr());
    return true;
}

bool CMainDlg::LoadImageFile(const QString& path, BTCImageData& image) {
    if (!ReadImageFile(path, image)) {
        ShowMessage(QStringLiteral("Failed To Load Image..."));
        return false;
    }
    return true;
}
