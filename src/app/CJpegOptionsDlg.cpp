#include "app/CJpegOptionsDlg.h"

#include "app/DialogFields.h"
#include "app/DialogUnits.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>

namespace {

constexpr int kLowest = 0;
constexpr int kHighest = 100;

} // namespace

CJpegOptionsDlg::CJpegOptionsDlg(QWidget* parent) : QDialog(parent) {
    using dlgunits::Rect;
    dlgunits::SetUpDialog(this, QStringLiteral("JPEG Compression Options..."), 186, 94);

    auto* group = new QGroupBox(QStringLiteral("Quality Factor:"), this);
    group->setGeometry(Rect(7, 7, 172, 60));

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("quality"));
    // Digits only: a sign, a point or a letter cannot be typed.
    m_edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_edit));
    m_edit->setGeometry(Rect(73, 20, 30, 12));
    auto* percent = new QLabel(QStringLiteral("%"), this);
    percent->setGeometry(Rect(106, 20, 10, 12));

    auto* low = new QLabel(QStringLiteral("Low:"), this);
    low->setGeometry(Rect(14, 34, 30, 11));
    auto* high = new QLabel(QStringLiteral("High:"), this);
    high->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    high->setGeometry(Rect(142, 34, 30, 11));

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("slider"));
    m_slider->setRange(kLowest, kHighest);
    m_slider->setTickPosition(QSlider::TicksAbove);
    m_slider->setTickInterval(25);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(10);
    m_slider->setGeometry(Rect(12, 45, 162, 16));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(Rect(68, 73, 50, 14));

    connect(m_slider, &QSlider::valueChanged, this, &CJpegOptionsDlg::OnSliderMoved);
    connect(m_edit, &QLineEdit::textChanged, this, &CJpegOptionsDlg::OnQualityEdited);
    connect(ok, &QPushButton::clicked, this, &CJpegOptionsDlg::accept);
}

int CJpegOptionsDlg::exec() {
    m_syncing = true;
    m_slider->setValue(m_quality);
    m_edit->setText(QString::number(m_quality));
    m_syncing = false;
    return QDialog::exec();
}

void CJpegOptionsDlg::OnSliderMoved(int position) {
    if (m_syncing) {
        return;
    }
    m_quality = position;
    m_syncing = true;
    m_edit->setText(QString::number(position));
    m_syncing = false;
}

// A value typed outside 0 to 100 is refused with the range message at once. An emptied field
// takes nothing while the user retypes; OK says what is wrong with it.
void CJpegOptionsDlg::OnQualityEdited() {
    if (m_syncing || m_edit->text().isEmpty()) {
        return;
    }
    const std::optional<int> value = dlgfields::ReadInteger(m_edit, kLowest, kHighest);
    if (!value) {
        return;
    }
    m_quality = *value;
    m_syncing = true;
    m_slider->setValue(*value);
    m_syncing = false;
}

void CJpegOptionsDlg::accept() {
    const std::optional<int> value = dlgfields::ReadInteger(m_edit, kLowest, kHighest);
    if (!value) {
        return;
    }
    m_quality = *value;
    QDialog::accept();
}
