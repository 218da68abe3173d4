#include "app/CMainDlg.h"

#include "app/AppResources.h"
#include "app/COwnerDrawCombo.h"
#include "app/PieceQueue.h"
#include "app/PlainMessageBox.h"

#include <QMessageBox>
#include <QPushButton>

#include <utility>

void CMainDlg::SetJobControlsEnabled(bool enable) {
    for (QPushButton* button : m_buttons) {
        button->setEnabled(enable);
    }
    m_objects->setEnabled(enable);
    m_sprites->setEnabled(enable);
}

void CMainDlg::OnSetCursor() {
    const bool wait = m_bSaving.load() != 0;
    if (wait == m_waitCursorShown) {
        return;
    }
    m_waitCursorShown = wait;
    QList<QWidget*> widgets = findChildren<QWidget*>();
    widgets.prepend(this);
    if (wait) {
        m_ownCursors.clear();
        for (QWidget* widget : widgets) {
            if (widget->testAttribute(Qt::WA_SetCursor)) {
                m_ownCursors.insert(widget, widget->cursor());
            }
            widget->setCursor(Qt::WaitCursor);
        }
        return;
    }
    for (QWidget* widget : widgets) {
        const auto own = m_ownCursors.constFind(widget);
        if (own != m_ownCursors.constEnd()) {
            widget->setCursor(*own);
        } else {
            widget->unsetCursor();
        }
    }
    m_ownCursors.clear();
}

bool CMainDlg::AskToCancel(const QString& question) {
    PlainMessageBox box(QMessageBox::Question, appres::kAppTitle, question,
                        QMessageBox::Yes | QMessageBox::No, this);
    m_cancelQuestion = &box;
    const bool yes = box.exec() == QMessageBox::Yes;
    m_cancelQuestion = nullptr;
    return yes;
}

bool CMainDlg::NoJobBlocksClosing() {
    if (m_bSaving.load() != 0) {
        if (AskToCancel(QStringLiteral("Do you wish to cancel saving?"))) {
            m_bSaving.store(0);
            OnSetCursor();
        }
        return false;
    }
    if (m_bSplitting.load() != 0) {
        if (AskToCancel(QStringLiteral("Do you wish to cancel spliting?"))) {
            m_bSplitting.store(0);
            if (m_splitPieces) {
                m_splitPieces->Close();
            }
        }
        return false;
    }
    // A job told to stop has not ended yet: the window stays until it has, so that no question
    // asked now waits for that job's ending to carry the user's answer out.
    return !JobRuns();
}

void CMainDlg::StartJob(const std::string& action, std::atomic<int>& running,
                        std::function<void()> work, std::function<void()> done) {
    m_document.BeginJob(action);
    running.store(1);
    m_jobThread.Start(this, running, std::move(work), [this, done = std::move(done)] {
        // The job's own last edits go in before the document opens to others.
        done();
        m_document.EndJob();
        // A question about a job that no longer runs has nothing left to ask.
        if (m_cancelQuestion) {
            m_cancelQuestion->done(QMessageBox::No);
        }
        if (const std::function<void()> goOn = std::exchange(m_afterSave, nullptr)) {
            goOn();
        }
    });
}

void CMainDlg::OnOK() {
    if (NoJobBlocksClosing() && NoEditsLost([this] { QDialog::accept(); })) {
        QDialog::accept();
    }
}

void CMainDlg::OnCancel() {
    if (NoJobBlocksClosing() && NoEditsLost([this] { QDialog::reject(); })) {
        QDialog::reject();
    }
}

void CMainDlg::accept() {
    OnOK();
}

void CMainDlg::reject() {
    OnCancel();
}
