#include "app/CMainDlg.h"

void CMainDlg::OnResizeTexture() {}
void CMainDlg::OnResizeRange() {}
