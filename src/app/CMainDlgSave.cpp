#include "app/CMainDlg.h"

void CMainDlg::OnSaveAsSwd() {}
