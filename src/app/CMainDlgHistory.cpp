#include "app/CMainDlg.h"

#include "app/AppResources.h"
#include "app/COwnerDrawCombo.h"
#include "document/ListLines.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>

void CMainDlg::BeginEdit() {
    m_pendingEdit = UndoStep{{}, WadChange::Before(m_wad), CurrentView(), {}, 0};
}

void CMainDlg::KeepTextures(std::size_t at, std::size_t count) {
    if (m_pendingEdit) {
        m_pendingEdit->change.Keep(m_wad, at, count);
    }
}

void CMainDlg::KeepRemovedTextures(std::size_t at, std::vector<SpriteTexture> textures) {
    if (m_pendingEdit) {
        m_pendingEdit->change.Removed(m_wad, at, std::move(textures));
    }
}

void CMainDlg::EndEdit(const QString& action) {
    if (!m_pendingEdit) {
        return;
    }
    UndoStep step = std::move(*m_pendingEdit);
    m_pendingEdit.reset();
    step.change.After(m_wad);
    if (step.change.IsEmpty(m_wad)) {
        return;
    }
    step.action = action;
    step.after = CurrentView();
    step.serial = m_nextSerial++;
    m_undo.push_back(std::move(step));
    if (m_undo.size() > kUndoLimit) {
        m_oldestSerial = m_undo.front().serial;
        m_undo.pop_front();
    }
    m_redo.clear();
}

void CMainDlg::Undo() {
    if (m_undo.empty() || JobRuns()) {
        return;
    }
    UndoStep step = std::move(m_undo.back());
    m_undo.pop_back();
    step.change.Swap(m_wad);
    ShowView(step.before);
    m_redo.push_back(std::move(step));
}

void CMainDlg::Redo() {
    if (m_redo.empty() || JobRuns()) {
        return;
    }
    UndoStep step = std::move(m_redo.back());
    m_redo.pop_back();
    step.change.Swap(m_wad);
    ShowView(step.after);
    m_undo.push_back(std::move(step));
}

QString CMainDlg::UndoText() const {
    return m_undo.empty() ? QString() : QStringLiteral("Undo ") + m_undo.back().action;
}

QString CMainDlg::RedoText() const {
    return m_redo.empty() ? QString() : QStringLiteral("Redo ") + m_redo.back().action;
}

unsigned CMainDlg::CurrentSerial() const {
    return m_undo.empty() ? m_oldestSerial : m_undo.back().serial;
}

bool CMainDlg::IsModified() const {
    return CurrentSerial() != m_savedSerial;
}

bool CMainDlg::JobRuns() const {
    return m_bSaving.load() != 0 || m_bSplitting.load() != 0 || !m_splitWorkerDone.load() ||
           m_saveThread.Busy();
}

bool CMainDlg::NoEditsLost(std::function<void()> goOn) {
    if (!IsModified()) {
        return true;
    }
    const QString name = m_path->text().isEmpty() ? QStringLiteral("Untitled")
                                                  : QFileInfo(m_path->text()).fileName();
    // A wad without objects cannot be saved, so Save is offered only when there are some.
    const bool canSave = m_objects->count() > 0;
    QMessageBox box(QMessageBox::Question, appres::kAppTitle,
                    QStringLiteral("Save changes to %1 before closing?").arg(name),
                    (canSave ? QMessageBox::Save : QMessageBox::NoButton) | QMessageBox::Discard |
                        QMessageBox::Cancel,
                    this);
    box.setDefaultButton(canSave ? QMessageBox::Save : QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Discard:
        return true;
    case QMessageBox::Save:
        m_afterSave = std::move(goOn);
        OnSaveAsSwd();
        // Refused before it began (an empty object, the file dialog cancelled): nothing follows.
        if (!m_saveThread.Busy()) {
            m_afterSave = nullptr;
        }
        return false;
    default:
        return false;
    }
}

void CMainDlg::MarkSaved() {
    m_savedSerial = CurrentSerial();
}

void CMainDlg::ClearHistory() {
    m_undo.clear();
    m_redo.clear();
    m_pendingEdit.reset();
    m_savedSerial = 0;
    m_oldestSerial = 0;
}

CMainDlg::ListView CMainDlg::CurrentView() const {
    const int line = CurrentLine();
    return {CurrentObject(), line, line >= 0 ? QPixmap() : m_preview->pixmap(),
            m_info->toPlainText()};
}

void CMainDlg::ShowView(const ListView& view) {
    m_objects->clear();
    m_sprites->clear();
    for (const ObjectSequence& sequence : m_wad.m_sequences) {
        m_objects->addItem(QString::fromStdString(FormatObjectLine(sequence)));
    }
    if (m_objects->count() > 0) {
        m_objects->setCurrentIndex(std::clamp(view.object, 0, m_objects->count() - 1));
        OnSelchangeObjects();
        if (view.line >= 0 && view.line < m_sprites->count()) {
            m_sprites->setCurrentIndex(view.line);
            OnSelchangeSprites();
        }
    }
    if (CurrentLine() < 0) {
        if (view.preview.isNull()) {
            ClearPreview();
        } else {
            SetPreview(view.preview);
        }
    }
    m_info->setPlainText(view.info);
}
