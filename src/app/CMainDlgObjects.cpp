#include "app/CMainDlg.h"

#include "app/CAddObjectDlg.h"
#include "app/COwnerDrawCombo.h"
#include "app/FileDialogs.h"
#include "app/WadListModels.h"
#include "app/WaitCursor.h"
#include "edits/Edits.h"
#include "formats/SwoFile.h"

#include <QFile>
#include <QFileDialog>

void CMainDlg::OnAddObject() {
    // A clash shows the dialog again, built afresh: nothing typed before is kept.
    for (;;) {
        CAddObjectDlg dialog(this);
        dialog.m_nChoice = CAddObjectDlg::ChoiceOfSlot(edits::SuggestedSlot(Wad()));
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
        const edits::EditResult done = m_document.Apply(
            "Add Object", edits::AddObject, dialog.ChosenSlot(), dialog.ChosenPlacement());
        if (ShowEdit(done, 0) || !Wad().FindObject(dialog.ChosenSlot())) {
            return;
        }
    }
}

void CMainDlg::OnEditObject() {
    const int object = CurrentObject();
    if (object < 0) {
        return;
    }
    for (;;) {
        const std::uint32_t slotId = Wad().ObjectSlot(static_cast<std::size_t>(object));
        CAddObjectDlg dialog(this);
        dialog.m_strTitle = QStringLiteral("Edit Object");
        dialog.m_nObjectId = slotId;
        dialog.m_nChoice = CAddObjectDlg::ChoiceOfSlot(slotId);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
        const edits::EditResult done =
            m_document.Apply("Edit Object", edits::EditObject, static_cast<std::size_t>(object),
                             dialog.ChosenSlot());
        if (done) {
            ReplaceObjectLine(object);
            return;
        }
        ShowMessage(QString::fromStdString(done.message()));
    }
}

void CMainDlg::OnDeleteObject() {
    const int object = CurrentObject();
    if (object < 0) {
        return;
    }
    const edits::EditResult done =
        m_document.Apply("Delete Object", edits::DeleteObject, static_cast<std::size_t>(object));
    if (!done) {
        return;
    }
    ShowObjects(0);
    if (m_objects->count() > 0) {
        OnSelchangeObjects();
    } else {
        m_spriteLines->ShowObject(-1);
        ClearPreview();
    }
}

void CMainDlg::OnExportObject() {
    const int object = CurrentObject();
    if (object < 0) {
        return;
    }
    const auto at = static_cast<std::size_t>(object);
    if (Wad().ObjectTextureCount(at) < 1) {
        ShowMessage(QString::fromStdString(swo::NoTexturesMessage(Wad().ObjectSlot(at))));
        return;
    }
    QFileDialog dialog(this, QStringLiteral("Save As"), QString(),
                       QString::fromLatin1(swo::kFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("swo"));
    const QString path = ExecSaveDialog(dialog, FileKind::Objects,
                                        QString::fromStdString(swo::ProposedFileName(
                                            Wad().ObjectSlot(at), Wad().ObjectTextureCount(at))));
    if (path.isEmpty()) {
        return;
    }
    Status written;
    {
        WaitCursor wait;
        written = swo::WriteSwoFile(QFile::encodeName(path).toStdString(), Wad(), at);
    }
    if (!written.ok()) {
        ShowMessage(QString::fromStdString(written.message()));
    }
}

void CMainDlg::OnImportObject() {
    const QString file =
        ChooseFileToOpen(this, QString::fromLatin1(swo::kFilter), FileKind::Objects);
    if (!file.isEmpty()) {
        ImportObjectFile(file);
    }
}

void CMainDlg::ImportObjectFile(const QString& path) {
    // The whole file is checked and decoded, and the room for it checked, before the
    // document or the lists change.
    swo::SwoObject file;
    Status read;
    {
        WaitCursor wait;
        read = swo::ReadSwoFile(QFile::encodeName(path).toStdString(), file);
    }
    if (!read.ok()) {
        ShowMessage(QString::fromStdString(read.message()));
        return;
    }
    WaitCursor wait;
    const edits::EditResult done =
        m_document.Apply("Import Object", edits::AddTexturesToSlot, std::uint32_t{file.slotId},
                         std::move(file.textures));
    ShowEdit(done, done ? done->lastLine : 0);
}
