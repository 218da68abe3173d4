#include "app/CMainDlg.h"

#include "app/COwnerDrawCombo.h"
#include "app/CResizeDlg.h"
#include "app/CResizeRangeDlg.h"
#include "app/ResizeDialogParts.h"
#include "edits/Edits.h"

void CMainDlg::OnResizeTexture() {
    const int object = CurrentObject();
    const int line = CurrentLine();
    if (object < 0 || line < 0) {
        return;
    }
    const SpriteTexture& texture = Wad().ObjectTexture(static_cast<std::size_t>(object), line);
    CResizeDlg dialog(this);
    dialog.m_nWidth = texture.GetWidth();
    dialog.m_nHeight = texture.GetHeight();
    dialog.m_nFilter = m_choices.resizeFilter;
    dialog.m_bKeepAspect = m_choices.resizeKeepAspect;
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    m_choices.resizeFilter = dialog.m_nFilter;
    m_choices.resizeKeepAspect = dialog.m_bKeepAspect;
    KeepChoices();
    // The dialog has already kept the proportions it was asked to: the texture takes the size.
    const edits::ResizeRequest request{dialog.m_nWidth, dialog.m_nHeight, false,
                                       resizeparts::FilterOfChoice(m_choices.resizeFilter)};
    ShowEdit(m_document.Apply("Resize Texture", edits::ResizeTextures,
                              static_cast<std::size_t>(object), line, line, request),
             line);
}

void CMainDlg::OnResizeRange() {
    const int object = CurrentObject();
    const int line = CurrentLine();
    if (object < 0 || line < 0) {
        return;
    }
    const SpriteTexture& texture = Wad().ObjectTexture(static_cast<std::size_t>(object), line);
    CResizeRangeDlg dialog(this);
    dialog.m_nWidth = texture.GetWidth();
    dialog.m_nHeight = texture.GetHeight();
    dialog.m_nFilter = m_choices.resizeFilter;
    dialog.m_bKeepAspect = m_choices.resizeKeepAspect;
    dialog.m_nLastIndex = m_sprites->count() - 1;
    dialog.m_nStart = line;
    dialog.m_nStop = dialog.m_nLastIndex;
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    m_choices.resizeKeepAspect = dialog.m_bKeepAspect;
    m_choices.resizeFilter = dialog.m_nFilter;
    KeepChoices();
    const edits::ResizeRequest request{dialog.m_nWidth, dialog.m_nHeight, dialog.m_bKeepAspect != 0,
                                       resizeparts::FilterOfChoice(dialog.m_nFilter)};
    ShowEdit(m_document.Apply("Resize Range", edits::ResizeTextures,
                              static_cast<std::size_t>(object), dialog.m_nStart, dialog.m_nStop,
                              request),
             dialog.m_nStart);
}
