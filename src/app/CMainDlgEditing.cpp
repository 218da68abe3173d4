#include "app/CMainDlg.h"

#include "app/COwnerDrawCombo.h"
#include "app/FileDialogFilters.h"
#include "app/FileDialogs.h"
#include "document/ListLines.h"
#include "edits/Edits.h"
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
    const auto at = static_cast<std::size_t>(object);
    m_objects->removeItem(object);
    m_objects->insertItem(object, QString::fromStdString(FormatObjectLine(
                                      Wad().ObjectSlot(at), Wad().ObjectTextureCount(at))));
    m_objects->setCurrentIndex(object);
}

void CMainDlg::ReplaceSpriteLine(int line) {
    const SpriteTexture& texture =
        Wad().ObjectTexture(static_cast<std::size_t>(CurrentObject()), line);
    m_sprites->removeItem(line);
    m_sprites->insertItem(line, QString::fromStdString(FormatTextureLine(line, texture.GetWidth(),
                                                                         texture.GetHeight())));
    m_sprites->setCurrentIndex(line);
}

void CMainDlg::ShowObjects(int object) {
    m_objects->clear();
    for (std::size_t i = 0; i < Wad().ObjectCount(); ++i) {
        m_objects->addItem(QString::fromStdString(
            FormatObjectLine(Wad().ObjectSlot(i), Wad().ObjectTextureCount(i))));
    }
    if (m_objects->count() > 0) {
        m_objects->setCurrentIndex(std::clamp(object, 0, m_objects->count() - 1));
    }
}

bool CMainDlg::ShowEdit(const edits::EditResult& done, int line) {
    if (!done) {
        ShowMessage(QString::fromStdString(done.message()));
        return false;
    }
    const int object = static_cast<int>(done->object);
    if (static_cast<std::size_t>(m_objects->count()) != Wad().ObjectCount()) {
        ShowObjects(object);
        OnSelchangeObjects();
    } else if (object != CurrentObject()) {
        ReplaceObjectLine(object);
        OnSelchangeObjects();
    } else {
        ReplaceObjectLine(object);
        // Only the lines the edit touched are drawn again, unless the lines before them moved.
        const int shown = m_sprites->count();
        const int count = Wad().ObjectTextureCount(done->object);
        int from = std::max(done->firstLine, 0);
        int to = std::min(done->lastLine, count - 1);
        if (count != shown && !(count > shown && done->firstLine == shown)) {
            m_sprites->clear();
            from = 0;
            to = count - 1;
        }
        for (int k = from; k <= to; ++k) {
            const SpriteTexture& texture = Wad().ObjectTexture(done->object, k);
            const QString text = QString::fromStdString(
                FormatTextureLine(k, texture.GetWidth(), texture.GetHeight()));
            if (k < m_sprites->count()) {
                m_sprites->setItemText(k, text);
            } else {
                m_sprites->addItem(text);
            }
        }
    }
    if (m_sprites->count() > 0) {
        m_sprites->setCurrentIndex(std::clamp(line, 0, m_sprites->count() - 1));
    }
    OnSelchangeSprites();
    if (!done->stopped) {
        ShowMessage(QString::fromStdString(done->stopped.message()));
    }
    return true;
}

void CMainDlg::AddTextures(std::vector<SpriteTexture> textures, const QString& action) {
    const int object = CurrentObject();
    if (object < 0 || textures.empty()) {
        return;
    }
    const edits::EditResult done =
        m_document.Apply(action.toStdString(), edits::AddTextures, static_cast<std::size_t>(object),
                         std::move(textures));
    ShowEdit(done, done ? done->lastLine : -1);
}

QStringList CMainDlg::ChooseImageFiles(QFileDialog::FileMode mode) {
    QFileDialog dialog(this, QStringLiteral("Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(mode);
    SetFileFilters(dialog, ImageOpenFilters(), m_choices.imageFilterIndex);
    const QStringList files = ExecFileDialog(dialog, FileKind::Images);
    if (files.isEmpty()) {
        return {};
    }
    m_choices.imageFilterIndex = SelectedFileFilter(dialog, ImageOpenFilters());
    KeepChoices();
    return files;
}

QString CMainDlg::ChooseImageFile() {
    const QStringList files = ChooseImageFiles(QFileDialog::ExistingFile);
    return files.isEmpty() ? QString() : files.constFirst();
}

bool CMainDlg::IsImageFileName(const QString& path) {
    return IsReadableImagePath(QFileInfo(path).fileName().toStdString());
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
