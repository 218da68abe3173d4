#pragma once

#include <QDialog>

class QButtonGroup;
class QLineEdit;

// "Split Options": the piece size (four fixed sizes or "Custom") and what becomes of edge
// pieces. The caller sets the four fields, runs exec() and reads them back however the dialog
// ended. Closed without OK, the fields keep the sizes last accepted (a fixed size chosen, or
// the values of the last OK) with the buttons as they were left.
class CSplitOptionsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSplitOptionsDlg(QWidget* parent = nullptr);

    int m_nWidth = 128;
    int m_nHeight = 128;
    // 0 "32 x 32", 1 "64 x 64", 2 "128 x 128", 3 "256 x 256", 4 "Custom".
    int m_nSizeChoice = 2;
    // 0 smaller edge pieces allowed, 1 edge pieces filled up with magenta.
    int m_nPiecePolicy = 0;

    // Fills the controls from the fields, then runs the dialog.
    int exec() override;
    // OK: width and height must be whole numbers from 1 to 256, or the dialog stays open.
    void accept() override;
    void reject() override;

private:
    // A size button was clicked: the edits are read with the integer and range prompts, then
    // a fixed size fills both edits and locks them; "Custom" unlocks them.
    void OnSizeButton();

    QButtonGroup* m_sizeButtons = nullptr;
    QButtonGroup* m_policyButtons = nullptr;
    QLineEdit* m_widthField = nullptr;
    QLineEdit* m_heightField = nullptr;
};
