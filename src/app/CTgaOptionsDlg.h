#pragma once

#include <QDialog>

class QCheckBox;

// Asks whether a TGA is written run-length encoded. OK stores the box's state in
// m_enableRle; closing the dialog otherwise keeps what m_enableRle held.
class CTgaOptionsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CTgaOptionsDlg(QWidget* parent = nullptr);

    // Checks the box as m_enableRle says, then runs the dialog.
    int exec() override;
    void accept() override;

    int m_enableRle = 0;

private:
    QCheckBox* m_rleBox = nullptr;
};
