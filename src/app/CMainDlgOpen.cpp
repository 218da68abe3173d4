#include "app/CMainDlg.h"

#include "app/AppResources.h"
#include "app/COwnerDrawCombo.h"
#include "app/FileDialogs.h"
#include "app/PlainMessageBox.h"
#include "app/WadListModels.h"
#include "app/WaitCursor.h"
#include "formats/SwdFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>

#include <utility>

void CMainDlg::OnOpenSwd() {
    if (!NoEditsLost([this] { OnOpenSwd(); })) {
        return;
    }
    const QString file = ChooseFileToOpen(
        this, QStringLiteral("Tomb Raider Sprites Wad File (*.swd)"), FileKind::Wads);
    if (!file.isEmpty()) {
        OpenSwdFile(file);
    }
}

bool CMainDlg::OpenSwdFile(const QString& path) {
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    const std::string fileName = QFile::encodeName(fullPath).toStdString();
    SpriteWad loaded;
    Status result;
    swd::SwdFileInfo stated;
    {
        WaitCursor wait;
        result = swd::ReadSwdFile(fileName, loaded, &stated);
    }
    // A header that says 0 sprites while a whole wad follows it: loaded only on the user's
    // word, and without a path, so that saving it asks for a name instead of overwriting the
    // file as it was.
    bool recovered = false;
    if (!result.ok() && stated.recoverableEntryCount != 0) {
        PlainMessageBox box(
            QMessageBox::Question, appres::kAppTitle,
            QStringLiteral("This sprite wad says it holds no sprites, but %1 sprites "
                           "follow. Recover them?")
                .arg(stated.recoverableEntryCount),
            QMessageBox::Yes | QMessageBox::No, this);
        if (box.exec() != QMessageBox::Yes) {
            return false;
        }
        WaitCursor wait;
        result = swd::ReadSwdFile(fileName, loaded, &stated, {.recoverZeroCount = true});
        recovered = result.ok();
    }
    if (!result.ok()) {
        ShowMessage(QString::fromStdString(result.message()));
        return false;
    }

    // A recovered wad holds what no file holds yet: closing it asks first.
    ShowLoaded(std::move(loaded), recovered, recovered ? QString() : fullPath);
    if (recovered) {
        // The path field stays empty, so that a save asks for a name: this says what is open.
        m_info->setPlainText(QStringLiteral("Recovered %1 sprites from %2. Save As SWD to keep "
                                            "them.")
                                 .arg(stated.recoverableEntryCount)
                                 .arg(QFileInfo(fullPath).fileName()));
    }
    return true;
}

void CMainDlg::ShowLoaded(SpriteWad wad, bool modified, const QString& path) {
    WaitCursor wait;
    m_spriteLines->ShowObject(-1);
    m_document.Replace(std::move(wad), modified);
    ShowObjects(0);
    m_path->setText(QDir::toNativeSeparators(path));
    // Nothing of the previous file may stay on show when the new one has no first texture.
    ClearPreview();
    OnSelchangeObjects();
    if (m_sprites->count() == 0) {
        UpdateInfoPane();
    }
}

void CMainDlg::OnCloseSwd() {
    if (!NoEditsLost([this] { OnCloseSwd(); })) {
        return;
    }
    m_path->clear();
    m_document.Replace({});
    m_objectLines->Reset();
    m_spriteLines->ShowObject(-1);
    ClearPreview();
}
