#include "app/CMainDlg.h"

#include "pixels/SplitImage.h"

#include <QCoreApplication>

#include <chrono>

void CMainDlg::RunSplit(BTCImageData image, int pieceWidth, int pieceHeight, int piecePolicy) {
    const PiecePolicy policy =
        piecePolicy == 1 ? PiecePolicy::PadWithMagenta : PiecePolicy::AllowSmaller;
    // Each piece goes into the document and the lists on the window thread, which shows it
    // at once; the worker waits for that before it cuts the next one.
    SplitImage(
        image, pieceWidth, pieceHeight, policy, [this] { return m_bSplitting.load() != 0; },
        [this](BTCImageData piece) {
            bool added = false;
            QMetaObject::invokeMethod(
                this, [&] { added = AppendTextureToCurrentObject(std::move(piece)); },
                Qt::BlockingQueuedConnection);
            return added;
        });
    image.DeleteObject();
    QMetaObject::invokeMethod(
        this,
        [this] {
            EnableSplitControls(true);
            m_bSplitting.store(0);
            EndEdit(QStringLiteral("Add Split Texture"));
        },
        Qt::BlockingQueuedConnection);
    m_splitWorkerDone.store(true);
}

void CMainDlg::EndSplitWorker() {
    m_bSplitting.store(0);
    // The worker may be waiting for the window to take a piece or to restore the controls.
    while (!m_splitWorkerDone.load()) {
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (m_splitWorker.joinable()) {
        m_splitWorker.join();
    }
}
