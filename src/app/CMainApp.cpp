#include "app/CMainApp.h"

#include "app/CMainDlg.h"

#include <QTimer>

int CMainApp::InitInstance(const QStringList& files) {
    CMainDlg dialog;
    if (!files.isEmpty()) {
        // From inside the window's loop, so that a message about a file stands over the window.
        QTimer::singleShot(0, &dialog, [&dialog, files] { dialog.OpenFiles(files); });
    }
    dialog.exec();
    return 0;
}
