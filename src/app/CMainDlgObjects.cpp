#include "app/CMainDlg.h"

void CMainDlg::OnAddObject() {}
void CMainDlg::OnDeleteObject() {}
void CMainDlg::OnEditObject() {}
void CMainDlg::OnExportObject() {}
void CMainDlg::OnImportObject() {}
