#include "app/CMainDlg.h"

#include "app/COwnerDrawCombo.h"
#include "app/CSplitOptionsDlg.h"

#include <QPushButton>

void CMainDlg::OnAddSplitTexture() {
    if (m_objects->count() == 0) {
        return;
    }
    // Until its worker has made its last call the job is still on: the button stops it.
    if (m_bSplitting.load() != 0 || !m_splitWorkerDone.load()) {
        m_bSplitting.store(0);
        return;
    }
    // The file and the options are chosen and the image loaded before the job starts, while
    // the window waits for the dialogs: nothing else can change the document in between.
    const QString path = ChooseImageFile();
    if (path.isEmpty()) {
        return;
    }
    CSplitOptionsDlg options(this);
    options.m_nWidth = m_nSplitWidth;
    options.m_nHeight = m_nSplitHeight;
    options.m_nSizeChoice = m_nSplitSizeChoice;
    options.m_nPiecePolicy = m_nSplitPiecePolicy;
    options.exec();
    m_nSplitWidth = options.m_nWidth;
    m_nSplitHeight = options.m_nHeight;
    m_nSplitSizeChoice = options.m_nSizeChoice;
    m_nSplitPiecePolicy = options.m_nPiecePolicy;
    BTCImageData image;
    if (!LoadImageFile(path, image)) {
        return;
    }

    // However many pieces go in before the job ends or is stopped, they are one step.
    BeginEdit();
    KeepTextures(m_wad.AppendPosition(static_cast<std::size_t>(CurrentObject())), 0);
    m_bSplitting.store(1);
    EnableSplitControls(false);
    // A done worker has made its last call into the window; joining it does not wait.
    if (m_splitWorker.joinable()) {
        m_splitWorker.join();
    }
    m_splitWorkerDone.store(false);
    m_splitWorker = std::thread(&CMainDlg::RunSplit, this, std::move(image), m_nSplitWidth,
                                m_nSplitHeight, m_nSplitPiecePolicy);
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
