#include "app/CMainApp.h"

#include "app/CMainDlg.h"

int CMainApp::InitInstance() {
    CMainDlg dialog;
    dialog.exec();
    return 0;
}
