#include "app/CMainDlg.h"

void CMainDlg::OnAddSplitTexture() {}
