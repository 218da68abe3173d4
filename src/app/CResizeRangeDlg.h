#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

// "Resize Image Range": one target size for lines m_nStart to m_nStop of the current object.
// The caller sets the fields (m_nLastIndex is the object's last line), runs exec() and, after
// OK, reads them back.
class CResizeRangeDlg : public QDialog {
    Q_OBJECT
public:
    explicit CResizeRangeDlg(QWidget* parent = nullptr);

    int m_nLastIndex = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nStart = 0;
    int m_nStop = 0;
    int m_nFilter = 0;
    int m_bKeepAspect = 0;

    // Fills the controls from the fields, then runs the dialog.
    int exec() override;
    // OK: both sides 1 to 256, start and stop whole numbers from 0 to m_nLastIndex (start may
    // lie above stop); otherwise the dialog stays open on the offending field.
    void accept() override;

private:
    QLineEdit* m_startField = nullptr;
    QLineEdit* m_heightField = nullptr;
    QLineEdit* m_widthField = nullptr;
    QLineEdit* m_stopField = nullptr;
    QComboBox* m_filterList = nullptr;
    QCheckBox* m_keepAspectBox = nullptr;
};
