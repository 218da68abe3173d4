#include "app/CMainDlg.h"

#include "app/COwnerDrawCombo.h"
#include "app/FileDialogFilters.h"
#include "app/FileDialogs.h"
#include "app/WadListModels.h"
#include "app/WaitCursor.h"
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
    m_objectLines->Refresh(object, object);
    m_objects->setCurrentIndex(object);
}

void CMainDlg::ShowObjects(int object) {
    m_objectLines->Reset();
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
        m_spriteLines->Refresh(done->firstLine, done->lastLine);
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
    // A large image takes seconds to decode.
    WaitCursor wait;
    if (!ReadImageFile(path, image)) {
        ShowMessage(QStringLiteral("Failed To Load Image..."));
        return false;
    }
    return true;
}
