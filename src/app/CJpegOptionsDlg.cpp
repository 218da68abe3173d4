#include "app/CJpegOptionsDlg.h"

#include "app/AppResources.h"
#include "app/DialogUnits.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
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
    percent->setGeometry(Rect(106, 22, 10, 8));

    auto* low = new QLabel(QStringLiteral("Low:"), this);
    low->setGeometry(Rect(14, 36, 30, 8));
    auto* high = new QLabel(QStringLiteral("High:"), this);
    high->setAlignment(Qt::AlignRight | Qt::AlignTop);
    high->setGeometry(Rect(142, 36, 30, 8));

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

// A field that is empty or out of range while being typed in takes nothing yet; OK says
// what is wrong with it.
void CJpegOptionsDlg::OnQualityEdited() {
    const std::optional<int> value = FieldValue();
    if (m_syncing || !value) {
        return;
    }
    m_quality = *value;
    m_syncing = true;
    m_slider->setValue(*value);
    m_syncing = false;
}

std::optional<int> CJpegOptionsDlg::FieldValue() const {
    bool isNumber = false;
    const int value = m_edit->text().toInt(&isNumber);
    if (!isNumber || value < kLowest || value > kHighest) {
        return std::nullopt;
    }
    return value;
}

void CJpegOptionsDlg::accept() {
    const std::optional<int> value = FieldValue();
    if (!value) {
        bool isNumber = false;
        m_edit->text().toInt(&isNumber);
        const QString text = isNumber ? QStringLiteral("Please enter an integer between %1 and %2.")
                                            .arg(kLowest)
                                            .arg(kHighest)
                                      : QStringLiteral("Please enter an integer.");
        QMessageBox box(QMessageBox::Warning, appres::kAppTitle, text, QMessageBox::Ok, this);
        box.exec();
        m_edit->setFocus();
        m_edit->selectAll();
        return;
    }
    m_quality = *value;
    QDialog::accept();
}
