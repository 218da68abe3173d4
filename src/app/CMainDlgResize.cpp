#include "app/CMainDlg.h"

#include "app/CResizeDlg.h"
#include "app/CResizeRangeDlg.h"
#include "app/ResizeDialogParts.h"
#include "edits/Edits.h"

namespace {

// Runs a resize dialog on the texture's size and the remembered filter and aspect choice;
// on OK the dialog's choices become the remembered ones.
template <class Dialog>
bool AskResize(Dialog& dialog, const SpriteTexture& texture, RememberedChoices& choices) {
    dialog.m_nWidth = texture.GetWidth();
    dialog.m_nHeight = texture.GetHeight();
    dialog.m_nFilter = choices.resizeFilter;
    dialog.m_bKeepAspect = choices.resizeKeepAspect;
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    choices.resizeFilter = dialog.m_nFilter;
    choices.resizeKeepAspect = dialog.m_bKeepAspect;
    return true;
}

} // namespace

void CMainDlg::OnResizeTexture() {
    const int object = CurrentObject();
    const int line = CurrentLine();
    if (object < 0 || line < 0) {
        return;
    }
    const auto at = static_cast<std::size_t>(object);
    CResizeDlg dialog(this);
    if (!AskResize(dialog, Wad().ObjectTexture(at, line), m_choices)) {
        return;
    }
    KeepChoices();
    // The dialog has already kept the proportions it was asked to: the texture takes the size.
    const edits::ResizeRequest request{dialog.m_nWidth, dialog.m_nHeight, false,
                                       resizeparts::FilterOfChoice(dialog.m_nFilter)};
    ShowEdit(m_document.Apply("Resize Texture", edits::ResizeTextures, at, line, line, request),
             line);
}

void CMainDlg::OnResizeRange() {
    const int object = CurrentObject();
    const int line = CurrentLine();
    if (object < 0 || line < 0) {
        return;
    }
    const auto at = static_cast<std::size_t>(object);
    CResizeRangeDlg dialog(this);
    dialog.m_nLastIndex = Wad().ObjectTextureCount(at) - 1;
    dialog.m_nStart = line;
    dialog.m_nStop = dialog.m_nLastIndex;
    if (!AskResize(dialog, Wad().ObjectTexture(at, line), m_choices)) {
        return;
    }
    KeepChoices();
    const edits::ResizeRequest request{dialog.m_nWidth, dialog.m_nHeight, dialog.m_bKeepAspect != 0,
                                       resizeparts::FilterOfChoice(dialog.m_nFilter)};
    ShowEdit(m_document.Apply("Resize Range", edits::ResizeTextures, at, dialog.m_nStart,
                              dialog.m_nStop, request),
             dialog.m_nStart);
}
