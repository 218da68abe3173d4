#include "app/CMainDlg.h"

#include "app/COwnerDrawCombo.h"
#include "app/QtImage.h"
#include "edits/Edits.h"

#include <QInputDialog>
#include <QKeyEvent>

#include <cmath>

void CMainDlg::OnMoveTextureUp() {
    MoveCurrentTexture(-1);
}

void CMainDlg::OnMoveTextureDown() {
    MoveCurrentTexture(1);
}

bool CMainDlg::CanMoveCurrentTexture(int step) const {
    const int object = CurrentObject();
    const int line = CurrentLine();
    const int to = line + step;
    return object >= 0 && line >= 0 && to >= 0 && !JobRuns() &&
           to < Wad().ObjectTextureCount(static_cast<std::size_t>(object));
}

void CMainDlg::MoveCurrentTexture(int step) {
    StopSequence();
    if (!CanMoveCurrentTexture(step)) {
        return;
    }
    const int line = CurrentLine();
    ShowEdit(m_document.Apply("Move Texture", edits::MoveTextures,
                              static_cast<std::size_t>(CurrentObject()), line, line, line + step),
             line + step);
}

void CMainDlg::SetPreviewZoom(int choice) {
    m_choices.previewZoom = choice;
    KeepChoices();
    RedrawPreview();
}

void CMainDlg::RedrawPreview() {
    if (SequencePlays()) {
        ShowTexture(CurrentObject(), m_playLine);
    } else {
        RefreshPreview();
    }
}

void CMainDlg::PlaySequence() {
    const int line = CurrentLine();
    if (CurrentObject() < 0 || line < 0 || JobRuns()) {
        return;
    }
    m_playLine = line;
    m_frameClock->Start(std::chrono::milliseconds(std::lround(1000.0 / m_choices.framesPerSecond)),
                        [this] { ShowNextFrame(); });
}

void CMainDlg::ShowNextFrame() {
    const int object = CurrentObject();
    const int count = object >= 0 ? Wad().ObjectTextureCount(static_cast<std::size_t>(object)) : 0;
    if (count == 0) {
        StopSequence();
        return;
    }
    m_playLine = (m_playLine + 1) % count;
    ShowTexture(object, m_playLine);
}

void CMainDlg::StopSequence() {
    if (!SequencePlays()) {
        return;
    }
    m_frameClock->Stop();
    RefreshPreview();
}

void CMainDlg::OnFramesPerSecond() {
    bool ok = false;
    const int chosen = QInputDialog::getInt(
        this, QStringLiteral("Frames per Second"),
        QStringLiteral("Frames per second (1 to %1):").arg(kMaxFramesPerSecond),
        m_choices.framesPerSecond, 1, kMaxFramesPerSecond, 1, &ok);
    if (!ok) {
        return;
    }
    m_choices.framesPerSecond = chosen;
    KeepChoices();
    // A sequence that plays goes on at the new pace from the frame it shows.
    if (SequencePlays()) {
        const int line = m_playLine;
        PlaySequence();
        m_playLine = line;
    }
}

void CMainDlg::SetFrameClock(std::unique_ptr<FrameClock> clock) {
    StopSequence();
    m_frameClock = std::move(clock);
}

void CMainDlg::keyPressEvent(QKeyEvent* event) {
    // Escape stops a playing sequence instead of closing the window.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && SequencePlays()) {
        StopSequence();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
