#include "app/CMainDlg.h"

#include "app/COwnerDrawCombo.h"
#include "app/CResizeDlg.h"
#include "app/CResizeRangeDlg.h"
#include "app/ResizeDialogParts.h"
#include "edits/ResizeRange.h"
#include "images/ImageFitting.h"
#include "images/ResizeMath.h"

void CMainDlg::OnResizeTexture() {
    const int object = CurrentObject();
    const int line = CurrentLine();
    if (object < 0 || line < 0) {
        return;
    }
    SpriteTexture& texture = m_wad.ObjectTexture(static_cast<std::size_t>(object), line);
    CResizeDlg dialog(this);
    dialog.m_nWidth = texture.GetWidth();
    dialog.m_nHeight = texture.GetHeight();
    dialog.m_nFilter = m_resizeFilter;
    dialog.m_bKeepAspect = m_resizeKeepAspect;
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    m_resizeFilter = dialog.m_nFilter;
    m_resizeKeepAspect = dialog.m_bKeepAspect;
    int width = dialog.m_nWidth;
    int height = dialog.m_nHeight;
    FitImageSize(kSpriteLimit, kSpriteLimit, width, height);
    BeginEdit();
    KeepTextures(m_wad.m_sequences[static_cast<std::size_t>(object)].firstTexture +
                     static_cast<std::size_t>(line),
                 1);
    ResizeTexture(texture, width, height, resizeparts::FilterOfChoice(m_resizeFilter));
    ReplaceSpriteLine(line);
    OnSelchangeSprites();
    EndEdit(QStringLiteral("Resize Texture"));
}

void CMainDlg::OnResizeRange() {
    const int object = CurrentObject();
    const int line = CurrentLine();
    if (object < 0 || line < 0) {
        return;
    }
    const SpriteTexture& texture = m_wad.ObjectTexture(static_cast<std::size_t>(object), line);
    CResizeRangeDlg dialog(this);
    dialog.m_nWidth = texture.GetWidth();
    dialog.m_nHeight = texture.GetHeight();
    dialog.m_nFilter = m_resizeFilter;
    dialog.m_bKeepAspect = m_resizeKeepAspect;
    dialog.m_nLastIndex = m_sprites->count() - 1;
    dialog.m_nStart = line;
    dialog.m_nStop = dialog.m_nLastIndex;
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    m_resizeKeepAspect = dialog.m_bKeepAspect;
    m_resizeFilter = dialog.m_nFilter;
    BeginEdit();
    if (dialog.m_nStart <= dialog.m_nStop) {
        KeepTextures(m_wad.m_sequences[static_cast<std::size_t>(object)].firstTexture +
                         static_cast<std::size_t>(dialog.m_nStart),
                     static_cast<std::size_t>(dialog.m_nStop - dialog.m_nStart + 1));
    }
    ResizeTextureRange(m_wad, static_cast<std::size_t>(object), dialog.m_nStart, dialog.m_nStop,
                       {dialog.m_nWidth, dialog.m_nHeight, dialog.m_bKeepAspect != 0,
                        resizeparts::FilterOfChoice(dialog.m_nFilter)});
    for (int i = dialog.m_nStart; i <= dialog.m_nStop; ++i) {
        ReplaceSpriteLine(i);
    }
    m_sprites->setCurrentIndex(dialog.m_nStart);
    OnSelchangeSprites();
    EndEdit(QStringLiteral("Resize Range"));
}
