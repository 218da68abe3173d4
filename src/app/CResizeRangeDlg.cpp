#include "app/CResizeRangeDlg.h"

#include "app/DialogFields.h"
#include "app/DialogUnits.h"
#include "app/ResizeDialogParts.h"
#include "images/ResizeMath.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <tuple>

CResizeRangeDlg::CResizeRangeDlg(QWidget* parent) : QDialog(parent) {
    dlgunits::SetUpDialog(this, QStringLiteral("Resize Image Range"), 190, 140);
    // Tab goes through the controls in the order they are made: top to bottom, as they read.
    m_widthField = new QLineEdit(this);
    m_heightField = new QLineEdit(this);
    resizeparts::AddFieldPair(this, QStringLiteral("New Size:"), 7, QStringLiteral("Width:"),
                              m_widthField, QStringLiteral("Height:"), m_heightField);
    const resizeparts::FilterControls controls = resizeparts::AddFilterFrame(this, 44);
    m_keepAspectBox = controls.keepAspect;
    m_filterList = controls.filter;
    m_startField = new QLineEdit(this);
    m_stopField = new QLineEdit(this);
    resizeparts::AddFieldPair(this, QStringLiteral("Range"), 80, QStringLiteral("Start:"),
                              m_startField, QStringLiteral("Stop:"), m_stopField);
    resizeparts::AddOkCancel(this, 117);
}

int CResizeRangeDlg::exec() {
    m_widthField->setText(QString::number(m_nWidth));
    m_heightField->setText(QString::number(m_nHeight));
    m_startField->setText(QString::number(m_nStart));
    m_stopField->setText(QString::number(m_nStop));
    m_keepAspectBox->setChecked(m_bKeepAspect != 0);
    m_filterList->setCurrentIndex(m_nFilter == 0 ? 0 : 1);
    return QDialog::exec();
}

void CResizeRangeDlg::accept() {
    const auto size = resizeparts::ReadNewSize(m_widthField, m_heightField);
    if (!size) {
        return;
    }
    const std::optional<int> start = dlgfields::ReadInteger(m_startField);
    if (!start) {
        return;
    }
    const std::optional<int> stop = dlgfields::ReadInteger(m_stopField);
    if (!stop) {
        return;
    }
    for (const auto& [value, field] : {std::pair{*start, m_startField}, {*stop, m_stopField}}) {
        if (value < 0 || value > m_nLastIndex) {
            dlgfields::RefuseField(
                field, QStringLiteral("Please enter an integer between 0 and %1").arg(m_nLastIndex),
                QMessageBox::NoIcon);
            return;
        }
    }
    std::tie(m_nWidth, m_nHeight) = *size;
    m_nStart = *start;
    m_nStop = *stop;
    m_bKeepAspect = m_keepAspectBox->isChecked() ? 1 : 0;
    m_nFilter = m_filterList->currentIndex();
    QDialog::accept();
}
