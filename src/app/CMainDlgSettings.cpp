#include "app/CMainDlg.h"

#include "app/AppSettings.h"

void CMainDlg::LoadChoices() {
    const RememberedChoices choices = AppSettings().Choices();
    m_imageFilterIndex = choices.imageFilterIndex;
    m_exportFilterIndex = choices.exportFilterIndex;
    m_jpegQuality = choices.jpegQuality;
    m_tgaRle = choices.tgaRle;
    m_nSplitWidth = choices.splitWidth;
    m_nSplitHeight = choices.splitHeight;
    m_nSplitSizeChoice = choices.splitSizeChoice;
    m_nSplitPiecePolicy = choices.splitPiecePolicy;
    m_resizeFilter = choices.resizeFilter;
    m_resizeKeepAspect = choices.resizeKeepAspect;
    m_magentaTransparent = choices.magentaTransparent;
}

void CMainDlg::KeepChoices() const {
    RememberedChoices choices;
    choices.imageFilterIndex = m_imageFilterIndex;
    choices.exportFilterIndex = m_exportFilterIndex;
    choices.jpegQuality = m_jpegQuality;
    choices.tgaRle = m_tgaRle;
    choices.splitWidth = m_nSplitWidth;
    choices.splitHeight = m_nSplitHeight;
    choices.splitSizeChoice = m_nSplitSizeChoice;
    choices.splitPiecePolicy = m_nSplitPiecePolicy;
    choices.resizeFilter = m_resizeFilter;
    choices.resizeKeepAspect = m_resizeKeepAspect;
    choices.magentaTransparent = m_magentaTransparent;
    AppSettings().SetChoices(choices);
}
