#include "app/CMainDlg.h"

void CMainDlg::OnExportTexture() {}
void CMainDlg::OnImportTexture() {}
void CMainDlg::OnAddTexture() {}
void CMainDlg::OnDeleteTexture() {}
void CMainDlg::OnCopyTexture() {}
void CMainDlg::OnPasteTexture() {}
void CMainDlg::OnPasteAsNew() {}
