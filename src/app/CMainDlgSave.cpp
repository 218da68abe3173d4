#include "app/CMainDlg.h"

#include "app/COwnerDrawCombo.h"
#include "app/QtImage.h"
#include "document/ObjectSlotNames.h"
#include "formats/SwdFile.h"
#include "packing/PackTextures.h"
#include "packing/ProgressMailbox.h"
#include "packing/SaveProgress.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>

#include <utility>

namespace {

const QString kDoneText = QStringLiteral("Done! Saved...");
const QString kCanceledText = QStringLiteral("Canceled! Saved...");

// The window looks at the job's progress about as often as the screen is redrawn.
constexpr int kRefreshMs = 16;
constexpr int kInfoRestoreMs = 5000;

} // namespace

struct CMainDlg::SaveOutcome {
    enum Kind { Written, Cancelled, Failed };
    Kind kind = Failed;
    // Why it failed, naming the file.
    std::string message;
};

void CMainDlg::OnSaveAsSwd() {
    if (m_objects->count() == 0 || m_bSaving.load() != 0 || m_saveThread.Busy()) {
        return;
    }
    if (ReportEmptyObject()) {
        return;
    }
    const QString chosen = ChooseSwdSaveFile();
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = QFileInfo(chosen).absoluteFilePath();
    CreateSaveControls();
    m_saveMailbox = std::make_shared<ProgressMailbox>();
    m_saveStartTick = TickCount();
    m_bSaving.store(1);
    OnSetCursor();
    SetJobControlsEnabled(false);
    m_saveRefresh->start();

    auto outcome = std::make_shared<SaveOutcome>();
    m_saveThread.Start(
        this, m_bSaving,
        [this, target = QFile::encodeName(path).toStdString(), mailbox = m_saveMailbox, outcome]() {
            *outcome = SaveJob(target, *mailbox);
        },
        [this, outcome, path]() { FinishSave(*outcome, path); });
}

// Only the first object without textures is named.
bool CMainDlg::ReportEmptyObject() {
    for (const ObjectSequence& sequence : m_wad.m_sequences) {
        if (sequence.TextureCount() != 0) {
            continue;
        }
        const QString name = QString::fromStdString(LookupSlotName(sequence.slotId));
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Error! empty object..."),
                        QStringLiteral("%1 contains no textures, please add 1 or more,\nor delete "
                                       "the %2: %3 object first before saving...")
                            .arg(name, QString::number(sequence.slotId), name),
                        QMessageBox::Ok, this);
        box.exec();
        return true;
    }
    return false;
}

QString CMainDlg::ChooseSwdSaveFile() {
    QFileDialog dialog(this, QStringLiteral("Save As"), QString(),
                       QStringLiteral("Tomb Raider Sprites Wad File (*.swd)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("swd"));
    QString proposed = QDir::fromNativeSeparators(m_path->text());
    // The dialog asks itself before an existing file is replaced; a name in a folder that does
    // not exist is refused and the dialog opens again on it.
    for (;;) {
        if (!proposed.isEmpty()) {
            dialog.selectFile(proposed);
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return {};
        }
        const QString chosen = dialog.selectedFiles().constFirst();
        const QFileInfo info(chosen);
        if (info.absoluteDir().exists()) {
            return chosen;
        }
        ShowMessage(QStringLiteral("%1\nThe folder does not exist.")
                        .arg(QDir::toNativeSeparators(info.absolutePath())));
        proposed = chosen;
    }
}

void CMainDlg::CreateSaveControls() {
    if (m_packingPage != nullptr) {
        return;
    }
    m_packingPage = new QLabel(this);
    m_packingPage->setObjectName(QStringLiteral("packingPage"));
    m_packingPage->setGeometry(PreviewFrame());
    m_packingPage->hide();
    m_saveRefresh = new QTimer(this);
    m_saveRefresh->setInterval(kRefreshMs);
    connect(m_saveRefresh, &QTimer::timeout, this, &CMainDlg::ShowSaveProgress);
    m_infoTimer = new QTimer(this);
    m_infoTimer->setObjectName(QStringLiteral("timer1001"));
    m_infoTimer->setSingleShot(true);
    m_infoTimer->setInterval(kInfoRestoreMs);
    connect(m_infoTimer, &QTimer::timeout, this, &CMainDlg::OnInfoTimer);
}

// Worker thread. The window leaves the document to the job until FinishSave: every control
// that could change it is disabled.
CMainDlg::SaveOutcome CMainDlg::SaveJob(const std::string& path, ProgressMailbox& mailbox) {
    const std::uint32_t start = m_saveStartTick;
    PackCallbacks callbacks;
    callbacks.running = &m_bSaving;
    callbacks.progress = [&mailbox, start](std::size_t index, std::size_t total) {
        mailbox.PostLine(FormatProgressLine(static_cast<std::uint32_t>(index),
                                            static_cast<std::uint32_t>(total), start, TickCount()));
    };
    callbacks.pageChanged = [this, &mailbox](int page) {
        mailbox.OfferPage(m_wad.m_pages[static_cast<std::size_t>(page)]);
    };
    const PackResult packed = PackTextures(m_wad, callbacks);
    if (packed.status == PackStatus::Failed) {
        return {SaveOutcome::Failed, packed.message};
    }
    // A cancel confirmed from here on lets the write finish.
    if (m_bSaving.load() == 0) {
        return {SaveOutcome::Cancelled, {}};
    }
    swd::Result written = swd::WriteSwdFile(path, m_wad);
    if (!written.ok()) {
        return {SaveOutcome::Failed, std::move(written.message)};
    }
    return {SaveOutcome::Written, {}};
}

void CMainDlg::ShowSaveProgress() {
    if (std::optional<std::string> line = m_saveMailbox->TakeLine()) {
        m_info->setPlainText(QString::fromStdString(*line));
    }
    if (m_saveMailbox->TakePage(m_shownPage)) {
        m_packingPage->setPixmap(QPixmap::fromImage(ToQImage(m_shownPage)));
        m_packingPage->show();
        m_packingPage->raise();
    }
}

void CMainDlg::FinishSave(const SaveOutcome& outcome, const QString& path) {
    m_saveRefresh->stop();
    // The line left on show before the result is the one for the last texture packed.
    if (std::optional<std::string> line = m_saveMailbox->TakeLine()) {
        m_info->setPlainText(QString::fromStdString(*line));
    }
    m_saveMailbox.reset();
    m_shownPage.DeleteObject();
    m_packingPage->hide();
    m_packingPage->clear();

    switch (outcome.kind) {
    case SaveOutcome::Written:
        m_path->setText(QDir::toNativeSeparators(path));
        m_info->setPlainText(kDoneText);
        MarkSaved();
        break;
    case SaveOutcome::Cancelled:
        m_info->setPlainText(kCanceledText);
        break;
    case SaveOutcome::Failed:
        ShowMessage(QString::fromStdString(outcome.message));
        break;
    }

    // The selected texture is shown again; the Info pane keeps the result until the timer.
    RefreshPreview();
    update(PreviewFrame());
    m_infoTimer->start();

    SetJobControlsEnabled(true);
    m_bSaving.store(0);
    OnSetCursor();
    // What the unsaved-edits question put off goes on only once the file is written.
    const std::function<void()> goOn = std::exchange(m_afterSave, nullptr);
    if (outcome.kind == SaveOutcome::Written && goOn) {
        goOn();
    }
}

void CMainDlg::OnInfoTimer() {
    const QString text = m_info->toPlainText();
    if (text == kDoneText || text == kCanceledText) {
        UpdateInfoPane();
    }
    m_infoTimer->stop();
}
