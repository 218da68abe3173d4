#include "app/CMainDlg.h"

#include "app/COwnerDrawCombo.h"
#include "app/CSplitOptionsDlg.h"
#include "app/PieceQueue.h"
#include "pixels/SplitImage.h"

#include <QPushButton>
#include <QTimer>

namespace {

// The window adds the pieces cut so far about as often as the screen is redrawn.
constexpr int kSplitRefreshMs = 16;

} // namespace

void CMainDlg::OnAddSplitTexture() {
    if (m_objects->count() == 0) {
        return;
    }
    // While the job runs, the button stops it.
    if (m_splitPieces) {
        m_bSplitting.store(0);
        m_splitPieces->Close();
        return;
    }
    if (JobRuns()) {
        return;
    }
    // The file and the options are chosen and the image loaded before the job starts, while
    // the window waits for the dialogs: nothing else can change the document in between.
    const QString path = ChooseImageFile();
    if (path.isEmpty()) {
        return;
    }
    CSplitOptionsDlg options(this);
    options.m_nWidth = m_choices.splitWidth;
    options.m_nHeight = m_choices.splitHeight;
    options.m_nSizeChoice = m_choices.splitSizeChoice;
    options.m_nPiecePolicy = m_choices.splitPiecePolicy;
    options.exec();
    m_choices.splitWidth = options.m_nWidth;
    m_choices.splitHeight = options.m_nHeight;
    m_choices.splitSizeChoice = options.m_nSizeChoice;
    m_choices.splitPiecePolicy = options.m_nPiecePolicy;
    KeepChoices();
    BTCImageData image;
    if (!LoadImageFile(path, image)) {
        return;
    }

    if (m_splitRefresh == nullptr) {
        m_splitRefresh = new QTimer(this);
        m_splitRefresh->setInterval(kSplitRefreshMs);
        connect(m_splitRefresh, &QTimer::timeout, this, &CMainDlg::TakeSplitPieces);
    }
    m_splitObject = static_cast<std::size_t>(CurrentObject());
    m_splitPieces = std::make_shared<PieceQueue>(m_splitQueueBytes);
    EnableSplitControls(false);
    const PiecePolicy policy =
        m_choices.splitPiecePolicy == 1 ? PiecePolicy::PadWithMagenta : PiecePolicy::AllowSmaller;
    // However many pieces go in before the job ends or is stopped, they are one step.
    StartJob(
        "Add Split Texture", m_bSplitting,
        [this, image = std::move(image), width = m_choices.splitWidth,
         height = m_choices.splitHeight, policy, pieces = m_splitPieces] {
            SplitImage(
                image, width, height, policy, [this] { return m_bSplitting.load() != 0; },
                [&pieces](BTCImageData piece) { return pieces->Push(std::move(piece)); });
        },
        [this] { FinishSplit(); });
    m_splitRefresh->start();
}

void CMainDlg::TakeSplitPieces() {
    std::vector<BTCImageData> pieces = m_splitPieces->TakeAll();
    if (pieces.empty()) {
        return;
    }
    const edits::EditResult done =
        m_document.ApplyForJob(edits::AddTextures, m_splitObject, std::move(pieces));
    // A full object or wad ends the job; what went in stays.
    if (!done || !done->stopped) {
        m_bSplitting.store(0);
        m_splitPieces->Close();
        m_splitPieces->TakeAll();
    }
    ShowEdit(done, done ? done->lastLine : -1);
}

void CMainDlg::FinishSplit() {
    m_splitRefresh->stop();
    TakeSplitPieces();
    m_splitPieces.reset();
    EnableSplitControls(true);
    m_bSplitting.store(0);
}

void CMainDlg::EnableSplitControls(bool enable) {
    for (int i = 0; i < kButtonCount; ++i) {
        if (i != kAddSplitTexture) {
            m_buttons[i]->setEnabled(enable);
        }
    }
    m_objects->setEnabled(enable);
    m_sprites->setEnabled(enable);
    QPushButton* split = m_buttons[kAddSplitTexture];
    split->setText(enable ? QStringLiteral("Add Split Texture") : QStringLiteral("Stop"));
    split->setToolTip(enable ? QStringLiteral("Adds new textures from one image\n"
                                              "by spliting it into many pieces")
                             : QStringLiteral("Stops the splitting thread"));
}
