#pragma once

#include <QDialog>

class CSilentEdit;
class QCheckBox;
class QComboBox;
class QLabel;

// "Resize Image": the new size of one texture. With "Preserve aspect ratio" on, typing one side
// fills in the other from the texture's proportions at opening. The caller sets the four
// fields, runs exec() and, after OK, reads them back.
class CResizeDlg : public QDialog {
    Q_OBJECT
public:
    explicit CResizeDlg(QWidget* parent = nullptr);

    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_bKeepAspect = 0;
    int m_nFilter = 0;

    // Fills the controls from the fields, then runs the dialog.
    int exec() override;
    // OK: both sides must be whole numbers from 1 to 256, or the dialog stays open.
    void accept() override;

private:
    void OnChangeWidth();
    void OnChangeHeight();
    void ShowNewSize(int width, int height);

    // The texture's size when the dialog opened: the proportions that the fields follow.
    int m_originalWidth = 0;
    int m_originalHeight = 0;
    CSilentEdit* m_heightField = nullptr;
    CSilentEdit* m_widthField = nullptr;
    QLabel* m_newSizeLine = nullptr;
    QLabel* m_currentSizeLine = nullptr;
    QComboBox* m_filterList = nullptr;
    QCheckBox* m_keepAspectBox = nullptr;
};
