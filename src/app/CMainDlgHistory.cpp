#include "app/CMainDlg.h"

#include "app/AppResources.h"
#include "app/COwnerDrawCombo.h"
#include "app/PlainMessageBox.h"
#include "app/WadListModels.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>

void CMainDlg::Undo() {
    StopSequence();
    if (const std::optional<ListView> view = m_document.Undo()) {
        ShowView(*view);
    }
}

void CMainDlg::Redo() {
    StopSequence();
    if (const std::optional<ListView> view = m_document.Redo()) {
        ShowView(*view);
    }
}

QString CMainDlg::UndoText() const {
    const std::string action = m_document.UndoAction();
    return action.empty() ? QString() : QStringLiteral("Undo ") + QString::fromStdString(action);
}

QString CMainDlg::RedoText() const {
    const std::string action = m_document.RedoAction();
    return action.empty() ? QString() : QStringLiteral("Redo ") + QString::fromStdString(action);
}

bool CMainDlg::IsModified() const {
    return m_document.IsModified();
}

bool CMainDlg::NoEditsLost(std::function<void()> goOn) {
    if (!IsModified()) {
        return true;
    }
    const QString name = m_path->text().isEmpty() ? QStringLiteral("Untitled")
                                                  : QFileInfo(m_path->text()).fileName();
    // A wad without objects cannot be saved, so Save is offered only when there are some.
    const bool canSave = m_objects->count() > 0;
    PlainMessageBox box(QMessageBox::Question, appres::kAppTitle,
                        QStringLiteral("Save changes to %1 before closing?").arg(name),
                        (canSave ? QMessageBox::Save : QMessageBox::NoButton) |
                            QMessageBox::Discard | QMessageBox::Cancel,
                        this);
    box.setDefaultButton(canSave ? QMessageBox::Save : QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Discard:
        return true;
    case QMessageBox::Save:
        m_afterSave = std::move(goOn);
        OnSaveAsSwd();
        // Refused before it began (an empty object, the file dialog cancelled): nothing follows.
        if (!JobRuns()) {
            m_afterSave = nullptr;
        }
        return false;
    default:
        return false;
    }
}

CMainDlg::ListView CMainDlg::CurrentView() const {
    const int line = CurrentLine();
    return {CurrentObject(), line, line >= 0 ? QPixmap() : m_preview->pixmap(),
            m_info->toPlainText()};
}

void CMainDlg::ShowView(const ListView& view) {
    m_spriteLines->ShowObject(-1);
    ShowObjects(view.object);
    if (m_objects->count() > 0) {
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
    // How a save ended is news once: a step undone or redone later shows the description.
    if (ShowsSaveResult()) {
        UpdateInfoPane();
    }
}
