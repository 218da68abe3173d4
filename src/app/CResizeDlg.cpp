#include "app/CResizeDlg.h"

#include "app/CSilentEdit.h"
#include "app/DialogFields.h"
#include "app/DialogUnits.h"
#include "app/ResizeDialogParts.h"
#include "images/ResizeMath.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include <tuple>

namespace {

QString SizeLine(const char* word, int width, int height) {
    return QString::asprintf("%s size:\t%d  x  %d  Pixels", word, width, height);
}

int TypedNumber(const QLineEdit* field) {
    return dlgfields::ReadTypedNumber(field->text().toStdString());
}

} // namespace

CResizeDlg::CResizeDlg(QWidget* parent) : QDialog(parent) {
    using dlgunits::Rect;
    dlgunits::SetUpDialog(this, QStringLiteral("Resize Image"), 190, 144);
    resizeparts::AddEtchedFrame(this, Rect(7, 7, 176, 32));
    m_currentSizeLine = new QLabel(this);
    m_currentSizeLine->setObjectName(QStringLiteral("currentSize"));
    m_currentSizeLine->setGeometry(Rect(14, 11, 166, 11));
    m_newSizeLine = new QLabel(this);
    m_newSizeLine->setObjectName(QStringLiteral("newSize"));
    m_newSizeLine->setGeometry(Rect(14, 24, 166, 11));

    m_widthField = new CSilentEdit(this);
    m_heightField = new CSilentEdit(this);
    resizeparts::AddFieldPair(this, QStringLiteral("New Size:"), 43, QStringLiteral("Width:"),
                              m_widthField, QStringLiteral("Height:"), m_heightField);
    const resizeparts::FilterControls controls = resizeparts::AddFilterFrame(this, 80);
    m_keepAspectBox = controls.keepAspect;
    m_filterList = controls.filter;
    resizeparts::AddOkCancel(this, 121);

    connect(m_widthField, &CSilentEdit::Changed, this, &CResizeDlg::OnChangeWidth);
    connect(m_heightField, &CSilentEdit::Changed, this, &CResizeDlg::OnChangeHeight);
    connect(m_keepAspectBox, &QCheckBox::clicked, this,
            [this](bool checked) { m_bKeepAspect = checked ? 1 : 0; });
}

int CResizeDlg::exec() {
    m_originalWidth = m_nWidth;
    m_originalHeight = m_nHeight;
    m_widthField->SetTextQuietly(QString::number(m_nWidth));
    m_heightField->SetTextQuietly(QString::number(m_nHeight));
    m_keepAspectBox->setChecked(m_bKeepAspect != 0);
    m_filterList->setCurrentIndex(m_nFilter == 0 ? 0 : 1);
    m_currentSizeLine->setText(SizeLine("Current", m_nWidth, m_nHeight));
    ShowNewSize(m_nWidth, m_nHeight);
    return QDialog::exec();
}

void CResizeDlg::OnChangeWidth() {
    const int width = TypedNumber(m_widthField);
    if (m_bKeepAspect == 0) {
        ShowNewSize(width, TypedNumber(m_heightField));
        return;
    }
    const int height = HeightForWidth(width, m_originalWidth, m_originalHeight);
    m_heightField->SetTextQuietly(QString::number(height));
    ShowNewSize(width, height);
}

void CResizeDlg::OnChangeHeight() {
    const int height = TypedNumber(m_heightField);
    if (m_bKeepAspect == 0) {
        ShowNewSize(TypedNumber(m_widthField), height);
        return;
    }
    const int width = WidthForHeight(height, m_originalWidth, m_originalHeight);
    m_widthField->SetTextQuietly(QString::number(width));
    ShowNewSize(width, height);
}

void CResizeDlg::ShowNewSize(int width, int height) {
    m_newSizeLine->setText(SizeLine("New", width, height));
}

void CResizeDlg::accept() {
    const auto size = resizeparts::ReadNewSize(m_widthField, m_heightField);
    if (!size) {
        return;
    }
    std::tie(m_nWidth, m_nHeight) = *size;
    m_bKeepAspect = m_keepAspectBox->isChecked() ? 1 : 0;
    m_nFilter = m_filterList->currentIndex();
    QDialog::accept();
}
