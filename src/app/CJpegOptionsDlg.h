#pragma once

#include <QDialog>

class QLineEdit;
class QSlider;

// Asks for the JPEG quality: a digits-only field and a trackbar kept in step. There is only
// an OK button; closing the dialog any other way keeps the value last taken, and the caller
// reads m_quality whichever way it closed.
class CJpegOptionsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CJpegOptionsDlg(QWidget* parent = nullptr);

    // Shows m_quality in both controls, then runs the dialog.
    int exec() override;
    // Closes only when the field holds a whole number from 0 to 100.
    void accept() override;

    int m_quality = 100;
    QSlider* m_slider = nullptr;

private:
    void OnSliderMoved(int position);
    void OnQualityEdited();

    QLineEdit* m_edit = nullptr;
    // Set while one control is brought in step with the other, so neither echoes back.
    bool m_syncing = false;
};
