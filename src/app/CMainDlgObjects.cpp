#include "app/CMainDlg.h"

#include "app/CAddObjectDlg.h"
#include "app/COwnerDrawCombo.h"
#include "app/WaitCursor.h"
#include "document/ListLines.h"
#include "edits/ObjectOperations.h"
#include "formats/SwoFile.h"

#include <QFile>
#include <QFileDialog>

void CMainDlg::OnAddObject() {
    // A clash shows the dialog again, built afresh: nothing typed before is kept.
    for (;;) {
        CAddObjectDlg dialog(this);
        dialog.m_nChoice = objects::PreselectedChoice(m_wad);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
        BeginEdit();
        const objects::AddedObject added =
            objects::AddObject(m_wad, dialog.m_nChoice, dialog.m_nObjectId);
        if (!added.ok()) {
            ShowMessage(QString::fromStdString(added.message));
            if (added.status == objects::AddedObject::Status::Duplicate) {
                continue;
            }
            return;
        }
        const int line = static_cast<int>(added.position);
        m_objects->insertItem(line,
                              QString::fromStdString(FormatObjectLine(m_wad.m_sequences[line])));
        m_objects->setCurrentIndex(line);
        OnSelchangeObjects();
        EndEdit(QStringLiteral("Add Object"));
        return;
    }
}

void CMainDlg::OnEditObject() {
    const int object = CurrentObject();
    if (object < 0) {
        return;
    }
    for (;;) {
        const std::uint32_t slotId = m_wad.m_sequences[static_cast<std::size_t>(object)].slotId;
        CAddObjectDlg dialog(this);
        dialog.m_strTitle = QStringLiteral("Edit Object");
        dialog.m_nObjectId = slotId;
        dialog.m_nChoice = objects::ChoiceOfSlot(slotId);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
        BeginEdit();
        const objects::EditedObject edited = objects::EditObject(
            m_wad, static_cast<std::size_t>(object), dialog.m_nChoice, dialog.m_nObjectId);
        if (!edited.ok()) {
            ShowMessage(QString::fromStdString(edited.message));
            continue;
        }
        ReplaceObjectLine(object);
        EndEdit(QStringLiteral("Edit Object"));
        return;
    }
}

void CMainDlg::OnDeleteObject() {
    const int object = CurrentObject();
    if (object < 0) {
        return;
    }
    BeginEdit();
    objects::RemovedObject removed = objects::DeleteObject(m_wad, static_cast<std::size_t>(object));
    KeepRemovedTextures(removed.sequence.firstTexture, std::move(removed.textures));
    m_objects->removeItem(object);
    m_objects->update();
    if (m_objects->count() > 0) {
        m_objects->setCurrentIndex(0);
        OnSelchangeObjects();
    } else {
        m_sprites->clear();
        ClearPreview();
    }
    EndEdit(QStringLiteral("Delete Object"));
}

void CMainDlg::OnExportObject() {
    const int object = CurrentObject();
    if (object < 0) {
        return;
    }
    const ObjectSequence& sequence = m_wad.m_sequences[static_cast<std::size_t>(object)];
    if (sequence.TextureCount() < 1) {
        ShowMessage(QString::fromStdString(swo::NoTexturesMessage(sequence.slotId)));
        return;
    }
    QFileDialog dialog(this, QStringLiteral("Save As"), QString(),
                       QString::fromLatin1(swo::kFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("swo"));
    dialog.selectFile(QString::fromStdString(swo::ProposedFileName(sequence)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString path = dialog.selectedFiles().constFirst();
    swo::Result written;
    {
        WaitCursor wait;
        written = swo::WriteSwoFile(QFile::encodeName(path).toStdString(), m_wad,
                                    static_cast<std::size_t>(object));
    }
    if (!written.ok()) {
        ShowMessage(QString::fromStdString(written.message));
    }
}

void CMainDlg::OnImportObject() {
    QFileDialog dialog(this, QStringLiteral("Open"), QString(), QString::fromLatin1(swo::kFilter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        ImportObjectFile(dialog.selectedFiles().constFirst());
    }
}

void CMainDlg::ImportObjectFile(const QString& path) {
    // The whole file is checked and decoded, and the room for it checked, before the
    // document or the lists change.
    swo::SwoObject file;
    swo::Result read;
    {
        WaitCursor wait;
        read = swo::ReadSwoFile(QFile::encodeName(path).toStdString(), file);
    }
    if (!read.ok()) {
        ShowMessage(QString::fromStdString(read.message));
        return;
    }
    BeginEdit();
    const objects::ImportTarget target =
        objects::PrepareImport(m_wad, file.slotId, file.textures.size());
    if (!target.ok()) {
        ShowMessage(QString::fromStdString(target.message));
        return;
    }
    WaitCursor wait;
    KeepTextures(m_wad.AppendPosition(target.position), 0);
    const int line = static_cast<int>(target.position);
    if (target.created) {
        m_objects->insertItem(line,
                              QString::fromStdString(FormatObjectLine(m_wad.m_sequences[line])));
    }
    m_objects->setCurrentIndex(line);
    OnSelchangeObjects();
    for (SpriteTexture& texture : file.textures) {
        AppendTextureToCurrentObject(std::move(texture));
    }
    EndEdit(QStringLiteral("Import Object"));
}
