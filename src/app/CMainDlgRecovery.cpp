#include "app/CMainDlg.h"

#include "app/AppResources.h"
#include "app/PlainMessageBox.h"
#include "app/RecoveryWriter.h"
#include "app/WaitCursor.h"
#include "formats/SwdFile.h"
#include "packing/RecoveryCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

void CMainDlg::StartRecoveryWriter() {
    RecoveryWriter::Source source;
    source.modified = [this] { return m_document.IsModified(); };
    source.revision = [this] { return m_document.Revision(); };
    source.snapshot = [this] { return RecoverySnapshot(Wad()); };
    source.originalPath = [this] { return QDir::fromNativeSeparators(m_path->text()); };
    m_recovery = std::make_unique<RecoveryWriter>(
        RecoveryFolder(), std::move(source), [this](const QString& reason) {
            m_info->setPlainText(
                QStringLiteral("The recovery copy of the unsaved edits could not be written: ") +
                reason);
        });
    m_document.SetChangeHandler([this] {
        if (m_recovery) {
            m_recovery->DocumentChanged();
        }
    });
}

QString CMainDlg::RecoveryCopyPath() const {
    return m_recovery->CopyPath();
}

void CMainDlg::OfferRecovery() {
    std::vector<OrphanCopy> orphans = ClaimOrphanCopies(RecoveryFolder());
    if (orphans.empty()) {
        return;
    }
    // Only the newest is asked about; the others wait for the next start.
    OrphanCopy newest = std::move(orphans.front());
    orphans.clear();
    const QString name = newest.originalPath.isEmpty() ? QStringLiteral("Untitled")
                                                       : QFileInfo(newest.originalPath).fileName();
    PlainMessageBox box(
        QMessageBox::Question, appres::kAppTitle,
        QStringLiteral("Vornix closed while %1 had unsaved edits (%2). Recover them?")
            .arg(name, QLocale().toString(newest.takenAt, QLocale::ShortFormat)),
        QMessageBox::NoButton, this);
    QPushButton* recover = box.addButton(QStringLiteral("Recover"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QMessageBox::Discard);
    QPushButton* later = box.addButton(QStringLiteral("Later"), QMessageBox::RejectRole);
    box.setDefaultButton(recover);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == discard) {
        RemoveCopyFiles(RecoveryFolder(), newest.id, std::move(newest.lock));
        return;
    }
    if (box.clickedButton() != recover) {
        return;
    }
    SpriteWad wad;
    Status read;
    {
        WaitCursor wait;
        read = swd::ReadSwdFile(QFile::encodeName(newest.copyPath).toStdString(), wad);
    }
    // A damaged copy stays where it is for the user to look at.
    if (!read) {
        ShowMessage(QString::fromStdString(read.message()));
        return;
    }
    // The edits are in no file yet; the path field proposes the file they belong to.
    ShowLoaded(std::move(wad), true, newest.originalPath);
    m_recovery->Adopt(std::move(newest));
    m_info->setPlainText(
        QStringLiteral("Recovered the unsaved edits of %1. Save As SWD to keep them.").arg(name));
}
