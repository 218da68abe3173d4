#include "app/CMainDlg.h"

#include "app/COwnerDrawCombo.h"
#include "app/FileDialogs.h"
#include "app/PlainMessageBox.h"
#include "app/QtImage.h"
#include "packing/ProgressMailbox.h"
#include "packing/SaveProgress.h"
#include "packing/SaveWad.h"

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
const QString kFailedText = QStringLiteral("Failed! Not saved...");

// The window looks at the job's progress about as often as the screen is redrawn.
constexpr int kRefreshMs = 16;
constexpr int kInfoRestoreMs = 5000;

} // namespace

void CMainDlg::OnSaveAsSwd() {
    if (m_objects->count() == 0 || JobRuns()) {
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
    auto outcome = std::make_shared<Status>();
    // The worker packs the document's own textures: the job keeps every edit out meanwhile.
    StartJob(
        {}, m_bSaving,
        [this, target = QFile::encodeName(path).toStdString(), mailbox = m_saveMailbox, outcome,
         start = m_saveStartTick, &wad = m_document.WadForJob()] {
            PackCallbacks callbacks;
            callbacks.running = &m_bSaving;
            callbacks.progress = [&mailbox, start](std::size_t index, std::size_t total) {
                mailbox->PostLine(FormatProgressLine(static_cast<std::uint32_t>(index),
                                                     static_cast<std::uint32_t>(total), start,
                                                     TickCount()));
            };
            callbacks.pageChanged = [&wad, &mailbox](int page) {
                mailbox->OfferPage(wad.m_pages[static_cast<std::size_t>(page)]);
            };
            *outcome = SaveWad(wad, target, callbacks);
        },
        [this, outcome, path] { FinishSave(*outcome, path); });
    OnSetCursor();
    SetJobControlsEnabled(false);
    m_saveRefresh->start();
}

// Only the first object without textures is named.
bool CMainDlg::ReportEmptyObject() {
    const std::optional<std::size_t> empty = FirstEmptyObject(Wad());
    if (!empty) {
        return false;
    }
    PlainMessageBox box(QMessageBox::Warning, QStringLiteral("Error! empty object..."),
                        QString::fromStdString(EmptyObjectMessage(Wad().ObjectSlot(*empty))),
                        QMessageBox::Ok, this);
    box.exec();
    return true;
}

QString CMainDlg::ChooseSwdSaveFile() {
    QFileDialog dialog(this, QStringLiteral("Save As"), QString(),
                       QStringLiteral("Tomb Raider Sprites Wad File (*.swd)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("swd"));
    // The dialog asks itself before an existing file is replaced.
    return ExecSaveDialog(dialog, FileKind::Wads, QDir::fromNativeSeparators(m_path->text()));
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

void CMainDlg::FinishSave(const Status& outcome, const QString& path) {
    m_saveRefresh->stop();
    // The line left on show before the result is the one for the last texture packed.
    if (std::optional<std::string> line = m_saveMailbox->TakeLine()) {
        m_info->setPlainText(QString::fromStdString(*line));
    }
    m_saveMailbox.reset();
    m_shownPage.DeleteObject();
    m_packingPage->hide();
    m_packingPage->clear();

    if (outcome.ok()) {
        m_path->setText(QDir::toNativeSeparators(path));
        m_info->setPlainText(kDoneText);
        m_document.MarkSaved();
    } else if (outcome.fault() == Fault::Cancelled) {
        m_info->setPlainText(kCanceledText);
    } else {
        ShowMessage(QString::fromStdString(outcome.message()));
        // The progress line would read as a save still under way.
        m_info->setPlainText(kFailedText);
    }

    // The selected texture is shown again; the Info pane keeps the result until the timer.
    RefreshPreview();
    update(PreviewFrame());
    m_infoTimer->start();

    SetJobControlsEnabled(true);
    m_bSaving.store(0);
    OnSetCursor();
    // What the unsaved-edits question put off goes on only once the file is written (StartJob
    // runs it once the job has let go of the document).
    if (!outcome.ok()) {
        m_afterSave = nullptr;
    }
}

void CMainDlg::OnInfoTimer() {
    if (ShowsSaveResult()) {
        UpdateInfoPane();
    }
    m_infoTimer->stop();
}

bool CMainDlg::ShowsSaveResult() const {
    const QString text = m_info->toPlainText();
    return text == kDoneText || text == kCanceledText || text == kFailedText;
}
