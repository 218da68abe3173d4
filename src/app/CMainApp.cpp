#include "app/CMainApp.h"

#include "app/CMainDlg.h"

#include <QTimer>

int CMainApp::InitInstance(const QStringList& files) {
    CMainDlg dialog;
    // From inside the window's loop, so that a question or a message stands over the window;
    // edits a crash left behind are offered before any file opens.
    QTimer::singleShot(0, &dialog, [&dialog, files] {
        dialog.OfferRecovery();
        if (!files.isEmpty()) {
            dialog.OpenFiles(files);
        }
    });
    dialog.exec();
    return 0;
}
